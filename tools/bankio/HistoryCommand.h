#pragma once

#include "bankio/Invocation.h"
#include "exam/ResultsLog.h"

#include <QList>
#include <QTextStream>

// lexamo-bank history: the tests of Lexamo's results log as a table, a summary, and a plot.
namespace banktool {

int historyCommand(const Invocation& call, QTextStream& out, QTextStream& err);

// The two commands that read the results log, and the options each takes.
bool isResultsCommand(const QString& command);
QStringList resultsOptions(const QString& command);
// Ok when a history or mistakes command line is sound; otherwise what is wrong with it (how
// many files, --last, --plot).
Result<void> checkResultsUsage(const Invocation& call);
// The number --last gives: 0 when not given, -1 when it is not a whole number above 0.
int lastTests(const QString& value);

// The percent of the test's questions answered right.
double percent(const resultslog::Entry& test);

// The summary under the table, for the tests in the log's order.
struct Summary {
    qsizetype taken = 0;
    double lastAverage = 0; // of the last 10
    double lastBest = 0;
    double average = 0; // of all
    double best = 0;
    double trend = 0; // points a test, least squares over the last 10; 0 with fewer than 2
};
Summary summary(const QList<resultslog::Entry>& tests);
QString summaryText(const Summary& s);

} // namespace banktool
