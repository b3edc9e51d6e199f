#pragma once

#include "base/Result.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// Lexamo reads and replaces regular files only: a pipe in a file's place would make a read wait
// for ever, a device would be written into or replaced by a file of its own, and a file of the
// kernel's (under /proc) claims to be empty while it holds more than memory can take.
namespace regularfile {

// What stands at path, links followed, when it is not a regular file: "a folder", "a pipe
// (FIFO)", "a socket", "a device"; empty when it is a regular file or when nothing stands there.
QString kind(const QString& path);
// The same in the one wording of every refusal: "it is a folder", "it is a pipe (FIFO)", ...
QString notRegular(const QString& path);
// Ok when the open file is a regular one; otherwise the wording of notRegular(), or the
// system's reason when the file cannot be looked at.
Result<void> regularFd(int fd);
// True when nothing at all stands at path (a dangling link counts as nothing).
bool missing(const QString& path);
// Ok when path leads to a regular file; otherwise the reason alone, for the caller's sentence:
// "there is no such file", the system's reason when the path cannot be looked at, or the
// wording of notRegular().
Result<void> readable(const QString& path);
// True when both paths, links followed, name one existing file, however they name it.
bool sameFile(const QString& a, const QString& b);

// What tells a file from the one that replaced it or that it was changed into: where it lives,
// its size and the times of its last change. Two stamps of one path are equal only when the
// file is the same and unchanged, or missing both times; a path that cannot be looked at has no
// stamp equal to any.
struct Stamp {
    bool known = false;
    bool exists = false;
    qint64 device = 0, inode = 0, size = 0, modified = 0, changed = 0; // times in nanoseconds
    bool operator==(const Stamp& other) const
    {
        return known && other.known && exists == other.exists && device == other.device &&
               inode == other.inode && size == other.size && modified == other.modified &&
               changed == other.changed;
    }
};
Stamp stamp(const QString& path);

// "16 MB", "64 KB" or "700 bytes", for the messages that name a bound.
QString sizeText(qint64 bytes);

// The whole of the regular file at path, read in pieces up to maxBytes whatever size the file
// claims, without waiting on a pipe. The error is the reason alone, for the caller's sentence:
// the system's words ("No such file or directory"), "it is a folder", "it is larger than 16 MB".
Result<QByteArray> readWhole(const QString& path, qint64 maxBytes);
// The same of a file open as fd, from where it stands; fd is left open.
Result<QByteArray> readWhole(int fd, qint64 maxBytes);

} // namespace regularfile
