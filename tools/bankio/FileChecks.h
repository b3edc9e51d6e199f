#pragma once

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

// Why the file at path cannot be read as a text to import: it is missing, a folder, not a
// regular file, or larger than maxBytes. Empty when it can be read.
QString inputProblem(const QString& path, qint64 maxBytes);
// Why the file at path cannot be read at all (missing, a folder, not a regular file), without
// the file's name; empty when it is a regular file.
QString unreadableReason(const QString& path);
// Why the file at path cannot be written: it exists and is not a regular file (a device, a
// pipe, a socket, a folder). Empty when it is a regular file or does not exist yet.
QString outputProblem(const QString& path);
// True when both paths name one existing file (the same device and inode), whatever the path.
bool sameFile(const QString& a, const QString& b);
// The message for an output that is one of the inputs.
QString sameFileProblem(const QString& input, const QString& output);

} // namespace filechecks
