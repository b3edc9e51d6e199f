#pragma once

#include "bankio/FormatTypes.h"

#include "bank/QuestionRecord.h"

#include <QByteArray>

// GIFT multiple-choice questions: "::title:: question { =right ~wrong ~wrong ~wrong ~wrong }",
// the title optional, exactly one right answer and five answers in all. A backslash escapes
// ~ = # { } : and itself; "\n" is a line break. Lines beginning with // are comments, and
// "#feedback" after an answer is skipped.
namespace giftformat {

ParsedQuestions parse(const QString& text);

// The bank in GIFT, UTF-8, lines ended by LF; a record without an answer a to e is refused.
Result<QByteArray> write(const QList<QuestionRecord>& records);

} // namespace giftformat
