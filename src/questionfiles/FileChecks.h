#pragma once

#include "base/Result.h"

#include <QString>
#include <QtGlobal>

// What lexamo-bank checks about its files before it opens any of them: a pipe would block a
// read for ever, a device or socket would be replaced by a regular file, a file written onto
// one of its own inputs would destroy them, and a huge file would exhaust memory.
namespace filechecks {

// "-" in place of an import file is standard input, in place of an export file standard output.
inline bool isStandardStream(const QString& path)
{
    return path == QLatin1String("-");
}

// Ok when the file at path can be read as a text to import; otherwise why not: it is missing, a
// folder, not a regular file, or larger than maxBytes.
Result<void> checkInput(const QString& path, qint64 maxBytes);
// Ok when the file at path is a regular file; otherwise why it cannot be read at all (missing,
// a folder, not a regular file), without the file's name.
Result<void> readable(const QString& path);
// Ok when the file at path is a regular file or does not exist yet; otherwise why it may not be
// written: it is a device, a pipe, a socket or a folder.
Result<void> checkOutput(const QString& path);
// The message for an output that is one of the inputs.
QString sameFileProblem(const QString& input, const QString& output);

} // namespace filechecks
