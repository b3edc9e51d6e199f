#include "platform/Registry.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <QStandardPaths>
#include <cstring>
#endif

namespace platform {

#ifdef Q_OS_WIN

long SystemRegistry::openKey(RegistryKey root, const QByteArray& subKey, quint32 options,
                             quint32 access, RegistryKey* result)
{
    HKEY key = nullptr;
    const long status = RegOpenKeyExA(reinterpret_cast<HKEY>(static_cast<quintptr>(root)),
                                      subKey.constData(), options, access, &key);
    *result = static_cast<RegistryKey>(reinterpret_cast<quintptr>(key));
    return status;
}

long SystemRegistry::queryValue(RegistryKey key, const QByteArray& valueName, quint32* type,
                                unsigned char* data, quint32* size)
{
    DWORD valueType = 0;
    DWORD byteCount = *size;
    const long status =
        RegQueryValueExA(reinterpret_cast<HKEY>(static_cast<quintptr>(key)), valueName.constData(),
                         nullptr, &valueType, data, &byteCount);
    *type = valueType;
    *size = byteCount;
    return status;
}

long SystemRegistry::closeKey(RegistryKey key)
{
    return RegCloseKey(reinterpret_cast<HKEY>(static_cast<quintptr>(key)));
}

#else

namespace {

constexpr RegistryKey kSysInfoKey = 1;
constexpr char kSysInfoKeyPath[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";

// System-information tools of the common Linux desktops, in order of preference.
constexpr const char* kSysInfoTools[] = {
    "hardinfo",         "hardinfo2", "kinfocenter", "gnome-system-monitor", "mate-system-monitor",
    "xfce4-taskmanager"};

QByteArray systemInformationTool()
{
    for (const char* name : kSysInfoTools) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty())
            return path.toLocal8Bit();
    }
    return {};
}

} // namespace

long SystemRegistry::openKey(RegistryKey root, const QByteArray& subKey, quint32, quint32,
                             RegistryKey* result)
{
    *result = 0;
    if (root != kHkeyLocalMachine || subKey.compare(kSysInfoKeyPath, Qt::CaseInsensitive) != 0)
        return kErrorFileNotFound;
    *result = kSysInfoKey;
    return kErrorSuccess;
}

long SystemRegistry::queryValue(RegistryKey key, const QByteArray& valueName, quint32* type,
                                unsigned char* data, quint32* size)
{
    if (key != kSysInfoKey || valueName.compare("PATH", Qt::CaseInsensitive) != 0)
        return kErrorFileNotFound;
    const QByteArray tool = systemInformationTool();
    if (tool.isEmpty())
        return kErrorFileNotFound;
    const auto needed = static_cast<quint32>(tool.size() + 1); // with its terminating NUL
    if (needed > *size) {
        *size = needed;
        return kErrorMoreData;
    }
    std::memcpy(data, tool.constData(), needed);
    *type = kRegSz;
    *size = needed;
    return kErrorSuccess;
}

long SystemRegistry::closeKey(RegistryKey)
{
    return kErrorSuccess;
}

#endif

} // namespace platform
