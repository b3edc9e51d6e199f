#include "about/SysInfo.h"

#include <QFileInfo>
#include <QtEndian>
#include <array>

namespace sysinfo {

namespace {

using Buffer = std::array<unsigned char, kValueBufferSize>;

// The value's bytes as text, without one terminating NUL. The registry's single-byte functions
// hand text over in the machine's own code page, which is what local 8-bit means to Qt.
QString textOf(const Buffer& buffer, quint32 size)
{
    QByteArrayView bytes(buffer.data(), size);
    if (bytes.endsWith('\0'))
        bytes.chop(1);
    return QString::fromLocal8Bit(bytes);
}

QString numberOf(const Buffer& buffer)
{
    return QStringLiteral("&h") +
           QString::number(qFromLittleEndian<quint32>(buffer.data()), 16).toUpper();
}

Lookup readOpenKey(platform::Registry& registry, platform::RegistryKey key,
                   const QByteArray& valueName, QString& keyVal)
{
    Buffer buffer{};
    quint32 size = kValueBufferSize;
    quint32 type = 0;
    if (registry.queryValue(key, valueName, &type, buffer.data(), &size) !=
        platform::kErrorSuccess) {
        keyVal.clear();
        return Lookup::Missing;
    }
    if (size == 0) {
        keyVal.clear();
        return Lookup::Empty;
    }
    if (type == platform::kRegSz)
        keyVal = textOf(buffer, qMin(size, kValueBufferSize));
    else if (type == platform::kRegDword)
        keyVal = numberOf(buffer);
    return Lookup::Read;
}

} // namespace

Lookup readKeyValue(platform::Registry& registry, platform::RegistryKey root,
                    const QByteArray& keyName, const QByteArray& valueName, QString& keyVal)
{
    platform::RegistryKey key = 0;
    Lookup result = Lookup::Missing;
    if (registry.openKey(root, keyName, 0, kKeyAccess, &key) == platform::kErrorSuccess)
        result = readOpenKey(registry, key, valueName, keyVal);
    else
        keyVal.clear();
    registry.closeKey(key);
    return result;
}

bool getKeyValue(platform::Registry& registry, platform::RegistryKey root,
                 const QByteArray& keyName, const QByteArray& valueName, QString& keyVal)
{
    return readKeyValue(registry, root, keyName, valueName, keyVal) == Lookup::Read;
}

bool startSysInfo(platform::Registry& registry, platform::ProgramStarter& programs)
{
    // The tool's own path comes first, and is started as it reads.
    QString path;
    const Lookup tool =
        readKeyValue(registry, platform::kHkeyLocalMachine, kToolKey, kToolValue, path);
    if (tool == Lookup::Empty)
        return false;
    if (tool == Lookup::Missing) {
        // Without it, the folder the tool lies in names it, and the file must be there.
        QString folder;
        if (!getKeyValue(registry, platform::kHkeyLocalMachine, kFolderKey, kFolderValue, folder))
            return false;
        path = folder + QLatin1String(kToolFileName);
        if (!QFileInfo(path).isFile())
            return false;
    }
    // Lexamo does not wait for the tool to end.
    return programs.start(path);
}

} // namespace sysinfo
