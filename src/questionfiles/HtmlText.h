#pragma once

#include <QString>

// The texts of learning platforms' question files are often HTML; a bank question holds plain
// text. This turns the one into the other.
namespace htmltext {

// The plain text an HTML fragment shows: tags dropped (and what a script or style element
// holds), character references decoded (the named ones HTML's texts use and every numeric one),
// runs of white space one space, paragraphs, list items, rows and breaks each one line break,
// no empty lines and no blanks at the ends of a line.
QString plainText(const QString& html);

// Whether an HTML fragment shows a picture (an img element), which a bank question cannot.
bool showsPicture(const QString& html);

} // namespace htmltext
