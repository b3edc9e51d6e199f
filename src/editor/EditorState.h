#pragma once

#include "bank/BankFile.h"
#include "bank/BankNotes.h"
#include "bank/QuestionRecord.h"
#include "files/RegularFile.h"

#include <QString>
#include <future>

// What the question-bank editor keeps for the whole run of the program. The application owns
// it and hands it to each editor window it makes: closing the window keeps it, and the next
// opening goes on with it.
struct EditorState {
    bool changed = false;   // a box or option changed since the flag was last cleared
    QString response;       // the last unsaved-changes answer: "6" Yes, "7" No, "2" Cancel
    BankFile fileno;        // the bank, as the window's load step opened it
    qint16 recno = 0;       // the record on screen, or the one being added
    QuestionRecord quesrec; // the working copy: the record last read or written
    // The bank's notes (kind, explanation), as the window's load step read them and its saves
    // left them; the file is read again only when it is no longer the one read, for the notes
    // of a full bank take longer to read than an opening may. What was wrong with the file as
    // read, and whether the user was told.
    BankNotes notes;
    QStringList kinds; // the kinds the notes name, as BankNotes::kinds() gives them
    regularfile::Stamp notesRead;
    // The notes being read in the background, while they are; the kind and explanation boxes
    // wait for them.
    std::shared_future<BankNotes::Loaded> notesComing;
    QString notesWarning;
    bool notesTold = false;
    bool adding = false; // the record on screen is a new one, not in the bank yet
    // ADD was pressed, and no record has been shown or saved since: SAVE stays offered, even
    // where ADD went no further than its checks.
    bool addPressed = false;
};
