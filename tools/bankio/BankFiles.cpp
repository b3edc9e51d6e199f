#include "bankio/BankFiles.h"

#include "bankio/FileChecks.h"

#include "bank/BankFile.h"
#include "bank/FileErrors.h"
#include "bank/SafeWrite.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bankfiles {

namespace {

bool pwriteAll(int fd, const QByteArray& bytes, off_t at)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written =
            ::pwrite(fd, bytes.constData() + done, bytes.size() - done, at + done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

// Writes bytes at the end of the open file fd, or cuts the file back to its old length when a
// write fails; the message, or empty when all of it is written.
QString appendOrUndo(int fd, const QByteArray& bytes, const QString& path)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return fileerrors::cannotWrite(path, fileerrors::reason(errno));
    const off_t before = info.st_size;
    if (pwriteAll(fd, bytes, before) && ::fsync(fd) == 0)
        return {};
    const QString message = fileerrors::cannotWrite(path, fileerrors::reason(errno));
    if (::ftruncate(fd, before) != 0) {
        return message + QStringLiteral(" It could not be cut back to its former %1 bytes: %2.")
                             .arg(qint64(before))
                             .arg(fileerrors::reason(errno));
    }
    return message + QStringLiteral(" The bank is as it was.");
}

} // namespace

Result<BankContents> readBank(const QString& path)
{
    const QString reason = filechecks::unreadableReason(path);
    if (!reason.isEmpty())
        return Failure{
            QStringLiteral("Cannot read the question bank \"%1\": %2.").arg(path, reason)};
    BankFile file;
    if (const Result<void> opened = file.open(path); !opened.ok())
        return Failure{opened.error()};
    const qint64 count = file.recordCount();
    const qint64 kept = std::min(count, BankFile::kMaxRecords);
    BankContents bank;
    bank.records.reserve(kept);
    for (qint64 n = 1; n <= kept; ++n) {
        const Result<QuestionRecord> record = file.read(n);
        if (!record.ok())
            return Failure{record.error()};
        bank.records.append(record.value());
    }
    bank.recordsPast = count - kept;
    bank.trailingBytes = file.length() - count * QuestionRecord::kSize;
    return bank;
}

Result<void> writeBank(const QString& path, const QList<QuestionRecord>& records)
{
    QByteArray bytes;
    bytes.reserve(records.size() * QuestionRecord::kSize);
    for (const QuestionRecord& record : records)
        bytes += record.toBytes();
    return writeFile(path, bytes);
}

Result<void> writeFile(const QString& path, const QByteArray& bytes)
{
    if (const Result<void> writable = filechecks::checkOutput(path); !writable.ok())
        return Failure{writable.error() + u'.'};
    return safewrite::writeWhole(path, bytes);
}

Result<void> appendRecords(const QString& path, const QList<QuestionRecord>& records)
{
    QByteArray bytes;
    bytes.reserve(records.size() * QuestionRecord::kSize);
    for (const QuestionRecord& record : records)
        bytes += record.toBytes();
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return Failure{fileerrors::cannotWrite(path, fileerrors::reason(errno))};
    const QString problem = appendOrUndo(fd, bytes, path);
    ::close(fd); // by now every byte is on the disk (fsync), or the file is cut back
    if (!problem.isEmpty())
        return Failure{problem};
    return {};
}

} // namespace bankfiles
