#pragma once

#include "questionfiles/FormatTypes.h"

#include "bank/QuestionRecord.h"
#include "base/Result.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Whole banks and export files, read and written at once.
namespace bankfiles {

struct BankContents {
    // The records Lexamo can reach (at most 32767), read into memory.
    QList<QuestionRecord> records;
    // Whole records after the last one Lexamo can reach: counted, never read.
    qint64 recordsPast = 0;
    qint64 trailingBytes = 0; // a piece shorter than a record at the end
};

// The records of an existing bank, or a sentence naming the file when it is missing, not a
// regular file or cannot be read; a missing bank is not created.
Result<BankContents> readBank(const QString& path);

// What an import wrote: the number of records the bank holds now, and, when the records have
// notes and the bank was written but its notes file could not be, the reason (naming the file).
struct Written {
    qint64 total = 0;
    QString notesProblem;
};

// Replaces the file at path by the records or the bytes, or leaves it as it was (see
// safewrite::writeWhole). A path that names no regular file is refused before anything is made.
Result<void> writeBank(const QString& path, const QList<QuestionRecord>& records);
Result<void> writeFile(const QString& path, const QByteArray& bytes);
// Replaces the bank at path by the records and, when they have notes, its notes file by theirs
// (each whole or not at all); records without notes leave the notes file as it is.
Result<Written> writeBank(const QString& path, const NotedRecords& bank);

// Adds the records at the end of the bank at path (made, empty, when there is none yet), in the
// same file, so that a handle another program holds open on it sees them, and gives the number
// of records the bank holds now. The end is that of the bank's last whole record when the lock is
// held, as BankFile::append finds it: a shorter piece after it is written over, and a bank that
// would hold more than BankFile::kMaxRecords records is refused. Either every record is added or,
// when a write fails, the file is cut back to its old length and the reason given. The notes
// of the records, when they have any, are then added to the bank's notes file under the bank's
// lock (BankNotes::update); a note kept for a record number they take is replaced.
Result<Written> appendRecords(const QString& path, const NotedRecords& bank);

// The notes of the records of the bank at bankPath, one for each record (an empty one where a
// record has none, or a stale one), or none at all when no record has a note. A notes file that
// cannot be read whole gives what could be read, and warning (when given) says why, naming the
// file; otherwise it is left empty.
QList<BankNote> notesOf(const QString& bankPath, const QList<QuestionRecord>& records,
                        QString* warning = nullptr);

} // namespace bankfiles
