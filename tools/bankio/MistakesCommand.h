#pragma once

#include "bankio/Invocation.h"

#include <QTextStream>

// lexamo-bank mistakes: a bank of the questions the tests of Lexamo's results log missed.
namespace banktool {

int mistakesCommand(const Invocation& call, QTextStream& out, QTextStream& err);
// Ok unless --last gives no whole number above 0.
Result<void> checkMistakesUsage(const Invocation& call);

} // namespace banktool
