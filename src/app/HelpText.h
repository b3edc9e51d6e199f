#pragma once

#include "base/Result.h"

#include <QByteArrayView>
#include <QString>

// The help texts "hlp.txt" and "Readme.txt" as the main window shows them.
namespace helptext {

// The shown text of a help file's bytes (Windows-1252): every line, ended in the file by CR or
// CR LF (a lone LF stays in its line, the last line may lack an ending), with the spaces at its
// ends removed, followed by CR LF. An empty file gives an empty text.
QString shownText(QByteArrayView bytes);

// The shown text of the named help file. An error naming the file and the reason when the file
// is missing or cannot be read; nothing is ever created.
Result<QString> load(const QString& fileName);

} // namespace helptext
