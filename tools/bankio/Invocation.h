#pragma once

#include "questionfiles/Formats.h"

#include "base/Result.h"

#include <QStringList>
#include <optional>

// A lexamo-bank command line, taken apart.
namespace banktool {

using questionfiles::Format;
using questionfiles::formatEndings;
using questionfiles::formatNamed;
using questionfiles::formatNames;
using questionfiles::formatRow;
using questionfiles::FormatRow;
using questionfiles::formats;

struct Command;

struct Invocation {
    const Command* command = nullptr; // null only with --help or --version
    QStringList files;
    QString output;
    std::optional<Format> format; // as given by --format
    bool cut = false;
    bool strict = false; // import: a question left out refuses the whole import
    bool append = false;
    bool flatten = false;
    bool help = false;
    bool version = false;
    QString plot;  // history: the picture to draw
    QString kinds; // history: the bank whose notes give the questions' kinds
    int last = 0;  // mistakes: only the last tests; 0 for all, -1 when not a whole number above 0
};

// The invocation of the arguments after the program's name, or the reason when they do not
// make one (an unknown command or option, an option the command does not take, a missing -o or
// bank).
Result<Invocation> parseInvocation(const QStringList& arguments);

// The format --format gave, else the one the file's ending names (.csv, .txt, .gift, .xml).
std::optional<Format> formatOf(const QString& path, const Invocation& call);

} // namespace banktool
