#pragma once

#include "app/CommandLine.h"

#include <QStringList>

// The steps of Lexamo's start that come before and around the windows.
namespace startup {

QStringList argumentsOf(int argc, char* argv[]);

// Writes what --help, --version or wrong usage answer (help and version on standard output, a
// problem on standard error) and returns the exit status: 0, or 2 for wrong usage.
int answer(const Request& request);

// Writes one line to standard error and returns 1, the exit status of a failed start.
int fail(const QString& line);

// Held while QApplication is made. Qt ends the program with an abort and several lines when its
// platform plugin cannot open the display; the guard turns that into one line on standard
// error and the exit status 1; other messages are held back and passed on when it goes.
class DisplayGuard {
public:
    DisplayGuard();
    ~DisplayGuard();
    DisplayGuard(const DisplayGuard&) = delete;
    DisplayGuard& operator=(const DisplayGuard&) = delete;
};

// Prepares the user's own folder and makes it the current folder. On failure shows why, on
// standard error and in a message box, and returns false.
bool enterUserFolder();

} // namespace startup
