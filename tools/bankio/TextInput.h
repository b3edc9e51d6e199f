#pragma once

#include "bankio/FormatTypes.h"

#include <QByteArray>
#include <QStringList>

// Reading the text files the import formats come in.
namespace textinput {

// The text of UTF-8 bytes, a leading byte order mark dropped. False, with the line of the first
// bad byte sequence in error, when the bytes are not UTF-8.
bool decodeUtf8(const QByteArray& bytes, QString* text, ParseError* error);

// The lines of a text, ended by LF or CR LF; line n of the file is element n - 1.
QStringList lines(const QString& text);

} // namespace textinput
