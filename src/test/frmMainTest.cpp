#include "app/frmMain.h"

#include "options/OptionsFile.h"
#include "platform/MessageBoxes.h"
#include "test/ExamRules.h"
#include "test/vertest.h"

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
bool begintest(frmMain& w)
{
    if (platform::msgBox(QStringLiteral("Are you ready to start the verbal test"), Buttons::YesNo,
                         Icon::None, QStringLiteral("Verbal Test start...")) != Answer::Yes)
        return false;
    const optionsfile::Values values = optionsfile::read();
    const QString problem = vertest::openbank(values.numques, values.testmins);
    if (!problem.isEmpty()) {
        platform::msgBox(problem, Buttons::Ok, Icon::Exclamation);
        return false;
    }
    w.numques = values.numques;
    w.testmins = values.testmins;
    w.showtime = true;
    w.quesno = 1;
    w.testRunning = true;
    return true;
}

// Step 4 of the test driver: after the last question.
void completetest(frmMain& w)
{
    w.showtime = false;
    w.testRunning = false;
    platform::msgBox(QStringLiteral("You have finished your Test. Press OK to see your scores"),
                     Buttons::Ok, Icon::None, QStringLiteral("Test Complete"));
    vertest::showscore(w.numques);
    w.answered = 0;
    w.quesno = 0;
}

void timeover(frmMain& w)
{
    w.testRunning = false;
    platform::msgBox(
        QStringLiteral("Time alloted for the test is over. Press OK to see your Result"),
        Buttons::Ok, Icon::None, QStringLiteral("Time Over"));
    vertest::showscore(w.numques);
    w.showtime = false;
    w.answered = 0;
}

} // namespace

void frmMain::mnuFileVer_Click()
{
    // 1. A confirmed answer moves the running test on; otherwise 2. and 3. start one.
    if (answered != 0)
        ++quesno;
    else if (!begintest(*this))
        return;
    // 4. After the last question the test is complete.
    if (quesno == numques + 1) {
        completetest(*this);
        return;
    }
    // 5. The first question puts the test screen up.
    if (quesno == 1) {
        elapsed = 0;
        vertest::starttest();
        answered = 0;
    }
    // 6.
    const qint16 recnum = vertest::pickquestion(answered);
    vertest::showquestion(recnum, quesno);
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
    if (vertest::checkchoice()) {
        cmdnext->setEnabled(false);
        cmdanswer->setEnabled(true);
    }
}

void frmMain::cmdanswer_Click()
{
    // 1. and 2.
    vertest::getchoice(answered);
    answered = 1;
    // 3.
    cmdnext->setEnabled(true);
    cmdanswer->setEnabled(false);
    // 4. The driver shows the next question or ends the test.
    mnuFileVer_Click();
}

void frmMain::mnuFileTestquit_Click()
{
    // 1. and 2.
    if (platform::msgBox(QStringLiteral("Are you sure you want to qiut the test inbetween."),
                         Buttons::OkCancel, Icon::None, QStringLiteral("Warning")) != Answer::Ok)
        return;
    // The clock may have ended the test while the question was open: its score is shown.
    if (!testRunning)
        return;
    // 3.
    testRunning = false;
    vertest::showscore(numques);
    showtime = false;
    answered = 0;
}

void frmMain::cmdquit_Click()
{
    mnuFileTestquit_Click();
}

void frmMain::Timer1_Timer()
{
    // 1. to 3. The remaining time, shown or blank; the clock ends a running test when its
    // time is up, whether the time is shown or not.
    lbltime->setText(showtime ? examrules::timeText(examrules::timeFields(elapsed, testmins))
                              : QString());
    if (testRunning && examrules::timeIsUp(elapsed, testmins))
        timeover(*this);
    // 4. The count wraps silently.
    elapsed = static_cast<qint32>(static_cast<quint32>(elapsed) + 1u);
}

void frmMain::cmdtime_Click()
{
    showtime = !showtime;
}

void frmMain::cmdHelp_Click()
{
    // 1. to 3. The question goes out of sight; its selection and buttons stay as they are.
    for (QWidget* control : vertest::questionControls(*this))
        control->hide();
    // 4. to 7.
    cmdendreview->setEnabled(true);
    setEndReviewWidth(1600);
    cmdendreview->setText(QStringLiteral("&GoBack To Test"));
    cmdendreview->show();
    mnuFileVer->setEnabled(false);
    lblsectionname->setText(QStringLiteral("Help"));
    txtreview->setEnabled(true);
    txtreview->show();
    // 8.
    vertest::readhelp(QStringLiteral("hlp.txt"));
}

void frmMain::mnuHelpContents_Click()
{
    mnuHelpContents->setEnabled(false);
    vertest::showhelp();
}

void frmMain::cmdendreview_Click()
{
    vertest::endreview();
}
