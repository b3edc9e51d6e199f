#include "app/frmMain.h"

#include "app/HelpText.h"
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

using platform::Answer;
using platform::Buttons;
using platform::Icon;

// The start of a test: the user's go-ahead, the options in force, and a bank that can serve
// them. A test that cannot be drawn does not start and changes nothing; one that can is a new
// test.
bool frmMain::begintest(resultslog::Kind kind, const QString& onlyKind)
{
    const bool practice = kind == resultslog::Kind::Practice;
    const QString ready =
        !onlyKind.isEmpty()
            ? QStringLiteral("Are you ready to start the practice test of the kind \"%1\"? It "
                             "asks first the questions of that kind you missed, then those you "
                             "have not been asked yet.")
                  .arg(onlyKind)
        : practice ? QStringLiteral("Are you ready to start the practice test? It asks first the "
                                    "questions you missed, then those you have not been asked "
                                    "yet.")
                   : QStringLiteral("Are you ready to start the verbal test");
    if (platform::msgBox(ready, Buttons::YesNo, Icon::None,
                         practice ? QStringLiteral("Practice Test start...")
                                  : QStringLiteral("Verbal Test start...")) != Answer::Yes)
        return false;
    const optionsfile::Values values = optionsfile::read();
    auto fresh = std::make_unique<vertest::State>(values.numques, values.testmins, kind, onlyKind);
    const Result<void> opened = vertest::openbank(*fresh);
    if (!opened.ok()) {
        platform::msgBox(opened.error(), Buttons::Ok, Icon::Exclamation);
        return false;
    }
    if (practice) {
        const Result<QString> planned = vertest::planpractice(*fresh);
        if (!planned.ok()) {
            platform::msgBox(planned.error(), Buttons::Ok, Icon::Exclamation);
            return false;
        }
        if (!planned.value().isEmpty())
            platform::msgBox(planned.value() + QStringLiteral(" The practice test takes every "
                                                              "question as not asked yet."),
                             Buttons::Ok, Icon::Exclamation);
    }
    vertest::runtest(*fresh);
    test_ = std::move(fresh);
    return true;
}

void frmMain::mnuFileVer_Click()
{
    // A confirmed answer moves the running test on; without one, a new test starts.
    if (test_->answered() != 0)
        vertest::advance(*test_);
    else if (!begintest(resultslog::Kind::Verbal))
        return;
    nextquestion();
}

void frmMain::mnuFilePractice_Click()
{
    // The same test, its questions chosen by need; the answers move it on as any test's do.
    if (test_->answered() != 0 || !begintest(resultslog::Kind::Practice))
        return;
    nextquestion();
}

void frmMain::practiseKind(const QString& kind)
{
    // The window's menus say whether a test may begin now; the test shows here, in front.
    if (!mnuFilePractice->isEnabled())
        return;
    raise();
    activateWindow();
    if (begintest(resultslog::Kind::Practice, kind))
        nextquestion();
}

void frmMain::nextquestion()
{
    vertest::State& s = *test_;
    // After the last question the test is complete.
    if (s.quesno() == s.numques() + 1) {
        vertest::endtest(*this, s, vertest::End::Complete);
        testLogged(); // an open progress window shows the test
        return;
    }
    // The first question puts the test screen up and starts the clock.
    if (s.quesno() == 1)
        vertest::starttest(*this, s);
    // Every question is drawn, then shown.
    const qint16 recnum = vertest::pickquestion(s, s.answered());
    vertest::showquestion(*this, s, recnum, s.quesno());
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
        choiceButtons()[key - Qt::Key_A]->setChecked(true);
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
    // The choice is recorded and scored; the test has an answer now.
    vertest::getchoice(*this, *test_, test_->answered());
    // "&Next" again, for the next question, before the driver moves on.
    cmdnext->setEnabled(true);
    cmdanswer->setEnabled(false);
    // The driver shows the next question or ends the test.
    mnuFileVer_Click();
}

void frmMain::mnuFileTestquit_Click()
{
    // The user confirms the quit first.
    if (platform::msgBox(QStringLiteral("Are you sure you want to qiut the test inbetween."),
                         Buttons::OkCancel, Icon::None, QStringLiteral("Warning")) != Answer::Ok)
        return;
    // The clock may have ended the test while the question was open: its score is shown.
    if (!test_->testRunning())
        return;
    // The test ends with its score, and its time is no longer shown.
    vertest::endtest(*this, *test_, vertest::End::Quit);
    testLogged(); // an open progress window shows the test
}

void frmMain::cmdquit_Click()
{
    mnuFileTestquit_Click();
}

void frmMain::Timer1_Timer()
{
    // The remaining time, shown or blank, goes up before the tick: a test whose time is up ends
    // with 0 : 0 : 0 on screen.
    const vertest::State& s = *test_;
    const examrules::TimeFields left = examrules::timeFields(s.elapsed(), s.testmins());
    lbltime->setText(s.showtime() ? examrules::timeText(left) : QString());
    // The last minute shows in a warning colour: the label's text stays as it is.
    showTimeWarning(s.showtime() && left.hours == 0 && left.minutes == 0);
    if (vertest::tick(*this, *test_))
        testLogged(); // an open progress window shows the test
}

void frmMain::showTimeWarning(bool warn)
{
    if (!warn) {
        // The window's own colours, whatever they become; set again only after a warning.
        if (lbltime->testAttribute(Qt::WA_SetPalette))
            lbltime->setPalette(QPalette());
        return;
    }
    // Dark red on a light window, light red on a dark one: either reads at a glance.
    QPalette palette = this->palette();
    const bool dark = palette.color(QPalette::Window).lightness() < 128;
    palette.setColor(QPalette::WindowText, dark ? QColor(255, 128, 128) : QColor(176, 0, 0));
    lbltime->setPalette(palette);
}

void frmMain::cmdtime_Click()
{
    vertest::toggletime(*test_);
}

void frmMain::cmdHelp_Click()
{
    // The question goes out of sight, its selection and buttons as they are; the help view
    // comes up with its way back to the test.
    setView(vertest::View::TestHelp);
    setEndViewWide(true);
    setSection(QStringLiteral("Help"));
    // Then the test help's text, into the view now up.
    readhelp(QStringLiteral("hlp.txt"));
}

void frmMain::mnuHelpContents_Click()
{
    showhelp();
}

void frmMain::showhelp()
{
    // The contents help's view, then its text.
    setView(vertest::View::ContentsHelp);
    setSection(QStringLiteral("Help"));
    readhelp(QStringLiteral("Readme.txt"));
}

void frmMain::readhelp(const QString& fileName)
{
    const Result<QString> help = helptext::load(fileName);
    setText(help.valueOr(QString()));
    // The help view stays up, empty, and is left as usual.
    if (!help.ok())
        platform::msgBox(help.error(), Buttons::Ok, Icon::Exclamation);
}

void frmMain::cmdendreview_Click()
{
    vertest::endreview(*this);
}
