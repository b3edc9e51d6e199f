#include "questionfiles/BankFiles.h"

#include "questionfiles/FileChecks.h"

#include "bank/BankFile.h"
#include "bank/BankNotes.h"
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

// The notes of the records, as record first onwards takes them: a record without a note has
// none, even when a record of its number had one.
void setNotes(BankNotes& notes, const NotedRecords& bank, qint64 first)
{
    for (qsizetype i = 0; i < bank.records.size(); ++i)
        notes.setNote(first + i, bank.records.at(i), bank.notes.value(i));
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

Result<Written> writeBank(const QString& path, const NotedRecords& bank)
{
    if (const Result<void> written = writeBank(path, bank.records); !written.ok())
        return Failure{written.error()};
    Written done{bank.records.size(), {}};
    if (bank.hasNotes()) {
        BankNotes notes;
        setNotes(notes, bank, 1);
        if (const Result<void> saved = notes.save(BankNotes::pathFor(path)); !saved.ok())
            done.notesProblem = saved.error();
    }
    return done;
}

Result<Written> appendRecords(const QString& path, const NotedRecords& bank)
{
    // The bank's own file, extended by the bank's own append as Lexamo's editor extends it: a
    // Lexamo that has it open sees the new records, and no two writers take one number.
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return Failure{fileerrors::cannotWrite(path, fileerrors::reason(file, errno))};
    const Result<qint64, BankFile::AppendFailed> first =
        BankFile::appendTo(file.handle(), bank.records);
    if (first.ok()) {
        Written done{first.value() - 1 + bank.records.size(), {}};
        if (!bank.hasNotes())
            return done;
        const Result<void> noted = BankNotes::update(
            file.handle(), path, [&](BankNotes& notes) { setNotes(notes, bank, first.value()); });
        if (!noted.ok())
            done.notesProblem = noted.error();
        return done;
    }
    const BankFile::AppendFailed failed = first.error();
    return Failure{fileerrors::cannotWrite(path, failed.reason) +
                   (failed.restored ? QStringLiteral(" The bank is as it was.") : QString())};
}

QList<BankNote> notesOf(const QString& bankPath, const QList<QuestionRecord>& records,
                        QString* warning)
{
    const BankNotes::Loaded loaded = BankNotes::load(BankNotes::pathFor(bankPath));
    if (warning)
        *warning = loaded.warning;
    QList<BankNote> notes;
    if (loaded.notes.isEmpty())
        return notes;
    notes.reserve(records.size());
    for (qsizetype i = 0; i < records.size(); ++i)
        notes.append(loaded.notes.noteFor(i + 1, records.at(i)));
    return notes;
}

} // namespace bankfiles
