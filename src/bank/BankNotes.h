#pragma once

#include "bank/QuestionRecord.h"
#include "base/Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>
#include <future>

// What a question has beyond its 576 bytes: its kind ("antonym", "analogy") and its
// explanation, why the right choice is right. They live beside the bank in a companion file
// named after it ("verbal.zep" has "verbal.notes.csv"): UTF-8 CSV, lines ended by CR LF, the
// header row `record,check,kind,explanation` and one row for each record that has a note.
//
// `check` is the record's check (the CRC-16 of its 576 bytes, four hex digits, as the results
// log keeps it) when the note was written. A program that knows nothing of notes may change a
// record since: its note is then stale, and is never shown with the question that stands there
// now. A bank without the file has no notes, and behaves as it always did.
struct BankNote {
    QString kind;
    QString explanation;

    bool isEmpty() const { return kind.isEmpty() && explanation.isEmpty(); }
    bool operator==(const BankNote&) const = default;
};

class BankNotes {
public:
    static constexpr int kMaxKind = 40;
    static constexpr int kMaxExplanation = 1000;
    // The notes of a full bank fit in this, each of its 32767 rows at its longest: every
    // character of the kind and the explanation four bytes long, both quoted.
    static constexpr qint64 kMaxBytes = 32767LL * (4 * (kMaxKind + kMaxExplanation) + 32) + 64;

    // One row of the file: the record's check when the note was written, and the note.
    struct Row {
        int check = 0;
        BankNote note;

        bool operator==(const Row&) const = default;
    };
    // A row of the file that could not be read, and why; it is left out.
    struct Problem {
        int line = 0;
        QString what;
    };

    // The companion file of the bank at bankPath: its name with ".notes.csv" for its suffix.
    static QString pathFor(const QString& bankPath);
    // The notes in the file's bytes. A row that cannot be read is left out and named in
    // problems; the rest are kept.
    static BankNotes fromBytes(QByteArrayView bytes, QList<Problem>* problems);
    // The whole file: the header row and a row for every note, by record number.
    QByteArray toBytes() const;

    // The note of record n, when it was written for the question the record holds now; an empty
    // note when it has none or it is stale.
    BankNote noteFor(qint64 n, const QuestionRecord& record) const;
    // Gives record n the note, for the question that record holds; an empty note removes it.
    void setNote(qint64 n, const QuestionRecord& record, const BankNote& note);
    // Whether record n has a note written for another question than record holds.
    bool isStale(qint64 n, const QuestionRecord& record) const;

    const QMap<qint64, Row>& rows() const { return rows_; }
    bool isEmpty() const { return rows_.isEmpty(); }
    // The kinds the notes name, each once, in alphabetical order.
    QStringList kinds() const;

    // Why a kind or an explanation cannot be kept, for a message; empty when it can.
    static QString kindProblem(const QString& kind);
    static QString explanationProblem(const QString& explanation);

    // What reading a bank's notes found. A file that is missing holds no notes and no warning;
    // one that cannot be read, or only in part, gives what could be read and a warning that
    // names the file, the lines and what is wrong, for the user to be told once.
    struct Loaded;
    static Loaded load(const QString& path);
    // The same, the file opened now and read in the background: the notes of a full bank take
    // longer to read than a window may wait. What the file held when it was opened is what is
    // read, for Lexamo replaces the file rather than writing into it. Without a thread to be
    // had, the file is read at once.
    static std::shared_future<Loaded> loadLater(const QString& path);
    // Replaces the notes file at path by these notes, whole or not at all.
    Result<void> save(const QString& path) const;
    // Changes the notes of the bank whose file is open as bankFd, at bankPath: under the bank's
    // lock, the notes file is read anew, changed and written whole, so that notes another
    // window or program wrote meanwhile are kept. Rows of the file that could not be read are
    // not written back; a file that cannot be read at all is refused, never written over.
    // Nothing is written when the change leaves the notes as they were.
    static Result<void> update(int bankFd, const QString& bankPath,
                               const std::function<void(BankNotes&)>& change);

    bool operator==(const BankNotes&) const = default;

private:
    QMap<qint64, Row> rows_;
};

struct BankNotes::Loaded {
    BankNotes notes;
    QString warning;
    // The file is there but could not be read at all: writing it would lose its notes.
    bool unreadable = false;
};
