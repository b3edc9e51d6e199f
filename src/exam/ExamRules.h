#pragma once

#include "bank/QuestionRecord.h"
#include "base/Result.h"

#include <QString>
#include <QtGlobal>

// The rules of a test that need no window: the draw, the clock, the texts shown.
namespace examrules {

// The record drawn by u in [0, 1) from a bank of the given whole records: floor(R * u) + 1,
// with R capped at the largest record number. For R of at least 1 it lies in 1 to R.
qint16 drawCandidate(qint64 records, float u);

// Ok when a test with these options can be drawn from a bank of that many whole records;
// otherwise an error saying why not and what to do about it.
Result<void> canStart(qint64 records, int numques, int testmins);

// The remaining time as the label shows it: whole hours, minutes within the hour, seconds.
// Never negative: once the time is up every field is zero.
struct TimeFields {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    bool operator==(const TimeFields&) const = default;
};
TimeFields timeFields(qint64 elapsed, int testmins);
// True from the tick at which the remaining time reaches 0 : 0 : 0, and on.
bool timeIsUp(qint64 elapsed, int testmins);
QString timeText(const TimeFields& fields);

// "Question       No. " and the number with a leading space in the place of its sign.
QString questionHeading(int number);
QString scoreText(int score, int total);

// The review lines of question i, each ended by CR LF: the question, the correct choice, the
// choice made, and a blank line; with an explanation, it comes on one line of its own before the
// blank line, its line breaks made spaces.
QString reviewBlock(int i, const QuestionRecord& record, const QString& choice,
                    const QString& explanation = {});

} // namespace examrules
