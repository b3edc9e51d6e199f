#pragma once

#include "questionfiles/FormatTypes.h"
#include "questionfiles/Formats.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// Importing question files: what lexamo-bank's import and the window's Import Questions share.
// A file gives the questions a bank can hold, as records with their notes, and names each one it
// leaves out; a file whose syntax is broken, that cannot be read, or that holds no question at
// all is refused whole, naming every problem found.
namespace questionfiles {

struct FileImport {
    QString name;              // the file as messages name it ("standard input" for "-")
    NotedRecords records;      // the questions a bank can hold, in the file's order
    QList<ParseError> leftOut; // the questions left out, by line, each with what it is
    // What the import changed for a question to fit: with cut, each text cut and the questions
    // alike once cut; and each kind a note cannot hold (longer than 40 characters, as learning
    // platforms' default categories can be, or of several lines), left off its questions.
    QList<ParseError> changed;
    // When not empty the file is refused whole, and gives no record. A problem of line -1 is a
    // message that names the file itself (it cannot be read, say).
    QList<ParseError> refused;

    bool isRefused() const { return !refused.isEmpty(); }
};

// The questions of a file's bytes in a format, after kept records (those of the bank and of
// files read before); a question that would lie past the last record a bank holds refuses the
// file. cut cuts a text longer than its field to fit instead of leaving its question out.
FileImport importBytes(const QByteArray& bytes, Format format, bool cut, qint64 kept,
                       const QString& name = QString());

// Reads the file at path ("-" is standard input) and imports it. The format is the one given,
// else the one its ending tells (.csv, .txt, .gift, .xml); a .txt file that holds GIFT, as
// learning platforms name their GIFT exports, is read as GIFT. A file whose format cannot be
// told, that is no regular file, that cannot be read or that is larger than any bank's questions
// could take up is refused.
FileImport importFile(const QString& path, std::optional<Format> format, bool cut, qint64 kept);

// The format of the text of a file that ends in .txt: GIFT when it reads as GIFT (a title, a
// category, a comment line or answers in braces come before any "ANSWER:" line), else Aiken.
Format textFormatOf(const QString& text);

// A problem of a file as a line: "FILE:LINE: what", or "FILE: what" when it has no line, or the
// message alone when it names the file itself (line -1).
QString located(const QString& file, const ParseError& problem);

// "12 questions imported, 3 left out": the end of an import's report.
QString importSummary(qsizetype imported, qsizetype leftOut);

} // namespace questionfiles
