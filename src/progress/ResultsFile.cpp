#include "progress/ResultsFile.h"

#include "bank/RegularFile.h"

#include <QFile>
#include <QStringDecoder>

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
    static QString buffer;
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

} // namespace

Result<Contents> read(const QString& path)
{
    if (const Result<void> readable = regularfile::readable(path); !readable.ok())
        return Failure{cannotRead(path, readable.error())};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return Failure{cannotRead(path, file.errorString())};
    // The log is read a piece at a time, and a line never grows past the longest a test
    // writes: a log of any size, or a line of gigabytes, takes little memory.
    constexpr qint64 kPiece = 64 * 1024;
    Contents contents;
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QByteArray line;
    bool tooLong = false;
    int number = 1;
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
    for (;;) {
        const qint64 got = file.read(piece.data(), kPiece);
        if (got < 0)
            return Failure{cannotRead(path, file.errorString())};
        if (got == 0)
            break;
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
