#pragma once

#include "questionfiles/FormatTypes.h"

#include "bank/BankFile.h"
#include "bank/QuestionRecord.h"

#include <QByteArray>
#include <QStringList>

// Reading the text files the import formats come in.
namespace textinput {

// The most bytes of a file to import: a full bank's texts (32767 records of 576 characters),
// each character up to three bytes in UTF-8 and doubled by quoting or escaping, and 1 KiB of
// markup a record. A larger file holds more than any bank could keep, and is not read.
inline constexpr qint64 kMaxFileBytes =
    BankFile::kMaxRecords * (QuestionRecord::kSize * 3 * 2 + 1024);

// The text of UTF-8 bytes, a leading byte order mark dropped; or the line (and the column) of
// the fault when the bytes are not UTF-8 (naming UTF-16 when they begin with its byte
// order mark), when the lines end with CR alone, or when the text holds a control character
// other than tab and the line breaks LF and CR LF.
Result<QString, ParseError> decodeUtf8(const QByteArray& bytes);

// The lines of a text, ended by LF or CR LF; line n of the file is element n - 1.
QStringList lines(const QString& text);

} // namespace textinput
