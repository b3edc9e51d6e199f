#include "platform/AppInfo.h"

#include "LexamoBuildConfig.h"

namespace appinfo {

QString title()
{
    return QStringLiteral("Lexamo");
}

QString versionText()
{
    return QStringLiteral("%1.%2.%3")
        .arg(LEXAMO_VERSION_MAJOR)
        .arg(LEXAMO_VERSION_MINOR)
        .arg(LEXAMO_VERSION_PATCH);
}

QString platformName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("Windows only");
#else
    return QStringLiteral("Linux");
#endif
}

QString contactAddress()
{
    return QStringLiteral(LEXAMO_CONTACT);
}

QString licenceNotice()
{
    return QStringLiteral(
        "Warning: Lexamo is MIT-licensed free software; copies must keep its notice.");
}

} // namespace appinfo
