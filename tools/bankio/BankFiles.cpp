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

// Writes bytes at the end of the open file fd, or cuts the file back to its old length when a
// write fails; the message, or empty when all of it is written.
QString appendOrUndo(int fd, const QByteArray& bytes, const QString& path)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return cannotWrite(path, fileerrors::reason(errno));
    const off_t before = info.st_size;
    if (pwriteAll(fd, bytes, before) && ::fsync(fd) == 0)
        return {};
    const QString message = cannotWrite(path, fileerrors::reason(errno));
    if (::ftruncate(fd, before) != 0) {
        return message + QStringLiteral(" It could not be cut back to its former %1 bytes: %2.")
                             .arg(qint64(before))
                             .arg(fileerrors::reason(errno));
    }
    return message + QStringLiteral(" The bank is as it was.");
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
    QByteArray bytes;
    bytes.reserve(records.size() * QuestionRecord::kSize);
    for (const QuestionRecord& record : records)
        bytes += record.toBytes();
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        *error = cannotWrite(path, fileerrors::reason(errno));
        return false;
    }
    const QString problem = appendOrUndo(fd, bytes, path);
    ::close(fd); // by now every byte is on the disk (fsync), or the file is cut back
    if (!problem.isEmpty())
        *error = problem;
    return problem.isEmpty();
}

} // namespace bankfiles
