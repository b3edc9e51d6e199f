#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// Lexamo reads and replaces regular files only: a pipe in a file's place would make a read wait
// for ever, a device would be written into or replaced by a file of its own, and a file of the
// kernel's (under /proc) claims to be empty while it holds more than memory can take.
namespace regularfile {

// Why the file at path, links followed, is not a regular file, in the one wording of every
// refusal ("it is a folder", "it is a pipe (FIFO)", "it is a socket", "it is a device"); empty
// when it is a regular file or when nothing stands there.
QString notRegular(const QString& path);
// The same for an open file.
QString notRegularFd(int fd);
// True when nothing at all stands at path (a dangling link counts as nothing).
bool missing(const QString& path);

// "16 MB", "64 KB" or "700 bytes", for the messages that name a bound.
QString sizeText(qint64 bytes);

// The whole of the regular file at path, read in pieces up to maxBytes whatever size the file
// claims, without waiting on a pipe. The error is the reason alone, for the caller's sentence:
// the system's words ("No such file or directory"), "it is a folder", "it is larger than 16 MB".
Result<QByteArray> readWhole(const QString& path, qint64 maxBytes);

} // namespace regularfile
