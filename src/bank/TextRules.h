#pragma once

#include <QString>

// How bank and help texts are shown: small rules shared by the windows.
namespace textrules {

// Removes spaces (and only spaces) at both ends.
QString trimSpaces(const QString& text);
// The text before its first zero character, as a text box shows it.
QString beforeNul(const QString& text);
// A field as a window shows it: up to the first zero character, spaces trimmed.
QString shownField(const QString& field);
// Line breaks as the bank stores them (CR LF) from a text box's line feeds, and back.
QString toStoredLineBreaks(const QString& text);
QString toShownLineBreaks(const QString& text);
// A text shown as a caption, with "&" doubled so that it is not taken as an access key.
QString literalCaption(const QString& text);

} // namespace textrules
