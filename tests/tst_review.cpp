#include "app/HelpText.h"
#include "app/frmMain.h"
#include "app/main1.h"
#include "bank/BankNotes.h"
#include "exam/ExamRules.h"
#include "platform/Twips.h"
#include "support/ExamDriver.h"
#include "support/MainControls.h"
#include "support/MemoryLimit.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <memory>

using platform::Answer;
using platform::Buttons;
using platform::Icon;
using platform::MessageBox;
using namespace examdriver;

namespace {

// Menu items of the review and the contents help: the tools, the About box, nothing that starts
// a test or shows a help again.
const QStringList kViewItems =
    QStringLiteral("mnuAdd mnuExport mnuHelp mnuHelpAbout mnuImport mnuOptions mnuProgress "
                   "mnuTools")
        .split(u' ');
const QByteArray kTestHelp = "  Test help\r\n\r\nline two  ";
const QString kTestHelpShown = QStringLiteral("Test help\r\n\r\nline two\r\n");

QString lines(QString crlf)
{
    return crlf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString block(int i, const QString& question, const QString& correct, const QString& yours,
              const QString& explanation = {})
{
    return QStringLiteral("%1 . %2\r\nCorrect Choice : %3\r\nYour Choice : %4\r\n%5\r\n")
        .arg(i)
        .arg(question, correct, yours,
             explanation.isEmpty() ? QString()
                                   : QStringLiteral("Explanation : ") + explanation + "\r\n");
}

} // namespace

class TestReview : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { twips::registerFontSubstitutions(); }
    void init();
    void cleanup();

    void reviewBlock_data();
    void reviewBlock();
    void helpText_data();
    void helpText();

    void reviewOfACompletedTestOfTwo();
    void reviewOfTenQuestions();
    void reviewOfATestQuitOnItsThirdQuestion();
    void reviewShowsTheQuestionsAsked_data();
    void reviewShowsTheQuestionsAsked();
    void reviewShowsTheExplanationsOfTheQuestionsAsked_data();
    void reviewShowsTheExplanationsOfTheQuestionsAsked();
    void testHelpAndBack();
    void timeOverUnderTheTestHelpThenReview();
    void testEndedUnderTheHelpThenGoBack();
    void newTestReplacesTheLeftoverHelp();
    void noReviewThenContentsHelp();
    void helpFileThatCannotBeRead_data();
    void helpFileThatCannotBeRead();

private:
    void startTest(const QByteArray& options);
    // Ends the running test by quitting; the review question gets the answer given.
    void quitTest(Answer review, int score, int total);
    void checkShown(const QString& caption, const QString& text);

    std::unique_ptr<TestEnvironment> env;
    QPointer<frmMain> w;
};

void TestReview::init()
{
    beginTest(env);
}

void TestReview::cleanup()
{
    if (w)
        w->close();
    finishTest(env);
}

void TestReview::startTest(const QByteArray& options)
{
    env->write(QStringLiteral("options"), options);
    if (!w)
        w = startMain();
    env->boxes.answer(Answer::Yes);
    QVERIFY(trigger(w, "mnuFileVer"));
}

void TestReview::quitTest(Answer review, int score, int total)
{
    env->boxes.answer(Answer::Ok);
    env->boxes.answer(Answer::Ok);
    env->boxes.answer(review);
    QVERIFY(trigger(w, "mnuFileTestquit"));
    QCOMPARE(env->boxes.shown.mid(env->boxes.shown.size() - 2, 1).value(0), scoreBox(score, total));
}

// The text box with its text, line for line, and the button that leaves it.
void TestReview::checkShown(const QString& caption, const QString& text)
{
    QVERIFY(on(w).txtreview->isVisible());
    QVERIFY(on(w).txtreview->isEnabled());
    QCOMPARE(on(w).txtreview->toPlainText(), lines(text));
    QVERIFY(on(w).cmdendreview->isVisible());
    QVERIFY(on(w).cmdendreview->isEnabled());
    QCOMPARE(on(w).cmdendreview->text(), caption);
}

void TestReview::reviewBlock_data()
{
    QTest::addColumn<int>("i");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QString>("explanation");
    QTest::addColumn<QString>("block");
    const QString q = QStringLiteral("What grows?\r\nName one.");
    QTest::newRow("explanation over lines")
        << 4 << "c"
        << "b" << QStringLiteral("Chard grows;\r\nberries\ngrow\rtoo. \u00e9\u2028\u201cso\u201d")
        << block(4, q, "chard", "berry",
                 QStringLiteral("Chard grows; berries grow too. \u00e9 \u201cso\u201d"));
    QTest::newRow("c and c") << 1 << "c"
                             << "c"
                             << "" << block(1, q, "chard", "chard");
    QTest::newRow("e") << 7 << "e"
                       << "a"
                       << "" << block(7, q, "elder", "apple");
    QTest::newRow("upper-case A names E") << 10 << "A"
                                          << "a"
                                          << "" << block(10, q, "elder", "apple");
    QTest::newRow("zero byte names E") << 2 << QString(QChar(0)) << "d"
                                       << "" << block(2, q, "elder", "dates");
    QTest::newRow("never answered") << 3 << "b"
                                    << ""
                                    << "" << block(3, q, "berry", "(not answered)");
}

void TestReview::reviewBlock()
{
    QFETCH(int, i);
    QFETCH(QString, answer);
    QFETCH(QString, choice);
    QFETCH(QString, explanation);
    QFETCH(QString, block);
    QuestionRecord record;
    record.setQuestion(QStringLiteral("  What grows?\r\nName one.  "));
    const QStringList fruit{"apple", "berry", "chard", "dates", "elder"};
    for (int c = 0; c < QuestionRecord::kChoiceCount; ++c)
        record.setChoice(c, fruit[c]); // five letters and 70 fill spaces
    record.setAnswer(answer);
    QCOMPARE(examrules::reviewBlock(i, record, choice, explanation), block);
}

void TestReview::helpText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");
    QTest::newRow("empty file") << QByteArray() << "";
    QTest::newRow("spaces trimmed, empty line kept")
        << QByteArray("  first\r\n\r\nthird  \r\n") << "first\r\n\r\nthird\r\n";
    QTest::newRow("last line without ending") << QByteArray("a\r\nlast") << "a\r\nlast\r\n";
    QTest::newRow("tabs kept") << QByteArray("\t tab \t \r\n") << "\t tab \t\r\n";
    QTest::newRow("CR alone ends a line") << QByteArray("a\rb\r") << "a\r\nb\r\n";
    QTest::newRow("LF alone stays in its line") << QByteArray("a\nb \r\n\nc") << "a\nb\r\n\nc\r\n";
    QTest::newRow("only spaces") << QByteArray("   ") << "\r\n";
    QTest::newRow("Windows-1252") << QByteArray("\x80 caf\xe9 \x93q\x94\x81")
                                  << QStringLiteral("\u20ac caf\u00e9 \u201cq\u201d\u0081\r\n");
}

void TestReview::helpText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    QCOMPARE(helptext::shownText(bytes), shown);
}

void TestReview::reviewOfACompletedTestOfTwo()
{
    writeBank("ab");
    env->random.values = {drawing(2, 2), drawing(1, 2)};
    startTest("2\r\n15\r\n");
    answer(on(w).optb);
    env->boxes.answer(Answer::Ok);
    env->boxes.answer(Answer::Ok);
    env->boxes.answer(Answer::Yes);
    answer(on(w).optc);
    QCOMPARE(described(env->boxes.shown), described({kReady, kComplete, scoreBox(1, 2), kReview}));
    const QString review =
        block(1, "Question 2", "2-b", "2-b") + block(2, "Question 1", "1-a", "1-c");
    checkShown(QStringLiteral("&End Review"), review);
    QCOMPARE(visibleControls(w), QStringList({"txtreview", "cmdendreview"}));
    QCOMPARE(enabledItems(w), kViewItems);
    QCOMPARE(on(w).lblsectionname->text(), QStringLiteral("Review"));

    click(on(w).cmdendreview);
    QCOMPARE(visibleControls(w), QStringList());
    QCOMPARE(enabledItems(w), kIdleItems);
    QCOMPARE(on(w).txtreview->toPlainText(), QString());
    QVERIFY(!on(w).txtreview->isEnabled());
    QVERIFY(!on(w).cmdendreview->isEnabled());
}

void TestReview::reviewOfTenQuestions()
{
    const QByteArray letters = "abcdeabcdeab";
    writeBank(letters);
    // Records 1 to 10, in that order.
    for (int r = 1; r <= 10; ++r)
        env->random.values.push_back(drawing(r, 12));
    startTest("10\r\n15\r\n");
    for (int i = 1; i < 10; ++i)
        answer(i % 2 ? on(w).opta : on(w).opte);
    env->boxes.answer(Answer::Ok);
    env->boxes.answer(Answer::Ok);
    env->boxes.answer(Answer::Yes);
    answer(on(w).opte);
    QString review;
    for (int i = 1; i <= 10; ++i) {
        const int r = i;
        const QString n = QString::number(r);
        review += block(i, "Question " + n, n + '-' + QChar(letters.at(r - 1)),
                        n + (i % 2 ? "-a" : "-e"));
    }
    checkShown(QStringLiteral("&End Review"), review);
    click(on(w).cmdendreview);
}

void TestReview::reviewOfATestQuitOnItsThirdQuestion()
{
    writeBank("abc");
    env->random.values = {drawing(3, 3), drawing(1, 3), drawing(2, 3)};
    startTest("3\r\n15\r\n");
    answer(on(w).optc);
    answer(on(w).optb);
    click(on(w).optb); // selected, not confirmed
    quitTest(Answer::Yes, 1, 3);
    const QString review = block(1, "Question 3", "3-c", "3-c") +
                           block(2, "Question 1", "1-a", "1-b") +
                           block(3, "Question 2", "2-b", "(not answered)");
    checkShown(QStringLiteral("&End Review"), review);
    click(on(w).cmdendreview);
}

void TestReview::reviewShowsTheQuestionsAsked_data()
{
    QTest::addColumn<QString>("change");
    // Another program's work on the bank never changes what the review tells of the test taken.
    QTest::newRow("replaced during the test") << "replaced";
    QTest::newRow("cut short before the review") << "shrank";
    QTest::newRow("removed before the review") << "removed";
    QTest::newRow("a folder in its place") << "folder";
}

void TestReview::reviewShowsTheQuestionsAsked()
{
    QFETCH(QString, change);
    const QString bank = env->path(QStringLiteral("verbal.zep"));
    writeBank("ab");
    env->random.values = {drawing(1, 2), drawing(2, 2)};
    startTest("2\r\n15\r\n");
    answer(on(w).opta);
    if (change == "replaced") {
        // Other questions, put in the bank's place as lexamo-bank import -o does.
        QByteArray other;
        for (int n = 1; n <= 2; ++n) {
            QuestionRecord record;
            record.setQuestion(QStringLiteral("Other %1").arg(n));
            record.setAnswer(QStringLiteral("e"));
            other += record.toBytes();
        }
        env->write(QStringLiteral("other.zep"), other);
        QVERIFY(QFile::remove(bank) && QFile::rename(env->path(QStringLiteral("other.zep")), bank));
    }
    env->boxes.answer(Answer::Ok);
    env->boxes.answer(Answer::Ok);
    env->boxes.answer(Answer::Yes, [&] {
        if (change == "shrank")
            QVERIFY(QFile(bank).resize(100));
        if (change == "removed" || change == "folder")
            QVERIFY(QFile::remove(bank));
        if (change == "folder")
            QVERIFY(QDir(env->dir.path()).mkdir(QStringLiteral("verbal.zep")));
    });
    answer(on(w).optb);
    QCOMPARE(described(env->boxes.shown), described({kReady, kComplete, scoreBox(2, 2), kReview}));
    checkShown(QStringLiteral("&End Review"),
               block(1, "Question 1", "1-a", "1-a") + block(2, "Question 2", "2-b", "2-b"));
    QCOMPARE(env->exists(QStringLiteral("verbal.zep")), change != "removed");
    click(on(w).cmdendreview);
}

void TestReview::reviewShowsTheExplanationsOfTheQuestionsAsked_data()
{
    QTest::addColumn<QString>("notes");
    // Record 1 has an explanation over two lines; record 2 has a kind alone; record 3's note was
    // written for the question it held before, and is never shown with the one it holds now.
    QTest::newRow("notes beside the bank") << "file";
    // Notes that cannot be read cost only the explanations: the test runs and says nothing.
    QTest::newRow("notes that cannot be read") << "folder";
}

void TestReview::reviewShowsTheExplanationsOfTheQuestionsAsked()
{
    QFETCH(QString, notes);
    writeBank("abc");
    const QByteArray bank = env->read(QStringLiteral("verbal.zep"));
    const auto recordOf = [&bank](int n) {
        return QuestionRecord::fromBytes(
            bank.mid((n - 1) * QuestionRecord::kSize, QuestionRecord::kSize));
    };
    QuestionRecord before = recordOf(3);
    before.setQuestion(QStringLiteral("An older question 3"));
    BankNotes written;
    written.setNote(1, recordOf(1), {"antonym", "\u201cA\u201d, as asked;\r\nnot \"b\"."});
    written.setNote(2, recordOf(2), {"analogy", {}});
    written.setNote(3, before, {"antonym", "Stale."});
    if (notes == "file")
        env->write(QStringLiteral("verbal.notes.csv"), written.toBytes());
    else
        QVERIFY(QDir(env->dir.path()).mkdir(QStringLiteral("verbal.notes.csv")));
    env->random.values = {drawing(1, 3), drawing(2, 3), drawing(3, 3)};
    startTest("3\r\n15\r\n");
    answer(on(w).opta);
    // A note written while the test runs, the file replaced as the editor does, waits for the
    // next test.
    BankNotes later = written;
    later.setNote(2, recordOf(2), {"analogy", "Written during the test."});
    if (notes == "file")
        QVERIFY(later.save(env->path(QStringLiteral("verbal.notes.csv"))).ok());
    answer(on(w).optc);
    env->boxes.answer(Answer::Ok);
    env->boxes.answer(Answer::Ok);
    env->boxes.answer(Answer::Yes);
    answer(on(w).optc);
    QCOMPARE(described(env->boxes.shown), described({kReady, kComplete, scoreBox(2, 3), kReview}));
    const QString first =
        notes == "file" ? QStringLiteral("\u201cA\u201d, as asked; not \"b\".") : QString();
    checkShown(QStringLiteral("&End Review"), block(1, "Question 1", "1-a", "1-a", first) +
                                                  block(2, "Question 2", "2-b", "2-c") +
                                                  block(3, "Question 3", "3-c", "3-c"));
    click(on(w).cmdendreview);
}

void TestReview::testHelpAndBack()
{
    env->write(QStringLiteral("hlp.txt"), kTestHelp);
    writeBank("ab");
    startTest("2\r\n15\r\n");
    const QString heading = on(w).lblquestionhead->text();
    const QString question = on(w).lblquestion->text();
    click(on(w).optd);
    click(on(w).cmdnext);
    for (int visit = 0; visit < 2; ++visit) {
        click(on(w).cmdHelp);
        checkShown(QStringLiteral("&GoBack To Test"), kTestHelpShown);
        QCOMPARE(on(w).cmdendreview->width(), twips::toPixels(1600));
        QCOMPARE(on(w).lblsectionname->text(), QStringLiteral("Help"));
        QCOMPARE(visibleControls(w), QStringList({"lblquestionhead", "lblsectionname", "lbltime",
                                                  "txtreview", "cmdendreview"}));
        QCOMPARE(enabledItems(w), kTestItems);

        click(on(w).cmdendreview);
        QCOMPARE(visibleControls(w), kTestScreen);
        QCOMPARE(enabledItems(w), kTestItems);
        QCOMPARE(on(w).lblsectionname->text(), QStringLiteral("Verbal Test"));
        QCOMPARE(on(w).lblquestionhead->text(), heading);
        QCOMPARE(on(w).lblquestion->text(), question);
        QVERIFY(on(w).optd->isChecked());
        QVERIFY(!on(w).cmdnext->isEnabled());
        QVERIFY(on(w).cmdanswer->isEnabled());
        QCOMPARE(on(w).cmdendreview->width(), twips::toPixels(frmMain::kEndReviewWidth));
        QVERIFY(!on(w).cmdendreview->isEnabled());
        QCOMPARE(on(w).txtreview->toPlainText(), QString());
    }
    quitTest(Answer::No, 0, 2);
}

void TestReview::timeOverUnderTheTestHelpThenReview()
{
    env->write(QStringLiteral("hlp.txt"), kTestHelp);
    writeBank("a");
    startTest("1\r\n1\r\n");
    // Alt+H presses Help: the Help menu, disabled in a test, leaves the letter to the button.
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTest::keyClick(w, Qt::Key_H, Qt::AltModifier);
    QTRY_VERIFY(on(w).txtreview->isVisible());
    tick(w, 59);
    env->boxes.answer(Answer::Ok);
    env->boxes.answer(Answer::Ok);
    env->boxes.answer(Answer::Yes);
    tick(w);
    QCOMPARE(described(env->boxes.shown), described({kReady, kTimeOver, scoreBox(0, 1), kReview}));
    checkShown(QStringLiteral("&End Review"), block(1, "Question 1", "1-a", "(not answered)"));
    QCOMPARE(on(w).cmdendreview->width(), twips::toPixels(1600));
    QCOMPARE(visibleControls(w), QStringList({"txtreview", "cmdendreview"}));
    QCOMPARE(enabledItems(w), kViewItems);
    click(on(w).cmdendreview);
    QCOMPARE(visibleControls(w), QStringList());
    QCOMPARE(enabledItems(w), kIdleItems);
    QCOMPARE(on(w).cmdendreview->width(), twips::toPixels(1600));
}

void TestReview::testEndedUnderTheHelpThenGoBack()
{
    env->write(QStringLiteral("hlp.txt"), kTestHelp);
    writeBank("ab");
    startTest("2\r\n15\r\n");
    click(on(w).cmdHelp);
    quitTest(Answer::No, 0, 2);
    checkShown(QStringLiteral("&GoBack To Test"), kTestHelpShown);
    click(on(w).cmdendreview);
    QCOMPARE(visibleControls(w), QStringList());
    QCOMPARE(enabledItems(w), kIdleItems);
    QCOMPARE(on(w).txtreview->toPlainText(), QString());
    QVERIFY(!on(w).cmdendreview->isEnabled());
    QCOMPARE(on(w).cmdendreview->width(), twips::toPixels(frmMain::kEndReviewWidth));
}

void TestReview::newTestReplacesTheLeftoverHelp()
{
    env->write(QStringLiteral("hlp.txt"), kTestHelp);
    writeBank("ab");
    startTest("2\r\n15\r\n");
    click(on(w).cmdHelp);
    quitTest(Answer::No, 0, 2);
    startTest("2\r\n15\r\n");
    QVERIFY(!on(w).txtreview->isVisible());
    QVERIFY(!on(w).cmdendreview->isVisible());
    QCOMPARE(on(w).cmdendreview->width(), twips::toPixels(frmMain::kEndReviewWidth));
    QCOMPARE(on(w).lblsectionname->text(), QStringLiteral("VERBAL SECTION"));
    QCOMPARE(visibleControls(w), kTestScreen);
    quitTest(Answer::No, 0, 2);
}

void TestReview::noReviewThenContentsHelp()
{
    env->write(QStringLiteral("Readme.txt"), "Lexamo\r\n  contents  \r\n");
    writeBank("a");
    startTest("1\r\n15\r\n");
    env->boxes.answer(Answer::Ok);
    env->boxes.answer(Answer::Ok);
    env->boxes.answer(Answer::No);
    answer(on(w).opta);
    QCOMPARE(visibleControls(w), QStringList());
    QCOMPARE(enabledItems(w), kIdleItems);
    QCOMPARE(on(w).txtreview->toPlainText(), QString());

    QVERIFY(trigger(w, "mnuHelpContents"));
    checkShown(QStringLiteral("&End Help"), QStringLiteral("Lexamo\r\ncontents\r\n"));
    QCOMPARE(on(w).cmdendreview->width(), twips::toPixels(frmMain::kEndReviewWidth));
    QCOMPARE(visibleControls(w), QStringList({"txtreview", "cmdendreview"}));
    QCOMPARE(enabledItems(w), kViewItems);
    click(on(w).cmdendreview);
    QCOMPARE(visibleControls(w), QStringList());
    QCOMPARE(enabledItems(w), kIdleItems);
    QCOMPARE(env->boxes.shown.size(), 4);
}

void TestReview::helpFileThatCannotBeRead_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("folder");
    QTest::addColumn<qint64>("size"); // of a file of zero bytes put there; 0: none; -1: a link
    QTest::addColumn<QString>("reason");
    QTest::newRow("test help missing") << "hlp.txt" << false << 0LL << "No such file or directory";
    QTest::newRow("test help a folder") << "hlp.txt" << true << 0LL << "it is a folder";
    QTest::newRow("contents missing")
        << "Readme.txt" << false << 0LL << "No such file or directory";
    QTest::newRow("contents a folder") << "Readme.txt" << true << 0LL << "it is a folder";
    QTest::newRow("contents huge")
        << "Readme.txt" << false << (16LL << 20) + 1 << "it is larger than 16 MB";
    // The kernel's page map says it is empty and holds far more than memory.
    QTest::newRow("contents that claims to be empty")
        << "Readme.txt" << false << -1LL << "it is larger than 16 MB";
}

void TestReview::helpFileThatCannotBeRead()
{
    QFETCH(QString, file);
    QFETCH(bool, folder);
    QFETCH(qint64, size);
    QFETCH(QString, reason);
    if (folder)
        QVERIFY(QDir(env->dir.path()).mkdir(file));
    if (size > 0) { // sparse: it takes no room on the disk
        env->write(file, {});
        QVERIFY(QFile::resize(env->path(file), size));
    }
    if (size < 0) {
        if (!QFile(QStringLiteral("/proc/self/pagemap")).open(QIODevice::ReadOnly))
            QSKIP("/proc/self/pagemap cannot be read here");
        QVERIFY(QFile::link(QStringLiteral("/proc/self/pagemap"), env->path(file)));
    }
    const MemoryLimit limit(512 << 20);
    const bool testHelp = file == QStringLiteral("hlp.txt");
    if (testHelp) {
        writeBank("a");
        startTest("1\r\n15\r\n");
    } else {
        w = startMain();
    }
    env->boxes.answer(Answer::Ok);
    if (testHelp)
        click(on(w).cmdHelp);
    else
        QVERIFY(trigger(w, "mnuHelpContents"));
    const MessageBox box{QStringLiteral("Cannot read the help file \"%1\": %2.").arg(file, reason),
                         QStringLiteral("Lexamo"), Buttons::Ok, Icon::Exclamation};
    QCOMPARE(described({env->boxes.shown.last()}), described({box}));
    checkShown(testHelp ? QStringLiteral("&GoBack To Test") : QStringLiteral("&End Help"), {});
    click(on(w).cmdendreview);
    QCOMPARE(visibleControls(w), testHelp ? kTestScreen : QStringList());
    QCOMPARE(env->exists(file), folder || size != 0);
}

QTEST_MAIN(TestReview)
#include "tst_review.moc"
