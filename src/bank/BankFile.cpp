#include "bank/BankFile.h"

#include "bank/SafeWrite.h"

#include <QFileInfo>

namespace {

qint64 offsetOf(qint64 n)
{
    return (n - 1) * QuestionRecord::kSize;
}

} // namespace

Result<void> BankFile::open(const QString& path)
{
    close();
    file_.setFileName(path);
    const QFileInfo info(path);
    if (info.isDir())
        return failure(QStringLiteral("open"), QStringLiteral("a folder stands in its place"));
    // A pipe or a device in the bank's place would make a read wait for ever.
    if (info.exists() && !info.isFile())
        return failure(QStringLiteral("open"), QStringLiteral("it is not an ordinary file"));
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

Result<void> BankFile::write(qint64 n, const QuestionRecord& record)
{
    if (!file_.isOpen())
        return failure(QStringLiteral("write"), QStringLiteral("the file is not open"));
    if (!file_.isWritable())
        return failure(QStringLiteral("write"), QStringLiteral("the file can only be read"));
    if (n < 1 || n > kMaxRecords)
        return failure(QStringLiteral("write"), QStringLiteral("record %1 is out of range").arg(n));
    const qint64 before = file_.size();
    const qint64 at = offsetOf(n);
    const QByteArray bytes = record.toBytes();
    const bool ok =
        (at <= before || file_.resize(at)) && file_.seek(at) && safewrite::writeAll(file_, bytes);
    if (ok)
        return {};
    const QString reason = file_.errorString();
    if (file_.size() > before)
        file_.resize(before);
    return failure(QStringLiteral("write"), reason);
}

Failure<QString> BankFile::failure(const QString& action, const QString& reason) const
{
    return {QStringLiteral("Cannot %1 the question bank \"%2\": %3.")
                .arg(action, QFileInfo(file_.fileName()).fileName(), reason)};
}
