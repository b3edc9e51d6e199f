#pragma once

#include "bank/BankFile.h"
#include "bank/QuestionRecord.h"
#include "platform/Result.h"
#include "progress/ResultsLog.h"

#include <QList>
#include <QString>
#include <array>

class QWidget;
class frmMain;

// What a test keeps for each question it showed.
struct AnswerEntry {
    qint16 recnum = 0; // the bank record shown
    QString choice;    // the letter confirmed, "a" to "e"; empty while unanswered
    bool correct = false;
    // The record as the test showed it: the review and the results log tell the question that
    // was asked, whatever another program does to the bank meanwhile.
    QuestionRecord record;
};

// The test that runs in the main window. Its procedures are handed the window whose controls
// they drive; the window's handlers call them.
namespace vertest {

inline constexpr int kSlots = 51; // question i uses slot i; slot 0 is never used

// Everything a test keeps, in one object: reset() gives a fresh one.
struct State {
    // The test driver's counters and the options in force.
    qint16 answered = 0;   // 0 until the first answer of the running test is confirmed
    bool showtime = false; // the remaining time is shown and counted down
    qint16 numques = 15;   // questions of the test, from the options file
    qint16 testmins = 15;  // minutes of the test, from the options file
    qint32 elapsed = 0;    // timer ticks (seconds) since the test started
    qint16 quesno = 0;     // number of the question on screen, from 1
    // From the start of a test until its end begins: the end of a test runs once, though ticks
    // keep coming while its message boxes are open.
    bool testRunning = false;

    BankFile bankfile;     // the bank, open from the start of a test to its score
    QuestionRecord currec; // the record of the question on screen
    int quesindex = 0;     // questions shown so far; the slot of the question on screen
    std::array<AnswerEntry, kSlots> answers{};
    std::array<qint16, kSlots> usedrecs{}; // slots 1 to usedcount hold the records drawn
    qint16 usedcount = 0;
    qint16 correctcount = 0;
    qint16 score = 0;
};

State& state();

// The controls of the question on screen that the test help covers, in the order they return.
QList<QWidget*> questionControls(frmMain& w);
// A fresh state with the bank closed, as at program start.
void reset();

// Opens the bank for a test of numques questions lasting testmins minutes. Ok when the test can
// be drawn; otherwise the bank is closed again and the error says what is wrong.
Result<void> openbank(qint16 numques, qint16 testmins);
void starttest(frmMain& w);
// The record drawn; 0 when the bank holds no record that is not drawn yet.
qint16 pickquestion(qint16 first);
// Record 0 ends the test with a message: the bank no longer serves it.
void showquestion(frmMain& w, qint16 recnum, qint16 quesno);
bool checkchoice(frmMain& w);
void getchoice(frmMain& w, qint16 first);
// The moment a test ends with a score, before any box of its end: the test stops running and
// its line goes to the results log. A log that cannot be written is told on standard error
// only; the test goes on to its score as ever.
void endtest(resultslog::Ending how);
// The log's line of the test that is ending, the seconds used counted by the clock's ticks.
resultslog::Entry resultsentry(resultslog::Ending how);
void showscore(frmMain& w, qint16 total);

// The review of the finished test: its text, from the questions as the test showed them, and
// the view that shows it.
QString reviewtext();
void showreview(frmMain& w);
// Leaves the review or a help text; the caption of cmdendreview tells which is on screen.
void endreview(frmMain& w);
// The contents help, and the reading of a help file into txtreview that both helps share.
void showhelp(frmMain& w);
void readhelp(frmMain& w, const QString& fileName);

} // namespace vertest
