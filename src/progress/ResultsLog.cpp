#include "progress/ResultsLog.h"

#include "base/Words.h"

#include "bank/BankFile.h"
#include "files/AppendFile.h"
#include "files/FileErrors.h"
#include "files/FileLock.h"
#include "files/RegularFile.h"
#include "options/NumberRules.h"

#include <QFile>
#include <QTimeZone>
#include <QVarLengthArray>
#include <algorithm>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace resultslog {

namespace {

// Lexamo 1.0 wrote six fixed columns, then three for every question; today's lines have the
// kind of test as a seventh, then four for every question, the record's check last. The
// seventh field tells them apart: a record number on a line of 1.0, a word on today's.
constexpr int kFixedColumns = 6;
struct Layout {
    int fixed;
    int perQuestion;
};
constexpr Layout kLayout1{kFixedColumns, 3};
constexpr Layout kLayout2{kFixedColumns + 1, 4};
constexpr Layout kLayout3{kFixedColumns + 1, 5}; // today's: with each question's time
constexpr std::array<const char*, 2> kKinds = {"verbal", "practice"};
// Plain characters, so that tables built before main() can name the endings too.
constexpr std::array<const char*, 3> kEndings = {"complete", "time-over", "quit"};

// A field as RFC 4180 has it: quoted, with its quotes doubled, when it holds a comma or quote.
QString csvField(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

// The log writes no control characters, so that every test stays on a line of its own.
QString printable(QChar letter)
{
    return letter >= u' ' && letter != u'\x7f' ? QString(letter) : QString();
}

// The fields of a line, as views into it; a quoted field with its quotes undoubled is kept in
// unquoted. A line is read without a string a field: a log holds millions of fields.
struct Fields {
    QVarLengthArray<QStringView, 2 * kLayout3.fixed + 5 * kMaxQuestions> views;
    QStringList unquoted;
    qsizetype size() const { return views.size(); }
    QStringView operator[](qsizetype i) const { return views[i]; }
};

// The fields of one line; false when a quoted field is not closed or is followed by more text.
bool splitFields(QStringView text, Fields* fields)
{
    // Lexamo quotes no field of its own; only a line with a quote needs to be read closely.
    const bool quotes = text.contains(u'"');
    qsizetype i = 0;
    while (true) {
        if (i < text.size() && text[i] == u'"') {
            QString field;
            for (++i;; ++i) {
                if (i >= text.size())
                    return false;
                if (text[i] == u'"' && i + 1 < text.size() && text[i + 1] == u'"')
                    field += text[++i];
                else if (text[i] == u'"')
                    break;
                else
                    field += text[i];
            }
            ++i;
            if (i < text.size() && text[i] != u',')
                return false;
            fields->unquoted.append(field);
            fields->views.append(fields->unquoted.last());
        } else {
            // One pass to the next comma; a quote inside an unquoted field spoils the line.
            const QChar* const begin = text.data() + i;
            const QChar* const stop = text.data() + text.size();
            const QChar* end = begin;
            if (quotes) {
                for (; end != stop && *end != u','; ++end) {
                    if (*end == u'"')
                        return false;
                }
            } else {
                while (end != stop && *end != u',')
                    ++end;
            }
            fields->views.append(QStringView(begin, end));
            i = end - text.data();
        }
        if (i >= text.size())
            return true;
        ++i; // the comma
    }
}

// A whole number from low to high, in decimal digits alone; false for anything else. (The
// locale's number reading costs more than the rest of a line, and the log holds millions.)
bool number(QStringView text, qint64 low, qint64 high, qint64* value)
{
    constexpr qsizetype kMostDigits = 18; // a number past every high, and no overflow
    if (text.isEmpty() || text.size() > kMostDigits)
        return false;
    qint64 v = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
        v = v * 10 + (c.unicode() - u'0');
    }
    *value = v;
    return v >= low && v <= high;
}

// Four lowercase hex digits as a number; -1 for anything else.
int hex4(QStringView text)
{
    if (text.size() != 4)
        return -1;
    int v = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const int digit = u >= u'0' && u <= u'9'   ? u - u'0'
                          : u >= u'a' && u <= u'f' ? u - u'a' + 10
                                                   : -1;
        if (digit < 0)
            return -1;
        v = v * 16 + digit;
    }
    return v;
}

Failure<QString> bad(const QString& what)
{
    return Failure{what};
}

// The columns of question n; ok when they make a question.
Result<Question> parseQuestion(const Fields& fields, const Layout& layout, int n)
{
    const int at = layout.fixed + layout.perQuestion * (n - 1);
    Question q;
    qint64 recnum = 0;
    if (!number(fields[at], 1, BankFile::kMaxRecords, &recnum))
        return bad(QStringLiteral("the record number of question %1, \"%2\", is not a number "
                                  "from 1 to %3")
                       .arg(n)
                       .arg(fields[at])
                       .arg(BankFile::kMaxRecords));
    q.recnum = int(recnum);
    const QStringView chosen = fields[at + 1];
    const QStringView answer = fields[at + 2];
    if (!chosen.isEmpty() && (chosen.size() != 1 || chosen[0] < u'a' || chosen[0] > u'e'))
        return bad(QStringLiteral("the letter chosen for question %1, \"%2\", is not a to e")
                       .arg(n)
                       .arg(chosen));
    if (answer.size() > 1)
        return bad(QStringLiteral("the answer letter of question %1, \"%2\", is more than one "
                                  "character")
                       .arg(n)
                       .arg(answer));
    q.chosen = chosen.isEmpty() ? QChar() : chosen.front();
    q.answer = answer.isEmpty() ? QChar() : answer.front();
    if (layout.perQuestion >= 4) {
        // Empty when the check was not known; four hex digits else.
        const QStringView check = fields[at + 3];
        q.check = check.isEmpty() ? -1 : hex4(check);
        if (!check.isEmpty() && q.check < 0)
            return bad(QStringLiteral("the check of question %1, \"%2\", is not four hex digits")
                           .arg(n)
                           .arg(check));
    }
    if (layout.perQuestion >= 5) {
        // Empty when the time was not known; whole seconds else, no more than a test can last.
        const QStringView time = fields[at + 4];
        qint64 seconds = -1;
        if (!time.isEmpty() && !number(time, 0, qint64(numberrules::kLargestNumber) * 60, &seconds))
            return bad(QStringLiteral("the time of question %1, \"%2\", is not a number of "
                                      "seconds")
                           .arg(n)
                           .arg(time));
        q.time = int(seconds);
    }
    return q;
}

// The kind of test the seventh field names; none on a line of 1.0, where a record number stands.
const char* const* kindOf(const Fields& fields)
{
    if (fields.size() < kLayout2.fixed)
        return kKinds.end();
    return std::find_if(kKinds.begin(), kKinds.end(), [&](const char* name) {
        return fields[kLayout2.fixed - 1] == QLatin1String(name);
    });
}

// The layout of a line's fields: 1.0's without a kind; today's when the question columns come in
// fives that each begin with a record number (in fours, the sixth column is a letter or empty,
// never a number); else 1.1's.
const Layout* layoutOf(const Fields& fields)
{
    if (kindOf(fields) == kKinds.end())
        return &kLayout1;
    const qsizetype extra = fields.size() - kLayout3.fixed;
    if (extra <= 0 || extra % kLayout3.perQuestion != 0)
        return &kLayout2;
    if (extra % kLayout2.perQuestion != 0)
        return &kLayout3;
    for (qsizetype at = kLayout3.fixed; at < fields.size(); at += kLayout3.perQuestion) {
        qint64 recnum = 0;
        if (!number(fields[at], 1, BankFile::kMaxRecords, &recnum))
            return &kLayout2;
    }
    return &kLayout3;
}

struct FixedColumns {
    const char* name;
    qint64 low;
    qint64 high;
};

// questions, minutes, seconds and correct; correct is checked against the questions later.
constexpr std::array<FixedColumns, 4> kNumbers = {
    {{"questions", 1, kMaxQuestions},
     {"minutes", 1, numberrules::kLargestNumber},
     {"seconds", 0, qint64(numberrules::kLargestNumber) * 60},
     {"correct", 0, kMaxQuestions}}};

// The digits of text from at, count of them, as a number; -1 when one is not a digit.
int digits(QStringView text, qsizetype at, qsizetype count)
{
    int value = 0;
    for (qsizetype i = at; i < at + count; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

// The local time a log line gives, as 2026-12-07T18:04:31 writes it. Turning a local time into
// an instant asks the time zone, which costs more than all the rest of a line; but the offset
// from UTC changes only twice a year, if at all. So the span around the last time asked, between
// the zone's transitions (kept a few hours clear of them), serves every test that falls in it.
QDateTime localTime(QStringView text)
{
    const bool plain = text.size() == 19 && text[4] == u'-' && text[7] == u'-' &&
                       text[10] == u'T' && text[13] == u':' && text[16] == u':';
    const std::array<int, 6> parts =
        plain ? std::array<int, 6>{digits(text, 0, 4),  digits(text, 5, 2),  digits(text, 8, 2),
                                   digits(text, 11, 2), digits(text, 14, 2), digits(text, 17, 2)}
              : std::array<int, 6>{-1, -1, -1, -1, -1, -1};
    // A field that is not all digits is no date of the log's (QDate takes a year of -1).
    const bool numbers = std::all_of(parts.begin(), parts.end(), [](int p) { return p >= 0; });
    const QDate date = numbers ? QDate(parts[0], parts[1], parts[2]) : QDate();
    const QTime time = numbers ? QTime(parts[3], parts[4], parts[5]) : QTime();
    if (!date.isValid() || !time.isValid())
        return QDateTime::fromString(text.toString(), Qt::ISODate);
    constexpr qint64 kClear = 3 * 3600 * 1000;
    thread_local qint64 from = 0;
    thread_local qint64 until = 0; // nothing known yet
    thread_local int offset = 0;
    constexpr qint64 kEpochDay = 2440588; // the Julian day of 1970-01-01
    constexpr qint64 kDay = 86400000;
    const qint64 wall = (date.toJulianDay() - kEpochDay) * kDay + time.msecsSinceStartOfDay();
    const qint64 instant = wall - qint64(offset) * 1000;
    if (from <= instant && instant < until)
        return QDateTime(date, time, Qt::OffsetFromUTC, offset);
    const QDateTime exact(date, time);
    const QTimeZone zone = QTimeZone::systemTimeZone();
    const QTimeZone::OffsetData before = zone.previousTransition(exact);
    const QTimeZone::OffsetData after = zone.nextTransition(exact);
    offset = exact.offsetFromUtc();
    from = before.atUtc.isValid() ? before.atUtc.toMSecsSinceEpoch() + kClear
                                  : std::numeric_limits<qint64>::min();
    until = after.atUtc.isValid() ? after.atUtc.toMSecsSinceEpoch() - kClear
                                  : std::numeric_limits<qint64>::max();
    return exact;
}

Result<Entry> parseFixed(const Fields& fields)
{
    Entry entry;
    entry.when = localTime(fields[0]);
    if (!entry.when.isValid())
        return bad(QStringLiteral("the date \"%1\" is not a date and time such as "
                                  "2026-12-07T18:04:31")
                       .arg(fields[0]));
    const auto ending = std::find_if(kEndings.begin(), kEndings.end(), [&](const char* name) {
        return fields[1] == QLatin1String(name);
    });
    if (ending == kEndings.end())
        return bad(
            QStringLiteral("the ending \"%1\" is not complete, time-over or quit").arg(fields[1]));
    entry.ending = Ending(ending - kEndings.begin());
    std::array<qint64, 4> values{};
    for (size_t i = 0; i < kNumbers.size(); ++i) {
        if (!number(fields[int(i) + 2], kNumbers[i].low, kNumbers[i].high, &values[i]))
            return bad(QStringLiteral("%1 \"%2\" is not a number from %3 to %4")
                           .arg(QLatin1String(kNumbers[i].name), fields[int(i) + 2])
                           .arg(kNumbers[i].low)
                           .arg(kNumbers[i].high));
    }
    entry.questions = int(values[0]);
    entry.minutes = int(values[1]);
    entry.seconds = values[2];
    entry.correct = int(values[3]);
    return entry;
}

// What the questions shown must agree with: their count, and the score they make.
Result<void> checkAgreement(const Entry& entry)
{
    const qsizetype shown = entry.shown.size();
    if (shown == 0) // a test shows its first question before it can end
        return Failure{QStringLiteral("it lists no question")};
    if (shown > entry.questions || (entry.ending == Ending::Complete && shown != entry.questions))
        return Failure{QStringLiteral("it lists %1 for a %2 test of %3")
                           .arg(counted(shown, QLatin1StringView("question")))
                           .arg(endingName(entry.ending))
                           .arg(entry.questions)};
    const auto right = std::count_if(entry.shown.begin(), entry.shown.end(),
                                     [](const Question& q) { return !missed(q); });
    if (right != entry.correct)
        return Failure{QStringLiteral("its score %1 does not match the %2 right answers it lists")
                           .arg(entry.correct)
                           .arg(right)};
    return {};
}

// The last line of the file, without its line end: at most the longest line a test writes.
QByteArray lastLine(int fd, off_t size)
{
    const off_t from = std::max<off_t>(0, size - kLongestLine - 2);
    QByteArray tail(qsizetype(size - from), Qt::Uninitialized);
    if (pread(fd, tail.data(), size_t(tail.size()), from) != tail.size())
        return {};
    while (tail.endsWith('\n') || tail.endsWith('\r'))
        tail.chop(1);
    return tail.mid(tail.lastIndexOf('\n') + 1);
}

// Whether a line of the log is in today's format: its header row, or a test whose questions
// have their times.
bool todays(const QByteArray& line)
{
    if (line.startsWith("date,ended,"))
        return line.startsWith(header().chopped(2));
    Fields fields;
    const QString text = QString::fromUtf8(line);
    return splitFields(text, &fields) && layoutOf(fields) == &kLayout3;
}

// What goes before a new line: a line end after a last line left without one (a CR alone, from
// a hand edit, gets its LF and no second CR), and today's header row in a new file and after
// the lines of Lexamo 1.0, so that every column below it is named.
QByteArray before(int fd, off_t size)
{
    if (size == 0)
        return header();
    char last = 0;
    QByteArray bytes;
    if (pread(fd, &last, 1, size - 1) == 1 && last != '\n')
        bytes = last == '\r' ? QByteArray("\n") : QByteArray("\r\n");
    if (!todays(lastLine(fd, size)))
        bytes += header();
    return bytes;
}

Result<void> appendLocked(int fd, const QByteArray& bytes)
{
    if (Result<void> regular = regularfile::regularFd(fd); !regular.ok())
        return regular;
    // Two Lexamos that end a test at once each add a whole line.
    const FileLock lock(fd);
    if (!lock.held())
        return Failure{lock.reason()};
    struct stat info {};
    if (fstat(fd, &info) != 0)
        return Failure{fileerrors::reason(errno)};
    // Part of a line would spoil the next one: a write cut short is taken back.
    const auto written =
        appendfile::writeAt(fd, info.st_size, info.st_size, before(fd, info.st_size) + bytes);
    if (!written.ok())
        return Failure{appendfile::describe(written.error())};
    return {};
}

} // namespace

int recordCheck(QByteArrayView recordBytes)
{
    return qChecksum(recordBytes);
}

Still stillAsked(const Question& question, QByteArrayView recordBytesNow)
{
    if (question.check < 0)
        return Still::Unknown;
    return recordCheck(recordBytesNow) == question.check ? Still::Same : Still::Changed;
}

QLatin1StringView kindName(Kind kind)
{
    return QLatin1StringView(kKinds[size_t(kind)]);
}

QLatin1StringView endingName(Ending ending)
{
    return QLatin1StringView(kEndings[size_t(ending)]);
}

QByteArray header()
{
    QByteArray text = "date,ended,questions,minutes,seconds,correct,kind";
    for (int n = 1; n <= kMaxQuestions; ++n) {
        const QByteArray i = QByteArray::number(n);
        text += ",record" + i + ",chosen" + i + ",answer" + i + ",check" + i + ",time" + i;
    }
    return text + "\r\n";
}

QByteArray line(const Entry& entry)
{
    QStringList fields{entry.when.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")),
                       endingName(entry.ending),
                       QString::number(entry.questions),
                       QString::number(entry.minutes),
                       QString::number(entry.seconds),
                       QString::number(entry.correct),
                       kindName(entry.kind)};
    for (const Question& q : entry.shown)
        fields << QString::number(q.recnum) << csvField(printable(q.chosen))
               << csvField(printable(q.answer))
               << (q.check < 0
                       ? QString()
                       : QStringLiteral("%1").arg(q.check & 0xffff, 4, 16, QLatin1Char('0')))
               << (q.time < 0 ? QString() : QString::number(q.time));
    return fields.join(u',').toUtf8() + "\r\n";
}

bool isHeader(QStringView text)
{
    return text.startsWith(QLatin1String("date,ended,"));
}

Result<Entry> parseLine(QStringView text)
{
    Fields fields;
    if (!splitFields(text, &fields))
        return bad(QStringLiteral("a quoted field is not closed or has text after its quote"));
    const Layout& layout = *layoutOf(fields);
    const auto kind = kindOf(fields);
    const qsizetype extra = fields.size() - layout.fixed;
    if (extra < 0 || extra % layout.perQuestion != 0)
        return bad(QStringLiteral("it has %1 fields: %2, then %3 for every question shown")
                       .arg(fields.size())
                       .arg(layout.fixed)
                       .arg(layout.perQuestion));
    Result<Entry> entry = parseFixed(fields);
    if (!entry.ok())
        return entry;
    if (kind != kKinds.end())
        entry.value().kind = Kind(kind - kKinds.begin());
    // Filled in place: appending one at a time costs more than reading them.
    QList<Question>& shown = entry.value().shown;
    shown.resize(extra / layout.perQuestion);
    Question* const question = shown.data();
    for (int n = 1; n <= shown.size(); ++n) {
        const Result<Question> q = parseQuestion(fields, layout, n);
        if (!q.ok())
            return bad(q.error());
        question[n - 1] = q.value();
    }
    if (const Result<void> agreed = checkAgreement(entry.value()); !agreed.ok())
        return bad(agreed.error());
    return entry;
}

bool missed(const Question& question)
{
    return question.chosen.isNull() || question.chosen != question.answer;
}

QChar letterOf(const QString& text)
{
    return text.isEmpty() ? QChar() : text.front();
}

Result<void> append(const QString& path, const QByteArray& bytes)
{
    // Not blocking: a pipe without a reader must not hold the test up.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0666);
    Result<void> result =
        fd < 0 ? Result<void>(Failure{fileerrors::reason(errno)}) : appendLocked(fd, bytes);
    if (fd >= 0 && ::close(fd) != 0 && result.ok())
        result = Failure{fileerrors::reason(errno)};
    if (result.ok())
        return {};
    return Failure{QStringLiteral("Cannot add the test to \"%1\": %2.").arg(path, result.error())};
}

} // namespace resultslog
