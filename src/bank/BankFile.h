#pragma once

#include "bank/QuestionRecord.h"
#include "base/Result.h"

#include <QFile>
#include <QList>
#include <QString>
#include <functional>

class BankNotes;

// The question bank "verbal.zep": fixed 576-byte records, no header, record n (from 1) at byte
// (n - 1) * 576. Every user opens it through a handle of its own, and every read and write goes
// straight to the file, so a handle sees what another one wrote. Each write takes the bank's
// lock (FileLock) for its moment only and reads the length again under it, so that writers in
// other windows and programs never take the same record. A failure gives its message (naming
// the file and the reason) with it; no error state is kept between calls.
class BankFile {
public:
    static constexpr const char* kFileName = "verbal.zep";
    // Record numbers are 16-bit signed values: no record beyond this one can be reached.
    static constexpr qint64 kMaxRecords = 32767;

    BankFile() = default;
    BankFile(const BankFile&) = delete;
    BankFile& operator=(const BankFile&) = delete;

    // Opens the bank for reading and writing, creating a missing file empty. A bank that cannot
    // be written is opened for reading only. Fails when neither works.
    Result<void> open(const QString& path = QString::fromLatin1(kFileName));
    // Opens the bank for reading only, for a window that shows its questions: a missing bank is
    // a failure, and nothing is created.
    Result<void> openToRead(const QString& path = QString::fromLatin1(kFileName));
    bool isOpen() const { return file_.isOpen(); }
    void close();

    // Length in bytes now, records just written included; -1 when it cannot be told.
    qint64 length() const;
    // Whole records in the file; a trailing piece shorter than a record does not count.
    qint64 recordCount() const;

    // Record n. A number outside 1 to recordCount() gives a record of empty (zero) fields.
    // Fails only when the file cannot be read.
    Result<QuestionRecord> read(qint64 n);
    // Writes record n, extending the file with zero records when n lies beyond its end. On
    // failure the file keeps its former length, so no torn record is left at the end.
    Result<void> write(qint64 n, const QuestionRecord& record);
    // What a rewrite of a record found under the lock.
    enum class Rewrite {
        Written, // the record held what the caller expected, and now holds the new one
        Changed, // another program changed it: nothing was written
        Beyond,  // the bank no longer reaches it: nothing was written
    };
    // Writes record n over the one there, but only when that one still holds expected (what
    // the caller read from it).
    Result<Rewrite> rewrite(qint64 n, const QuestionRecord& record, const QuestionRecord& expected);
    // Adds the records at the true end of the bank, as it stands under the lock, and gives the
    // number of the first. A piece shorter than a record at the end is written over. Either
    // every record is added or the bank keeps its former length.
    Result<qint64> append(const QList<QuestionRecord>& records);
    // Why an append added nothing: the reason alone, for the caller's own sentence ("File too
    // large", "it holds 32768 records, and a bank holds at most 32767"), and whether a write
    // failed part-way and the bank was then cut back to its former length. A refusal before
    // any write (the lock, the bound) leaves restored false, and so does a cut that failed.
    struct AppendFailed {
        QString reason;
        bool restored = false;
    };
    // What append() does, under the bank's lock, on any handle open for writing on a bank, with
    // the failure in its parts: append() goes through it, and so does lexamo-bank's --append on
    // the file it opened itself, in a sentence of its own.
    static Result<qint64, AppendFailed> appendTo(int fd, const QList<QuestionRecord>& records);

    // Changes the bank's notes (BankNotes::update), under the bank's lock.
    Result<void> updateNotes(const std::function<void(BankNotes&)>& change);

    // Where the bank's name leads now, against the file this handle has open: another program
    // may have replaced the bank by a new file, or removed it.
    enum class Place { Same, Replaced, Removed };
    Place place() const;

    QString fileName() const { return file_.fileName(); }

private:
    // Closes the handle and names it after path; fails when a folder, a pipe or a device stands
    // there.
    Result<void> openable(const QString& path);
    Failure<QString> failure(const QString& action, const QString& reason) const;
    // Ok when the bank is open for writing and n can be written.
    Result<void> writable(qint64 n) const;

    QFile file_;
};
