#pragma once

#include "questionfiles/FormatTypes.h"

#include "bank/QuestionRecord.h"

#include <QByteArray>

// The Aiken format: the question on one line, the choices on lines "A. text" (or "A) text") to
// "E. text", a line "ANSWER: X", and a blank line before the next question.
namespace aikenformat {

ParsedQuestions parse(QString text);

// The bank in Aiken, UTF-8, lines ended by LF. A text with a line break is refused, naming its
// record, unless flatten joins its lines with spaces; so is a record without an answer a to e.
Result<QByteArray> write(const QList<QuestionRecord>& records, bool flatten);

} // namespace aikenformat
