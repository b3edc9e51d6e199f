#include "app/UserFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace userfolder {

namespace {

constexpr const char* kSampleBank = "verbal.zep";
constexpr const char* kSampleNotes = "verbal.notes.csv";

// A name that is there in any form (file, folder, even a link that leads nowhere) is kept.
bool present(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

Result<void> copySample(const QString& name, const QString& folder, const QStringList& sources)
{
    QString source;
    for (const QString& candidate : sources) {
        if (QFileInfo(candidate + QLatin1Char('/') + name).isFile()) {
            source = candidate + QLatin1Char('/') + name;
            break;
        }
    }
    if (source.isEmpty()) {
        return Failure{
            QStringLiteral("Lexamo cannot find its sample file %1 (looked in %2).")
                .arg(name, QDir::toNativeSeparators(sources.join(QStringLiteral(", "))))};
    }
    const QString target = folder + QLatin1Char('/') + name;
    QFile file(source);
    if (!file.copy(target)) {
        return Failure{QStringLiteral("Lexamo cannot copy %1 to %2: %3.")
                           .arg(QDir::toNativeSeparators(source), QDir::toNativeSeparators(target),
                                file.errorString())};
    }
    // The copy belongs to the user, who edits the bank: writable whatever the source allowed.
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                      QFile::ReadOther);
    return {};
}

} // namespace

QStringList sampleFiles()
{
    return {QLatin1String(kSampleBank), QLatin1String(kSampleNotes), QStringLiteral("hlp.txt"),
            QStringLiteral("Readme.txt")};
}

QString location()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QStringList sampleFolders(const QString& programFolder)
{
    const QDir dir(programFolder);
    return {QDir::cleanPath(dir.filePath(QStringLiteral(LEXAMO_INSTALLED_SAMPLES))),
            QDir::cleanPath(dir.filePath(QStringLiteral("../sample")))};
}

Result<void> prepare(const QString& folder, const QStringList& sampleFolders)
{
    if (folder.isEmpty())
        return Failure{QStringLiteral("Lexamo cannot tell where your folder is: HOME is not set.")};
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir())
        return Failure{QStringLiteral("Lexamo cannot use %1: it is not a folder.")
                           .arg(QDir::toNativeSeparators(folder))};
    if (!QDir().mkpath(folder))
        return Failure{QStringLiteral("Lexamo cannot create its folder %1.")
                           .arg(QDir::toNativeSeparators(folder))};
    // The sample notes belong to the sample bank: they come with it or not at all, so that a
    // bank of the user's own never gets notes of other questions. Without them the sample bank
    // still serves, as any bank without notes does.
    bool bankCopied = false;
    for (const QString& name : sampleFiles()) {
        const bool notes = name == QLatin1String(kSampleNotes);
        if (present(folder + QLatin1Char('/') + name) || (notes && !bankCopied))
            continue;
        if (Result<void> copied = copySample(name, folder, sampleFolders); !copied.ok() && !notes)
            return copied;
        bankCopied = bankCopied || name == QLatin1String(kSampleBank);
    }
    return {};
}

} // namespace userfolder
