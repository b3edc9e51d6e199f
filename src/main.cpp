#include "app/Launch.h"
#include "app/main1.h"
#include "platform/AppInfo.h"
#include "platform/FileSizeSignal.h"
#include "platform/FontFaces.h"
#include "platform/Twips.h"

#include <QApplication>
#include <memory>

int main(int argc, char* argv[])
{
    platform::ignoreFileSizeSignal();
    const startup::Request request = startup::parseArguments(startup::argumentsOf(argc, argv));
    if (request.action != startup::Action::Run)
        return startup::answer(request);
    const QString noDisplay =
        startup::missingDisplayMessage(request.platformGiven, qgetenv("QT_QPA_PLATFORM"),
                                       qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY"));
    if (!noDisplay.isEmpty())
        return startup::fail(noDisplay);
    platform::leaveOutType1Faces();
    auto guard = std::make_unique<startup::DisplayGuard>();
    QApplication app(argc, argv);
    guard.reset();
    QApplication::setApplicationName(appinfo::title());
    QApplication::setApplicationVersion(appinfo::versionText());
    QGuiApplication::setDesktopFileName(QStringLiteral("org.lexamo.Lexamo"));
    if (request.userFolder && !startup::enterUserFolder())
        return 1;
    twips::registerFontSubstitutions();
    main1::Main();
    return QApplication::exec();
}
