#include "files/AppendFile.h"

#include "files/FileErrors.h"

#include <cerrno>
#include <unistd.h>

namespace appendfile {

namespace {

// The errno of the write that failed. A write cut short by a full disk or a size limit reports
// no error itself; writing the rest then fails with the reason.
int writeAll(int fd, qint64 at, QByteArrayView bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t written =
            ::pwrite(fd, bytes.data() + done, size_t(bytes.size() - done), off_t(at + done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return errno;
        if (written == 0)
            return ENOSPC;
        done += written;
    }
    return 0;
}

} // namespace

Result<void, Failed> writeAt(int fd, qint64 at, qint64 length, QByteArrayView bytes)
{
    int error = writeAll(fd, at, bytes);
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (error == 0)
        return {};
    Failed failed{fileerrors::reason(error), true, {}};
    if (::ftruncate(fd, off_t(length)) != 0) {
        failed.restored = false;
        failed.restoreReason = QStringLiteral("it could not be cut back to its former %1 bytes: %2")
                                   .arg(length)
                                   .arg(fileerrors::reason(errno));
    }
    return Failure{failed};
}

QString describe(const Failed& failed)
{
    return failed.restored ? failed.reason
                           : failed.reason + QStringLiteral("; ") + failed.restoreReason;
}

} // namespace appendfile
