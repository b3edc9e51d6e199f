#include "bankio/HistoryCommand.h"

#include "bankio/BankCommands.h"
#include "bankio/FileChecks.h"
#include "bankio/HistoryPlot.h"
#include "bankio/ResultsFile.h"

#include <QFileInfo>
#include <algorithm>

namespace banktool {

namespace {

constexpr qsizetype kRecent = 10;
// A trend smaller than this, in points a test, is shown as steady.
constexpr double kSteady = 0.5;

QString logPath(const Invocation& call)
{
    return call.files.isEmpty() ? QString::fromLatin1(resultslog::kFileName) : call.files.first();
}

QString duration(qint64 seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString row(const resultslog::Entry& test)
{
    return QStringLiteral("%1  %2  %3  %4%  %5\n")
        .arg(test.when.toString(QStringLiteral("yyyy-MM-dd HH:mm")))
        .arg(resultslog::endingName(test.ending), -9)
        .arg(QStringLiteral("%1/%2").arg(test.correct).arg(test.questions), 5)
        .arg(qRound(percent(test)), 3)
        .arg(duration(test.seconds), 6);
}

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
        .arg(std::min(s.taken, kRecent));
}

int drawPlot(const QString& path, const QString& plot, const QList<resultslog::Entry>& tests,
             QTextStream& err)
{
    if (filechecks::sameFile(plot, path)) {
        err << QStringLiteral("%1 is the results log itself: give another file to --plot.\nNo "
                              "plot written.\n")
                   .arg(plot);
        return Failed;
    }
    if (tests.isEmpty()) {
        err << QStringLiteral("%1 holds no tests to plot.\nNo plot written.\n").arg(path);
        return Failed;
    }
    const Result<void> drawn = historyplot::draw(tests, plot);
    if (!drawn.ok()) {
        err << drawn.error() << "\nNo plot written.\n";
        return Failed;
    }
    return Done;
}

} // namespace

double percent(const resultslog::Entry& test)
{
    return test.questions > 0 ? 100.0 * test.correct / test.questions : 0;
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
    s.average = averageOf(all);
    s.best = all.isEmpty() ? 0 : *std::max_element(all.begin(), all.end());
    s.lastAverage = averageOf(recent);
    s.lastBest = recent.isEmpty() ? 0 : *std::max_element(recent.begin(), recent.end());
    s.trend = slope(recent);
    return s;
}

QString summaryText(const Summary& s)
{
    const auto pc = [](double v) { return QString::number(qRound(v)) + u'%'; };
    return QStringLiteral("Tests taken: %1\n"
                          "Last %2:%3average %4, best %5\n"
                          "All:     average %6, best %7\n"
                          "Trend:   %8\n")
        .arg(s.taken)
        .arg(std::min(s.taken, kRecent))
        .arg(QString(s.taken >= kRecent ? 1 : 2, u' '))
        .arg(pc(s.lastAverage), pc(s.lastBest), pc(s.average), pc(s.best), trendText(s));
}

bool isResultsCommand(const QString& command)
{
    return command == QLatin1String("history") || command == QLatin1String("mistakes");
}

QStringList resultsOptions(const QString& command)
{
    if (command == QLatin1String("history"))
        return {QStringLiteral("plot")};
    if (command == QLatin1String("mistakes"))
        return {QStringLiteral("output"), QStringLiteral("last")};
    return {};
}

Result<void> checkResultsUsage(const Invocation& call)
{
    if (call.command == QLatin1String("history")) {
        if (call.files.size() > 1)
            return Failure{QStringLiteral("history takes one results log")};
        const QString suffix = QFileInfo(call.plot).suffix().toLower();
        if (!call.plot.isEmpty() && suffix != QLatin1String("svg") &&
            suffix != QLatin1String("png"))
            return Failure{QStringLiteral("--plot draws a file ending in .svg or .png")};
    }
    if (call.command == QLatin1String("mistakes")) {
        if (call.files.size() != 2)
            return Failure{QStringLiteral("mistakes takes a results log and a bank")};
        if (call.output.isEmpty())
            return Failure{QStringLiteral("mistakes needs -o and the bank to write")};
        if (call.last < 0)
            return Failure{QStringLiteral("--last takes a whole number of tests above 0")};
    }
    return {};
}

int lastTests(const QString& value)
{
    if (value.isNull())
        return 0;
    bool ok = false;
    const int n = value.toInt(&ok);
    return ok && n > 0 && !value.startsWith(u'+') ? n : -1;
}

int historyCommand(const Invocation& call, QTextStream& out, QTextStream& err)
{
    const QString path = logPath(call);
    const Result<resultsfile::Contents> log = resultsfile::read(path);
    if (!log.ok()) {
        err << log.error() << '\n';
        return Failed;
    }
    for (const resultsfile::Problem& problem : log.value().problems)
        err << resultsfile::located(path, problem) << "; line skipped\n";
    QList<resultslog::Entry> tests;
    tests.reserve(log.value().tests.size());
    for (const resultsfile::Test& test : log.value().tests)
        tests.append(test.entry);
    if (tests.isEmpty()) {
        out << QStringLiteral("%1 holds no tests yet.\n").arg(path);
    } else {
        QString text = QStringLiteral("Date              Ended      Score       %    Time\n");
        text.reserve(text.size() + tests.size() * 48);
        for (const resultslog::Entry& test : tests)
            text += row(test);
        out << text << '\n' << summaryText(summary(tests));
    }
    return call.plot.isEmpty() ? Done : drawPlot(path, call.plot, tests, err);
}

} // namespace banktool
