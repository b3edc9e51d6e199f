#pragma once

#include "base/Result.h"
#include "progress/ResultsLog.h"

#include <QList>
#include <QString>

// Lexamo's results log read whole, for the commands that look back over the tests taken.
namespace resultsfile {

// A line that holds no test that can be read: cut short, edited by hand, not UTF-8.
struct Problem {
    int line = 0;
    QString what;
};

struct Contents {
    QList<resultslog::Entry> tests; // oldest first; those of one second in the file's order
    QList<Problem> problems;
};

// Every test of the log at path, oldest first, and every line that could not be read;
// blank lines and header rows are passed over. An error naming the file when it is missing, is
// not a regular file or cannot be read.
Result<Contents> read(const QString& path);

// The tests read, oldest first; with last above 0, the last ones only.
QList<resultslog::Entry> entries(const Contents& contents, qsizetype last = 0);

// The problem as the tool reports it: "file:line: what".
QString located(const QString& path, const Problem& problem);

} // namespace resultsfile
