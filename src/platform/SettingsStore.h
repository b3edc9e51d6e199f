#pragma once

#include <QList>
#include <QString>
#include <utility>

namespace platform {

// The per-user settings store: text values by application, section and key.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual QString read(const QString& application, const QString& section, const QString& key,
                         const QString& defaultValue) = 0;
    virtual void write(const QString& application, const QString& section, const QString& key,
                       const QString& value) = 0;
    // Several keys of one section, each with its value, written together.
    using Values = QList<std::pair<QString, QString>>;
    virtual void writeSection(const QString& application, const QString& section,
                              const Values& values);
};

// QSettings in the user's configuration folder, one store per application name; or, when given
// a folder, the same layout below that folder (tests use a temporary one). A settings file that
// cannot be read safely (a pipe, a folder, a file larger than any settings) gives the defaults;
// one that cannot be written safely (its lock file a folder or a pipe, or held by another
// program) is not written. Neither waits, and one line on standard error says why.
class QtSettingsStore final : public SettingsStore {
public:
    QtSettingsStore() = default;
    explicit QtSettingsStore(QString folder);

    QString read(const QString& application, const QString& section, const QString& key,
                 const QString& defaultValue) override;
    void write(const QString& application, const QString& section, const QString& key,
               const QString& value) override;
    // All the keys under one lock and in one save of the file, which is flushed to the disk
    // once, not once a key.
    void writeSection(const QString& application, const QString& section,
                      const Values& values) override;

private:
    QString readRefusal(const QString& path) const;
    QString writeRefusal(const QString& path) const;

    QString folder_;
    bool toldRead_ = false;
    bool toldWrite_ = false;
};

} // namespace platform
