#include "bankio/BankFiles.h"

#include "bankio/FileChecks.h"

#include "bank/BankFile.h"
#include "bank/FileErrors.h"

#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace bankfiles {

namespace {

// A write cut short (a full disk, a file size limit) reports no error itself; writing the rest
// then fails with the reason.
bool writeAll(QSaveFile& file, QByteArrayView bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = file.write(bytes.data() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

QString cannotWrite(const QString& path, const QString& reason)
{
    return QStringLiteral("Cannot write \"%1\": %2.").arg(path, reason);
}

// A short write can leave no error behind, and commit() would then keep a cut file: every
// count is checked and any failure cancels the whole file.
bool saveAtomically(const QString& path, const std::function<bool(QSaveFile&)>& fill,
                    QString* error)
{
    const QString problem = filechecks::outputProblem(path);
    if (!problem.isEmpty()) {
        *error = problem + u'.';
        return false;
    }
    QSaveFile file(path);
    errno = 0;
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && fill(file) && file.flush() &&
        file.commit())
        return true;
    const QString reason = fileerrors::reason(file, errno);
    file.cancelWriting();
    *error = cannotWrite(path, reason);
    return false;
}

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

} // namespace

bool readBank(const QString& path, BankContents* bank, QString* error)
{
    const QString reason = filechecks::unreadableReason(path);
    if (!reason.isEmpty()) {
        *error = QStringLiteral("Cannot read the question bank \"%1\": %2.").arg(path, reason);
        return false;
    }
    BankFile file;
    if (!file.open(path)) {
        *error = file.lastError();
        return false;
    }
    const qint64 count = file.recordCount();
    const qint64 kept = std::min(count, BankFile::kMaxRecords);
    bank->records.clear();
    bank->records.reserve(kept);
    for (qint64 n = 1; n <= kept; ++n) {
        const std::optional<QuestionRecord> record = file.read(n);
        if (!record) {
            *error = file.lastError();
            return false;
        }
        bank->records.append(*record);
    }
    bank->recordsPast = count - kept;
    bank->trailingBytes = file.length() - count * QuestionRecord::kSize;
    return true;
}

bool writeBank(const QString& path, const QList<QuestionRecord>& records, QString* error)
{
    return saveAtomically(
        path,
        [&records](QSaveFile& file) {
            for (const QuestionRecord& record : records) {
                if (!writeAll(file, record.toBytes()))
                    return false;
            }
            return true;
        },
        error);
}

bool writeFile(const QString& path, const QByteArray& bytes, QString* error)
{
    return saveAtomically(
        path, [&bytes](QSaveFile& file) { return writeAll(file, bytes); }, error);
}

bool appendRecords(const QString& path, const QList<QuestionRecord>& records, QString* error)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0) {
        *error = cannotWrite(path, fileerrors::reason(errno));
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    const off_t before = info.st_size;
    QByteArray bytes;
    bytes.reserve(records.size() * QuestionRecord::kSize);
    for (const QuestionRecord& record : records)
        bytes += record.toBytes();
    bool ok = pwriteAll(fd, bytes, before) && ::fsync(fd) == 0;
    const int reason = errno;
    if (!ok && ::ftruncate(fd, before) != 0)
        *error = QStringLiteral("%1 It could not be cut back to its former %2 bytes: %3.")
                     .arg(cannotWrite(path, fileerrors::reason(reason)))
                     .arg(qint64(before))
                     .arg(fileerrors::reason(errno));
    else if (!ok)
        *error = cannotWrite(path, fileerrors::reason(reason)) +
                 QStringLiteral(" The bank is as it was.");
    if (::close(fd) != 0 && ok) {
        ok = false;
        *error = cannotWrite(path, fileerrors::reason(errno));
    }
    return ok;
}

} // namespace bankfiles
