#include "app/CommandLine.h"

#include "platform/AppInfo.h"

namespace startup {

namespace {

const QString kHowToRun = QStringLiteral(
    "start it from a desktop session, or under a virtual display: xvfb-run -a lexamo");

// Qt's options of QGuiApplication and QApplication; the first ones take a value.
const QStringList kQtOptionsWithValue = {"platform",      "platformpluginpath",
                                         "platformtheme", "plugin",
                                         "qmljsdebugger", "qwindowgeometry",
                                         "qwindowicon",   "qwindowtitle",
                                         "session",       "display",
                                         "geometry",      "icon",
                                         "name",          "title",
                                         "visual",        "style",
                                         "stylesheet"};
const QStringList kQtFlags = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

QString wrongUsage(const QString& what)
{
    return QStringLiteral("lexamo: %1; try \"lexamo --help\"").arg(what);
}

} // namespace

Request parseArguments(const QStringList& arguments)
{
    Request request;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            request.action = Action::Help;
            return request;
        }
        if (argument == QLatin1String("--version")) {
            request.action = Action::Version;
            return request;
        }
        if (argument == QLatin1String("--user-folder")) {
            request.userFolder = true;
            continue;
        }
        // Qt takes its options with one dash or two.
        QString name = argument.startsWith(QLatin1String("--")) ? argument.mid(2)
                       : argument.startsWith(QLatin1Char('-'))  ? argument.mid(1)
                                                                : QString();
        if (kQtFlags.contains(name))
            continue;
        request.action = Action::WrongUsage;
        if (kQtOptionsWithValue.contains(name)) {
            if (i + 1 == arguments.size()) {
                request.problem =
                    wrongUsage(QStringLiteral("option \"%1\" needs a value").arg(argument));
                return request;
            }
            request.action = Action::Run;
            request.platformGiven = request.platformGiven || name == QLatin1String("platform");
            ++i;
            continue;
        }
        const QString what = argument.startsWith(QLatin1Char('-'))
                                 ? QStringLiteral("unknown option")
                                 : QStringLiteral("unexpected argument");
        request.problem = wrongUsage(QStringLiteral("%1 \"%2\"").arg(what, argument));
        return request;
    }
    return request;
}

QString helpText()
{
    return QStringLiteral(R"(Usage: lexamo [OPTION]...
Practise the verbal section of the ZEP entrance exam: timed tests of questions drawn from a
question bank, their score and review, an editor for the bank and the test options.

Without options Lexamo works in the current folder: it reads the question bank verbal.zep and
the help texts hlp.txt and Readme.txt there, and keeps its test options in the file options.

      --user-folder  work in your own folder, %1
                     (or $XDG_DATA_HOME/Lexamo), as the applications menu does; the sample
                     bank and the help texts are copied there where they are missing
  -h, --help         display this help and exit
      --version      output version information and exit

Qt's options, such as -platform NAME and -style NAME, are accepted as well.
Without a display, run Lexamo under a virtual one, for example: xvfb-run -a lexamo

Exit status: 0 when Lexamo ends normally, 1 when it cannot start (no display, its folder
cannot be prepared), 2 for wrong usage.

Report bugs to: %2
)")
        .arg(QStringLiteral("~/.local/share/Lexamo"), appinfo::contactAddress());
}

QString versionText()
{
    return QStringLiteral("lexamo %1\n"
                          "Copyright (C) 2026 The Lexamo developers\n"
                          "License MIT: <https://opensource.org/licenses/MIT>.\n"
                          "This is free software: you are free to change and redistribute it.\n"
                          "There is NO WARRANTY, to the extent permitted by law.\n")
        .arg(appinfo::versionText());
}

QString missingDisplayMessage(bool platformGiven, const QByteArray& qpaPlatform,
                              const QByteArray& display, const QByteArray& waylandDisplay)
{
    if (platformGiven || !qpaPlatform.isEmpty() || !display.isEmpty() || !waylandDisplay.isEmpty())
        return {};
    return QStringLiteral("lexamo: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); ") +
           kHowToRun;
}

QString unreachableDisplayMessage(const QByteArray& display, const QByteArray& waylandDisplay)
{
    QStringList named;
    if (!display.isEmpty())
        named << QStringLiteral("DISPLAY=%1").arg(QString::fromLocal8Bit(display));
    if (!waylandDisplay.isEmpty())
        named << QStringLiteral("WAYLAND_DISPLAY=%1").arg(QString::fromLocal8Bit(waylandDisplay));
    const QString which =
        named.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(named.join(", "));
    return QStringLiteral("lexamo: cannot open the display%1; ").arg(which) + kHowToRun;
}

} // namespace startup
