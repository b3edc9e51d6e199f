#pragma once

#include "bank/BankNotes.h"
#include "bank/QuestionRecord.h"
#include "progress/ResultsLog.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// How the questions of the results log fare by their kind ("antonym", "analogy"): for each kind,
// how many were asked and answered right, over all tests and over the recent ones.
namespace progress {

// The name of the row of the questions without a kind.
QString noKindName();

struct KindRow {
    QString kind;
    bool noKind = false; // the row of the questions without a kind, named noKindName()
    int asked = 0;
    int right = 0;
    int recentAsked = 0; // in the tests taken since the time given
    int recentRight = 0;
    qint64 timeSum = 0; // the seconds of the questions whose time the log keeps
    int timed = 0;      // and how many they are
};

// The rows of the kinds asked in the tests, weakest first by the percent answered right over all
// tests, kinds that fare alike by name; the questions without a kind last, in a row of their own.
// kindOf gives a question's kind as its index in kinds, or -1 when it has none.
QList<KindRow> kindRows(const QList<resultslog::Entry>& tests, const QDateTime& since,
                        const QStringList& kinds,
                        const std::function<int(const resultslog::Question&)>& kindOf);

// The rows of the kinds for the tests, by a bank of records records as it is now and its notes:
// recordAt(n) gives record n, or nothing when it cannot be read. Each record is read once, when
// a test first asked it. A question whose record holds another question now, or whose note is
// stale, is of no kind known.
QList<KindRow> kindRowsOfBank(const QList<resultslog::Entry>& tests, const QDateTime& since,
                              qint64 records,
                              const std::function<std::optional<QuestionRecord>(qint64)>& recordAt,
                              const BankNotes& notes);

// The seconds a question of the row took on average, rounded; "-" when no time is known.
QString paceText(const KindRow& row);

// The cells of a row, as the progress window and lexamo-bank show them: the kind, the asked,
// right and percent over all tests and over the recent ones, and the seconds a question.
QStringList kindCells(const KindRow& row);

// The rows as a table of plain text, the columns lined up, one line a kind under a heading.
QString kindLines(const QList<KindRow>& rows);

// "67%", rounded; "-" when none were asked.
QString percentText(int right, int asked);

} // namespace progress
