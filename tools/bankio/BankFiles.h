#pragma once

#include "bank/QuestionRecord.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Whole banks and export files, read and written at once.
namespace bankfiles {

struct BankContents {
    QList<QuestionRecord> records;
    qint64 trailingBytes = 0; // a piece shorter than a record at the end
};

// Every record of an existing bank. False, with a sentence naming the file, when it is missing
// or cannot be read; a missing bank is not created.
bool readBank(const QString& path, BankContents* bank, QString* error);

// Replaces the file at path by the records or the bytes, or leaves it as it was: everything
// goes to a temporary file first, which takes the file's place only once all of it is written.
bool writeBank(const QString& path, const QList<QuestionRecord>& records, QString* error);
bool writeFile(const QString& path, const QByteArray& bytes, QString* error);

} // namespace bankfiles
