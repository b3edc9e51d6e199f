#pragma once

#include "bank/BankFile.h"
#include "bank/BankNotes.h"
#include "bank/QuestionRecord.h"
#include "base/Result.h"
#include "exam/ExamScreen.h"
#include "progress/ResultsLog.h"

#include <QList>
#include <QString>
#include <array>
#include <future>

// What a test keeps for each question it showed.
struct AnswerEntry {
    qint16 recnum = 0; // the bank record shown
    QString choice;    // the letter confirmed, "a" to "e"; empty while unanswered
    bool correct = false;
    qint32 shownAt = 0;  // the clock's seconds when the question was shown
    qint32 seconds = -1; // from its showing to its confirmed answer; -1 while unanswered
    // The record as the test showed it: the review and the results log tell the question that
    // was asked, whatever another program does to the bank meanwhile.
    QuestionRecord record;
    // Its note as the bank's notes held it, when the test began, for the question shown; empty
    // when it had none. Filled in for the review once the test is scored.
    BankNote note;
};

// The test that runs in the main window: its procedures drive the screen they are handed.
namespace vertest {

// Question i uses slot i; slot 0 is never used.
inline constexpr int kSlots = resultslog::kMaxQuestions + 1;

// One test, from the options it was given to its review. The main window makes a new one for
// every test it begins and keeps it until the next: nothing of one test is left for the next.
// Only the exam's functions below change a test; the window reads what it shows.
class State {
public:
    State() = default;
    // onlyKind names the kind of question a Practice Test draws from; empty for every kind.
    State(qint16 numques, qint16 testmins, resultslog::Kind kind = resultslog::Kind::Verbal,
          const QString& onlyKind = {})
    {
        f_.numques = numques;
        f_.testmins = testmins;
        f_.kind = kind;
        f_.onlyKind = onlyKind;
    }

    // What the window reads to show the test and to know which step comes next.
    qint16 answered() const { return f_.answered; }
    bool showtime() const { return f_.showtime; }
    qint16 numques() const { return f_.numques; }
    qint16 testmins() const { return f_.testmins; }
    qint32 elapsed() const { return f_.elapsed; }
    qint16 quesno() const { return f_.quesno; }
    bool testRunning() const { return f_.testRunning; }

private:
    friend struct Access; // the exam's functions, in vertest.cpp, reach the fields through it
    struct Fields {
        // The test driver's counters and the options in force.
        qint16 answered = 0;   // 0 until the first answer of the running test is confirmed
        bool showtime = false; // the remaining time is shown and counted down
        qint16 numques = 15;   // questions of the test, from the options file
        qint16 testmins = 15;  // minutes of the test, from the options file
        // A Verbal Test draws at random; a Practice Test shows the records planned for it.
        resultslog::Kind kind = resultslog::Kind::Verbal;
        QList<qint16> planned;
        QString onlyKind;   // a Practice Test of one kind: the kind; empty for every kind
        qint32 elapsed = 0; // timer ticks (seconds) since the test started
        qint16 quesno = 0;  // number of the question on screen, from 1
        // From the start of a test until its end begins: the end of a test runs once, though
        // ticks keep coming while its message boxes are open.
        bool testRunning = false;

        BankFile bankfile; // the bank, open from the start of a test to its score
        // The bank's notes, as the file held them when the test opened the bank; made out in
        // the background, for the notes of a full bank take longer than a test may wait.
        std::shared_future<BankNotes::Loaded> notes;
        QuestionRecord currec; // the record of the question on screen
        int quesindex = 0;     // questions shown so far; the slot of the question on screen
        std::array<AnswerEntry, kSlots> answers{};
        std::array<qint16, kSlots> usedrecs{}; // slots 1 to usedcount hold the records drawn
        qint16 usedcount = 0;
        qint16 correctcount = 0;
        qint16 score = 0;
    };
    Fields f_;
};

// Opens the bank for the test's numques questions lasting testmins minutes, and begins to read
// its notes. A Practice Test of one kind asks no more of the bank than the kind's questions,
// which its plan counts. Ok when the test can be drawn; otherwise the bank is closed again and the
// error says what is wrong. Notes that cannot be read cost the test only its explanations: it runs
// without them.
Result<void> openbank(State& s);
// The records of a Practice Test, by the tests of the results log: planned from every question
// unasked when there is no log. A log that cannot be read plans the same, and the value says why
// (empty when the log was read). A test of one kind draws from the records whose notes give
// them that kind now, numques of them or all when the kind has fewer; when the bank has none,
// the test cannot be planned and the error says so.
Result<QString> planpractice(State& s);
// The test the bank can serve begins to run: its time is shown and counted from here on, and
// its first question comes next.
void runtest(State& s);
// The first question puts the test screen up; the clock and the answers start from nothing.
void starttest(ExamScreen& w, State& s);
// A confirmed answer moves the running test on to its next question.
void advance(State& s);
// The record drawn; 0 when the bank holds no record that is not drawn yet, or is not open.
qint16 pickquestion(State& s, qint16 first);
// Record 0 ends the test with a message: the bank no longer serves it.
void showquestion(ExamScreen& w, State& s, qint16 recnum, qint16 quesno);
bool checkchoice(const ExamScreen& w);
// The choice selected is recorded and scored; from here on the test has an answer.
void getchoice(const ExamScreen& w, State& s, qint16 first);
// Shows or hides the remaining time; the clock counts on either way.
void toggletime(State& s);
// One second of the clock: a running test whose time is up ends here, and the tick is counted.
// True when the test ended.
bool tick(ExamScreen& w, State& s);

// How a test ends: with a score, or abandoned when the bank fails under it.
enum class End { Complete, TimeOver, Quit, Abandoned };
// The one way a test ends, however it ends: its line goes to the results log (a log that
// cannot be written is told on standard error only), its boxes and the score follow and the
// review is offered; an abandoned test tells why and has no score.
void endtest(ExamScreen& w, State& s, End how, const QString& reason = {});
// The log's line of the test that is ending, the seconds used counted by the clock's ticks.
resultslog::Entry resultsentry(const State& s, resultslog::Ending how);
// The score, then the review offered; the questions shown get their notes for it first.
void showscore(ExamScreen& w, State& s, qint16 total);

// The review of the finished test: its text, from the questions as the test showed them, and
// the view that shows it.
QString reviewtext(const State& s);
void showreview(ExamScreen& w, const State& s);
// Leaves the review or a help text, by the view on screen: the test help goes back to its
// running test, every other view to the idle window.
void endreview(ExamScreen& w);

} // namespace vertest
