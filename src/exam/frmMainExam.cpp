#include "app/frmMain.h"

#include "exam/ExamRules.h"
#include "exam/vertest.h"
#include "options/OptionsFile.h"
#include "platform/MessageBoxes.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

// The main window's handlers of a running test, its review and its help texts.

namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

// Steps 2 and 3 of the test driver: the user's go-ahead, the options in force, and a bank that
// can serve them. A test that cannot be drawn does not start and changes nothing.
bool begintest()
{
    if (platform::msgBox(QStringLiteral("Are you ready to start the verbal test"), Buttons::YesNo,
                         Icon::None, QStringLiteral("Verbal Test start...")) != Answer::Yes)
        return false;
    const optionsfile::Values values = optionsfile::read();
    const Result<void> opened = vertest::openbank(values.numques, values.testmins);
    if (!opened.ok()) {
        platform::msgBox(opened.error(), Buttons::Ok, Icon::Exclamation);
        return false;
    }
    vertest::State& s = vertest::state();
    s.numques = values.numques;
    s.testmins = values.testmins;
    s.showtime = true;
    s.quesno = 1;
    s.testRunning = true;
    return true;
}

// Step 4 of the test driver: after the last question.
void completetest(frmMain& w)
{
    vertest::State& s = vertest::state();
    s.showtime = false;
    vertest::endtest(resultslog::Ending::Complete);
    platform::msgBox(QStringLiteral("You have finished your Test. Press OK to see your scores"),
                     Buttons::Ok, Icon::None, QStringLiteral("Test Complete"));
    vertest::showscore(w, s.numques);
    s.answered = 0;
    s.quesno = 0;
}

void timeover(frmMain& w)
{
    vertest::State& s = vertest::state();
    vertest::endtest(resultslog::Ending::TimeOver);
    platform::msgBox(
        QStringLiteral("Time alloted for the test is over. Press OK to see your Result"),
        Buttons::Ok, Icon::None, QStringLiteral("Time Over"));
    vertest::showscore(w, s.numques);
    s.showtime = false;
    s.answered = 0;
}

} // namespace

void frmMain::mnuFileVer_Click()
{
    // 1. A confirmed answer moves the running test on; otherwise 2. and 3. start one.
    vertest::State& s = vertest::state();
    if (s.answered != 0)
        ++s.quesno;
    else if (!begintest())
        return;
    // 4. After the last question the test is complete.
    if (s.quesno == s.numques + 1) {
        completetest(*this);
        return;
    }
    // 5. The first question puts the test screen up.
    if (s.quesno == 1) {
        s.elapsed = 0;
        vertest::starttest(*this);
        s.answered = 0;
    }
    // 6. The next question: drawn, then shown.
    const qint16 recnum = vertest::pickquestion(s.answered);
    vertest::showquestion(*this, recnum, s.quesno);
}

void frmMain::keyPressEvent(QKeyEvent* event)
{
    // "Choices A to E": a letter, in either case, selects its choice as a click would, as long as
    // the question is on screen and "&Next" has not taken a choice yet.
    const int key = event->key();
    const bool plain =
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (plain && key >= Qt::Key_A && key <= Qt::Key_E && cmdnext->isVisible() &&
        cmdnext->isEnabled()) {
        QRadioButton* const letters[] = {opta, optb, optc, optd, opte};
        letters[key - Qt::Key_A]->setChecked(true);
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void frmMain::cmdnext_Click()
{
    if (vertest::checkchoice(*this)) {
        cmdnext->setEnabled(false);
        cmdanswer->setEnabled(true);
    }
}

void frmMain::cmdanswer_Click()
{
    // 1. and 2. The choice is recorded and scored; the test has an answer now.
    vertest::getchoice(*this, vertest::state().answered);
    vertest::state().answered = 1;
    // 3. "&Next" again, for the next question.
    cmdnext->setEnabled(true);
    cmdanswer->setEnabled(false);
    // 4. The driver shows the next question or ends the test.
    mnuFileVer_Click();
}

void frmMain::mnuFileTestquit_Click()
{
    // 1. and 2. The user confirms the quit.
    if (platform::msgBox(QStringLiteral("Are you sure you want to qiut the test inbetween."),
                         Buttons::OkCancel, Icon::None, QStringLiteral("Warning")) != Answer::Ok)
        return;
    // The clock may have ended the test while the question was open: its score is shown.
    vertest::State& s = vertest::state();
    if (!s.testRunning)
        return;
    // 3. The score, and the clock stops.
    vertest::endtest(resultslog::Ending::Quit);
    vertest::showscore(*this, s.numques);
    s.showtime = false;
    s.answered = 0;
}

void frmMain::cmdquit_Click()
{
    mnuFileTestquit_Click();
}

void frmMain::Timer1_Timer()
{
    // 1. to 3. The remaining time, shown or blank; the clock ends a running test when its
    // time is up, whether the time is shown or not.
    vertest::State& s = vertest::state();
    lbltime->setText(s.showtime ? examrules::timeText(examrules::timeFields(s.elapsed, s.testmins))
                                : QString());
    if (s.testRunning && examrules::timeIsUp(s.elapsed, s.testmins))
        timeover(*this);
    // 4. The count wraps silently.
    s.elapsed = static_cast<qint32>(static_cast<quint32>(s.elapsed) + 1u);
}

void frmMain::cmdtime_Click()
{
    vertest::state().showtime = !vertest::state().showtime;
}

void frmMain::cmdHelp_Click()
{
    // 1. to 3. The question goes out of sight; its selection and buttons stay as they are.
    for (QWidget* control : vertest::questionControls(*this))
        control->hide();
    // 4. to 7. The help view and its way back to the test.
    cmdendreview->setEnabled(true);
    setEndReviewWidth(1600);
    cmdendreview->setText(QStringLiteral("&GoBack To Test"));
    cmdendreview->show();
    mnuFileVer->setEnabled(false);
    lblsectionname->setText(QStringLiteral("Help"));
    txtreview->setEnabled(true);
    txtreview->show();
    // 8. The test help's text.
    vertest::readhelp(*this, QStringLiteral("hlp.txt"));
}

void frmMain::mnuHelpContents_Click()
{
    mnuHelpContents->setEnabled(false);
    vertest::showhelp(*this);
}

void frmMain::cmdendreview_Click()
{
    vertest::endreview(*this);
}
