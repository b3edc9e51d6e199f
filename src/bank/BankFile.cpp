#include "bank/BankFile.h"

#include "bank/BankNotes.h"

#include "files/AppendFile.h"
#include "files/FileErrors.h"
#include "files/FileLock.h"

#include <QFileInfo>
#include <cerrno>
#include <sys/stat.h>

namespace {

qint64 offsetOf(qint64 n)
{
    return (n - 1) * QuestionRecord::kSize;
}

} // namespace

Result<void> BankFile::openable(const QString& path)
{
    close();
    file_.setFileName(path);
    const QFileInfo info(path);
    if (info.isDir())
        return failure(QStringLiteral("open"), QStringLiteral("a folder stands in its place"));
    // A pipe or a device in the bank's place would make a read wait for ever.
    if (info.exists() && !info.isFile())
        return failure(QStringLiteral("open"), QStringLiteral("it is not an ordinary file"));
    return {};
}

Result<void> BankFile::openToRead(const QString& path)
{
    if (Result<void> can = openable(path); !can.ok())
        return can;
    if (!QFileInfo::exists(path))
        return failure(QStringLiteral("open"), QStringLiteral("there is no such file"));
    if (file_.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return {};
    return failure(QStringLiteral("open"), file_.errorString());
}

Result<void> BankFile::open(const QString& path)
{
    if (Result<void> can = openable(path); !can.ok())
        return can;
    if (file_.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return {};
    const QString reason = file_.errorString();
    if (QFileInfo::exists(path) && file_.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return {};
    return failure(QStringLiteral("open"), reason);
}

void BankFile::close()
{
    if (file_.isOpen())
        file_.close();
}

qint64 BankFile::length() const
{
    return file_.isOpen() ? file_.size() : -1;
}

qint64 BankFile::recordCount() const
{
    const qint64 bytes = length();
    return bytes < 0 ? 0 : bytes / QuestionRecord::kSize;
}

Result<QuestionRecord> BankFile::read(qint64 n)
{
    if (!file_.isOpen())
        return failure(QStringLiteral("read"), QStringLiteral("the file is not open"));
    if (n < 1 || n > recordCount())
        return QuestionRecord();
    QByteArray bytes(QuestionRecord::kSize, '\0');
    if (!file_.seek(offsetOf(n)) || file_.read(bytes.data(), bytes.size()) != bytes.size())
        return failure(QStringLiteral("read"), file_.errorString());
    return QuestionRecord::fromBytes(bytes);
}

Result<void> BankFile::writable(qint64 n) const
{
    if (!file_.isOpen())
        return failure(QStringLiteral("write"), QStringLiteral("the file is not open"));
    if (!file_.isWritable())
        return failure(QStringLiteral("write"), QStringLiteral("the file can only be read"));
    if (n < 1 || n > kMaxRecords)
        return failure(QStringLiteral("write"), QStringLiteral("record %1 is out of range").arg(n));
    return {};
}

Result<void> BankFile::write(qint64 n, const QuestionRecord& record)
{
    if (const Result<void> can = writable(n); !can.ok())
        return can;
    const FileLock lock(file_.handle());
    if (!lock.held())
        return failure(QStringLiteral("write"), lock.reason());
    const qint64 before = file_.size();
    const qint64 at = offsetOf(n);
    // A record beyond the end leaves zero records before it; on failure the file goes back to
    // its former length, so no torn record is left at the end.
    if (at > before && !file_.resize(at))
        return failure(QStringLiteral("write"), file_.errorString());
    const auto written = appendfile::writeAt(file_.handle(), at, before, record.toBytes());
    if (!written.ok())
        return failure(QStringLiteral("write"), appendfile::describe(written.error()));
    return {};
}

Result<BankFile::Rewrite> BankFile::rewrite(qint64 n, const QuestionRecord& record,
                                            const QuestionRecord& expected)
{
    if (const Result<void> can = writable(n); !can.ok())
        return Failure{can.error()};
    const FileLock lock(file_.handle());
    if (!lock.held())
        return failure(QStringLiteral("write"), lock.reason());
    if (n > recordCount())
        return Rewrite::Beyond;
    const Result<QuestionRecord> now = read(n);
    if (!now.ok())
        return Failure{now.error()};
    if (now.value() != expected)
        return Rewrite::Changed;
    const qint64 length = file_.size();
    if (const auto written =
            appendfile::writeAt(file_.handle(), offsetOf(n), length, record.toBytes());
        !written.ok())
        return failure(QStringLiteral("write"), appendfile::describe(written.error()));
    return Rewrite::Written;
}

Result<qint64> BankFile::append(const QList<QuestionRecord>& records)
{
    if (const Result<void> can = writable(1); !can.ok())
        return Failure{can.error()};
    const Result<qint64, AppendFailed> first = appendTo(file_.handle(), records);
    if (!first.ok())
        return failure(QStringLiteral("write"), first.error().reason);
    return first.value();
}

Result<qint64, BankFile::AppendFailed> BankFile::appendTo(int fd,
                                                          const QList<QuestionRecord>& records)
{
    const FileLock lock(fd);
    if (!lock.held())
        return Failure{AppendFailed{lock.reason()}};
    // The length as it stands under the lock: another writer may have added records since the
    // caller last looked. The first new record goes where the last whole one ends, over any
    // shorter piece, so that every record stays at the place its number gives.
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return Failure{AppendFailed{fileerrors::reason(errno)}};
    const qint64 length = info.st_size;
    const qint64 first = length / QuestionRecord::kSize + 1;
    if (first - 1 + records.size() > kMaxRecords)
        return Failure{
            AppendFailed{QStringLiteral("it holds %1 records, and a bank holds at most %2")
                             .arg(first - 1 + records.size())
                             .arg(kMaxRecords)}};
    QByteArray bytes;
    bytes.reserve(records.size() * QuestionRecord::kSize);
    for (const QuestionRecord& record : records)
        bytes += record.toBytes();
    const auto written = appendfile::writeAt(fd, offsetOf(first), length, bytes);
    if (!written.ok())
        return Failure{
            AppendFailed{appendfile::describe(written.error()), written.error().restored}};
    return first;
}

Result<void> BankFile::updateNotes(const std::function<void(BankNotes&)>& change)
{
    if (const Result<void> can = writable(1); !can.ok())
        return can;
    return BankNotes::update(file_.handle(), file_.fileName(), change);
}

BankFile::Place BankFile::place() const
{
    struct stat named {};
    struct stat open {};
    if (!file_.isOpen() || ::fstat(file_.handle(), &open) != 0)
        return Place::Same;
    if (::stat(QFile::encodeName(file_.fileName()).constData(), &named) != 0)
        return Place::Removed;
    return named.st_dev == open.st_dev && named.st_ino == open.st_ino ? Place::Same
                                                                      : Place::Replaced;
}

Failure<QString> BankFile::failure(const QString& action, const QString& reason) const
{
    return {QStringLiteral("Cannot %1 the question bank \"%2\": %3.")
                .arg(action, QFileInfo(file_.fileName()).fileName(), reason)};
}
