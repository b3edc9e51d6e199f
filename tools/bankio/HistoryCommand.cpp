#include "bankio/HistoryCommand.h"

#include "bankio/BankCommands.h"
#include "bankio/BankFiles.h"

#include "bank/RegularFile.h"
#include "progress/HistoryPlot.h"
#include "progress/ResultsFile.h"
#include "progress/Statistics.h"

namespace banktool {

namespace {

QString logPath(const Invocation& call)
{
    return call.files.isEmpty() ? QString::fromLatin1(resultslog::kFileName) : call.files.first();
}

QString rowText(const resultslog::Entry& test)
{
    const progress::Row r = progress::row(test);
    return QStringLiteral("%1  %2  %3  %4  %5%  %6\n")
        .arg(r.when)
        .arg(resultslog::kindName(test.kind), -8)
        .arg(r.ended, -9)
        .arg(r.score, 5)
        .arg(r.percent, 3)
        .arg(r.time, 6);
}

int drawPlot(const QString& path, const QString& plot, const QList<resultslog::Entry>& tests,
             QTextStream& err)
{
    if (regularfile::sameFile(plot, path)) {
        err << QStringLiteral("%1 is the results log itself: give another file to --plot.\nNo "
                              "plot written.\n")
                   .arg(plot);
        return Failed;
    }
    if (tests.isEmpty()) {
        err << QStringLiteral("%1 holds no tests to plot.\nNo plot written.\n").arg(path);
        return Failed;
    }
    const Result<QByteArray> picture = historyplot::picture(tests, plot);
    const Result<void> drawn =
        picture.ok() ? bankfiles::writeFile(plot, picture.value()) : Failure{picture.error()};
    if (!drawn.ok()) {
        err << drawn.error() << "\nNo plot written.\n";
        return Failed;
    }
    return Done;
}

} // namespace

Result<void> checkHistoryUsage(const Invocation& call)
{
    if (!call.plot.isEmpty() && !historyplot::pictureFor(call.plot))
        return Failure{QStringLiteral("--plot draws a file ending in .svg or .png")};
    return {};
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
    const QList<resultslog::Entry> tests = resultsfile::entries(log.value());
    if (tests.isEmpty()) {
        out << QStringLiteral("%1 holds no tests yet.\n").arg(path);
    } else {
        QString text =
            QStringLiteral("Date              Kind      Ended      Score       %    Time\n");
        text.reserve(text.size() + tests.size() * 58);
        for (const resultslog::Entry& test : tests)
            text += rowText(test);
        out << text << '\n' << progress::summaryLines(progress::summary(tests));
    }
    return call.plot.isEmpty() ? Done : drawPlot(path, call.plot, tests, err);
}

} // namespace banktool
