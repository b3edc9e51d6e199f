#pragma once

#include "base/Result.h"

#include <QString>
#include <QtGlobal>

// The options file "options": two text lines ended by CR LF, the number of questions and the
// test minutes. A line holds the text as the user typed it; readers derive the number from it
// each time by the rules of numberrules. Readers also take a lone CR or LF as a line end.
namespace optionsfile {

inline constexpr const char* kFileName = "options";
inline constexpr qint16 kDefaultValue = 15;

struct Values {
    qint16 numques = kDefaultValue;
    qint16 testmins = kDefaultValue;
};

struct Lines {
    QString questions;
    QString minutes;
};

// At start-up: creates a missing file, writes "15" and "15" into an empty one, and reads it.
// A file with content is never rewritten here.
Values ensureAndRead(const QString& path = QString::fromLatin1(kFileName));
// At the start of a test. A missing file or line, or a value outside the 16-bit range, gives 15
// for that value; nothing is written.
Values read(const QString& path = QString::fromLatin1(kFileName));
// The two lines as text, for the options dialog (empty texts for missing lines).
Lines loadLines(const QString& path = QString::fromLatin1(kFileName));
// Replaces the file with the two texts, each followed by CR LF. The old file stays whole when
// the new one cannot be written; then the failure names the file and the reason. In a folder
// where no new file can be made the file is written in place, every write checked.
Result<void> saveLines(const Lines& lines, const QString& path = QString::fromLatin1(kFileName));

} // namespace optionsfile
