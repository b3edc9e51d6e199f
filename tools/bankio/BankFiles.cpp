#include "bankio/BankFiles.h"

#include "bank/BankFile.h"

#include <QFileInfo>
#include <QSaveFile>
#include <functional>

namespace bankfiles {

namespace {

bool writeAll(QSaveFile& file, QByteArrayView bytes)
{
    return file.write(bytes.data(), bytes.size()) == bytes.size();
}

// A short write can leave no error behind, and commit() would then keep a cut file: every
// count is checked and any failure cancels the whole file.
bool saveAtomically(const QString& path, const std::function<bool(QSaveFile&)>& fill,
                    QString* error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && fill(file) && file.flush() && file.commit())
        return true;
    const QString reason = file.error() == QFileDevice::NoError
                               ? QStringLiteral("not every byte could be written")
                               : file.errorString();
    file.cancelWriting();
    *error = QStringLiteral("Cannot write \"%1\": %2.").arg(path, reason);
    return false;
}

} // namespace

bool readBank(const QString& path, BankContents* bank, QString* error)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isDir()) {
        *error = QStringLiteral("Cannot read the question bank \"%1\": %2.")
                     .arg(path, info.isDir() ? QStringLiteral("it is a folder")
                                             : QStringLiteral("there is no such file"));
        return false;
    }
    BankFile file;
    if (!file.open(path)) {
        *error = file.lastError();
        return false;
    }
    const qint64 count = file.recordCount();
    bank->records.clear();
    bank->records.reserve(count);
    for (qint64 n = 1; n <= count; ++n) {
        const std::optional<QuestionRecord> record = file.read(n);
        if (!record) {
            *error = file.lastError();
            return false;
        }
        bank->records.append(*record);
    }
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

} // namespace bankfiles
