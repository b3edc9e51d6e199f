#pragma once

#include "bank/BankFile.h"
#include "bank/BankNotes.h"
#include "base/Result.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <algorithm>
#include <array>

// The types the import and export formats share.
//
// A parser stops after this many questions: one more than a bank holds, enough for the import
// to name the first question too many, however large the file.
inline constexpr qsizetype kMostQuestions = BankFile::kMaxRecords + 1;

// A question as read from a text file, before it becomes a bank record: every text with the
// line of the file it came from, so that a problem can be pointed at.
struct SourceText {
    QString text;
    int line = 0;
};

struct ParsedQuestion {
    SourceText question;
    std::array<SourceText, 5> choices;
    SourceText answer;
    // Its note, when the format carries one: empty texts (and line 0) when it has none.
    SourceText kind;
    SourceText explanation;
};

// What is wrong with a file or with one question of it, and on which line (0 when no line can
// be named).
struct ParseError {
    int line = 0;
    QString what;
};

// What a reader makes of a file whose syntax holds: the questions it read, and those it leaves
// out because a bank question cannot hold them (a true/false question, four choices), each
// with its line and what it is.
struct ParsedFile {
    QList<ParsedQuestion> questions;
    QList<ParseError> leftOut;
};

// The questions of a file, or, when its syntax is broken, every problem the reader found.
using ParsedQuestions = Result<ParsedFile, QList<ParseError>>;

// Records and their notes, one note for each record (an empty one where a record has none).
struct NotedRecords {
    QList<QuestionRecord> records;
    QList<BankNote> notes;

    // Whether any record has a note.
    bool hasNotes() const
    {
        return std::any_of(notes.cbegin(), notes.cend(),
                           [](const BankNote& note) { return !note.isEmpty(); });
    }
};
