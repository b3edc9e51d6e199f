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
//     date,ended,questions,minutes,seconds,correct,kind,record1,chosen1,answer1,check1,time1,...
//     2026-12-07T18:04:31,quit,15,15,412,6,verbal,12,b,b,4f1c,31,40,,c,09a2,52
//
// date is local time to the second (ISO 8601); ended is complete, time-over or quit; questions
// and minutes are the test's options; seconds the time used; correct the score; kind verbal or
// practice. Then, for every question shown, in order: its record number, the letter confirmed
// (empty when the test ended before it was answered), the record's answer letter as the bank
// held it (empty when that is a control character), the record's check, four hex digits, and
// the seconds the question was on screen until its answer was confirmed (or until the test
// ended, for the question on screen then). Questions never shown have no columns, so lines
// differ in length.
//
// Older lines are read as they stand and never rewritten; the header row of today's format goes
// in below the last older line before today's first line.
//   - Lexamo 1.0 wrote no kind, no checks and no times (header "date,ended,questions,minutes,
//     seconds,correct,record1,chosen1,answer1,..."): the seventh field, a record number there
//     and a word since, tells its lines.
//   - The lines of Lexamo 1.1 have checks but no times (four columns a question, "...,check1,
//     record2,..."). A line is read as today's when its question columns come in fives that
//     each begin with a record number: in fours, the sixth would be a letter or empty.
namespace resultslog {

inline constexpr const char* kFileName = "results.csv";
inline constexpr int kMaxQuestions = 50;
// Longer than any line Lexamo writes: the header row is 2,106 bytes, the line of a test of 50
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
    // The seconds the question was on screen until it was answered, or until the test ended;
    // -1 on a line that keeps no times.
    int time = -1;
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
