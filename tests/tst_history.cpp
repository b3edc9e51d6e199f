#include "bankio/BankCommands.h"
#include "bankio/BankTool.h"

#include "bank/BankNotes.h"
#include "bank/QuestionRecord.h"
#include "progress/ResultsLog.h"
#include "support/FileSizeLimit.h"
#include "support/MemoryLimit.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QImage>
#include <QTest>
#include <memory>
#include <sys/stat.h>

using resultslog::Ending;
using resultslog::Entry;

namespace {

// One test of a log: taken on 2026-12-(day) at 18:00, questions listed as "recnum chosen
// answer" separated by spaces, "-" for an empty letter.
QByteArray test(int day, Ending ending, int questions, const QStringList& shown,
                qint64 seconds = 300)
{
    Entry e;
    e.when = QDateTime(QDate(2026, 12, day), QTime(18, 0));
    e.ending = ending;
    e.questions = questions;
    e.minutes = 15;
    e.seconds = seconds;
    for (const QString& q : shown) {
        const QStringList parts = q.split(u' ');
        const auto letter = [](const QString& l) { return l == "-" ? QChar() : l.front(); };
        e.shown.append({parts[0].toInt(), letter(parts[1]), letter(parts[2])});
        e.correct += resultslog::missed(e.shown.last()) ? 0 : 1;
    }
    return resultslog::line(e);
}

// Three tests, the last a Practice Test: record 3 missed twice, records 1, 4 and 9 once each.
const QByteArray kThree = resultslog::header() +
                          test(1, Ending::Complete, 3, {"1 a b", "2 c c", "3 d e"}, 754) +
                          test(2, Ending::Quit, 3, {"3 - e", "4 a a"}, 61) +
                          test(3, Ending::TimeOver, 4, {"9 b a", "2 c c", "4 b a", "8 a a"}, 900)
                              .replace(",900,2,verbal,", ",900,2,practice,");

QByteArray bankOf(int records)
{
    QByteArray bytes;
    for (int n = 1; n <= records; ++n) {
        QuestionRecord r;
        r.setQuestion(QStringLiteral("Question %1").arg(n));
        r.setAnswer(QStringLiteral("a"));
        bytes += r.toBytes();
    }
    return bytes;
}

// The record numbers a bank made of bankOf's records holds, in order.
QList<int> numbersIn(const QByteArray& bank)
{
    QList<int> numbers;
    for (qsizetype at = 0; at + QuestionRecord::kSize <= bank.size(); at += QuestionRecord::kSize)
        numbers << QuestionRecord::fromBytes(bank.mid(at, QuestionRecord::kSize))
                       .question()
                       .trimmed()
                       .mid(9)
                       .toInt();
    return numbers;
}

} // namespace

class TestHistory : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { env = std::make_unique<TestEnvironment>(); }
    void cleanup() { env.reset(); }

    void tableAndSummary();
    void badLinesAreSkipped_data();
    void badLinesAreSkipped();
    void longLogKeepsItsOrderAndLineNumbers();
    void unreadableLog_data();
    void unreadableLog();
    void aHugeLineIsRefusedUnread();
    void summaryOfManyTests_data();
    void summaryOfManyTests();
    void summaryByKind();
    void mistakesMostMissedFirst_data();
    void mistakesMostMissedFirst();
    void mistakesRefusesBadInput_data();
    void mistakesRefusesBadInput();
    void mistakesKeepsTheOldBankOnAFailedWrite();
    void plotDrawsAPicture_data();
    void plotDrawsAPicture();
    void plotOfAFewTestsMinutesApart();
    void plotRefusals_data();
    void plotRefusals();
    void wrongUsage_data();
    void wrongUsage();

private:
    int tool(const QStringList& arguments)
    {
        out.clear();
        err.clear();
        QTextStream o(&out);
        QTextStream e(&err);
        return banktool::run(arguments, o, e);
    }
    QStringList files() const
    {
        return QDir(env->dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    }

    std::unique_ptr<TestEnvironment> env;
    QString out;
    QString err;
};

void TestHistory::tableAndSummary()
{
    // As Lexamo writes the log, and joined from two machines: the later lines first.
    const QList<QByteArray> lines = kThree.split('\n');
    for (const QByteArray& log :
         {kThree, lines[0] + '\n' + lines[3] + '\n' + lines[1] + '\n' + lines[2] + '\n'}) {
        env->write("results.csv", log);
        QCOMPARE(tool({"history"}), banktool::Done);
        QCOMPARE(err, QString());
        QCOMPARE(out, QStringLiteral(
                          "Date              Kind      Ended      Score       %    Time  s/q\n"
                          "2026-12-01 18:00  verbal    complete     1/3   33%   12:34\n"
                          "2026-12-02 18:00  verbal    quit         1/3   33%    1:01\n"
                          "2026-12-03 18:00  practice  time-over    2/4   50%   15:00\n"
                          "\n"
                          "Tests taken: 3\n"
                          "Last 3:  average 39%, best 50%\n"
                          "All:     average 39%, best 50%\n"
                          "Trend:   rising, +8.3 points a test over the last 3\n"));
    }
}

void TestHistory::badLinesAreSkipped_data()
{
    QTest::addColumn<QByteArray>("log");
    QTest::addColumn<QString>("problems");
    QTest::addColumn<int>("tests");
    const QByteArray one = test(1, Ending::Complete, 2, {"1 a a", "2 b a"});
    const QByteArray two = test(2, Ending::Quit, 2, {"5 c c"});
    QTest::newRow("empty log") << QByteArray() << "" << 0;
    QTest::newRow("header only") << resultslog::header() << "" << 0;
    QTest::newRow("no header, LF line ends")
        << QByteArray(one + two).replace("\r\n", "\n") << "" << 2;
    QTest::newRow("truncated last line")
        << resultslog::header() + one + two.left(47)
        << "results.csv:3: it has 10 fields: 7, then 4 for every question shown; line skipped\n"
        << 1;
    QTest::newRow("score edited by hand")
        << resultslog::header() + QByteArray(one).replace(",300,1,verbal,", ",300,2,verbal,") + two
        << "results.csv:2: its score 2 does not match the 1 right answers it lists; line "
           "skipped\n"
        << 1;
    QTest::newRow("blank lines and a second header")
        << resultslog::header() + one + "\r\n  \r\n" + resultslog::header() + two << "" << 2;
    QTest::newRow("not UTF-8") << one + "2026-12-02T18:00:00,quit,\xff\r\n" + two
                               << "results.csv:2: the text is not UTF-8; line skipped\n"
                               << 2;
    QTest::newRow("byte order mark") << "\xef\xbb\xbf" + resultslog::header() + one << "" << 1;
}

void TestHistory::badLinesAreSkipped()
{
    QFETCH(QByteArray, log);
    QFETCH(QString, problems);
    QFETCH(int, tests);
    env->write("results.csv", log);
    QCOMPARE(tool({"history", "results.csv"}), banktool::Done);
    QCOMPARE(err, problems);
    if (tests == 0)
        QCOMPARE(out, QStringLiteral("results.csv holds no tests yet.\n"));
    else
        QVERIFY2(out.contains(QStringLiteral("Tests taken: %1\n").arg(tests)), qPrintable(out));
    QCOMPARE(env->read("results.csv"), log);
}

// A log of megabytes is read in two halves at once: its tests stay in the file's order and its
// bad lines are named by their place in the whole file.
void TestHistory::longLogKeepsItsOrderAndLineNumbers()
{
    const QByteArray one = test(1, Ending::Complete, 2, {"1 a a", "2 b a"});
    const QByteArray many = one.repeated(20000);
    const QByteArray bad = "2026-12-02T18:00:00,quit,\xff\r\n";
    const QByteArray last = test(9, Ending::Quit, 2, {"5 c c"});
    QVERIFY(many.size() > 1024 * 1024);
    env->write("results.csv", resultslog::header() + many + bad + many + bad + many + last);
    QCOMPARE(tool({"history"}), banktool::Done);
    QCOMPARE(err, QStringLiteral("results.csv:20002: the text is not UTF-8; line skipped\n"
                                 "results.csv:40003: the text is not UTF-8; line skipped\n"));
    QVERIFY(out.contains(QStringLiteral("Tests taken: 60001\n")));
    QVERIFY2(out.contains(QStringLiteral("2026-12-09 18:00  verbal    quit         1/2   50%    "
                                         "5:00\n\nTests taken")),
             qPrintable(out.right(400)));
}

void TestHistory::unreadableLog_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << "missing"
                             << "Cannot read the results log \"results.csv\": there is no such "
                                "file.\n";
    QTest::newRow("folder") << "folder"
                            << "Cannot read the results log \"results.csv\": it is a folder.\n";
    QTest::newRow("pipe") << "fifo"
                          << "Cannot read the results log \"results.csv\": it is a pipe "
                             "(FIFO).\n";
}

void TestHistory::unreadableLog()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    if (kind == "folder")
        QVERIFY(QDir(env->dir.path()).mkdir("results.csv"));
    if (kind == "fifo")
        QCOMPARE(mkfifo(QFile::encodeName(env->path("results.csv")).constData(), 0600), 0);
    QCOMPARE(tool({"history"}), banktool::Failed);
    QCOMPARE(err, message);
    QCOMPARE(out, QString());
    env->write("bank.zep", bankOf(3));
    QCOMPARE(tool({"mistakes", "results.csv", "bank.zep", "-o", "retry.zep"}), banktool::Failed);
    QCOMPARE(err, message + "No bank written.\n");
    QVERIFY(!env->exists("retry.zep"));
}

void TestHistory::aHugeLineIsRefusedUnread()
{
    // 128 MB of short fields on one line, written to disk a piece at a time.
    const QByteArray one = test(1, Ending::Complete, 2, {"1 a a", "2 b a"});
    const QByteArray two = test(2, Ending::Quit, 2, {"5 c c"});
    {
        QFile log(env->path("results.csv"));
        QVERIFY(log.open(QIODevice::WriteOnly));
        log.write(resultslog::header() + one);
        const QByteArray fields = QByteArray("1,").repeated(512 * 1024);
        for (int i = 0; i < 128; ++i)
            QCOMPARE(log.write(fields), fields.size());
        log.write("\r\n" + two);
    }
    const MemoryLimit limit(48 * 1024 * 1024);
    QCOMPARE(tool({"history"}), banktool::Done);
    QCOMPARE(err, QStringLiteral("results.csv:3: the line is longer than any test writes (4 KB at "
                                 "most); it is not read; line skipped\n"));
    QVERIFY2(out.contains(QStringLiteral("Tests taken: 2\n")), qPrintable(out));
}

void TestHistory::summaryOfManyTests_data()
{
    QTest::addColumn<QList<int>>("scores"); // correct answers of 10 questions, test by test
    QTest::addColumn<QString>("summary");
    QTest::newRow("one test") << QList<int>{7}
                              << "Tests taken: 1\nLast 1:  average 70%, best 70%\n"
                                 "All:     average 70%, best 70%\n"
                                 "Trend:   not yet known: it needs 2 tests\n";
    QTest::newRow("falling") << QList<int>{9, 5}
                             << "Tests taken: 2\nLast 2:  average 70%, best 90%\n"
                                "All:     average 70%, best 90%\n"
                                "Trend:   falling, -40.0 points a test over the last 2\n";
    // The best of all lies before the last 10.
    QTest::newRow("twelve") << QList<int>{10, 0, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5}
                            << "Tests taken: 12\nLast 10: average 50%, best 50%\n"
                               "All:     average 50%, best 100%\n"
                               "Trend:   steady, +0.0 points a test over the last 10\n";
}

void TestHistory::summaryOfManyTests()
{
    QFETCH(QList<int>, scores);
    QFETCH(QString, summary);
    QByteArray log = resultslog::header();
    for (qsizetype t = 0; t < scores.size(); ++t) {
        QStringList shown;
        for (int q = 1; q <= 10; ++q)
            shown << QStringLiteral("%1 a %2").arg(q).arg(q <= scores[t] ? "a" : "b");
        log += test(int(t) + 1, Ending::Complete, 10, shown);
    }
    env->write("results.csv", log);
    QCOMPARE(tool({"history"}), banktool::Done);
    QVERIFY2(out.endsWith(u'\n' + summary), qPrintable(out));
}

// Records 1 and 3 are analogies; record 2's note was written for another question, and record
// 4 has none. One test 40 days ago missed analogy 1, one today got every question right.
void TestHistory::summaryByKind()
{
    const QByteArray bank = bankOf(4);
    const auto recordOf = [&bank](int n) {
        return QuestionRecord::fromBytes(bank.mid((n - 1) * QuestionRecord::kSize));
    };
    BankNotes notes;
    notes.setNote(1, recordOf(1), {QStringLiteral("analogy"), {}});
    notes.setNote(3, recordOf(3), {QStringLiteral("analogy"), {}});
    QuestionRecord before = recordOf(2);
    before.setQuestion(QStringLiteral("Another question"));
    notes.setNote(2, before, {QStringLiteral("antonym"), {}});
    const auto taken = [](int daysAgo, const QList<resultslog::Question>& shown) {
        Entry e;
        e.when = QDateTime(QDate::currentDate().addDays(-daysAgo), QTime(0, 0));
        e.ending = Ending::Complete;
        e.questions = int(shown.size());
        e.minutes = 15;
        e.shown = shown;
        for (const resultslog::Question& q : shown)
            e.correct += resultslog::missed(q) ? 0 : 1;
        return resultslog::line(e);
    };
    const QChar a(u'a'), b(u'b');
    // Today's test keeps each question's seconds on screen; the older one keeps none.
    env->write("results.csv",
               resultslog::header() + taken(40, {{1, b, a}, {2, a, a}}) +
                   taken(0, {{3, a, a, -1, 12}, {1, a, a, -1, 20}, {4, a, a, -1, 40}}));
    env->write("bank.zep", bank);
    env->write("bank.notes.csv", notes.toBytes());
    QCOMPARE(tool({"history", "--kinds", "bank.zep"}), banktool::Done);
    QCOMPARE(err, QString());
    QVERIFY2(out.contains("complete     3/3  100%    0:00   24\n"), qPrintable(out));
    QVERIFY2(out.endsWith("\nBy kind, weakest first (bank.zep):\n"
                          "Kind       Asked  Right     %  30 days  Right     %  s/q\n"
                          "analogy        3      2   67%        2      2  100%   16\n"
                          "(no kind)      2      2  100%        1      1  100%   40\n"),
             qPrintable(out));
    // A bank that cannot be read costs the kinds alone.
    QFile::remove(env->path("bank.zep"));
    QCOMPARE(tool({"history", "--kinds", "bank.zep"}), banktool::Failed);
    QVERIFY(out.startsWith("Date "));
    QVERIFY2(err.endsWith("\nNo kinds shown.\n"), qPrintable(err));
}

void TestHistory::mistakesMostMissedFirst_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("bankSize");
    QTest::addColumn<QList<int>>("written");
    QTest::addColumn<QString>("said");
    QTest::addColumn<QString>("warnings");
    QTest::addColumn<QByteArray>("later"); // a test after the three
    QTest::newRow("all tests") << QStringList{} << 10 << QList<int>{3, 1, 4, 9}
                               << "4 questions written to retry.zep, missed 5 times in 3 tests.\n"
                               << "" << QByteArray();
    QTest::newRow("last one") << QStringList{"--last", "1"} << 10 << QList<int>{4, 9}
                              << "2 questions written to retry.zep, missed 2 times in 1 test.\n"
                              << "" << QByteArray();
    QTest::newRow("more than there are")
        << QStringList{"--last", "99"} << 10 << QList<int>{3, 1, 4, 9}
        << "4 questions written to retry.zep, missed 5 times in 3 tests.\n"
        << "" << QByteArray();
    QTest::newRow("bank shorter than the log")
        << QStringList{} << 4 << QList<int>{3, 1, 4}
        << "3 questions written to retry.zep, missed 4 times in 3 tests.\n"
        << "bank.zep holds no record 9 (it has 4 records): skipped.\n"
        << QByteArray();
    // Record 7 was missed when it held another question; record 2 was missed as it is now.
    Entry later;
    later.when = QDateTime(QDate(2026, 12, 4), QTime(18, 0));
    later.ending = Ending::Quit;
    later.questions = 3;
    later.minutes = 15;
    later.kind = resultslog::Kind::Practice;
    const int check2 = resultslog::recordCheck(bankOf(2).sliced(QuestionRecord::kSize));
    later.shown = {{7, QChar(u'b'), QChar(u'a'), 0x1234}, {2, QChar(u'b'), QChar(u'a'), check2}};
    QTest::newRow("a record changed since")
        << QStringList{} << 10 << QList<int>{3, 1, 2, 4, 9}
        << "5 questions written to retry.zep, missed 6 times in 4 tests.\n"
        << "bank.zep: record 7 holds another question since it was missed: skipped.\n"
        << resultslog::line(later);
}

void TestHistory::mistakesMostMissedFirst()
{
    QFETCH(QStringList, options);
    QFETCH(int, bankSize);
    QFETCH(QList<int>, written);
    QFETCH(QString, said);
    QFETCH(QString, warnings);
    QFETCH(QByteArray, later);
    env->write("results.csv", kThree + later);
    env->write("bank.zep", bankOf(bankSize));
    QCOMPARE(tool(QStringList{"mistakes", "results.csv", "bank.zep", "-o", "retry.zep"} + options),
             banktool::Done);
    QCOMPARE(out, said);
    QCOMPARE(err, warnings);
    QCOMPARE(numbersIn(env->read("retry.zep")), written);
    QCOMPARE(env->read("bank.zep"), bankOf(bankSize));
}

void TestHistory::mistakesRefusesBadInput_data()
{
    QTest::addColumn<QByteArray>("log");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("message");
    const QByteArray good = test(1, Ending::Complete, 2, {"1 a b", "2 b b"});
    QTest::newRow("truncated last line")
        << resultslog::header() + good + good.left(30) << "retry.zep"
        << "results.csv:3: it has 3 fields: 6, then 3 for every question shown";
    QTest::newRow("line edited by hand")
        << resultslog::header() + QByteArray(good).replace("complete", "finished") + good
        << "retry.zep"
        << "results.csv:2: the ending \"finished\" is not complete, time-over or quit";
    QTest::newRow("empty log") << QByteArray() << "retry.zep"
                               << "results.csv: no question of bank.zep was missed in its 0 tests.";
    QTest::newRow("nothing missed")
        << test(1, Ending::Complete, 1, {"2 b b"}) << "retry.zep"
        << "results.csv: no question of bank.zep was missed in its 1 test.";
    QTest::newRow("only records the bank lacks")
        << test(1, Ending::Complete, 1, {"7 a b"}) << "retry.zep"
        << "bank.zep holds no record 7 (it has 3 records): skipped.\n"
           "results.csv: no question of bank.zep was missed in its 1 test.";
    QTest::newRow("output is the bank")
        << good << "bank.zep"
        << "bank.zep is one of the inputs: give another file to -o.";
    QTest::newRow("output is the log") << good << "./results.csv"
                                       << "./results.csv is one of the inputs: give another file "
                                          "to -o.";
}

void TestHistory::mistakesRefusesBadInput()
{
    QFETCH(QByteArray, log);
    QFETCH(QString, output);
    QFETCH(QString, message);
    env->write("results.csv", log);
    env->write("bank.zep", bankOf(3));
    QCOMPARE(tool({"mistakes", "results.csv", "bank.zep", "-o", output}), banktool::Failed);
    QCOMPARE(err, message + "\nNo bank written.\n");
    QCOMPARE(out, QString());
    QCOMPARE(files(), (QStringList{"bank.zep", "results.csv"}));
    QCOMPARE(env->read("results.csv"), log);
    QCOMPARE(env->read("bank.zep"), bankOf(3));
}

void TestHistory::mistakesKeepsTheOldBankOnAFailedWrite()
{
    env->write("results.csv", kThree);
    env->write("bank.zep", bankOf(10));
    env->write("retry.zep", "the old bank");
    {
        const FileSizeLimit limit(100); // less than one record: the write fails part-way
        QCOMPARE(tool({"mistakes", "results.csv", "bank.zep", "-o", "retry.zep"}),
                 banktool::Failed);
    }
    QVERIFY2(err.startsWith("Cannot write \"retry.zep\": File too large."), qPrintable(err));
    QVERIFY(err.endsWith("No bank written.\n"));
    QCOMPARE(env->read("retry.zep"), QByteArray("the old bank"));
    QCOMPARE(files(), (QStringList{"bank.zep", "results.csv", "retry.zep"}));
}

void TestHistory::plotDrawsAPicture_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("tests");
    QTest::newRow("png, one test") << "plot.png" << 1;
    QTest::newRow("png, forty tests") << "plot.PNG" << 40;
    QTest::newRow("svg, forty tests") << "plot.svg" << 40;
}

void TestHistory::plotDrawsAPicture()
{
    QFETCH(QString, file);
    QFETCH(int, tests);
    QByteArray log = resultslog::header();
    for (int i = 0; i < tests; ++i)
        log += test(1 + i % 28, Ending::Complete, 2, {"1 a a", i % 3 ? "2 b b" : "2 a b"});
    env->write("results.csv", log);
    QCOMPARE(tool({"history", "--plot", file}), banktool::Done);
    QCOMPARE(err, QString());
    const QByteArray bytes = env->read(file);
    if (file.endsWith("svg")) {
        QVERIFY(bytes.contains("<svg"));
        QVERIFY(bytes.contains("Percent correct"));
        QVERIFY(bytes.contains("2026-12-01"));
        return;
    }
    const QImage image = QImage::fromData(bytes, "PNG");
    QCOMPARE(image.size(), QSize(1000, 560));
    // Something besides the white ground: the axes, the points and the texts.
    int dark = 0;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2)
            dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    }
    QVERIFY2(dark > 1000, qPrintable(QString::number(dark)));
}

// Four tests within two minutes: each date under the axis once, and no moving average of five
// tests drawn through four.
void TestHistory::plotOfAFewTestsMinutesApart()
{
    QByteArray log = resultslog::header();
    for (int i = 0; i < 4; ++i) {
        Entry e;
        e.when = QDateTime(QDate(2026, 12, 8), QTime(13, 3, 0).addSecs(i * 40));
        e.questions = 1;
        e.minutes = 15;
        e.shown = {{1, QChar(u'a'), QChar(u'a')}};
        e.correct = 1;
        log += resultslog::line(e);
    }
    env->write("results.csv", log);
    QCOMPARE(tool({"history", "--plot", "plot.svg"}), banktool::Done);
    const QByteArray svg = env->read("plot.svg");
    for (const char* label : {"12-08 13:03", "12-08 13:04", "12-08 13:05"})
        QVERIFY2(svg.count(label) <= 1, label);
    QVERIFY(svg.contains("12-08 13:03"));
    QVERIFY(!svg.contains("moving average"));
    QVERIFY(!svg.contains("#d65f00"));
}

void TestHistory::plotRefusals_data()
{
    QTest::addColumn<QByteArray>("log");
    QTest::addColumn<QString>("plot");
    QTest::addColumn<QString>("message");
    const QByteArray one = test(1, Ending::Complete, 1, {"1 a a"});
    QTest::newRow("no tests") << resultslog::header() << "plot.png"
                              << "results.csv holds no tests to plot.\nNo plot written.\n";
    QTest::newRow("folder in the plot's place") << one << "folder.png"
                                                << "folder.png is a folder, not a regular file";
}

void TestHistory::plotRefusals()
{
    QFETCH(QByteArray, log);
    QFETCH(QString, plot);
    QFETCH(QString, message);
    env->write("results.csv", log);
    if (plot == "folder.png")
        QVERIFY(QDir(env->dir.path()).mkdir(plot));
    QCOMPARE(tool({"history", "--plot", plot}), banktool::Failed);
    QVERIFY2(err.startsWith(message), qPrintable(err));
    QVERIFY(err.endsWith("No plot written.\n"));
    QCOMPARE(env->read("results.csv"), log);
    QCOMPARE(files().size(), plot == "folder.png" ? 2 : 1);
}

void TestHistory::wrongUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("history, two logs")
        << QStringList{"history", "a.csv", "b.csv"} << "history takes one results log";
    QTest::newRow("history, plot as pdf") << QStringList{"history", "--plot", "a.pdf"}
                                          << "--plot draws a file ending in .svg or .png";
    QTest::newRow("history, plot over the log")
        << QStringList{"history", "--plot", "results.csv"} << "--plot draws a file ending in";
    QTest::newRow("history with -o")
        << QStringList{"history", "-o", "x"} << "history does not take -o";
    QTest::newRow("mistakes, one file") << QStringList{"mistakes", "results.csv", "-o", "r.zep"}
                                        << "mistakes takes a results log and a bank";
    QTest::newRow("mistakes without -o")
        << QStringList{"mistakes", "results.csv", "bank.zep"} << "mistakes needs -o";
    QTest::newRow("--last 0") << QStringList{"mistakes", "l", "b", "-o", "r", "--last", "0"}
                              << "--last takes a whole number of tests above 0";
    QTest::newRow("--last x") << QStringList{"mistakes", "l", "b", "-o", "r", "--last", "x"}
                              << "--last takes a whole number";
    QTest::newRow("mistakes with --plot")
        << QStringList{"mistakes", "l", "b", "-o", "r", "--plot", "p.png"}
        << "mistakes does not take --plot";
    QTest::newRow("list with --last")
        << QStringList{"list", "b.zep", "--last", "2"} << "list does not take --last";
}

void TestHistory::wrongUsage()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QCOMPARE(tool(arguments), banktool::WrongUsage);
    QVERIFY2(err.contains(message), qPrintable(err));
    QVERIFY(files().isEmpty());
}

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
