#include "platform/ProgramStarter.h"

#include <QProcess>

namespace platform {

bool QtProgramStarter::start(const QString& path)
{
    return !path.isEmpty() && QProcess::startDetached(path, {});
}

} // namespace platform
