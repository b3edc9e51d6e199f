#pragma once

#include "questionfiles/FormatTypes.h"

#include "bank/QuestionRecord.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>
#include <span>

// The text formats Lexamo imports and exports: one row each, with the ending that tells
// it, its reader and its writer.
namespace questionfiles {

enum class Format { Csv, Aiken, Gift, MoodleXml };

struct FormatRow {
    Format format;
    const char* name;   // as --format names it
    const char* title;  // as a message names it
    const char* ending; // the file ending that tells it, without the dot
    const char* help;   // what --help says of it
    // Why a file read without a fault gave no question, when it is not empty.
    const char* noQuestion;
    // The reader takes the text it reads, so that a large file's text is not held twice.
    ParsedQuestions (*parse)(QString text);
    // flatten: a text's line breaks become spaces, for a format that holds a text on one line.
    Result<QByteArray> (*write)(const NotedRecords& bank, bool flatten);
    // Whether the format carries the records' notes.
    bool carriesNotes;
};

std::span<const FormatRow> formats();
const FormatRow& formatRow(Format format);

// The format a name gives, as --format takes it or as a file ends: its name or its ending,
// in either case ("csv", "aiken", "txt", "gift", "moodle", "xml").
std::optional<Format> formatNamed(const QString& name);
// The formats' names in a row: "csv, aiken, gift or moodle", "csv|aiken|gift|moodle".
QString formatNames(const QString& between, const QString& beforeLast);
// The endings that tell a format: ".csv, .txt for Aiken, .gift, .xml for Moodle XML".
QString formatEndings();
// Why a file's format is not known, naming the endings and --format's names.
QString untoldFormat();

// What export writes: the records (with their notes, where the format carries them) in a text
// format, or why it cannot (naming the record).
Result<QByteArray> exportRecords(const NotedRecords& bank, Format format, bool flatten);

} // namespace questionfiles
