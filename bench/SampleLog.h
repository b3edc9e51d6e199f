#pragma once

#include "bank/QuestionRecord.h"
#include "progress/ResultsLog.h"

#include <QByteArray>

// A results log of many tests for the benchmarks: tests seven hours apart from 2020 on, of
// `questions` questions drawn from a bank of `records`, each right on a share of its questions
// that grows slowly.
inline QByteArray sampleLog(int tests, int questions, int records)
{
    QByteArray log = resultslog::header();
    const QDateTime start(QDate(2020, 1, 1), QTime(18, 0));
    for (int t = 0; t < tests; ++t) {
        resultslog::Entry e;
        e.when = start.addSecs(qint64(t) * 3600 * 7);
        e.ending = t % 9 == 0 ? resultslog::Ending::TimeOver : resultslog::Ending::Complete;
        e.questions = questions;
        e.minutes = 15;
        e.seconds = 900 - t % 300;
        for (int q = 0; q < questions; ++q) {
            const int recnum = 1 + (t * 7 + q * 31) % records;
            const QChar answer = QuestionRecord::letterOf(recnum % 5);
            const bool right = (t + q) % 10 < 4 + (t * 5) / tests;
            e.shown.append({recnum, right ? answer : QChar(u'e'), answer});
            e.correct += resultslog::missed(e.shown.last()) ? 0 : 1;
        }
        log += resultslog::line(e);
    }
    return log;
}
