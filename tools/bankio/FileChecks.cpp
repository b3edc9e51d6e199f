#include "bankio/FileChecks.h"

#include "bank/FileErrors.h"

#include <QFile>
#include <cerrno>
#include <sys/stat.h>

namespace filechecks {

namespace {

// A word for a kind of file that is not a regular one.
QString kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("a pipe (FIFO)");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    return QStringLiteral("not a regular file");
}

bool statOf(const QString& path, struct stat* info)
{
    return ::stat(QFile::encodeName(path).constData(), info) == 0;
}

QString reasonOf(const QString& path, struct stat* info)
{
    if (!statOf(path, info))
        return errno == ENOENT ? QStringLiteral("there is no such file")
                               : fileerrors::reason(errno);
    if (!S_ISREG(info->st_mode))
        return QStringLiteral("it is %1, and only regular files are read")
            .arg(kindOf(info->st_mode));
    return {};
}

} // namespace

Result<void> checkInput(const QString& path, qint64 maxBytes)
{
    struct stat info {};
    const QString reason = reasonOf(path, &info);
    if (!reason.isEmpty())
        return Failure{QStringLiteral("%1: cannot be read: %2").arg(path, reason)};
    if (info.st_size <= maxBytes)
        return {};
    return Failure{
        QStringLiteral("%1: %2 bytes, more than the questions of a full bank could take up "
                       "(at most %3 bytes are read)")
            .arg(path)
            .arg(qint64(info.st_size))
            .arg(maxBytes)};
}

QString unreadableReason(const QString& path)
{
    struct stat info {};
    return reasonOf(path, &info);
}

Result<void> checkOutput(const QString& path)
{
    struct stat info {};
    if (!statOf(path, &info) || S_ISREG(info.st_mode))
        return {};
    return Failure{QStringLiteral("%1 is %2, not a regular file: nothing is written to it")
                       .arg(path, kindOf(info.st_mode))};
}

bool sameFile(const QString& a, const QString& b)
{
    struct stat first {};
    struct stat second {};
    return statOf(a, &first) && statOf(b, &second) && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

QString sameFileProblem(const QString& input, const QString& output)
{
    return QStringLiteral("%1 and %2 are the same file: writing it would destroy what is read")
        .arg(output, input);
}

} // namespace filechecks
