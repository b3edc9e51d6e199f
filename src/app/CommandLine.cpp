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

void refuse(Request& request, const QString& what)
{
    request.action = Action::WrongUsage;
    request.problem = QStringLiteral("lexamo: %1; try \"lexamo --help\"").arg(what);
}

// The name of an option written -name or --name; empty for an argument that is no option.
QString optionName(const QString& argument)
{
    if (argument.startsWith(QLatin1String("--")))
        return argument.mid(2);
    return argument.startsWith(QLatin1Char('-')) ? argument.mid(1) : QString();
}

} // namespace

Request parseArguments(const QStringList& arguments)
{
    Request request;
    for (qsizetype i = 0; i < arguments.size() && request.action == Action::Run; ++i) {
        const QString& argument = arguments[i];
        const QString name = optionName(argument);
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            request.action = Action::Help;
        else if (argument == QLatin1String("--version"))
            request.action = Action::Version;
        else if (argument == QLatin1String("--user-folder"))
            request.userFolder = true;
        else if (kQtFlags.contains(name))
            continue;
        else if (kQtOptionsWithValue.contains(name) && ++i < arguments.size()) // its value
            request.platformGiven = request.platformGiven || name == QLatin1String("platform");
        else if (kQtOptionsWithValue.contains(name))
            refuse(request, QStringLiteral("option \"%1\" needs a value").arg(argument));
        else if (argument.startsWith(QLatin1Char('-')))
            refuse(request, QStringLiteral("unknown option \"%1\"").arg(argument));
        else
            refuse(request, QStringLiteral("unexpected argument \"%1\"").arg(argument));
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
