#pragma once

#include <QByteArray>
#include <QString>

// Windows-1252, the single-byte code page of the bank and the text files. Every byte has a
// character: the five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// become the control characters of the same number, so any byte survives a decode and encode.
namespace cp1252 {

QString decode(QByteArrayView bytes);
// A character the code page cannot hold becomes "?" (one per character, also outside the BMP).
QByteArray encode(const QString& text);
// True when encode() keeps every character of text.
bool canEncode(const QString& text);

} // namespace cp1252
