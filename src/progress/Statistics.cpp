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

} // namespace

double percent(const resultslog::Entry& test)
{
    return test.questions > 0 ? 100.0 * test.correct / test.questions : 0;
}

Row row(const resultslog::Entry& test)
{
    return {test.when.toString(QStringLiteral("yyyy-MM-dd HH:mm")),
            resultslog::endingName(test.ending),
            QStringLiteral("%1/%2").arg(test.correct).arg(test.questions), qRound(percent(test)),
            QStringLiteral("%1:%2")
                .arg(test.seconds / 60)
                .arg(test.seconds % 60, 2, 10, QLatin1Char('0'))};
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
