#include "progress/Statistics.h"

#include <QSet>
#include <algorithm>

namespace progress {

namespace {

// A trend smaller than this, in points a test, is shown as steady.
constexpr double kSteady = 0.5;

// Least squares slope of the percents against their place in the list.
double slope(const QList<double>& values)
{
    const qsizetype n = values.size();
    if (n < 2)
        return 0;
    const double meanX = double(n - 1) / 2;
    double meanY = 0;
    for (double v : values)
        meanY += v / double(n);
    double num = 0;
    double den = 0;
    for (qsizetype i = 0; i < n; ++i) {
        num += (double(i) - meanX) * (values[i] - meanY);
        den += (double(i) - meanX) * (double(i) - meanX);
    }
    return num / den;
}

double averageOf(const QList<double>& values)
{
    double sum = 0;
    for (double v : values)
        sum += v;
    return values.isEmpty() ? 0 : sum / double(values.size());
}

double bestOf(const QList<double>& values)
{
    return values.isEmpty() ? 0 : *std::max_element(values.begin(), values.end());
}

// value in decimal at to, at least width digits with leading zeros (a minus sign before them
// when it is negative); returns the end, where a zero character follows.
char* digits(char* to, qint64 value, int width)
{
    std::array<char, 24> reversed{};
    int n = 0;
    const bool negative = value < 0;
    quint64 rest = negative ? 0 - quint64(value) : quint64(value);
    do {
        reversed[size_t(n++)] = char('0' + rest % 10);
        rest /= 10;
    } while (rest != 0 || n < width);
    if (negative)
        *to++ = '-';
    while (n > 0)
        *to++ = reversed[size_t(--n)];
    *to = 0;
    return to;
}

} // namespace

double percent(const resultslog::Entry& test)
{
    return test.questions > 0 ? 100.0 * test.correct / test.questions : 0;
}

Row row(const resultslog::Entry& test)
{
    Row r;
    if (test.when.isValid()) {
        // The wall clock's date and minute, from one reading of the instant and its offset.
        constexpr qint64 kEpochDay = 2440588; // the Julian day of 1970-01-01
        constexpr qint64 kMinute = 60000;
        const qint64 wall =
            test.when.toMSecsSinceEpoch() + qint64(test.when.offsetFromUtc()) * 1000;
        const qint64 minutes = wall >= 0 ? wall / kMinute : -((-wall + kMinute - 1) / kMinute);
        const qint64 days = minutes >= 0 ? minutes / 1440 : -((-minutes + 1439) / 1440);
        const qint64 minute = minutes - days * 1440;
        int year = 0;
        int month = 0;
        int day = 0;
        QDate::fromJulianDay(days + kEpochDay).getDate(&year, &month, &day);
        char* at = r.when.data();
        at = digits(at, year, 4);
        *at++ = '-';
        at = digits(at, month, 2);
        *at++ = '-';
        at = digits(at, day, 2);
        *at++ = ' ';
        at = digits(at, minute / 60, 2);
        *at++ = ':';
        digits(at, minute % 60, 2);
    }
    r.ended = resultslog::endingName(test.ending);
    char* at = digits(r.score.data(), test.correct, 1);
    *at++ = '/';
    digits(at, test.questions, 1);
    r.percent = qRound(percent(test));
    at = digits(r.time.data(), test.seconds / 60, 1);
    *at++ = ':';
    digits(at, test.seconds % 60, 2);
    if (const double pace = averageTime(test); pace >= 0)
        digits(r.pace.data(), qRound64(pace), 1);
    return r;
}

double averageTime(const resultslog::Entry& test)
{
    qint64 sum = 0;
    int timed = 0;
    for (const resultslog::Question& q : test.shown) {
        if (q.time >= 0) {
            sum += q.time;
            ++timed;
        }
    }
    return timed == 0 ? -1 : double(sum) / timed;
}

Summary summary(const QList<resultslog::Entry>& tests)
{
    QList<double> all;
    all.reserve(tests.size());
    for (const resultslog::Entry& test : tests)
        all.append(percent(test));
    const QList<double> recent = all.mid(std::max<qsizetype>(0, all.size() - kRecent));
    Summary s;
    s.taken = tests.size();
    s.recent = recent.size();
    s.average = averageOf(all);
    s.best = bestOf(all);
    s.lastAverage = averageOf(recent);
    s.lastBest = bestOf(recent);
    s.trend = slope(recent);
    return s;
}

QString trendText(const Summary& s)
{
    if (s.taken < 2)
        return QStringLiteral("not yet known: it needs 2 tests");
    const QString word = s.trend >= kSteady    ? QStringLiteral("rising")
                         : s.trend <= -kSteady ? QStringLiteral("falling")
                                               : QStringLiteral("steady");
    return QStringLiteral("%1, %2%3 points a test over the last %4")
        .arg(word, s.trend < 0 ? QStringLiteral("") : QStringLiteral("+"))
        .arg(s.trend, 0, 'f', 1)
        .arg(s.recent);
}

QString summaryLines(const Summary& s)
{
    const auto pc = [](double v) { return QString::number(qRound(v)) + u'%'; };
    return QStringLiteral("Tests taken: %1\n"
                          "Last %2:%3average %4, best %5\n"
                          "All:     average %6, best %7\n"
                          "Trend:   %8\n")
        .arg(s.taken)
        .arg(s.recent)
        .arg(QString(s.recent >= kRecent ? 1 : 2, u' '))
        .arg(pc(s.lastAverage), pc(s.lastBest), pc(s.average), pc(s.best), trendText(s));
}

int daysPractised(const QList<resultslog::Entry>& tests, const QDate& today)
{
    const QDate first = today.addDays(1 - kPractiseDays);
    QSet<qint64> days;
    for (const resultslog::Entry& test : tests) {
        const QDate day = test.when.date();
        if (day >= first && day <= today)
            days.insert(day.toJulianDay());
    }
    return int(days.size());
}

} // namespace progress
