#pragma once

#include "bankio/FormatTypes.h"
#include "bankio/Formats.h"
#include "bankio/Invocation.h"

#include "bank/QuestionRecord.h"

#include <QTextStream>

// The four commands of lexamo-bank. Each prints its result to out and its problems to err, and
// returns the exit status.
namespace banktool {

enum ExitStatus { Done = 0, Failed = 1, WrongUsage = 2 };

// What import does with the bytes of one file: its questions as records with their notes, after
// kept records before them (in the bank and from earlier files); or the line and the reason at
// the first refusal, when there is no question, or past the last record a bank holds.
Result<NotedRecords, ParseError> recordsFromBytes(const QByteArray& bytes, Format format, bool cut,
                                                  qint64 kept);
// What export writes: the records (with their notes, where the format carries them) in a text
// format, or why it cannot (naming the record).
Result<QByteArray> exportRecords(const NotedRecords& bank, Format format, bool flatten);

int importCommand(const Invocation& call, QTextStream& out, QTextStream& err);
int exportCommand(const Invocation& call, QTextStream& out, QTextStream& err);
int listCommand(const Invocation& call, QTextStream& out, QTextStream& err);
int checkCommand(const Invocation& call, QTextStream& out, QTextStream& err);

} // namespace banktool
