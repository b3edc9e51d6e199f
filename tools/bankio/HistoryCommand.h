#pragma once

#include "bankio/Invocation.h"

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

} // namespace banktool
