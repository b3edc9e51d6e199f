#pragma once

#include "questionfiles/FormatTypes.h"

#include "bank/QuestionRecord.h"

// The rules between the texts of the import and export formats and the bank's fixed fields.
namespace recordrules {

// "the question", "choice A" to "choice E", "the answer": how messages name a field.
QString fieldName(QuestionRecord::Field f);

// The bank record for a question: line breaks stored as CR LF, the answer letter in lower
// case. Refused, with the line and the reason, when the answer is not A to E, a text is empty
// or holds a character Windows-1252 lacks, or a text is longer than its field (unless cut; then
// each text cut is said in cuts, when given, with its line).
Result<QuestionRecord, ParseError> toRecord(const ParsedQuestion& question, bool cut,
                                            QList<ParseError>* cuts = nullptr);

// The note a question carries, as the file gives it; refused, with the line and the reason, when
// the kind or the explanation is longer than a note holds or the kind is more than one line.
Result<BankNote, ParseError> toNote(const ParsedQuestion& question);

// A field's text as the export formats write it: the field without its trailing fill of spaces
// and zero characters, so that importing it again fills the field with the same bytes.
QString exportedText(const QuestionRecord& record, QuestionRecord::Field f);

// What in a field no export format carries back exactly: a zero byte (zero padding after the
// text included), a control character other than tab, or a line break other than CR LF; said as
// the end of a sentence that names the field ("holds ..."). Empty when there is nothing such.
QString uncarried(const QString& field);
// Aiken and GIFT trim their texts: a text that begins or ends with a blank (a space, a tab, a
// no-break space; a line break is written as one and comes back) cannot come back whole.
bool hasBlankAtAnEnd(const QString& text);
// The message for a record whose field formatName cannot carry because of such a blank.
QString blankAtAnEnd(qsizetype n, QuestionRecord::Field f, const QString& formatName);

// The answer letter "a" to "e" of a record, or an empty text when it holds anything else.
QString answerLetter(const QuestionRecord& record);
// The answer letter for the formats that mark the right choice (Aiken, GIFT), or the message
// for record number n when the record's answer is not a letter a to e.
Result<QString> markedAnswer(const QuestionRecord& record, qsizetype n);

// A question's text with runs of spaces, line breaks and zero characters made one space, ends
// trimmed and case folded: two questions that fold alike stand twice in the bank.
QString foldedQuestion(const QString& question);

} // namespace recordrules
