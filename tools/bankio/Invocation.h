#pragma once

#include "platform/Result.h"

#include <QStringList>

// A lexamo-bank command line, taken apart.
namespace banktool {

enum class Format { Unknown, Csv, Aiken, Gift };

struct Invocation {
    QString command; // import, export, list, check, history or mistakes
    QStringList files;
    QString output;
    Format format = Format::Unknown; // as given by --format
    bool cut = false;
    bool append = false;
    bool flatten = false;
    bool help = false;
    bool version = false;
    QString plot; // history: the picture to draw
    int last = 0; // mistakes: only the last tests; 0 for all
};

// The invocation of the arguments after the program's name, or the reason when they do not
// make one (an unknown command or option, an option the command does not take, a missing -o or
// bank).
Result<Invocation> parseInvocation(const QStringList& arguments);

// The format --format gave, else the one the file's ending names (.csv, .txt, .gift).
Format formatOf(const QString& path, const Invocation& call);

} // namespace banktool
