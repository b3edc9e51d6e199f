#include "app/main1.h"
#include "platform/AppInfo.h"
#include "platform/FileSizeSignal.h"
#include "platform/Twips.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    platform::ignoreFileSizeSignal();
    QApplication app(argc, argv);
    QApplication::setApplicationName(appinfo::title());
    QApplication::setApplicationVersion(appinfo::versionText());
    twips::registerFontSubstitutions();
    main1::Main();
    return QApplication::exec();
}
