#pragma once

#include "base/Result.h"

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

// Lexamo's one way to add to the end of a file that others read while it grows: the question
// bank (the editor's new records, lexamo-bank's --append) and the results log. The caller holds
// the file's lock (FileLock) and has read its length under it.
namespace appendfile {

// Why an append failed: the system's reason for the write that failed ("File too large", "No
// space left on device"), and whether the file could be taken back to its former length.
struct Failed {
    QString reason;
    bool restored = true;
    QString restoreReason; // why it could not be, when it could not
};

// Writes bytes at byte `at` of the open file fd, in as many writes as it takes, and makes them
// durable (fsync). A write that fails part-way is taken back: the file is cut to `length`, its
// length before, so it only ever holds whole records or lines.
Result<void, Failed> writeAt(int fd, qint64 at, qint64 length, QByteArrayView bytes);
// The failure in one sentence's tail: the reason, and the fact that the file could not be cut
// back when it could not.
QString describe(const Failed& failed);

} // namespace appendfile
