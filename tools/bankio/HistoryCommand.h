#pragma once

#include "bankio/Invocation.h"

#include <QTextStream>

// lexamo-bank history: the tests of Lexamo's results log as a table, a summary, and a plot.
namespace banktool {

int historyCommand(const Invocation& call, QTextStream& out, QTextStream& err);
// Ok unless --plot names a file of a kind it cannot draw.
Result<void> checkHistoryUsage(const Invocation& call);

} // namespace banktool
