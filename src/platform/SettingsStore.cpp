#include "platform/SettingsStore.h"

#include "files/RegularFile.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>
#include <cstdio>
#include <memory>

namespace platform {

namespace {

// The settings of a program are a few lines; a larger file is not Lexamo's.
constexpr qint64 kLargestFile = 1024 * 1024;
// A writer holds the lock only while it writes the file: one held longer is not waited for.
constexpr int kLockWaitMs = 500;

QString filePath(const QString& folder, const QString& application)
{
    const QString base =
        folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                         : folder;
    return base + QLatin1Char('/') + application + QLatin1Char('/') + application +
           QStringLiteral(".ini");
}

void tell(const QString& line)
{
    std::fprintf(stderr, "lexamo: %s\n", qPrintable(line));
}

} // namespace

QtSettingsStore::QtSettingsStore(QString folder) : folder_(std::move(folder)) {}

QString QtSettingsStore::readRefusal(const QString& path) const
{
    if (regularfile::missing(path))
        return {};
    const Result<QByteArray> bytes = regularfile::readWhole(path, kLargestFile);
    return bytes.ok() ? QString() : bytes.error();
}

QString QtSettingsStore::writeRefusal(const QString& path) const
{
    if (const QString kind = regularfile::notRegular(path); !kind.isEmpty())
        return kind;
    const QString lockPath = path + QStringLiteral(".lock");
    if (const QString kind = regularfile::notRegular(lockPath); !kind.isEmpty())
        return QStringLiteral("its lock file \"%1\": %2").arg(lockPath, kind);
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return QStringLiteral("the folder \"%1\" cannot be made").arg(folder);
    // QSettings waits on its lock for ever: the lock is tried here first, for a moment.
    QLockFile lock(lockPath);
    if (lock.tryLock(kLockWaitMs))
        return {};
    if (lock.error() == QLockFile::LockFailedError)
        return QStringLiteral("its lock file \"%1\" is held by another program").arg(lockPath);
    return QStringLiteral("its lock file \"%1\" cannot be made").arg(lockPath);
}

QString QtSettingsStore::read(const QString& application, const QString& section,
                              const QString& key, const QString& defaultValue)
{
    const QString path = filePath(folder_, application);
    if (const QString refused = readRefusal(path); !refused.isEmpty()) {
        if (!toldRead_)
            tell(QStringLiteral("the settings are not read from \"%1\": %2; the defaults serve.")
                     .arg(path, refused));
        toldRead_ = true;
        return defaultValue;
    }
    QSettings settings(path, QSettings::IniFormat);
    return settings.value(section + QLatin1Char('/') + key, defaultValue).toString();
}

void SettingsStore::writeSection(const QString& application, const QString& section,
                                 const Values& values)
{
    for (const auto& [key, value] : values)
        write(application, section, key, value);
}

void QtSettingsStore::write(const QString& application, const QString& section, const QString& key,
                            const QString& value)
{
    writeSection(application, section, {{key, value}});
}

void QtSettingsStore::writeSection(const QString& application, const QString& section,
                                   const Values& values)
{
    const QString path = filePath(folder_, application);
    // Values the file holds already are not written again: an exit that moved nothing writes
    // nothing, and takes no lock.
    const QString absent = QStringLiteral("\x01");
    const bool stored =
        !regularfile::missing(path) &&
        std::all_of(values.begin(), values.end(), [&](const auto& keyValue) {
            return read(application, section, keyValue.first, absent) == keyValue.second;
        });
    if (stored)
        return;
    QString refused = writeRefusal(path);
    if (refused.isEmpty()) {
        QSettings settings(path, QSettings::IniFormat);
        for (const auto& [key, value] : values)
            settings.setValue(section + QLatin1Char('/') + key, value);
        settings.sync();
        if (settings.status() != QSettings::NoError)
            refused = QStringLiteral("the file cannot be written");
    }
    if (!refused.isEmpty() && !toldWrite_)
        tell(QStringLiteral("the settings are not saved to \"%1\": %2.").arg(path, refused));
    toldWrite_ = toldWrite_ || !refused.isEmpty();
}

} // namespace platform
