#pragma once

#include "questionfiles/FormatTypes.h"

#include "bank/QuestionRecord.h"

#include <QByteArray>

// Moodle XML: a <quiz> of <question> elements. A bank question is a multichoice question with
// one right answer (<single>true</single>) and five answers, one worth fraction="100" and four
// worth "0"; its texts are HTML (tags dropped, references decoded) unless their format says
// plain_text or markdown. A question's note: a category pseudo-question gives the questions
// after it the kind its path's last level names ("$course$/top/antonym" gives "antonym", a path
// of the top alone no kind; "//" in a level is a slash), and the general feedback is the
// explanation. Every other question (true/false, matching, several right answers, partial credit,
// a picture...) is left out, named with its line. A file that is no well-formed XML, whose root
// is no <quiz>, or that has a DOCTYPE declaration (no entity is ever expanded, no other file
// read) is refused.
namespace moodlexml {

ParsedQuestions parse(QString text);

// The bank in Moodle XML, UTF-8: each question multichoice in plain text with its record number
// for a name, a category pseudo-question before each run of questions of one kind
// ("$course$/top/kind", or "$course$/top" after a kind, for questions without one), and an
// explanation as general feedback. Refused, naming the record: an answer not a to e, a text
// that begins or ends with a blank or a line break (the reader trims them), a character XML
// cannot hold, and a kind that begins with a slash.
Result<QByteArray> write(const NotedRecords& bank);

} // namespace moodlexml
