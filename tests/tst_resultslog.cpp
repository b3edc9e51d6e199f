#include "progress/ResultsLog.h"
#include "support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sys/stat.h>
#include <sys/sysmacros.h>

using resultslog::Ending;
using resultslog::Entry;
using resultslog::Question;

namespace {

Entry sample(Ending ending, QList<Question> shown, int correct)
{
    Entry e;
    e.when = QDateTime(QDate(2026, 12, 7), QTime(18, 4, 31));
    e.ending = ending;
    e.questions = 3;
    e.minutes = 15;
    e.seconds = 412;
    e.correct = correct;
    e.shown = std::move(shown);
    return e;
}

} // namespace

Q_DECLARE_METATYPE(resultslog::Entry)

class TestResultsLog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
    }

    void lineOfATest_data();
    void lineOfATest();
    void headerNamesEveryColumn();
    void badLines_data();
    void badLines();
    void appendGrowsTheFile_data();
    void appendGrowsTheFile();
    void appendRefusesWhatIsNotAFile_data();
    void appendRefusesWhatIsNotAFile();
    void fullDiskLeavesNoPieceOfALine();

private:
    QString path() const { return dir->filePath(QStringLiteral("results.csv")); }
    QByteArray read() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
    }
    void write(const QByteArray& bytes) const
    {
        QFile f(path());
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    }

    std::unique_ptr<QTemporaryDir> dir;
};

void TestResultsLog::lineOfATest_data()
{
    QTest::addColumn<Entry>("entry"); // written as today's line, unless it is empty
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<Entry>("parsed"); // what reading the line gives back
    const Entry complete = sample(Ending::Complete,
                                  {{12, QChar(u'b'), QChar(u'b'), 0x1a2b, 31},
                                   {40, QChar(u'a'), QChar(u'c'), 0, 0},
                                   {7, QChar(u'e'), QChar(u'e'), 0xffff, 381}},
                                  2);
    QTest::newRow("complete") << complete
                              << QByteArray("2026-12-07T18:04:31,complete,3,15,412,2,verbal,12,b,"
                                            "b,1a2b,31,40,a,c,0000,0,7,e,e,ffff,381\r\n")
                              << complete;
    Entry quit = sample(
        Ending::Quit,
        {{12, QChar(u'b'), QChar(u'b'), 0x00f0, 200}, {40, QChar(), QChar(u'c'), 9, 212}}, 1);
    quit.kind = resultslog::Kind::Practice;
    QTest::newRow("practice quit, last unanswered")
        << quit
        << QByteArray("2026-12-07T18:04:31,quit,3,15,412,1,practice,12,b,b,00f0,200,40,,c,0009,"
                      "212\r\n")
        << quit;
    // Lines of Lexamo 1.1 keep checks but no times: read as they stand, their times unknown,
    // even where their columns come in twenties (fives of four, fours of five).
    Entry before = quit;
    for (resultslog::Question& q : before.shown)
        q.time = -1;
    QTest::newRow("a line of 1.1")
        << Entry()
        << QByteArray("2026-12-07T18:04:31,quit,3,15,412,1,practice,12,b,b,00f0,40,,c,0009\r\n")
        << before;
    Entry twenty = sample(Ending::Quit, {}, 0);
    twenty.questions = 5;
    QByteArray twentyLine = "2026-12-07T18:04:31,quit,5,15,412,0,verbal";
    for (int n = 1; n <= 5; ++n) {
        twenty.shown.append({n, QChar(), QChar(u'a'), n});
        twentyLine += QByteArray(",%1,,a,000%1").replace("%1", QByteArray::number(n));
    }
    QTest::newRow("a line of 1.1 of five questions") << Entry() << twentyLine + "\r\n" << twenty;
    // Answer letters the bank may hold: upper case, marks that CSV quotes, beyond ASCII, and
    // control characters, which the log leaves out.
    Entry odd = sample(Ending::Quit,
                       {{1, QChar(u'c'), QChar(u'C'), 1, 1},
                        {2, QChar(u'a'), QChar(u','), 2, 2},
                        {3, QChar(u'a'), QChar(u'"'), 3, 3},
                        {4, QChar(u'a'), QChar(0), 4, 4},
                        {5, QChar(u'a'), QChar(u'\n'), 5, 5},
                        {6, QChar(u'a'), QChar(0xe9), 6, 6}},
                       0);
    odd.questions = 6;
    Entry oddParsed = odd;
    oddParsed.shown[3].answer = QChar();
    oddParsed.shown[4].answer = QChar();
    QTest::newRow("odd answer letters")
        << odd
        << QByteArray("2026-12-07T18:04:31,quit,6,15,412,0,verbal,1,c,C,0001,1,2,a,\",\",0002,2,3,"
                      "a,\"\"\"\",0003,3,4,a,,0004,4,5,a,,0005,5,6,a,\xc3\xa9,0006,6\r\n")
        << oddParsed;
    // Lines of Lexamo 1.0 read as Verbal Tests whose checks are not known.
    QTest::newRow("a line of 1.0")
        << Entry() << QByteArray("2026-12-07T18:04:31,time-over,3,15,412,0,5,,a\r\n")
        << sample(Ending::TimeOver, {{5, QChar(), QChar(u'a')}}, 0);
}

void TestResultsLog::lineOfATest()
{
    QFETCH(Entry, entry);
    QFETCH(QByteArray, line);
    QFETCH(Entry, parsed);
    if (entry.when.isValid())
        QCOMPARE(resultslog::line(entry), line);
    const Result<Entry> back = resultslog::parseLine(QString::fromUtf8(line.chopped(2)));
    QVERIFY2(back.ok(), qPrintable(back.error()));
    QVERIFY(back.value() == parsed);
}

void TestResultsLog::headerNamesEveryColumn()
{
    const QByteArray h = resultslog::header();
    QVERIFY(h.startsWith("date,ended,questions,minutes,seconds,correct,kind,record1,chosen1,"
                         "answer1,check1,time1,"));
    QVERIFY(h.endsWith(",record50,chosen50,answer50,check50,time50\r\n"));
    QCOMPARE(h.count(','), 7 + 250 - 1);
    QVERIFY(resultslog::isHeader(QString::fromLatin1(h.chopped(2))));
    QVERIFY(!resultslog::parseLine(QString::fromLatin1(h.chopped(2))).ok());
}

void TestResultsLog::badLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("message");
    const QString t = QStringLiteral("2026-12-07T18:04:31,");
    QTest::newRow("empty") << ""
                           << "it has 1 fields";
    QTest::newRow("cut in a question") << t + "quit,3,15,4,1,12,b,b,40"
                                       << "it has 10 fields";
    QTest::newRow("date") << "2026-13-07T18:04:31,quit,3,15,4,0,5,,a"
                          << "the date \"2026-13-07T18:04:31\" is not a date";
    QTest::newRow("ending") << t + "done,3,15,4,0,5,,a"
                            << "the ending \"done\" is not complete, time-over or quit";
    QTest::newRow("questions") << t + "quit,51,15,4,0,5,,a"
                               << "questions \"51\" is not a number from 1 to 50";
    QTest::newRow("minutes") << t + "quit,3,x,4,0,5,,a"
                             << "minutes \"x\" is not a number";
    QTest::newRow("negative seconds") << t + "quit,3,15,-4,0,5,,a"
                                      << "seconds \"-4\"";
    QTest::newRow("record number") << t + "quit,3,15,4,0,0,,a"
                                   << "the record number of question 1, \"0\", is not";
    QTest::newRow("chosen letter") << t + "quit,3,15,4,0,5,f,a"
                                   << "the letter chosen for question 1, \"f\", is not a to e";
    QTest::newRow("answer letter")
        << t + "quit,3,15,4,0,5,a,ab"
        << "the answer letter of question 1, \"ab\", is more than one character";
    QTest::newRow("open quote") << t + "quit,3,15,4,0,5,a,\"a"
                                << "a quoted field is not closed";
    QTest::newRow("text after a quote") << t + "quit,3,15,4,0,5,a,\"a\"b"
                                        << "a quoted field is not closed or has text after";
    QTest::newRow("too many questions") << t + "quit,1,15,4,0,5,,a,6,,a"
                                        << "it lists 2 questions for a quit test of 1";
    QTest::newRow("no question") << t + "quit,3,15,4,0"
                                 << "it lists no question";
    QTest::newRow("complete but short") << t + "complete,2,15,4,0,5,b,a"
                                        << "it lists 1 question for a complete test of 2";
    QTest::newRow("score edited") << t + "quit,3,15,4,3,5,a,a,6,b,a"
                                  << "its score 3 does not match the 1 right answers it lists";
    QTest::newRow("cut in a question of today") << t + "quit,3,15,4,1,verbal,12,b,b"
                                                << "it has 10 fields: 7, then 4 for every";
    QTest::newRow("check") << t + "quit,3,15,4,1,practice,12,b,b,12g4"
                           << "the check of question 1, \"12g4\", is not four hex digits";
}

void TestResultsLog::badLines()
{
    QFETCH(QString, line);
    QFETCH(QString, message);
    const Result<Entry> parsed = resultslog::parseLine(line);
    QVERIFY(!parsed.ok());
    QVERIFY2(parsed.error().startsWith(message), qPrintable(parsed.error()));
}

void TestResultsLog::appendGrowsTheFile_data()
{
    QTest::addColumn<QByteArray>("before"); // "-" for no file
    QTest::addColumn<QByteArray>("after");
    const QByteArray line =
        resultslog::line(sample(Ending::TimeOver, {{5, QChar(), QChar(u'a')}}, 0));
    const QByteArray today = line.chopped(2);
    const QByteArray h = resultslog::header();
    QTest::newRow("new file") << QByteArray("-") << h + line;
    QTest::newRow("empty file") << QByteArray() << h + line;
    QTest::newRow("after a line") << h + line << h + line + line;
    QTest::newRow("after a line ended by LF") << h + today + "\n" << h + today + "\n" + line;
    QTest::newRow("after a line ended by CR alone")
        << h + today + "\r" << h + today + "\r\n" + line;
    QTest::newRow("after a line cut short") << h + "A,B" << h + "A,B\r\n" + h + line;
    // The lines of Lexamo 1.0 stay as they are; today's header names the columns below them.
    const QByteArray h1 =
        "date,ended,questions,minutes,seconds,correct,record1,chosen1,answer1\r\n";
    const QByteArray old = h1 + "2026-12-07T18:04:31,time-over,3,15,412,0,5,,a\r\n";
    QTest::newRow("after lines of 1.0") << old << old + h + line;
    QTest::newRow("after 1.0's header alone") << h1 << h1 + h + line;
    // And so do those of Lexamo 1.1, which keep no times.
    QByteArray h2 = "date,ended,questions,minutes,seconds,correct,kind";
    for (int n = 1; n <= 50; ++n)
        h2 += QByteArray(",recordN,chosenN,answerN,checkN").replace('N', QByteArray::number(n));
    const QByteArray lines11 = h2 + "\r\n2026-12-07T18:04:31,quit,3,15,412,1,practice,12,b,b,00f0,"
                                    "40,,c,0009\r\n";
    QTest::newRow("after lines of 1.1") << lines11 << lines11 + h + line;
}

void TestResultsLog::appendGrowsTheFile()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    if (before != "-")
        write(before);
    const Result<void> added = resultslog::append(
        path(), resultslog::line(sample(Ending::TimeOver, {{5, QChar(), QChar(u'a')}}, 0)));
    QVERIFY2(added.ok(), qPrintable(added.error()));
    QCOMPARE(read(), after);
}

void TestResultsLog::appendRefusesWhatIsNotAFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("folder") << "folder"
                            << "Is a directory";
    QTest::newRow("pipe without a reader") << "fifo"
                                           << "it is a pipe (FIFO)";
    QTest::newRow("device") << "device"
                            << "it is a device";
    QTest::newRow("missing folder") << "missing"
                                    << "No such file or directory";
}

void TestResultsLog::appendRefusesWhatIsNotAFile()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QString where = path();
    const QByteArray name = QFile::encodeName(where);
    if (kind == "folder")
        QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("results.csv")));
    else if (kind == "fifo")
        QCOMPARE(mkfifo(name.constData(), 0600), 0);
    else if (kind == "device") // a private null device: writes to it would vanish
        QCOMPARE(mknod(name.constData(), S_IFCHR | 0600, makedev(1, 3)), 0);
    else
        where = dir->filePath(QStringLiteral("gone/results.csv"));
    const Result<void> added = resultslog::append(where, "L\r\n");
    QVERIFY(!added.ok());
    QCOMPARE(added.error(),
             QStringLiteral("Cannot add the test to \"%1\": %2.").arg(where, reason));
}

void TestResultsLog::fullDiskLeavesNoPieceOfALine()
{
    const QByteArray before =
        resultslog::header() +
        resultslog::line(sample(Ending::TimeOver, {{5, QChar(), QChar(u'a')}}, 0));
    write(before);
    const QByteArray line = QByteArray(400, 'x') + "\r\n";
    const Result<void> added = [&] {
        const FileSizeLimit limit(before.size() + 100);
        return resultslog::append(path(), line);
    }();
    QCOMPARE(added.error(),
             QStringLiteral("Cannot add the test to \"%1\": File too large.").arg(path()));
    QCOMPARE(read(), before);
    QVERIFY(resultslog::append(path(), line).ok());
    QCOMPARE(read(), before + line);
}

QTEST_GUILESS_MAIN(TestResultsLog)
#include "tst_resultslog.moc"
