#pragma once

#include "progress/ResultsLog.h"

#include <QList>
#include <functional>

// The draw of the Practice Test: the questions a student needs most, by the tests of the log.
namespace progress {

// The records of a bank of checksNow.size() records to practise, count of them at most, in the
// order they are shown. First come the questions whose last attempt was missed, the most often
// missed first; then the questions never asked; then the rest, the longest unasked first. Ties
// are broken at random, and the questions chosen are shown in random order. An attempt at a
// record whose check differs from checksNow (the record holds another question now) does not
// count; one of Lexamo 1.0, which kept no check, does. uniform gives numbers in [0, 1). When
// allowed is not empty, only the records n with allowed[n - 1] are drawn (the questions of one
// kind).
QList<int> practiceDraw(const QList<resultslog::Entry>& tests, const QList<int>& checksNow,
                        int count, const std::function<float()>& uniform,
                        const QList<bool>& allowed = {});

} // namespace progress
