#include "bankio/BankFiles.h"

#include "bankio/FileChecks.h"

#include "bank/BankFile.h"
#include "files/FileErrors.h"
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

Result<qint64> appendRecords(const QString& path, const QList<QuestionRecord>& records)
{
    // The bank's own file, extended by the bank's own append as Lexamo's editor extends it: a
    // Lexamo that has it open sees the new records, and no two writers take one number.
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return Failure{fileerrors::cannotWrite(path, fileerrors::reason(file, errno))};
    const Result<qint64, BankFile::AppendFailed> first = BankFile::appendTo(file.handle(), records);
    if (first.ok())
        return first.value() - 1 + records.size();
    const BankFile::AppendFailed failed = first.error();
    return Failure{fileerrors::cannotWrite(path, failed.reason) +
                   (failed.restored ? QStringLiteral(" The bank is as it was.") : QString())};
}

} // namespace bankfiles
