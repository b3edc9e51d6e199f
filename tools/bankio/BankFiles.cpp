#include "bankio/BankFiles.h"

#include "bankio/FileChecks.h"

#include "bank/BankFile.h"
#include "files/AppendFile.h"
#include "files/FileErrors.h"
#include "files/FileLock.h"
#include "files/SafeWrite.h"

#include <QFile>
#include <cerrno>

namespace bankfiles {

namespace {

QByteArray bytesOf(const QList<QuestionRecord>& records)
{
    QByteArray bytes;
    bytes.reserve(records.size() * QuestionRecord::kSize);
    for (const QuestionRecord& record : records)
        bytes += record.toBytes();
    return bytes;
}

} // namespace

Result<BankContents> readBank(const QString& path)
{
    if (const Result<void> readable = filechecks::readable(path); !readable.ok())
        return Failure{QStringLiteral("Cannot read the question bank \"%1\": %2.")
                           .arg(path, readable.error())};
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
    return writeFile(path, bytesOf(records));
}

Result<void> writeFile(const QString& path, const QByteArray& bytes)
{
    if (const Result<void> writable = filechecks::checkOutput(path); !writable.ok())
        return Failure{writable.error() + u'.'};
    return safewrite::writeWhole(path, bytes);
}

Result<void> appendRecords(const QString& path, const QList<QuestionRecord>& records)
{
    // The bank's own file, extended at its end under the bank's lock as Lexamo's editor extends
    // it: a Lexamo that has it open sees the new records, and no two writers take one number.
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return Failure{fileerrors::cannotWrite(path, fileerrors::reason(file, errno))};
    const FileLock lock(file.handle());
    if (!lock.held())
        return Failure{fileerrors::cannotWrite(path, lock.reason())};
    const qint64 length = file.size();
    const Result<void, appendfile::Failed> written =
        appendfile::writeAt(file.handle(), length, length, bytesOf(records));
    if (written.ok())
        return {};
    const appendfile::Failed failed = written.error();
    return Failure{fileerrors::cannotWrite(path, appendfile::describe(failed)) +
                   (failed.restored ? QStringLiteral(" The bank is as it was.") : QString())};
}

} // namespace bankfiles
