#include "platform/SettingsStore.h"

#include <QSettings>
#include <memory>

namespace platform {

namespace {

std::unique_ptr<QSettings> open(const QString& folder, const QString& application)
{
    if (folder.isEmpty())
        return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, application,
                                           application);
    return std::make_unique<QSettings>(folder + QLatin1Char('/') + application + QLatin1Char('/') +
                                           application + QStringLiteral(".ini"),
                                       QSettings::IniFormat);
}

} // namespace

QtSettingsStore::QtSettingsStore(QString folder) : folder_(std::move(folder)) {}

QString QtSettingsStore::read(const QString& application, const QString& section,
                              const QString& key, const QString& defaultValue)
{
    auto settings = open(folder_, application);
    return settings->value(section + QLatin1Char('/') + key, defaultValue).toString();
}

void QtSettingsStore::write(const QString& application, const QString& section, const QString& key,
                            const QString& value)
{
    auto settings = open(folder_, application);
    settings->setValue(section + QLatin1Char('/') + key, value);
    settings->sync();
}

} // namespace platform
