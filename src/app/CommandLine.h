#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Lexamo's command line, taken apart before any window or display is needed. Without arguments
// Lexamo works in its current folder; Qt's own options (-platform, -style, ...) are left for
// QApplication.
namespace startup {

enum class Action { Run, Help, Version, WrongUsage };

struct Request {
    Action action = Action::Run;
    bool userFolder = false;    // --user-folder: work in the user's own data folder
    bool platformGiven = false; // Qt's -platform option is among the arguments
    QString problem;            // WrongUsage: what is wrong, in one line
};

// The request that the arguments after the program's name make. The first of --help and
// --version wins; an unknown option or any other argument makes WrongUsage.
Request parseArguments(const QStringList& arguments);

// What --help and --version print on standard output.
QString helpText();
QString versionText();

// The one line for standard error when Lexamo cannot hope to reach a display: no -platform
// option, QT_QPA_PLATFORM unset and neither DISPLAY nor WAYLAND_DISPLAY set. Empty otherwise.
QString missingDisplayMessage(bool platformGiven, const QByteArray& qpaPlatform,
                              const QByteArray& display, const QByteArray& waylandDisplay);
// The one line when the display named was there but Qt could not open it.
QString unreachableDisplayMessage(const QByteArray& display, const QByteArray& waylandDisplay);

} // namespace startup
