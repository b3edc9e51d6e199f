#include "files/RegularFile.h"

#include "files/FileErrors.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace regularfile {

namespace {

// The kind of a file that is not a regular one, as a refusal names it.
QString kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return {};
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

QString refusal(mode_t mode)
{
    const QString kind = kindOf(mode);
    return kind.isEmpty() ? kind : QStringLiteral("it is ") + kind;
}

bool statOf(const QString& path, struct stat* info)
{
    return ::stat(QFile::encodeName(path).constData(), info) == 0;
}

} // namespace

QString kind(const QString& path)
{
    struct stat info {};
    return statOf(path, &info) ? kindOf(info.st_mode) : QString();
}

QString notRegular(const QString& path)
{
    struct stat info {};
    return statOf(path, &info) ? refusal(info.st_mode) : QString();
}

Result<void> regularFd(int fd)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return Failure{fileerrors::reason(errno)};
    if (const QString refused = refusal(info.st_mode); !refused.isEmpty())
        return Failure{refused};
    return {};
}

bool missing(const QString& path)
{
    struct stat info {};
    return !statOf(path, &info) && errno == ENOENT;
}

Stamp stamp(const QString& path)
{
    struct stat info {};
    if (!statOf(path, &info))
        return {errno == ENOENT, false};
    const auto ns = [](const timespec& t) { return qint64(t.tv_sec) * 1000000000 + t.tv_nsec; };
    return {true,
            true,
            qint64(info.st_dev),
            qint64(info.st_ino),
            qint64(info.st_size),
            ns(info.st_mtim),
            ns(info.st_ctim)};
}

Result<void> readable(const QString& path)
{
    struct stat info {};
    if (!statOf(path, &info))
        return Failure{errno == ENOENT ? QStringLiteral("there is no such file")
                                       : fileerrors::reason(errno)};
    if (const QString refused = refusal(info.st_mode); !refused.isEmpty())
        return Failure{refused};
    return {};
}

bool sameFile(const QString& a, const QString& b)
{
    struct stat first {};
    struct stat second {};
    return statOf(a, &first) && statOf(b, &second) && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

QString sizeText(qint64 bytes)
{
    constexpr qint64 kKilo = 1024;
    if (bytes >= kKilo * kKilo && bytes % (kKilo * kKilo) == 0)
        return QStringLiteral("%1 MB").arg(bytes / (kKilo * kKilo));
    if (bytes >= kKilo && bytes % kKilo == 0)
        return QStringLiteral("%1 KB").arg(bytes / kKilo);
    return QStringLiteral("%1 bytes").arg(bytes);
}

Result<QByteArray> readWhole(const QString& path, qint64 maxBytes)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return Failure{fileerrors::reason(errno)};
    Result<QByteArray> bytes = readWhole(fd, maxBytes);
    ::close(fd);
    return bytes;
}

Result<QByteArray> readWhole(int fd, qint64 maxBytes)
{
    struct stat info {};
    QString refused = ::fstat(fd, &info) != 0 ? fileerrors::reason(errno) : refusal(info.st_mode);
    QByteArray bytes;
    if (refused.isEmpty()) {
        // The size the file claims is only a hint: the reading goes by what read() gives, in
        // whole pieces (a file of the kernel's may take no other reads), until past the bound.
        constexpr qint64 kPiece = 64 * 1024;
        qint64 done = 0;
        bytes.reserve(qsizetype(std::clamp<qint64>(info.st_size, 0, maxBytes) + kPiece));
        while (done <= maxBytes) {
            bytes.resize(qsizetype(done + kPiece));
            const ssize_t got = ::read(fd, bytes.data() + done, size_t(kPiece));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                refused = fileerrors::reason(errno);
            if (got <= 0)
                break;
            done += got;
        }
        if (refused.isEmpty() && done > maxBytes)
            refused = QStringLiteral("it is larger than %1").arg(sizeText(maxBytes));
        bytes.truncate(qsizetype(done));
    }
    if (!refused.isEmpty())
        return Failure{refused};
    return bytes;
}

} // namespace regularfile
