#include "files/SafeWrite.h"

#include "files/FileErrors.h"
#include "files/RegularFile.h"

#include <QSaveFile>
#include <cerrno>

namespace safewrite {

bool writeAll(QIODevice& device, QByteArrayView bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = device.write(bytes.data() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

Result<void> writeWhole(const QString& path, QByteArrayView bytes, InPlace inPlace)
{
    // The new file would take the place of what the path leads to, links followed: a device
    // node or a pipe would be replaced by a plain file.
    if (const QString kind = regularfile::notRegular(path); !kind.isEmpty())
        return Failure{fileerrors::cannotWrite(
            path, kind + QStringLiteral(", not a regular file, so nothing is written to it"))};
    QSaveFile file(path);
    file.setDirectWriteFallback(inPlace == InPlace::WhenFolderIsLocked);
    errno = 0;
    // A short write can leave no error behind, and commit() would then keep a cut file: every
    // count is checked and any failure cancels the whole file.
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && writeAll(file, bytes) &&
        file.flush() && file.commit())
        return {};
    const QString reason = fileerrors::reason(file, errno);
    file.cancelWriting();
    return Failure{fileerrors::cannotWrite(path, reason)};
}

} // namespace safewrite
