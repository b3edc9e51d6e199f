#pragma once

#include "progress/ResultsLog.h"

#include <QByteArray>
#include <QList>
#include <functional>

// The questions the tests of the results log missed, to practise them again.
namespace progress {

struct Missed {
    int recnum = 0;
    int times = 0;
    bool operator==(const Missed&) const = default;
};
// Every record number the tests missed (answered wrongly or left unanswered), once, the most
// often missed first and, among equals, the lower record number first.
QList<Missed> missedQuestions(const QList<resultslog::Entry>& tests);

// The missed questions of a bank whose records have the checks checksNow (recordCheck of each
// record, in order): those it holds, in the order above, with the times they were missed in
// all; the record numbers it no longer holds; and those whose record holds another question
// since they were missed, which are left out.
struct Selection {
    QList<Missed> questions;
    int times = 0;
    QList<int> absent;
    QList<int> changed;
};
Selection selectMissed(const QList<resultslog::Entry>& tests, const QList<int>& checksNow);

// How much of a bank of `records` records the tests have asked: the records asked at least once,
// and how many of them were missed (answered wrongly or left unanswered) the last time. An
// asking counts only while its record still holds the question it showed (see
// resultslog::stillAsked); a record beyond the bank's end is not the bank's. recordBytes(n)
// gives record n's bytes now, n from 1 to records; it is called once at most for each record,
// and only for records the tests asked.
struct Coverage {
    qsizetype asked = 0;
    qsizetype missedLast = 0;
    bool operator==(const Coverage&) const = default;
};
Coverage coverage(const QList<resultslog::Entry>& tests, qsizetype records,
                  const std::function<QByteArray(qsizetype)>& recordBytes);

} // namespace progress
