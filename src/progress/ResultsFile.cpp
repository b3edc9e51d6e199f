#include "progress/ResultsFile.h"

#include "files/FileErrors.h"
#include "files/RegularFile.h"

#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <cerrno>
#include <numeric>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace resultsfile {

namespace {

QString cannotRead(const QString& path, const QString& reason)
{
    return QStringLiteral("Cannot read the results log \"%1\": %2.").arg(path, reason);
}

// The test on one line, or the problem with it; nothing for a blank line or a header.
void readLine(QByteArrayView bytes, int number, QStringDecoder& decoder, Contents* contents)
{
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    decoder.resetState();
    // One buffer serves every line: a log of 100,000 tests is read without a string a line.
    thread_local QString buffer;
    if (buffer.size() < bytes.size())
        buffer.resize(bytes.size());
    QStringView text(buffer.constData(),
                     decoder.appendToBuffer(buffer.data(), bytes) - buffer.constData());
    if (number == 1 && text.startsWith(QChar(0xfeff))) // a byte order mark from an editor
        text = text.sliced(1);
    if (decoder.hasError()) {
        contents->problems.append({number, QStringLiteral("the text is not UTF-8")});
        return;
    }
    if (text.trimmed().isEmpty() || resultslog::isHeader(text))
        return;
    Result<resultslog::Entry> entry = resultslog::parseLine(text);
    if (entry.ok())
        contents->tests.append(std::move(entry).value());
    else
        contents->problems.append({number, entry.error()});
}

// One stretch of the log, from a line's start to the end of a line or of the file.
struct Stretch {
    qint64 from = 0;
    qint64 to = 0;
    bool first = true; // whether it begins the file, where a byte order mark may stand
};

// The tests and problems of a stretch, their lines counted from its start; lines holds how many
// it has. The stretch is read a piece at a time, and a line never grows past the longest a test
// writes: a log of any size, or a line of gigabytes, takes little memory.
Result<Contents> readStretch(int fd, const Stretch& stretch, int* lines)
{
    constexpr qint64 kPiece = 64 * 1024;
    Contents contents;
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QByteArray line;
    bool tooLong = false;
    // Line 1 of a later stretch is no file's first line.
    int number = stretch.first ? 1 : 2;
    const int firstNumber = number;
    const auto endLine = [&] {
        if (tooLong)
            contents.problems.append(
                {number, QStringLiteral("the line is longer than any test writes (%1 at most); "
                                        "it is not read")
                             .arg(regularfile::sizeText(resultslog::kLongestLine))});
        else
            readLine(line, number, decoder, &contents);
        line.clear();
        tooLong = false;
        ++number;
    };
    QByteArray piece(kPiece, Qt::Uninitialized);
    for (qint64 at = stretch.from; at < stretch.to;) {
        const ssize_t got =
            ::pread(fd, piece.data(), size_t(std::min(kPiece, stretch.to - at)), off_t(at));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return Failure{fileerrors::reason(errno)};
        if (got == 0)
            break;
        at += got;
        QByteArrayView rest(piece.constData(), got);
        while (!rest.isEmpty()) {
            const qsizetype end = rest.indexOf('\n');
            const QByteArrayView part = end < 0 ? rest : rest.first(end);
            if (!tooLong && line.size() + part.size() > resultslog::kLongestLine) {
                tooLong = true;
                line.clear();
            }
            if (!tooLong)
                line.append(part);
            if (end < 0)
                break;
            endLine();
            rest = rest.sliced(end + 1);
        }
    }
    if (!line.isEmpty() || tooLong)
        endLine();
    *lines = number - firstNumber;
    return contents;
}

// Where a long log is cut in two for the two halves to be read at once: just after the first
// line end past its middle; the file's end when a short log or no line end is found near it.
qint64 middle(int fd, qint64 size)
{
    constexpr qint64 kAlone = 1024 * 1024; // a log under a megabyte is read in one go
    if (size < kAlone)
        return size;
    QByteArray near(2 * resultslog::kLongestLine, Qt::Uninitialized);
    const ssize_t got = ::pread(fd, near.data(), size_t(near.size()), off_t(size / 2));
    const qsizetype end = got > 0 ? QByteArrayView(near.constData(), got).indexOf('\n') : -1;
    return end < 0 ? size : size / 2 + end + 1;
}

} // namespace

namespace {

// The tests by when they were taken, those of one second in the file's order: a log joined from
// two machines may hold the lines of June before those of March. A log in order, as Lexamo
// writes it, is only looked through. Local dates and times are compared as the log gives them.
void inOrderOfTime(QList<resultslog::Entry>& tests)
{
    const auto key = [](const resultslog::Entry& e) {
        return std::pair(e.when.date().toJulianDay(), e.when.time().msecsSinceStartOfDay());
    };
    QList<std::pair<qint64, int>> keys;
    keys.reserve(tests.size());
    for (const resultslog::Entry& test : tests)
        keys.append(key(test));
    if (std::is_sorted(keys.cbegin(), keys.cend()))
        return;
    QList<qsizetype> order(tests.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&keys](qsizetype a, qsizetype b) { return keys[a] < keys[b]; });
    QList<resultslog::Entry> sorted;
    sorted.reserve(tests.size());
    for (const qsizetype i : order)
        sorted.append(std::move(tests[i]));
    tests = std::move(sorted);
}

} // namespace

Result<Contents> read(const QString& path)
{
    if (const Result<void> readable = regularfile::readable(path); !readable.ok())
        return Failure{cannotRead(path, readable.error())};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return Failure{cannotRead(path, file.errorString())};
    const int fd = file.handle();
    struct stat info {};
    if (fstat(fd, &info) != 0)
        return Failure{cannotRead(path, fileerrors::reason(errno))};
    // A long log is read in two halves at once, one on a thread of its own; a log that grows
    // meanwhile is read to where it ended when it was opened.
    const qint64 size = info.st_size;
    const qint64 half = middle(fd, size);
    Result<Contents> second = Contents{};
    int secondLines = 0;
    std::thread reader;
    if (half < size)
        reader = std::thread([&] { second = readStretch(fd, {half, size, false}, &secondLines); });
    int firstLines = 0;
    Result<Contents> first = readStretch(fd, {0, half, true}, &firstLines);
    if (reader.joinable())
        reader.join();
    for (const Result<Contents>* part : {&first, &second}) {
        if (!part->ok())
            return Failure{cannotRead(path, part->error())};
    }
    Contents contents = std::move(first).value();
    Contents rest = std::move(second).value();
    // The second half counted its lines from its own start, as line 2 on.
    for (Problem& problem : rest.problems)
        problem.line += firstLines - 1;
    contents.tests.append(std::move(rest.tests));
    contents.problems.append(std::move(rest.problems));
    inOrderOfTime(contents.tests);
    return contents;
}

QList<resultslog::Entry> entries(const Contents& contents, qsizetype last)
{
    const QList<resultslog::Entry>& all = contents.tests;
    return last > 0 && last < all.size() ? all.mid(all.size() - last) : all;
}

QString located(const QString& path, const Problem& problem)
{
    return QStringLiteral("%1:%2: %3").arg(path).arg(problem.line).arg(problem.what);
}

} // namespace resultsfile
