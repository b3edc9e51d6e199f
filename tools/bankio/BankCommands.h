#pragma once

#include "bankio/Invocation.h"
#include "questionfiles/FormatTypes.h"
#include "questionfiles/Formats.h"

#include "bank/QuestionRecord.h"

#include <QTextStream>

// The four commands of lexamo-bank. Each prints its result to out and its problems to err, and
// returns the exit status.
namespace banktool {

using questionfiles::exportRecords;

// Import ends with SomeLeftOut when it wrote the questions a bank can hold and left out others.
enum ExitStatus { Done = 0, Failed = 1, WrongUsage = 2, SomeLeftOut = 3 };

int importCommand(const Invocation& call, QTextStream& out, QTextStream& err);
int exportCommand(const Invocation& call, QTextStream& out, QTextStream& err);
int listCommand(const Invocation& call, QTextStream& out, QTextStream& err);
int checkCommand(const Invocation& call, QTextStream& out, QTextStream& err);

} // namespace banktool
