#pragma once

#include "base/Result.h"

#include <QByteArrayView>
#include <QString>

class QIODevice;

// Lexamo's one way to replace a whole file: the options file, the banks and exports of
// lexamo-bank, the history plot. The bytes go to a temporary file beside the target, which
// takes the target's place only once every write, the flush and the commit have succeeded; on
// any failure the temporary file is removed and the old file stays whole.
namespace safewrite {

enum class InPlace {
    // A folder where no temporary file can be made refuses the save.
    Never,
    // A folder where no temporary file can be made has the file itself written over, every
    // write still checked (the options file in a folder the user may not add files to).
    WhenFolderIsLocked,
};

// Replaces the file at path by bytes. What the path leads to, links followed, must be a regular
// file or nothing: anything else is refused and left as it is. The failure reads
// `Cannot write "PATH": REASON.`, with path as given and the system's reason ("No space left on
// device", "File too large").
Result<void> writeWhole(const QString& path, QByteArrayView bytes,
                        InPlace inPlace = InPlace::Never);

// Writes all of bytes to the open device, as many writes as it takes; false when one fails.
// A write cut short (a full disk, a file size limit) reports no error itself; writing the rest
// then fails with the reason in the device's error.
bool writeAll(QIODevice& device, QByteArrayView bytes);

} // namespace safewrite
