#pragma once

#include "bankio/BankCommands.h"

#include <QStringList>
#include <QTextStream>

// lexamo-bank: imports questions from CSV, Aiken and GIFT files into a bank, exports a bank to
// them, lists and checks it.
namespace banktool {

// Runs one command line (the arguments after the program's name), writing what it prints to
// out and its messages to err; returns the exit status (ExitStatus).
int run(const QStringList& arguments, QTextStream& out, QTextStream& err);

QString helpText();
QString versionText();

} // namespace banktool
