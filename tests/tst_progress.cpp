#include "app/frmMain.h"
#include "app/main1.h"
#include "bank/BankNotes.h"
#include "bank/QuestionRecord.h"
#include "platform/Twips.h"
#include "progress/PlotView.h"
#include "progress/ResultsLog.h"
#include "progress/frmProgress.h"
#include "support/ExamDriver.h"
#include "support/TestEnvironment.h"

#include <QAbstractItemModel>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>
#include <memory>
#include <sys/stat.h>

using resultslog::Ending;
using resultslog::Entry;
using resultslog::Kind;

namespace {

const QString kNoTests = QStringLiteral("No tests yet. Take one with File > Verbal Test.");

// Record n of the test bank asks "Question n" (record 1 over two lines), its choices read "n-a"
// to "n-e", and it answers "bcce"[n - 1].
QuestionRecord record(int n, const QString& question = {})
{
    QuestionRecord r;
    r.setQuestion(question.isEmpty() ? QStringLiteral("Question %1").arg(n) : question);
    for (int i = 0; i < QuestionRecord::kChoiceCount; ++i)
        r.setChoice(i, QStringLiteral("%1-%2").arg(n).arg(QChar(u'a' + i)));
    r.setAnswer(QString(QChar("bcce"[n - 1])));
    return r;
}

QByteArray bank()
{
    QByteArray bytes = record(1, QStringLiteral("Question 1\r\nits second line")).toBytes();
    for (int n = 2; n <= 4; ++n)
        bytes += record(n).toBytes();
    return bytes;
}

// The check of record n as the test bank holds it; record 3 held another question before.
int checkOf(int n)
{
    return resultslog::recordCheck(
        bank().mid((n - 1) * QuestionRecord::kSize, QuestionRecord::kSize));
}
const int kOldThree = resultslog::recordCheck(record(3, "An older question 3").toBytes());

// A test taken daysAgo days before today at the time given; its questions "recnum chosen
// answer", "-" for no letter, with the checks given (-1: a line of Lexamo 1.0).
Entry test(int daysAgo, QTime at, Kind kind, Ending ending, int questions, qint64 seconds,
           const QStringList& shown, const QList<int>& checks)
{
    Entry e;
    e.when = QDateTime(QDate::currentDate().addDays(-daysAgo), at);
    e.kind = kind;
    e.ending = ending;
    e.questions = questions;
    e.minutes = 15;
    e.seconds = seconds;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const QStringList parts = shown[i].split(u' ');
        const auto letter = [](const QString& l) { return l == "-" ? QChar() : l.front(); };
        e.shown.append({parts[0].toInt(), letter(parts[1]), letter(parts[2]), checks[i]});
        e.correct += resultslog::missed(e.shown.last()) ? 0 : 1;
    }
    return e;
}

// Four tests, the newest last: record 3 changed since both tests that asked it, record 9 is
// beyond the bank's end, record 4 was asked by a line that keeps no check. Then a line that
// cannot be read.
const QList<Entry> kTests{
    test(40, QTime(10, 0), Kind::Verbal, Ending::Complete, 3, 754, {"1 a b", "2 c c", "3 c c"},
         {checkOf(1), checkOf(2), kOldThree}),
    test(2, QTime(9, 30), Kind::Practice, Ending::Quit, 4, 61, {"1 b b", "2 - c"},
         {checkOf(1), checkOf(2)}),
    test(2, QTime(18, 15), Kind::Verbal, Ending::TimeOver, 2, 900, {"3 a c", "9 d d"},
         {kOldThree, 77}),
    test(0, QTime(8, 0), Kind::Verbal, Ending::Complete, 2, 95, {"4 e e", "2 a c"},
         {-1, checkOf(2)}),
};

// The log of the tests; or as Lexamo 1.0 wrote them, every test a Verbal Test and no checks.
QByteArray logOf(const QList<Entry>& tests, bool asToday = true)
{
    QByteArray log = resultslog::header();
    for (Entry e : tests) {
        for (resultslog::Question& q : e.shown)
            q.check = asToday ? q.check : -1;
        e.kind = asToday ? e.kind : Kind::Verbal;
        log += resultslog::line(e);
    }
    return log;
}

// Whether the lines of the log keep the kind of test and the checks of the records shown.
bool linesKeepKindAndChecks()
{
    const QByteArray line = resultslog::line(kTests[1]);
    const Result<Entry> read = resultslog::parseLine(QString::fromUtf8(line.chopped(2)));
    return read.ok() && read.value() == kTests[1];
}

QString day(int daysAgo)
{
    return QDate::currentDate().addDays(-daysAgo).toString(Qt::ISODate);
}

// Every row of a view's model, its cells joined by " | ".
QStringList rowsOf(const QAbstractItemModel* model)
{
    QStringList rows;
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model->columnCount(); ++c)
            cells << model->index(r, c).data().toString();
        rows << cells.join(QStringLiteral(" | "));
    }
    return rows;
}

} // namespace

class TestProgress : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { twips::registerFontSubstitutions(); }
    void init() { beginTest(env); }
    void cleanup() { finishTest(env); }

    void summaryAndTableOfTheLog_data();
    void summaryAndTableOfTheLog();
    void questionsOfTheSelectedTest_data();
    void questionsOfTheSelectedTest();
    void noTestsYet_data();
    void noTestsYet();
    void logThatCannotBeRead_data();
    void logThatCannotBeRead();
    void oneWindowThatFollowsTheLogAndTheKeyboard();
    void timeOfEachQuestion();
    void plotWordsKeepTheirSize();

private:
    // Starts Lexamo and opens the progress window through its menu item.
    frmProgress* open()
    {
        frmMain* w = examdriver::startMain();
        if (!trigger(w, "mnuProgress"))
            return nullptr;
        return w->progress;
    }
    template <typename T> static T* part(frmProgress* window, const char* name)
    {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        if (!found)
            qFatal("the progress window has no %s", name);
        return found;
    }
    static QStringList questions(frmProgress* window)
    {
        return rowsOf(part<QTreeWidget>(window, "lstquestions")->model());
    }

    std::unique_ptr<TestEnvironment> env;
};

void TestProgress::summaryAndTableOfTheLog_data()
{
    QTest::addColumn<bool>("asToday");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("bankLine");
    // With the checks, record 3 changed since it was asked and counts as never asked.
    QTest::newRow("lines as written today")
        << true << "practice"
        << "Bank:    3 of its 4 questions asked, 1 missed the last time";
    QTest::newRow("lines of Lexamo 1.0")
        << false << "verbal"
        << "Bank:    4 of its 4 questions asked, 2 missed the last time";
}

void TestProgress::summaryAndTableOfTheLog()
{
    QFETCH(bool, asToday);
    QFETCH(QString, kind);
    QFETCH(QString, bankLine);
    if (asToday && !linesKeepKindAndChecks())
        QSKIP("the lines of the results log keep no kind of test and no record checks");
    env->write("verbal.zep", bank());
    env->write("results.csv", logOf(kTests, asToday) + "2026-12-01T18:00:00,complete,3\r\n");
    frmProgress* window = open();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("Lexamo - Progress"));
    const QString summary = QStringLiteral("Tests taken: 4\n"
                                           "Last 4:  average 48%, best 67%\n"
                                           "All:     average 48%, best 67%\n"
                                           "Trend:   falling, -2.5 points a test over the last 4\n"
                                           "Days:    tests on 2 of the last 30\n") +
                            bankLine;
    QCOMPARE(part<QLabel>(window, "lblsummary")->text(), summary);
    QCOMPARE(part<QWidget>(window, "picplot")->accessibleDescription(), summary);
    QCOMPARE(part<QLabel>(window, "lblnote")->text(),
             QStringLiteral("1 line of results.csv could not be read and is left out."));
    QVERIFY(part<QLabel>(window, "lblnote")->isVisible());
    const QTableView* table = part<QTableView>(window, "grdtests");
    QCOMPARE(rowsOf(table->model()),
             (QStringList{day(0) + " 08:00 | verbal | complete | 1/2 | 50% | 1:35 | ",
                          day(2) + " 18:15 | verbal | time-over | 1/2 | 50% | 15:00 | ",
                          day(2) + " 09:30 | " + kind + " | quit | 1/4 | 25% | 1:01 | ",
                          day(40) + " 10:00 | verbal | complete | 2/3 | 67% | 12:34 | "}));
    QCOMPARE(table->model()->headerData(5, Qt::Horizontal).toString(), QStringLiteral("Time used"));
    QVERIFY(part<QPushButton>(window, "cmdsaveplot")->isEnabled());

    // The plot is drawn in the window's colours, dark ones too.
    QPalette dark = window->palette();
    dark.setColor(QPalette::Base, QColor(20, 20, 20));
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Highlight, QColor(0, 200, 0));
    window->setPalette(dark);
    const QImage plot = part<QWidget>(window, "picplot")->grab().toImage();
    QCOMPARE(plot.pixelColor(plot.width() / 2, 2), dark.color(QPalette::Base));
    int points = 0;
    for (int y = 0; y < plot.height(); ++y) {
        for (int x = 0; x < plot.width(); ++x)
            points += plot.pixelColor(x, y) == dark.color(QPalette::Highlight) ? 1 : 0;
    }
    QVERIFY2(points > 0, "no point of the plot is in the palette's colour");
}

void TestProgress::questionsOfTheSelectedTest_data()
{
    QTest::addColumn<bool>("asToday");
    QTest::addColumn<QString>("recordThree");
    QTest::addColumn<QString>("wholeThree");
    QTest::addColumn<QStringList>("kinds");
    QTest::newRow("lines as written today")
        << true
        << "1 | Record 3 has changed since this test; its question is not shown. |  | a | c | "
           "wrong | "
        << "Question 1\nRecord 3 has changed since this test; its question is not shown.\n\n"
           "Your choice: a\nCorrect choice: c\nResult: wrong\n"
        << QStringList{"analogy | 3 | 1 | 33% | 2 | 0 | 0% | -",
                       "antonym | 2 | 1 | 50% | 1 | 1 | 100% | -",
                       "(no kind) | 4 | 3 | 75% | 3 | 2 | 67% | -"};
    // A line that keeps no check cannot tell: the record shows as it is now, with its note.
    QTest::newRow("lines of Lexamo 1.0")
        << false << "1 | Question 3 | synonym | a) 3-a | c) 3-c | wrong | "
        << "Question 1\nQuestion 3\n\na) 3-a\nb) 3-b\nc) 3-c\nd) 3-d\ne) 3-e\n\nYour choice: "
           "a) 3-a\nCorrect choice: c) 3-c\nResult: wrong\nKind: synonym\n\nExplanation:\nThree."
        << QStringList{"analogy | 3 | 1 | 33% | 2 | 0 | 0% | -",
                       "antonym | 2 | 1 | 50% | 1 | 1 | 100% | -",
                       "synonym | 2 | 1 | 50% | 1 | 0 | 0% | -",
                       "(no kind) | 2 | 2 | 100% | 2 | 2 | 100% | -"};
}

void TestProgress::questionsOfTheSelectedTest()
{
    QFETCH(bool, asToday);
    QFETCH(QString, recordThree);
    QFETCH(QString, wholeThree);
    QFETCH(QStringList, kinds);
    if (asToday && !linesKeepKindAndChecks())
        QSKIP("the lines of the results log keep no kind of test and no record checks");
    env->write("verbal.zep", bank());
    env->write("results.csv", logOf(kTests, asToday));
    // Record 4's note was written for the question it held before: it is never shown.
    BankNotes notes;
    notes.setNote(1, record(1, "Question 1\r\nits second line"),
                  {"antonym", "Because \"b\" is,\r\nthe opposite."});
    notes.setNote(2, record(2), {"analogy", {}});
    notes.setNote(3, record(3), {"synonym", "Three."});
    notes.setNote(4, record(4, "An older question 4"), {"antonym", "Stale."});
    // A row that cannot be read is left out, and told below the rest.
    const QByteArray notesFile = notes.toBytes() + "5,zzzz,antonym,\r\n";
    env->write("verbal.notes.csv", notesFile);
    frmProgress* window = open();
    QVERIFY(window);
    auto* list = part<QTreeWidget>(window, "lstquestions");
    auto* whole = part<QPlainTextEdit>(window, "txtquestion");
    QCOMPARE(list->headerItem()->text(2), QStringLiteral("Kind"));
    QCOMPARE(part<QLabel>(window, "lblnote")->text().split(u'\n').last(),
             QStringLiteral("Some notes of the question bank, in \"verbal.notes.csv\", cannot be "
                            "read and are left out: line 7: \"zzzz\" is not a check of four hex "
                            "digits."));
    // Each kind's questions over all tests and over the last 30 days, weakest first; those of no
    // kind known, their records changed, gone or their notes stale, in a row of their own.
    const QAbstractItemModel* byKind = part<QTableView>(window, "grdkinds")->model();
    QStringList headers;
    for (int c = 0; c < byKind->columnCount(); ++c)
        headers << byKind->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(headers, (QStringList{"Kind", "Asked", "Right", "Percent", "Asked, 30 days",
                                   "Right, 30 days", "Percent, 30 days", "s a question"}));
    QCOMPARE(rowsOf(byKind), kinds);
    // The newest test comes selected, and its first question.
    QCOMPARE(questions(window),
             (QStringList{"1 | Question 4 |  | e) 4-e | e) 4-e | right | ",
                          "2 | Question 2 | analogy | a) 2-a | c) 2-c | wrong | "}));
    QCOMPARE(whole->toPlainText(),
             QStringLiteral("Question 1\nQuestion 4\n\na) 4-a\nb) 4-b\nc) 4-c\nd) 4-d\ne) 4-e\n\n"
                            "Your choice: e) 4-e\nCorrect choice: e) 4-e\nResult: right\n"));
    QTableView* table = part<QTableView>(window, "grdtests");
    const auto select = [table](int row) {
        const QRect cell = table->visualRect(table->model()->index(row, 1));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    };
    select(1);
    QCOMPARE(questions(window),
             (QStringList{recordThree, "2 | Record 9 is no longer in the bank; its question is not "
                                       "shown. |  | d | d | right | "}));
    QCOMPARE(whole->toPlainText(), wholeThree);
    select(2);
    QCOMPARE(questions(window),
             (QStringList{"1 | Question 1 its second line | antonym | b) 1-b | b) 1-b | right | ",
                          "2 | Question 2 | analogy | none | c) 2-c | not answered | "}));
    QCOMPARE(whole->toPlainText(),
             QStringLiteral("Question 1\nQuestion 1\nits second line\n\na) 1-a\nb) 1-b\nc) 1-c\n"
                            "d) 1-d\ne) 1-e\n\nYour choice: b) 1-b\nCorrect choice: b) 1-b\n"
                            "Result: right\nKind: antonym\n\nExplanation:\nBecause \"b\" is,\n"
                            "the opposite."));
    // The keyboard moves to the next question, which shows whole in its turn.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(whole->toPlainText(),
             QStringLiteral("Question 2\nQuestion 2\n\na) 2-a\nb) 2-b\nc) 2-c\nd) 2-d\ne) 2-e\n\n"
                            "Your choice: none\nCorrect choice: c) 2-c\nResult: not answered\n"
                            "Kind: analogy\n"));
    // The bank and its notes were only read: they are as they were, and no other file was made.
    QCOMPARE(env->read("verbal.zep"), bank());
    QCOMPARE(env->read("verbal.notes.csv"), notesFile);
    QCOMPARE(QDir(env->dir.path()).entryList(QDir::Files),
             (QStringList{"options", "results.csv", "verbal.notes.csv", "verbal.zep"}));
}

void TestProgress::noTestsYet_data()
{
    QTest::addColumn<QByteArray>("log");
    QTest::addColumn<bool>("present");
    QTest::newRow("no log") << QByteArray() << false;
    QTest::newRow("empty log") << QByteArray() << true;
    QTest::newRow("header only") << resultslog::header() << true;
}

void TestProgress::noTestsYet()
{
    QFETCH(QByteArray, log);
    QFETCH(bool, present);
    if (present)
        env->write("results.csv", log);
    frmProgress* window = open();
    QVERIFY(window);
    QCOMPARE(part<QLabel>(window, "lblsummary")->text(), kNoTests);
    QCOMPARE(part<QLabel>(window, "lblsummary")->font(), window->font()); // not the fixed one
    QCOMPARE(part<QTableView>(window, "grdtests")->model()->rowCount(), 0);
    QCOMPARE(questions(window), QStringList());
    QVERIFY(!part<QPushButton>(window, "cmdsaveplot")->isEnabled());
    QVERIFY(!part<QLabel>(window, "lblnote")->isVisible());
    QCOMPARE(env->boxes.shown.size(), 0);
    // Neither the log nor the bank is made by looking.
    QCOMPARE(env->exists("results.csv"), present);
    QVERIFY(!env->exists("verbal.zep"));
}

void TestProgress::logThatCannotBeRead_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("why");
    QTest::newRow("folder") << "folder"
                            << "it is a folder";
    QTest::newRow("pipe") << "pipe"
                          << "it is a pipe (FIFO)";
}

void TestProgress::logThatCannotBeRead()
{
    QFETCH(QString, kind);
    QFETCH(QString, why);
    if (kind == "folder")
        QVERIFY(QDir(env->dir.path()).mkdir("results.csv"));
    else
        QCOMPARE(::mkfifo(QFile::encodeName(env->path("results.csv")).constData(), 0600), 0);
    env->write("verbal.zep", bank());
    env->boxes.answer(platform::Answer::Ok);
    frmProgress* window = open();
    QVERIFY(window);
    const QString text =
        QStringLiteral("Cannot read the results log \"results.csv\": %1.").arg(why);
    QCOMPARE(env->boxes.shown,
             (QList<platform::MessageBox>{{text, QStringLiteral("Lexamo"), platform::Buttons::Ok,
                                           platform::Icon::Exclamation, platform::Answer::Ok}}));
    QCOMPARE(part<QLabel>(window, "lblsummary")->text(), text);
    QCOMPARE(part<QTableView>(window, "grdtests")->model()->rowCount(), 0);
}

void TestProgress::oneWindowThatFollowsTheLogAndTheKeyboard()
{
    env->write("verbal.zep", bank());
    env->write("results.csv", logOf(kTests.mid(0, 1)));
    frmProgress* window = open();
    QVERIFY(window);
    QVERIFY(trigger(main1::mainwindow, "mnuProgress"));
    QCOMPARE(main1::mainwindow->progress.data(), window);
    // The table of tests takes the whole width it is given.
    window->resize(1600, 900);
    QCoreApplication::processEvents();
    const QTableView* table = part<QTableView>(window, "grdtests");
    QCOMPARE(table->horizontalHeader()->length(), table->viewport()->width());
    QCOMPARE(openTopLevelWindows().count(QStringLiteral("frmProgress")), 1);
    QCOMPARE(window->windowHandle()->transientParent(), main1::mainwindow->windowHandle());
    // A screen reader announces it as a window, with its title.
    QAccessibleInterface* announced = QAccessible::queryAccessibleInterface(window);
    QCOMPARE(announced->role(), QAccessible::Window);
    QCOMPARE(announced->text(QAccessible::Name), QStringLiteral("Lexamo - Progress"));

    // A test ends and its line is logged: the open window shows it, selected.
    env->write("results.csv", logOf(kTests.mid(0, 2)));
    main1::mainwindow->testLogged();
    QCOMPARE(part<QTableView>(window, "grdtests")->model()->rowCount(), 2);
    QVERIFY(part<QLabel>(window, "lblsummary")->text().startsWith("Tests taken: 2\n"));
    QCOMPARE(questions(window).first(), QStringLiteral("1 | Question 1 its second line |  | "
                                                       "b) 1-b | b) 1-b | right | "));

    // Tab goes round every part of the window, the table and the list included.
    QApplication::setActiveWindow(window);
    QVERIFY(QTest::qWaitForWindowActive(window));
    part<QLabel>(window, "lblsummary")->setFocus();
    QStringList reached;
    for (int i = 0; i < 9; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(reached, (QStringList{"cboperiod", "picplot", "grdtests", "grdkinds", "lstquestions",
                                   "txtquestion", "cmdsaveplot", "cmdclose", "lblsummary"}));
    for (const char* name : {"picplot", "grdtests", "grdkinds", "lstquestions", "txtquestion"})
        QVERIFY2(!part<QWidget>(window, name)->accessibleName().isEmpty(), name);
    QCOMPARE(part<QLabel>(window, "lblperiod")->buddy(), part<QWidget>(window, "cboperiod"));
    QCOMPARE(part<QLabel>(window, "lbltests")->buddy(), part<QWidget>(window, "grdtests"));
    QCOMPARE(part<QLabel>(window, "lblquestions")->buddy(), part<QWidget>(window, "lstquestions"));
    QCOMPARE(part<QLabel>(window, "lblkinds")->text(), QStringLiteral("&Kinds, weakest first:"));
    QCOMPARE(part<QLabel>(window, "lblkinds")->buddy(), part<QWidget>(window, "grdkinds"));
    QCOMPARE(part<QLabel>(window, "lblquestion")->text(), QStringLiteral("&Selected question:"));
    QCOMPARE(part<QLabel>(window, "lblquestion")->buddy(), part<QWidget>(window, "txtquestion"));
    // Esc in the open period list closes the list alone; then it closes the window.
    auto* period = part<QComboBox>(window, "cboperiod");
    period->setFocus();
    period->showPopup();
    QTRY_VERIFY(period->view()->isVisible());
    QTest::keyClick(period->view(), Qt::Key_Escape);
    QTRY_VERIFY(!period->view()->isVisible());
    QVERIFY(window->isVisible());
    QTest::keyClick(period, Qt::Key_Escape);
    QTRY_VERIFY(!window->isVisible());
}

// A test whose line keeps the seconds each question was on screen: the table gives its average,
// the list each question's time with the slowest above the average marked, the question shown
// whole its time, and the table of kinds the average of each kind.
void TestProgress::timeOfEachQuestion()
{
    env->write("verbal.zep", bank());
    BankNotes notes;
    notes.setNote(1, record(1, "Question 1\r\nits second line"), {"analogy", {}});
    notes.setNote(3, record(3), {"analogy", {}});
    env->write("verbal.notes.csv", notes.toBytes());
    Entry timed = test(0, QTime(7, 0), Kind::Verbal, Ending::Complete, 4, 180,
                       {"1 b b", "2 c c", "3 a c", "4 e e"},
                       {checkOf(1), checkOf(2), checkOf(3), checkOf(4)});
    for (const auto& [i, seconds] : {std::pair{0, 10}, {1, 50}, {2, 30}, {3, 90}})
        timed.shown[i].time = seconds;
    env->write("results.csv", resultslog::header() + resultslog::line(timed));
    frmProgress* window = open();
    QVERIFY(window);
    const QAbstractItemModel* tests = part<QTableView>(window, "grdtests")->model();
    QCOMPARE(tests->headerData(6, Qt::Horizontal).toString(), QStringLiteral("s a question"));
    QCOMPARE(tests->index(0, 6).data().toString(), QStringLiteral("45"));
    auto* list = part<QTreeWidget>(window, "lstquestions");
    QCOMPARE(list->headerItem()->text(6), QStringLiteral("Time"));
    QStringList times;
    for (int r = 0; r < list->topLevelItemCount(); ++r)
        times << list->topLevelItem(r)->text(6) +
                     (list->topLevelItem(r)->font(6).bold() ? QStringLiteral(" bold") : QString());
    QCOMPARE(times, (QStringList{"10 s", "50 s (slow) bold", "30 s", "90 s (slow) bold"}));
    list->setCurrentItem(list->topLevelItem(3));
    QVERIFY(part<QPlainTextEdit>(window, "txtquestion")->toPlainText().contains("\nTime: 90 s\n"));
    QCOMPARE(rowsOf(part<QTableView>(window, "grdkinds")->model()),
             (QStringList{"analogy | 2 | 1 | 50% | 2 | 1 | 50% | 20",
                          "(no kind) | 2 | 2 | 100% | 2 | 2 | 100% | 70"}));
}

// The plot's title is written at the window's text size whether the plot is large or small: its
// ink is as wide on a plot half the size.
void TestProgress::plotWordsKeepTheirSize()
{
    const auto titleWidth = [](int width) {
        PlotView view;
        view.setTests(
            {test(0, QTime(8, 0), Kind::Verbal, Ending::Complete, 1, 60, {"1 b b"}, {1})});
        view.resize(width, width * 56 / 100);
        const QImage image = view.grab().toImage();
        int left = image.width();
        int right = -1;
        for (int y = 0; y < 34; ++y) { // the title, above the legend
            for (int x = 0; x < image.width(); ++x) {
                if (qGray(image.pixel(x, y)) < 128) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        return right - left;
    };
    const int large = titleWidth(1000);
    const int small = titleWidth(560);
    QVERIFY2(large > 100 && std::abs(large - small) <= large / 10,
             qPrintable(QStringLiteral("%1 and %2").arg(large).arg(small)));
}

QTEST_MAIN(TestProgress)
#include "tst_progress.moc"
