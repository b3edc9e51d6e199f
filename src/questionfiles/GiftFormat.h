#pragma once

#include "questionfiles/FormatTypes.h"

#include "bank/QuestionRecord.h"

#include <QByteArray>

// GIFT multiple-choice questions: "::title:: question { =right ~wrong ~wrong ~wrong ~wrong }",
// the title optional, exactly one right answer and five answers in all. A backslash escapes
// ~ = # { } : and itself; "\n" is a line break. Lines beginning with // are comments, and
// "#feedback" after an answer is skipped. A question's note: a line "$CATEGORY: top/antonym"
// gives the questions after it the kind its last level names ("antonym"), and the general
// feedback "####text" before the closing brace is the question's explanation.
namespace giftformat {

ParsedQuestions parse(QString text);

// The bank in GIFT, UTF-8, lines ended by LF; a record without an answer a to e is refused. A
// line "$CATEGORY: kind" comes before each run of questions of one kind (empty after a kind,
// for questions without one), and an explanation is written as general feedback. A kind with a
// slash or a blank at either end, or an explanation with a blank at either end, is refused,
// naming its record.
Result<QByteArray> write(const NotedRecords& bank);

} // namespace giftformat
