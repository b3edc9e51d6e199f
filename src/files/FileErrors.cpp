#include "files/FileErrors.h"

#include <QFileDevice>
#include <cstring>

namespace fileerrors {

QString reason(int errnum)
{
    return QString::fromLocal8Bit(std::strerror(errnum));
}

QString reason(const QFileDevice& file, int errnum)
{
    const QString qt = file.errorString();
    const bool vague = file.error() == QFileDevice::NoError || qt.isEmpty() ||
                       qt.startsWith(QLatin1String("Unknown error"));
    if (!vague)
        return qt;
    if (errnum != 0)
        return reason(errnum);
    return QStringLiteral("not every byte could be written");
}

QString cannotWrite(const QString& path, const QString& reason)
{
    return QStringLiteral("Cannot write \"%1\": %2.").arg(path, reason);
}

} // namespace fileerrors
