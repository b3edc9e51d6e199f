#pragma once

#include "bankio/FormatTypes.h"

#include "bank/QuestionRecord.h"

// Comma-separated values (RFC 4180): a header row question,a,b,c,d,e,answer, then one row a
// question. A field holding a comma, a quote or a line break is quoted, a quote in it doubled.
namespace csvformat {

ParsedQuestions parse(const QString& text);
// The bank as CSV in UTF-8, rows ended by CR LF.
Result<QByteArray> write(const QList<QuestionRecord>& records);

} // namespace csvformat
