#pragma once

#include "questionfiles/FormatTypes.h"

#include "bank/QuestionRecord.h"

// Comma-separated values (RFC 4180): a header row question,a,b,c,d,e,answer, then one row a
// question. Two more columns may follow the answer, kind and explanation (or kind alone): the
// question's note. A field holding a comma, a quote or a line break is quoted, a quote in it
// doubled.
namespace csvformat {

ParsedQuestions parse(QString text);
// The bank as CSV in UTF-8, rows ended by CR LF. When any record has a note, every row has the
// columns kind and explanation too, empty where a record has none.
Result<QByteArray> write(const NotedRecords& bank);

} // namespace csvformat
