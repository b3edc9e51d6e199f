#pragma once

#include "base/Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QLatin1StringView>
#include <QList>
#include <QString>

// The results log "results.csv": one line for every test that ended with a score, in UTF-8 CSV
// (RFC 4180, lines ended by CR LF), below a header row that names the columns:
//
//     date,ended,questions,minutes,seconds,correct,kind,record1,chosen1,answer1,check1,...,check50
//     2026-12-07T18:04:31,quit,15,15,412,6,verbal,12,b,b,4f1c,40,,c,09a2
//
// date is local time to the second (ISO 8601); ended is complete, time-over or quit; questions
// and minutes are the test's options; seconds the time used; correct the score; kind verbal or
// practice. Then, for every question shown, in order: its record number, the letter confirmed
// (empty when the test ended before it was answered), the record's answer letter as the bank
// held it (empty when that is a control character) and the record's check, four hex digits.
// Questions never shown have no columns, so lines differ in length.
//
// Lexamo 1.0 wrote no kind and no checks (header "date,ended,questions,minutes,seconds,correct,
// record1,chosen1,answer1,..."). Its lines are read as they stand and never rewritten: the
// seventh field tells a line's format, a record number on 1.0's and a word on today's, and
// today's header row goes in below the last line of 1.0 before today's first line.
namespace resultslog {

inline constexpr const char* kFileName = "results.csv";
inline constexpr int kMaxQuestions = 50;
// Longer than any line Lexamo writes: the header row is 1,763 bytes, the line of a test of 50
// questions under 1,300. A reader refuses a longer line unread.
inline constexpr qsizetype kLongestLine = 4096;

enum class Ending { Complete, TimeOver, Quit };
// What a test was: the Verbal Test draws its questions at random, the Practice Test by need.
// Every test of a line written by Lexamo 1.0 was a Verbal Test.
enum class Kind { Verbal, Practice };

// One letter a field; a null QChar stands for an empty field. (A log of 100,000 tests holds
// three million of them.)
struct Question {
    int recnum = 0;
    QChar chosen; // "a" to "e", or null
    QChar answer; // the record's answer letter, or null
    // The checksum of the record as the test showed it (recordCheck), so that a reader can tell
    // whether the record still holds that question; -1 on a line of Lexamo 1.0, which kept none.
    int check = -1;
    bool operator==(const Question&) const = default;
};

// A short checksum (CRC-16) of a record's bytes, 0 to 65535.
int recordCheck(QByteArrayView recordBytes);
// Whether a record, by its bytes now, still holds the question a test asked: unknown for the
// questions of Lexamo 1.0's lines.
enum class Still { Same, Changed, Unknown };
Still stillAsked(const Question& question, QByteArrayView recordBytesNow);

// The first character of a letter held as text, or null when it is empty.
QChar letterOf(const QString& text);

struct Entry {
    QDateTime when;
    Ending ending = Ending::Complete;
    int questions = 0;
    int minutes = 0;
    qint64 seconds = 0;
    int correct = 0;
    Kind kind = Kind::Verbal;
    QList<Question> shown;
    bool operator==(const Entry&) const = default;
};

} // namespace resultslog

// Moved in memory as bytes when a list of them grows: a log holds 100,000 tests.
Q_DECLARE_TYPEINFO(resultslog::Question, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(resultslog::Entry, Q_RELOCATABLE_TYPE);

namespace resultslog {

QLatin1StringView endingName(Ending ending);
// "verbal" or "practice", as the log and lexamo-bank history write it.
QLatin1StringView kindName(Kind kind);
// Today's header row, CR LF included.
QByteArray header();
// The line of one test in today's format, CR LF included: what the log gains when the test ends.
QByteArray line(const Entry& entry);

// The test of one line of the log (without its line end), in either format, or what is wrong
// with it. A header row, of either format, is not a test: isHeader() tells it.
Result<Entry> parseLine(QStringView text);
bool isHeader(QStringView text);

// A question that counts as missed: answered wrongly, or left unanswered.
bool missed(const Question& question);

// Adds bytes to the end of the file at path, under its lock, beginning with the header when the
// file is new or empty, and with a line end when the last line was left without one. A write
// that fails part-way is taken back, so the file only ever gains whole lines. A pipe, device or
// folder in the file's place is refused without waiting.
Result<void> append(const QString& path, const QByteArray& bytes);

} // namespace resultslog
