#pragma once

#include "bank/QuestionRecord.h"
#include "platform/Result.h"

#include <QFile>
#include <QString>

// The question bank "verbal.zep": fixed 576-byte records, no header, record n (from 1) at byte
// (n - 1) * 576. Every user opens it through a handle of its own; no lock is taken, and every
// read and write goes straight to the file, so a handle sees what another one wrote. A failure
// gives its message (naming the file and the reason) with it; no error state is kept between
// calls.
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

    QString fileName() const { return file_.fileName(); }

private:
    Failure<QString> failure(const QString& action, const QString& reason) const;

    QFile file_;
};
