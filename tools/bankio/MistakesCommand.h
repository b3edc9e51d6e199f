#pragma once

#include "bankio/Invocation.h"
#include "exam/ResultsLog.h"

#include <QList>
#include <QTextStream>

// lexamo-bank mistakes: a bank of the questions the tests of Lexamo's results log missed.
namespace banktool {

int mistakesCommand(const Invocation& call, QTextStream& out, QTextStream& err);

struct Missed {
    int recnum = 0;
    int times = 0;
    bool operator==(const Missed&) const = default;
};
// Every record number the tests missed (answered wrongly or left unanswered), once, the most
// often missed first and, among equals, the lower record number first.
QList<Missed> missedQuestions(const QList<resultslog::Entry>& tests);

} // namespace banktool
