#pragma once

#include "base/Result.h"

#include <QString>
#include <QStringList>

// The user's own Lexamo folder, where a start from the applications menu works: the sample bank,
// its notes file and the help texts are copied into it once, and the user's changes stay there.
// A notes file copied beside a bank the user has changed keeps the notes of the questions that
// are still the sample's; those of changed records are stale and not shown.
namespace userfolder {

// The files a working folder needs from the sample folder.
QStringList sampleFiles();

// The application data folder of the XDG base directories: $XDG_DATA_HOME/Lexamo, by default
// ~/.local/share/Lexamo. Needs the application name set.
QString location();

// Where the sample files may be, given the folder of the running program: the installed
// share/lexamo beside bin/, then the build's folder sample/ when Lexamo runs from its build.
QStringList sampleFolders(const QString& programFolder);

// Makes the folder when it is missing and copies every sample file that it lacks from the
// first sample folder that holds it. A file already in the folder is never replaced, whatever
// it holds. Ok when the folder is ready, else the error names what failed.
Result<void> prepare(const QString& folder, const QStringList& sampleFolders);

} // namespace userfolder
