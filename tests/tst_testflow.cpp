#include "app/frmMain.h"
#include "app/main1.h"
#include "bank/BankFile.h"
#include "exam/ExamRules.h"
#include "exam/vertest.h"
#include "platform/Twips.h"
#include "progress/ResultsLog.h"
#include "support/ExamDriver.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <algorithm>
#include <functional>
#include <memory>

using platform::Answer;
using platform::Buttons;
using platform::Icon;
using platform::MessageBox;
using namespace examdriver;

namespace {

const QString kLexamo = QStringLiteral("Lexamo");

// Why a label cannot show its whole text, wrapped as it wraps it (at word boundaries, and inside
// a word too long for a line); empty when it can.
QString fitProblem(const QLabel* label)
{
    const QFontMetrics metrics(label->font());
    const QRect room = label->contentsRect();
    const QString text = label->text().trimmed();
    QRect needed = metrics.boundingRect(room, Qt::TextWordWrap, text);
    if (needed.width() > room.width())
        needed = metrics.boundingRect(room, Qt::TextWrapAnywhere, text);
    if (needed.width() <= room.width() && needed.height() <= room.height())
        return {};
    return QStringLiteral("%1 needs %2x%3, has %4x%5")
        .arg(label->objectName())
        .arg(needed.width())
        .arg(needed.height())
        .arg(room.width())
        .arg(room.height());
}

// Why a choice cannot show its whole text on its line, to the right of its indicator; empty when
// it can.
QString fitProblem(const QRadioButton* option)
{
    QStyleOptionButton style;
    style.initFrom(option);
    style.text = option->text();
    const QRect contents =
        option->style()->subElementRect(QStyle::SE_RadioButtonContents, &style, option);
    const int needed = QFontMetrics(option->font()).horizontalAdvance(option->text().trimmed());
    if (needed <= contents.width() && QFontMetrics(option->font()).height() <= contents.height())
        return {};
    return QStringLiteral("%1 needs %2, has %3")
        .arg(option->objectName())
        .arg(needed)
        .arg(contents.width());
}

} // namespace

class TestFlow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { twips::registerFontSubstitutions(); }
    void init();
    void cleanup();

    void drawCandidate_data();
    void drawCandidate();
    void remainingTime_data();
    void remainingTime();

    void completedTestOfThree();
    void quitAfterThreeAnswersOfTwenty_data();
    void quitAfterThreeAnswersOfTwenty();
    void nextWithoutAChoice();
    void choiceChangedBeforeConfirm();
    void lettersSelectChoices();
    void upperCaseAnswerNeverScores();
    void optionsChangedBetweenTests();
    void bankOfExactlyTheTestsSize();
    void testThatCannotBeDrawn_data();
    void testThatCannotBeDrawn();
    void timeOverWithTicksDuringEveryBox();
    void hiddenTimeStillEndsTheTest();
    void clockEndsTheTestUnderTheQuitQuestion();
    void clockEndsTheTestUnderTheChoiceWarning();
    void completedAsTheTimeRunsOut();
    void bankTextsShownLiterally();
    void longestTextsShowWhole();
    void bankFailingUnderATest();
    void bankCutShortUnderATest();
    void unwritableLogChangesNothing_data();
    void unwritableLogChangesNothing();

private:
    frmMain* start();
    void startTest(const QByteArray& options);
    void tick(int times = 1);
    void checkIdle();
    void checkQuestion(int number, int recnum);
    // The tests in results.csv after its header, each as its fields after the date, which must
    // be the time of this test function.
    QStringList loggedTests();
    QString logged(int recnum, const QString& chosen, const QString& answer);

    std::unique_ptr<TestEnvironment> env;
    QPointer<frmMain> w;
    QDateTime began;
};

void TestFlow::init()
{
    beginTest(env);
    vertest::reset();
    began = QDateTime::currentDateTime();
}

void TestFlow::cleanup()
{
    if (w)
        w->close();
    vertest::reset();
    finishTest(env);
}

frmMain* TestFlow::start()
{
    w = startMain();
    return w;
}

void TestFlow::startTest(const QByteArray& options)
{
    env->write(QStringLiteral("options"), options);
    if (!w)
        start();
    env->boxes.answer(Answer::Yes);
    QVERIFY(trigger(w, "mnuFileVer"));
}

void TestFlow::tick(int times)
{
    examdriver::tick(w, times);
}

void TestFlow::checkIdle()
{
    QCOMPARE(visibleControls(w), QStringList());
    QCOMPARE(enabledItems(w), kIdleItems);
    QVERIFY(!vertest::state().bankfile.isOpen());
}

QStringList TestFlow::loggedTests()
{
    const QList<QByteArray> lines = env->read(QStringLiteral("results.csv")).split('\n');
    if (lines.isEmpty() || lines.first() + '\n' != resultslog::header() || !lines.last().isEmpty())
        return {QStringLiteral("not a log of whole lines")};
    QStringList tests;
    const QDateTime now = QDateTime::currentDateTime();
    for (const QByteArray& line : lines.mid(1, lines.size() - 2)) {
        const qsizetype comma = line.indexOf(',');
        const QDateTime when =
            QDateTime::fromString(QString::fromUtf8(line.left(comma)), Qt::ISODate);
        if (!line.endsWith('\r') || when.secsTo(began) > 0 || now.secsTo(when) > 0)
            return {QStringLiteral("a line without its CR or time: ") + QString::fromUtf8(line)};
        tests << QString::fromUtf8(line.mid(comma + 1).chopped(1));
    }
    return tests;
}

QString TestFlow::logged(int recnum, const QString& chosen, const QString& answer)
{
    return QStringLiteral(",%1,%2,%3").arg(recnum).arg(chosen, answer);
}

// A fresh question on screen: its heading, texts with their fill spaces, nothing selected, only
// "&Next" enabled, the whole test screen up and only "&Test Qiut" in the menus.
void TestFlow::checkQuestion(int number, int recnum)
{
    QCOMPARE(w->lblquestionhead->text(), QStringLiteral("Question       No.  %1").arg(number));
    QCOMPARE(w->lblsectionname->text(), QStringLiteral("VERBAL SECTION"));
    const QString question = QStringLiteral("Question %1").arg(recnum);
    QCOMPARE(w->lblquestion->text(), question + QString(200 - question.size(), u' '));
    const QString choice = QStringLiteral("%1-e").arg(recnum);
    QCOMPARE(w->opte->text(), choice + QString(75 - choice.size(), u' '));
    for (QRadioButton* option : {w->opta, w->optb, w->optc, w->optd, w->opte})
        QVERIFY(!option->isChecked());
    QVERIFY(w->cmdnext->isEnabled());
    QVERIFY(!w->cmdanswer->isEnabled());
    QCOMPARE(visibleControls(w), kTestScreen);
    QCOMPARE(enabledItems(w), kTestItems);
    QCOMPARE(vertest::state().quesindex, number);
    QCOMPARE(vertest::state().answers[number].recnum, recnum);
}

void TestFlow::drawCandidate_data()
{
    QTest::addColumn<qint64>("records");
    QTest::addColumn<float>("u");
    QTest::addColumn<int>("candidate");
    QTest::newRow("one record, low") << qint64(1) << 0.0f << 1;
    QTest::newRow("one record, high") << qint64(1) << 0.99999994f << 1;
    QTest::newRow("middle") << qint64(5) << 0.3f << 2;
    QTest::newRow("last of five") << qint64(5) << 0.99999994f << 5;
    QTest::newRow("last record number") << qint64(32767) << 0.99999994f << 32767;
    QTest::newRow("a larger file is capped") << qint64(40000) << 0.5f << 16384;
    QTest::newRow("capped at its top") << qint64(40000) << 0.99999994f << 32767;
}

void TestFlow::drawCandidate()
{
    QFETCH(qint64, records);
    QFETCH(float, u);
    QFETCH(int, candidate);
    QCOMPARE(examrules::drawCandidate(records, u), candidate);
}

void TestFlow::remainingTime_data()
{
    QTest::addColumn<int>("testmins");
    QTest::addColumn<qint64>("elapsed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("up");
    QTest::newRow("15 minutes, first tick") << 15 << qint64(0) << "0 : 14 : 59" << false;
    QTest::newRow("minute boundary") << 15 << qint64(60) << "0 : 13 : 59" << false;
    QTest::newRow("1 minute, first tick") << 1 << qint64(0) << "0 : 0 : 59" << false;
    QTest::newRow("1 minute, one left") << 1 << qint64(58) << "0 : 0 : 1" << false;
    QTest::newRow("1 minute, up") << 1 << qint64(59) << "0 : 0 : 0" << true;
    QTest::newRow("past the end, never negative") << 1 << qint64(200) << "0 : 0 : 0" << true;
    QTest::newRow("90 minutes, first tick") << 90 << qint64(0) << "1 : 29 : 59" << false;
    QTest::newRow("90 minutes, last of the hour") << 90 << qint64(1799) << "1 : 0 : 0" << false;
    QTest::newRow("90 minutes, under an hour") << 90 << qint64(1800) << "0 : 59 : 59" << false;
    QTest::newRow("beyond 16 bits") << 1000 << qint64(40000) << "5 : 33 : 19" << false;
}

void TestFlow::remainingTime()
{
    QFETCH(int, testmins);
    QFETCH(qint64, elapsed);
    QFETCH(QString, shown);
    QFETCH(bool, up);
    QCOMPARE(examrules::timeText(examrules::timeFields(elapsed, testmins)),
             QStringLiteral("Time Remaining ") + shown);
    QCOMPARE(examrules::timeIsUp(elapsed, testmins), up);
}

void TestFlow::completedTestOfThree()
{
    writeBank("abcde");
    // Record 2, record 2 again (drawn anew), then records 5 and 1.
    env->random.values = {drawing(2, 5), drawing(2, 5), drawing(5, 5), drawing(1, 5)};
    startTest("3\r\n15\r\n");
    checkQuestion(1, 2);
    QVERIFY(vertest::state().showtime);
    QCOMPARE(vertest::state().quesno, 1);
    QCOMPARE(vertest::state().answered, 0);
    answer(w->optb);
    checkQuestion(2, 5);
    QCOMPARE(vertest::state().answered, 1);
    answer(w->opta);
    checkQuestion(3, 1);

    env->boxes.answer(Answer::Ok, [this] {
        QCOMPARE(visibleControls(w), kTestScreen); // the screen stays up under the box
        QVERIFY(!vertest::state().showtime);
        // The test is in the log before any box of its end.
        QCOMPARE(loggedTests().size(), 1);
    });
    env->boxes.answer(Answer::Ok);
    env->boxes.answer(Answer::No, [this] {
        QCOMPARE(visibleControls(w), QStringList());
        QVERIFY(!vertest::state().bankfile.isOpen());
    });
    answer(w->opta);
    QCOMPARE(described(env->boxes.shown), described({kReady, kComplete, scoreBox(2, 3), kReview}));
    checkIdle();
    QCOMPARE(vertest::state().quesno, 0);
    QCOMPARE(vertest::state().answered, 0);
    QCOMPARE(env->random.reseeds, 4);
    QCOMPARE(loggedTests(), QStringList{"complete,3,15,0,2" + logged(2, "b", "b") +
                                        logged(5, "a", "e") + logged(1, "a", "a")});

    const vertest::State& s = vertest::state();
    QCOMPARE(s.quesindex, 3);
    QCOMPARE(s.usedcount, 3);
    QCOMPARE(s.usedrecs[0], 0);
    QCOMPARE(QList<qint16>(s.usedrecs.begin() + 1, s.usedrecs.begin() + 4),
             QList<qint16>({2, 5, 1}));
    const QList<std::tuple<int, QString, bool>> expected{
        {2, "b", true}, {5, "a", false}, {1, "a", true}};
    for (int i = 1; i <= 3; ++i) {
        const AnswerEntry& entry = s.answers[i];
        QCOMPARE(std::make_tuple(int(entry.recnum), entry.choice, entry.correct), expected[i - 1]);
    }
    QCOMPARE(s.score, 0);
}

void TestFlow::quitAfterThreeAnswersOfTwenty_data()
{
    QTest::addColumn<bool>("byMenu");
    QTest::newRow("button") << false;
    QTest::newRow("menu") << true;
}

void TestFlow::quitAfterThreeAnswersOfTwenty()
{
    QFETCH(bool, byMenu);
    writeBank(QByteArray(25, 'a'));
    startTest("20\r\n15\r\n");
    answer(w->opta);
    answer(w->optb);
    answer(w->opta);
    click(w->optc);
    const auto quit = [&] {
        if (byMenu)
            QVERIFY(trigger(w, "mnuFileTestquit"));
        else
            click(w->cmdquit);
    };

    env->boxes.answer(Answer::Cancel);
    quit();
    QVERIFY(!env->exists(QStringLiteral("results.csv")));
    QVERIFY(w->optc->isChecked());
    QVERIFY(w->cmdnext->isEnabled());
    QCOMPARE(visibleControls(w), kTestScreen);
    QVERIFY(vertest::state().showtime);

    env->boxes.answer(Answer::Ok);
    env->boxes.answer(Answer::Ok);
    env->boxes.answer(Answer::No);
    quit();
    QCOMPARE(described(env->boxes.shown),
             described({kReady, kQuit, kQuit, scoreBox(2, 20), kReview}));
    checkIdle();
    QVERIFY(!vertest::state().showtime);
    QCOMPARE(vertest::state().answered, 0);
    QCOMPARE(vertest::state().quesno, 4);
    const vertest::State& s = vertest::state();
    QCOMPARE(s.quesindex, 4);
    QCOMPARE(s.answers[4].choice, QString());
    QCOMPARE(s.answers[4].recnum, s.usedrecs[4]);
    QList<qint16> drawn(s.usedrecs.begin() + 1, s.usedrecs.begin() + 5);
    QCOMPARE(loggedTests(), QStringList{"quit,20,15,0,2" + logged(drawn[0], "a", "a") +
                                        logged(drawn[1], "b", "a") + logged(drawn[2], "a", "a") +
                                        logged(drawn[3], "", "a")});
    std::sort(drawn.begin(), drawn.end());
    QVERIFY(std::adjacent_find(drawn.begin(), drawn.end()) == drawn.end());
}

void TestFlow::nextWithoutAChoice()
{
    writeBank("a");
    startTest("1\r\n15\r\n");
    env->boxes.answer(Answer::Ok);
    env->boxes.answer(Answer::Ok);
    click(w->cmdnext);
    click(w->cmdnext);
    QCOMPARE(described(env->boxes.shown), described({kReady, kNoChoice, kNoChoice}));
    QVERIFY(w->cmdnext->isEnabled());
    QVERIFY(!w->cmdanswer->isEnabled());
    checkQuestion(1, 1);
}

void TestFlow::choiceChangedBeforeConfirm()
{
    writeBank("d");
    startTest("1\r\n15\r\n");
    click(w->optb);
    click(w->cmdnext);
    click(w->optd);
    env->boxes.answer(Answer::Ok);
    env->boxes.answer(Answer::Ok);
    env->boxes.answer(Answer::No);
    click(w->cmdanswer);
    QCOMPARE(vertest::state().answers[1].choice, QStringLiteral("d"));
    QCOMPARE(env->boxes.shown.at(2), scoreBox(1, 1));
}

void TestFlow::lettersSelectChoices()
{
    writeBank("cc");
    env->write(QStringLiteral("hlp.txt"), "Help");
    env->random.values = {drawing(1, 2), drawing(2, 2)};
    startTest("2\r\n15\r\n");
    // Keys reach the window from whichever of its controls has the focus.
    const auto press = [this](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(w->optb, key, modifiers);
    };
    press(Qt::Key_C);
    QVERIFY(w->optc->isChecked());
    press(Qt::Key_E, Qt::ShiftModifier);
    QVERIFY(w->opte->isChecked());
    press(Qt::Key_A);
    QVERIFY(w->opta->isChecked());
    // Other letters, and letters with Ctrl or Alt, select nothing.
    press(Qt::Key_F);
    press(Qt::Key_B, Qt::ControlModifier);
    press(Qt::Key_D, Qt::AltModifier);
    QVERIFY(w->opta->isChecked());
    // Once "&Next" has taken the choice, the letters no longer change it.
    click(w->cmdnext);
    press(Qt::Key_C);
    QVERIFY(w->opta->isChecked());
    click(w->cmdanswer);
    QCOMPARE(vertest::state().answers[1].choice, QStringLiteral("a"));
    // Nor do they under the test help; back at the question they do again.
    click(w->cmdHelp);
    press(Qt::Key_D);
    QVERIFY(!w->choices->checkedButton());
    click(w->cmdendreview);
    press(Qt::Key_D);
    QVERIFY(w->optd->isChecked());
    QCOMPARE(described(env->boxes.shown), described({kReady}));
}

void TestFlow::upperCaseAnswerNeverScores()
{
    writeBank("Cc");
    env->random.values = {drawing(1, 2), drawing(2, 2)};
    startTest("2\r\n15\r\n");
    answer(w->optc);
    env->boxes.answer(Answer::Ok);
    env->boxes.answer(Answer::Ok);
    env->boxes.answer(Answer::No);
    answer(w->optc);
    QVERIFY(!vertest::state().answers[1].correct);
    QVERIFY(vertest::state().answers[2].correct);
    QCOMPARE(env->boxes.shown.at(2), scoreBox(1, 2));
}

void TestFlow::optionsChangedBetweenTests()
{
    writeBank("aaa");
    startTest("1\r\n15\r\n");
    // A change saved while the test runs waits for the next test.
    env->write(QStringLiteral("options"), "2\r\n5\r\n");
    env->boxes.answer(Answer::Ok);
    env->boxes.answer(Answer::Ok);
    env->boxes.answer(Answer::No);
    answer(w->opta);
    QCOMPARE(env->boxes.shown.at(2), scoreBox(1, 1));

    env->boxes.answer(Answer::Yes);
    QVERIFY(trigger(w, "mnuFileVer"));
    QCOMPARE(vertest::state().numques, 2);
    tick();
    QCOMPARE(w->lbltime->text(), QStringLiteral("Time Remaining 0 : 4 : 59"));
    answer(w->optb);
    env->boxes.answer(Answer::Ok);
    env->boxes.answer(Answer::Ok);
    env->boxes.answer(Answer::No);
    answer(w->optb);
    // The first answer of a test starts its count afresh.
    QCOMPARE(env->boxes.shown.at(6), scoreBox(0, 2));
}

void TestFlow::bankOfExactlyTheTestsSize()
{
    writeBank("abcdef");
    startTest("6\r\n15\r\n");
    for (int i = 1; i < 6; ++i)
        answer(w->opta);
    const vertest::State& s = vertest::state();
    QList<qint16> shown;
    for (int i = 1; i <= 6; ++i)
        shown << s.answers[i].recnum;
    QCOMPARE(QList<qint16>(s.usedrecs.begin() + 1, s.usedrecs.begin() + 7), shown);
    std::sort(shown.begin(), shown.end());
    QCOMPARE(shown, QList<qint16>({1, 2, 3, 4, 5, 6}));
    QCOMPARE(env->random.reseeds, env->random.draws);
    env->boxes.answer(Answer::Ok);
    env->boxes.answer(Answer::Ok);
    env->boxes.answer(Answer::No);
    QVERIFY(trigger(w, "mnuFileTestquit"));
}

void TestFlow::testThatCannotBeDrawn_data()
{
    QTest::addColumn<QByteArray>("bank"); // "-" for no bank, "/" for a folder in its place
    QTest::addColumn<QByteArray>("options");
    QTest::addColumn<QString>("message");
    const QString add = QStringLiteral(
        " Add questions with Tools > Add, or lower the number of questions in Tools > Options.");
    QTest::newRow("bank too small")
        << QByteArray(2 * 576 + 100, 'x') << QByteArray("3\r\n15\r\n")
        << "The question bank \"verbal.zep\" holds 2 questions, but the test needs 3." + add;
    QTest::newRow("no bank") << QByteArray("-") << QByteArray("1\r\n15\r\n")
                             << "The question bank \"verbal.zep\" holds 0 questions, but the test "
                                "needs 1." +
                                    add;
    QTest::newRow("no questions") << QByteArray(576, 'x') << QByteArray("0\r\n15\r\n")
                                  << "A test has 1 to 50 questions, but the options ask for 0. "
                                     "Set the number of questions in Tools > Options.";
    QTest::newRow("too many questions") << QByteArray(51 * 576, 'x') << QByteArray("51\r\n15\r\n")
                                        << "A test has 1 to 50 questions, but the options ask for "
                                           "51. Set the number of questions in Tools > Options.";
    QTest::newRow("no time") << QByteArray(576, 'x') << QByteArray("1\r\n0\r\n")
                             << "A test lasts at least 1 minute, but the options give 0. Set the "
                                "test time in Tools > Options.";
    QTest::newRow("folder in place of the bank")
        << QByteArray("/") << QByteArray("1\r\n15\r\n")
        << "Cannot open the question bank \"verbal.zep\": a folder stands in its place. The test "
           "cannot start.";
}

void TestFlow::testThatCannotBeDrawn()
{
    QFETCH(QByteArray, bank);
    QFETCH(QByteArray, options);
    QFETCH(QString, message);
    if (bank == "/")
        QVERIFY(QDir(env->dir.path()).mkdir(QStringLiteral("verbal.zep")));
    else if (bank != "-")
        env->write(QStringLiteral("verbal.zep"), bank);
    start();
    env->write(QStringLiteral("options"), options);
    env->boxes.answer(Answer::Yes);
    env->boxes.answer(Answer::Ok);
    QVERIFY(trigger(w, "mnuFileVer"));
    QCOMPARE(described(env->boxes.shown),
             described({kReady, {message, kLexamo, Buttons::Ok, Icon::Exclamation}}));
    checkIdle();
    QCOMPARE(vertest::state().numques, 15);
    QVERIFY(!vertest::state().showtime);
    QCOMPARE(env->exists(QStringLiteral("verbal.zep")), bank != "-");
    if (bank != "-" && bank != "/")
        QCOMPARE(env->read(QStringLiteral("verbal.zep")), bank);
}

void TestFlow::timeOverWithTicksDuringEveryBox()
{
    writeBank("abc");
    env->boxes.answer(Answer::Yes, [this] { tick(5); });
    env->write(QStringLiteral("options"), "3\r\n1\r\n");
    start();
    QVERIFY(trigger(w, "mnuFileVer"));
    QCOMPARE(vertest::state().elapsed, 0);
    tick();
    QCOMPARE(w->lbltime->text(), QStringLiteral("Time Remaining 0 : 0 : 59"));
    tick(58);
    QCOMPARE(w->lbltime->text(), QStringLiteral("Time Remaining 0 : 0 : 1"));
    QCOMPARE(env->boxes.shown.size(), 1);

    const auto ticksWhileOpen = [this] { tick(3); };
    env->boxes.answer(Answer::Ok, [this] {
        QCOMPARE(w->lbltime->text(), QStringLiteral("Time Remaining 0 : 0 : 0"));
        tick(3);
        QCOMPARE(w->lbltime->text(), QStringLiteral("Time Remaining 0 : 0 : 0"));
    });
    env->boxes.answer(Answer::Ok, ticksWhileOpen);
    env->boxes.answer(Answer::No, ticksWhileOpen);
    tick();
    QCOMPARE(described(env->boxes.shown), described({kReady, kTimeOver, scoreBox(0, 3), kReview}));
    checkIdle();
    QVERIFY(!vertest::state().showtime);
    QCOMPARE(vertest::state().answered, 0);
    QCOMPARE(vertest::state().elapsed, 60 + 9);
    tick(100);
    QCOMPARE(env->boxes.shown.size(), 4);
    QCOMPARE(w->lbltime->text(), QString());
    // The whole minute was used; the ticks under the boxes came after the end.
    const qint16 recnum = vertest::state().answers[1].recnum;
    QCOMPARE(loggedTests(), QStringList{"time-over,3,1,60,0" +
                                        logged(recnum, "", QString(QChar(u'a' + recnum - 1)))});
}

void TestFlow::hiddenTimeStillEndsTheTest()
{
    writeBank("ab");
    startTest("1\r\n2\r\n");
    tick();
    QCOMPARE(w->lbltime->text(), QStringLiteral("Time Remaining 0 : 1 : 59"));
    click(w->cmdtime);
    tick();
    QCOMPARE(w->lbltime->text(), QString());
    click(w->cmdtime);
    tick();
    QCOMPARE(w->lbltime->text(), QStringLiteral("Time Remaining 0 : 1 : 57"));
    click(w->cmdtime);
    tick(116);
    QCOMPARE(env->boxes.shown.size(), 1);
    env->boxes.answer(Answer::Ok);
    env->boxes.answer(Answer::Ok);
    env->boxes.answer(Answer::No);
    tick();
    QCOMPARE(described(env->boxes.shown), described({kReady, kTimeOver, scoreBox(0, 1), kReview}));
    checkIdle();
}

void TestFlow::clockEndsTheTestUnderTheQuitQuestion()
{
    writeBank("aa");
    startTest("2\r\n1\r\n");
    answer(w->opta);
    tick(59);
    env->boxes.answer(Answer::Ok, [this] {
        env->boxes.answer(Answer::Ok);
        env->boxes.answer(Answer::Ok);
        env->boxes.answer(Answer::No);
        tick(2);
    });
    click(w->cmdquit);
    QCOMPARE(described(env->boxes.shown),
             described({kReady, kQuit, kTimeOver, scoreBox(1, 2), kReview}));
    checkIdle();
    // One test, one line: the confirmed quit came after the clock had ended it.
    const QStringList logged = loggedTests();
    QCOMPARE(logged.size(), 1);
    QVERIFY2(logged.first().startsWith(QStringLiteral("time-over,2,1,60,1,")),
             qPrintable(logged.first()));
}

void TestFlow::clockEndsTheTestUnderTheChoiceWarning()
{
    writeBank("a");
    startTest("1\r\n1\r\n");
    tick(59);
    env->boxes.answer(Answer::Ok, [this] {
        env->boxes.answer(Answer::Ok);
        env->boxes.answer(Answer::Ok);
        env->boxes.answer(Answer::No);
        tick();
    });
    click(w->cmdnext);
    QCOMPARE(described(env->boxes.shown),
             described({kReady, kNoChoice, kTimeOver, scoreBox(0, 1), kReview}));
    checkIdle();
    QVERIFY(!w->cmdanswer->isEnabled());
}

void TestFlow::completedAsTheTimeRunsOut()
{
    writeBank("a");
    startTest("1\r\n1\r\n");
    tick(58);
    env->boxes.answer(Answer::Ok, [this] { tick(5); });
    env->boxes.answer(Answer::Ok, [this] { tick(); });
    env->boxes.answer(Answer::No, [this] { tick(); });
    answer(w->opta);
    QCOMPARE(described(env->boxes.shown), described({kReady, kComplete, scoreBox(1, 1), kReview}));
    checkIdle();
}

void TestFlow::bankTextsShownLiterally()
{
    BankFile bank;
    QVERIFY(bank.open().ok());
    QuestionRecord record;
    record.setQuestion(QStringLiteral("Salt & <b>pepper</b>\r\nsecond line"));
    record.setChoice(0, QStringLiteral("R&D"));
    record.setAnswer(QStringLiteral("a"));
    QVERIFY(bank.write(1, record).ok());
    bank.close();
    startTest("1\r\n15\r\n");
    QCOMPARE(w->lblquestion->textFormat(), Qt::PlainText);
    QVERIFY(
        w->lblquestion->text().startsWith(QStringLiteral("Salt & <b>pepper</b>\nsecond line ")));
    QCOMPARE(w->opta->text(), QStringLiteral("R&&D") + QString(72, u' '));
}

void TestFlow::longestTextsShowWhole()
{
    // The widest characters fill every field; the third choice is a sentence of ordinary words.
    QuestionRecord widest;
    widest.setQuestion(QString(200, u'W'));
    for (int i = 0; i < 5; ++i)
        widest.setChoice(i, QString(75, u'W'));
    const QString sentence = QStringLiteral(
        "Without examining the evidence the committee reached a hasty verdict today.");
    QCOMPARE(sentence.size(), 75);
    widest.setChoice(2, sentence);
    widest.setAnswer(QStringLiteral("c"));
    QuestionRecord wordy = widest;
    wordy.setQuestion(QString(QStringLiteral("Which word means WWWW? ")).repeated(9).left(200));
    env->write(QStringLiteral("verbal.zep"), widest.toBytes() + wordy.toBytes());
    env->random.values = {drawing(1, 2), drawing(2, 2)};
    startTest("2\r\n15\r\n");
    // The window as it opens, maximized on the screen (1280 by 1024 pixels).
    QVERIFY(w->isMaximized());
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QCoreApplication::processEvents(); // the maximized size comes from the window system
    for (int question = 1; question <= 2; ++question) {
        QCOMPARE(fitProblem(w->lblquestion), QString());
        for (const QRadioButton* option : {w->opta, w->optb, w->optc, w->optd, w->opte})
            QCOMPARE(fitProblem(option), QString());
        if (question == 1)
            answer(w->optc);
    }
    // In the window's smallest, designed size the question still shows whole, wrapped, and so
    // does a choice of ordinary words.
    w->showNormal();
    w->resize(w->minimumSizeHint());
    QCOMPARE(w->centralWidget()->size(), twips::rect(0, 0, 9510, 6540).size());
    QCOMPARE(fitProblem(w->lblquestion), QString());
    QCOMPARE(fitProblem(w->optc), QString());
    // There a choice of the widest characters is cut off, and shows whole as its tool tip.
    QVERIFY(!fitProblem(w->opta).isEmpty());
    for (QRadioButton* option : {w->opta, w->optc}) {
        QHelpEvent help(QEvent::ToolTip, QPoint(20, 5), option->mapToGlobal(QPoint(20, 5)));
        QApplication::sendEvent(option, &help);
        QCOMPARE(QToolTip::isVisible(), option == w->opta);
        if (option == w->opta)
            QCOMPARE(QToolTip::text(), QString(75, u'W'));
        QToolTip::hideText();
        QVERIFY(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
    }
    // The controls keep their left edges and heights.
    QCOMPARE(w->optc->geometry().topLeft(), twips::rect(1320, 3360, 0, 0).topLeft());
    QCOMPARE(w->lblquestion->geometry().topLeft(), twips::rect(1440, 600, 0, 0).topLeft());
    QCOMPARE(w->lblquestion->height(), twips::toPixels(1215));
}

void TestFlow::bankFailingUnderATest()
{
    writeBank("aa");
    startTest("2\r\n15\r\n");
    vertest::state().bankfile.close(); // as a read error would leave it
    env->boxes.answer(Answer::Ok);
    answer(w->opta);
    const QString reason = QStringLiteral(
        "Cannot read the question bank \"verbal.zep\": the file is not open. The test has ended.");
    QCOMPARE(described(env->boxes.shown),
             described({kReady, {reason, kLexamo, Buttons::Ok, Icon::Exclamation}}));
    checkIdle();
    QCOMPARE(vertest::state().quesno, 0);
    QCOMPARE(vertest::state().answered, 0);
    tick(2000);
    QCOMPARE(env->boxes.shown.size(), 2);
    // A test that ended without a score is not a result.
    QVERIFY(!env->exists(QStringLiteral("results.csv")));
}

void TestFlow::bankCutShortUnderATest()
{
    writeBank("abc");
    startTest("3\r\n15\r\n");
    // Another program empties the bank: the draw has nothing left to give.
    QVERIFY(QFile::resize(env->path(QStringLiteral("verbal.zep")), 0));
    env->boxes.answer(Answer::Ok);
    answer(w->opta);
    const QString reason = QStringLiteral(
        "The question bank \"verbal.zep\" holds fewer questions than the test needs: it was "
        "changed while the test ran. The test has ended.");
    QCOMPARE(described(env->boxes.shown),
             described({kReady, {reason, kLexamo, Buttons::Ok, Icon::Exclamation}}));
    checkIdle();
}

void TestFlow::unwritableLogChangesNothing_data()
{
    QTest::addColumn<int>("ending");
    QTest::newRow("complete") << int(resultslog::Ending::Complete);
    QTest::newRow("time over") << int(resultslog::Ending::TimeOver);
    QTest::newRow("quit") << int(resultslog::Ending::Quit);
}

// A folder in the log's place: the test ends with the same boxes and the same idle window, and
// the next test runs as ever.
void TestFlow::unwritableLogChangesNothing()
{
    QFETCH(int, ending);
    QVERIFY(QDir(env->dir.path()).mkdir(QStringLiteral("results.csv")));
    writeBank("ab");
    for (int round = 0; round < 2; ++round) {
        env->boxes.shown.clear();
        env->random.values = {drawing(1, 2), drawing(2, 2)};
        startTest("2\r\n1\r\n");
        answer(w->opta);
        env->boxes.answer(Answer::Ok);
        env->boxes.answer(Answer::Ok);
        env->boxes.answer(Answer::No);
        QList<MessageBox> expected{kReady};
        switch (resultslog::Ending(ending)) {
        case resultslog::Ending::Complete:
            answer(w->optb);
            expected << kComplete << scoreBox(2, 2);
            break;
        case resultslog::Ending::TimeOver:
            tick(60);
            expected << kTimeOver << scoreBox(1, 2);
            break;
        case resultslog::Ending::Quit:
            click(w->cmdquit);
            expected << kQuit << scoreBox(1, 2);
            break;
        }
        QCOMPARE(described(env->boxes.shown), described(expected << kReview));
        checkIdle();
    }
    QVERIFY(QFileInfo(env->path(QStringLiteral("results.csv"))).isDir());
    QCOMPARE(QDir(env->path(QStringLiteral("results.csv"))).entryList(QDir::NoDotAndDotDot),
             QStringList());
}

QTEST_MAIN(TestFlow)
#include "tst_testflow.moc"
