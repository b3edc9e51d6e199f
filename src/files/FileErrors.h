#pragma once

#include <QString>

class QFileDevice;

// The reason a file operation failed, in the words a user knows from the system ("No space left
// on device", "File too large", "Permission denied"), for every message about a failed save.
namespace fileerrors {

// The system's words for an errno value.
QString reason(int errnum);
// The reason of a failed operation on file. Qt leaves "Unknown error" (or nothing) behind after
// a write cut short; then the system's errno of that moment names it, or failing that the
// plain fact that not every byte could be written.
QString reason(const QFileDevice& file, int errnum);
// The one wording of a failed write: Cannot write "PATH": REASON.
QString cannotWrite(const QString& path, const QString& reason);

} // namespace fileerrors
