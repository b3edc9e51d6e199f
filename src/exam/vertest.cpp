#include "exam/vertest.h"

#include "app/HelpText.h"
#include "app/frmMain.h"
#include "bank/TextRules.h"
#include "exam/ExamRules.h"
#include "platform/Forms.h"
#include "platform/MessageBoxes.h"
#include "platform/Services.h"

#include <QAction>
#include <QButtonGroup>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <algorithm>
#include <cstdio>
#include <memory>

namespace vertest {

namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

std::unique_ptr<State>& holder()
{
    static std::unique_ptr<State> current = std::make_unique<State>();
    return current;
}

QList<QRadioButton*> options(frmMain& w)
{
    return {w.opta, w.optb, w.optc, w.optd, w.opte};
}

QList<QWidget*> testControls(frmMain& w)
{
    return QList<QWidget*>{w.lblquestionhead, w.lblsectionname} + questionControls(w) +
           QList<QWidget*>{w.lbltime};
}

// Qt still fires the shortcuts of a disabled menu's items, so the items follow their menu.
void setMenuEnabled(QMenu* menu, bool enabled)
{
    menu->menuAction()->setEnabled(enabled);
    for (QAction* item : menu->actions())
        item->setEnabled(enabled);
}

// Step 2 of showscore: the test screen comes down and the bank is closed.
void cleartestscreen(frmMain& w)
{
    for (QWidget* control : testControls(w))
        control->hide();
    w.mnuFileTestquit->setEnabled(false);
    w.mnuFileVer->setEnabled(true);
    setMenuEnabled(w.mnuTools, true);
    setMenuEnabled(w.mnuHelp, true);
    state().score = 0;
    state().bankfile.close();
}

// A bank that fails under a running test ends it without a score: nothing is left to show.
void abandontest(frmMain& w, const QString& reason)
{
    State& s = state();
    s.testRunning = false;
    s.showtime = false;
    platform::msgBox(reason + QStringLiteral(" The test has ended."), Buttons::Ok,
                     Icon::Exclamation);
    cleartestscreen(w);
    s.answered = 0;
    s.quesno = 0;
}

bool alreadyDrawn(const State& s, qint16 candidate)
{
    for (int slot = 0; slot <= s.usedcount; ++slot) {
        if (s.usedrecs[slot] == candidate)
            return true;
    }
    return false;
}

// True while some record of the bank has not been drawn yet. The bank may have been cut short
// by another program since the test started; then the draw must not go on for ever.
bool recordsLeft(const State& s, qint64 records)
{
    const auto drawnInBank =
        std::count_if(s.usedrecs.begin() + 1, s.usedrecs.begin() + 1 + s.usedcount,
                      [records](qint16 r) { return r <= records; });
    return drawnInBank < std::min<qint64>(records, BankFile::kMaxRecords);
}

// The letter of the first selected option, or empty.
QString selectedLetter(frmMain& w)
{
    const QList<QRadioButton*> all = options(w);
    for (int i = 0; i < all.size(); ++i) {
        if (all[i]->isChecked())
            return QString(QChar(u'a' + i));
    }
    return {};
}

// The test help's way back to the question it covered, as it was left.
void backtotest(frmMain& w)
{
    for (QWidget* control : questionControls(w))
        control->show();
    w.setEndReviewWidth(frmMain::kEndReviewWidth);
    w.cmdendreview->hide();
    w.cmdendreview->setEnabled(false);
    w.lblsectionname->setText(QStringLiteral("Verbal Test"));
    w.txtreview->clear();
    w.txtreview->setEnabled(false);
    w.txtreview->hide();
}

} // namespace

State& state()
{
    return *holder();
}

QList<QWidget*> questionControls(frmMain& w)
{
    return {w.lblquestion, w.opta,    w.optb,    w.optc,    w.optd,   w.opte,
            w.cmdanswer,   w.cmdnext, w.cmdquit, w.cmdHelp, w.cmdtime};
}

void reset()
{
    holder() = std::make_unique<State>();
}

Result<void> openbank(qint16 numques, qint16 testmins)
{
    State& s = state();
    const QString name = QString::fromLatin1(BankFile::kFileName);
    // A missing bank holds no questions; a test that is refused creates nothing.
    if (!QFileInfo::exists(name))
        return examrules::canStart(0, numques, testmins);
    if (const Result<void> opened = s.bankfile.open(name); !opened.ok())
        return Failure{opened.error() + QStringLiteral(" The test cannot start.")};
    Result<void> ready = examrules::canStart(s.bankfile.recordCount(), numques, testmins);
    if (!ready.ok())
        s.bankfile.close();
    return ready;
}

void starttest(frmMain& w)
{
    // The help of a test that ended under it may still be up: the new test replaces it.
    if (w.txtreview->isVisible())
        backtotest(w);
    // 1. The test screen.
    for (QWidget* control : testControls(w))
        control->show();
    // 2. and 3. No help menu during a test; the section's heading.
    setMenuEnabled(w.mnuHelp, false);
    w.lblsectionname->setText(QStringLiteral("VERBAL SECTION"));
    // 4. Every question starts with only "&Next" enabled.
    w.cmdquit->setEnabled(true);
    w.cmdtime->setEnabled(true);
    w.cmdnext->setEnabled(true);
    w.cmdanswer->setEnabled(false);
    // 5. The menus of a running test: quit it, nothing else.
    w.mnuFileVer->setEnabled(false);
    w.mnuFileTestquit->setEnabled(true);
    setMenuEnabled(w.mnuTools, false);
    // 6. The bank is open already: openbank checked it could serve the test.
}

qint16 pickquestion(qint16 first)
{
    State& s = state();
    // 1. The first question of a test forgets the last test.
    if (first == 0) {
        s.answers.fill(AnswerEntry{});
        s.quesindex = 0;
        s.usedrecs.fill(0);
        s.usedcount = 0;
    }
    const qint64 records = s.bankfile.recordCount();
    if (s.bankfile.length() >= 0 && !recordsLeft(s, records))
        return 0;
    platform::Random& random = *platform::services().random;
    qint16 candidate = 0;
    do {
        // 2. to 5. A fresh seed for every draw, until a record not yet drawn comes up.
        random.reseed();
        candidate = examrules::drawCandidate(records, random.next());
    } while (alreadyDrawn(s, candidate));
    // 6. The record is marked as drawn.
    s.usedrecs[++s.usedcount] = candidate;
    return candidate;
}

void showquestion(frmMain& w, qint16 recnum, qint16 quesno)
{
    State& s = state();
    if (recnum == 0) {
        abandontest(w, QStringLiteral("The question bank \"%1\" holds fewer questions than the "
                                      "test needs: it was changed while the test ran.")
                           .arg(QString::fromLatin1(BankFile::kFileName)));
        return;
    }
    // 1. The question takes the next slot of the answer table.
    ++s.quesindex;
    s.answers[s.quesindex].recnum = recnum;
    // 2. Its record, read from the bank.
    const Result<QuestionRecord> record = s.bankfile.read(recnum);
    if (!record.ok()) {
        abandontest(w, record.error());
        return;
    }
    s.currec = record.value();
    s.answers[s.quesindex].record = s.currec;
    // 3. and 4. The fields go in whole, fill spaces included; "&" shows as itself.
    w.lblquestionhead->setText(examrules::questionHeading(quesno));
    w.lblquestion->setText(textrules::toShownLineBreaks(textrules::beforeNul(s.currec.question())));
    const QList<QRadioButton*> all = options(w);
    for (int i = 0; i < all.size(); ++i)
        all[i]->setText(textrules::literalCaption(textrules::beforeNul(s.currec.choice(i))));
    // 5. No choice selected.
    forms::clearGroup(w.choices);
}

bool checkchoice(frmMain& w)
{
    // 1. and 2. Is any choice selected?
    bool any = false;
    for (QRadioButton* option : options(w))
        any = option->isChecked() || any;
    if (any)
        return true;
    // 3. If not, the user is told to choose one.
    platform::msgBox(QStringLiteral("Chose any option before clicking next button"), Buttons::Ok,
                     Icon::Exclamation, QStringLiteral("Warning..."));
    return false;
}

void getchoice(frmMain& w, qint16 first)
{
    State& s = state();
    // 1. The first answer of a test starts the count of correct answers.
    if (first == 0)
        s.correctcount = 0;
    // 2. and 3. The letter selected goes into the question's slot.
    AnswerEntry& entry = s.answers[s.quesindex];
    entry.choice = selectedLetter(w);
    // 4. Exact and case-sensitive: "C" in the bank never matches.
    entry.correct = !entry.choice.isEmpty() && entry.choice == s.currec.answer();
    if (entry.correct)
        ++s.correctcount;
    // 5. The score so far.
    s.score = s.correctcount;
}

resultslog::Entry resultsentry(resultslog::Ending how)
{
    const State& s = state();
    resultslog::Entry entry;
    entry.when = QDateTime::currentDateTime();
    entry.ending = how;
    entry.questions = s.numques;
    entry.minutes = s.testmins;
    // The tick that finds the time up is not counted in elapsed yet.
    const qint64 ticks = qint64(s.elapsed) + (how == resultslog::Ending::TimeOver ? 1 : 0);
    entry.seconds = std::clamp<qint64>(ticks, 0, qint64(s.testmins) * 60);
    entry.correct = s.score;
    for (int i = 1; i <= s.quesindex; ++i) {
        const AnswerEntry& a = s.answers[i];
        entry.shown.append(
            {a.recnum, resultslog::letterOf(a.choice), resultslog::letterOf(a.record.answer())});
    }
    return entry;
}

void endtest(resultslog::Ending how)
{
    state().testRunning = false;
    const Result<void> logged = resultslog::append(QString::fromLatin1(resultslog::kFileName),
                                                   resultslog::line(resultsentry(how)));
    if (!logged.ok())
        std::fprintf(stderr, "lexamo: %s\n", qPrintable(logged.error()));
}

void showscore(frmMain& w, qint16 total)
{
    // 1. The score.
    platform::msgBox(examrules::scoreText(state().score, total), Buttons::Ok, Icon::None,
                     QStringLiteral("TEST SCORE"));
    // 2. The test screen comes down.
    cleartestscreen(w);
    // 3. and 4. The review is offered once, here.
    if (platform::msgBox(QStringLiteral("Do you want to review the Test you have taken now. You "
                                        "cannot review it latter."),
                         Buttons::YesNo, Icon::None, QStringLiteral("Review")) == Answer::Yes)
        showreview(w);
}

QString reviewtext()
{
    const State& s = state();
    QString text;
    text.reserve(s.quesindex * 400);
    for (int i = 1; i <= s.quesindex; ++i)
        text += examrules::reviewBlock(i, s.answers[i].record, s.answers[i].choice);
    return text;
}

void showreview(frmMain& w)
{
    // 1. to 3. The way out of the review, and the menus it leaves.
    w.cmdendreview->setEnabled(true);
    w.cmdendreview->setText(QStringLiteral("&End Review"));
    w.cmdendreview->show();
    w.mnuFileVer->setEnabled(false);
    w.mnuHelpContents->setEnabled(false);
    w.lblsectionname->setText(QStringLiteral("Review"));
    // 4. to 8. The text is built whole, from the questions as they were asked, then shown at
    // once: the bank may have been replaced or cut short by another program since.
    w.txtreview->setEnabled(true);
    w.txtreview->show();
    w.txtreview->setPlainText(reviewtext());
}

void endreview(frmMain& w)
{
    // The test help goes back to its test while the test runs; after the test ended under it,
    // it leaves for the idle window like the other views.
    const bool testHelp = w.cmdendreview->text() == QStringLiteral("&GoBack To Test");
    if (testHelp && state().testRunning) {
        backtotest(w);
        return;
    }
    if (testHelp)
        w.setEndReviewWidth(frmMain::kEndReviewWidth);
    // 1. to 3. The view goes and the window is idle again.
    w.txtreview->clear();
    w.txtreview->setEnabled(false);
    w.txtreview->hide();
    w.mnuFileVer->setEnabled(true);
    w.mnuHelpContents->setEnabled(true);
    w.cmdendreview->setEnabled(false);
    w.cmdendreview->hide();
}

void showhelp(frmMain& w)
{
    // 2. to 5.; step 1 is the menu handler's.
    w.cmdendreview->setEnabled(true);
    w.cmdendreview->setText(QStringLiteral("&End Help"));
    w.cmdendreview->show();
    w.mnuFileVer->setEnabled(false);
    w.lblsectionname->setText(QStringLiteral("Help"));
    w.txtreview->setEnabled(true);
    w.txtreview->show();
    // 6. The contents help's text.
    readhelp(w, QStringLiteral("Readme.txt"));
}

void readhelp(frmMain& w, const QString& fileName)
{
    const Result<QString> help = helptext::load(fileName);
    w.txtreview->setPlainText(help.valueOr(QString()));
    // The help view stays up, empty, and is left as usual.
    if (!help.ok())
        platform::msgBox(help.error(), Buttons::Ok, Icon::Exclamation);
}

} // namespace vertest
