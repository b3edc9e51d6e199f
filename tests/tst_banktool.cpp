#include "bankio/BankCheck.h"
#include "bankio/BankTool.h"
#include "questionfiles/BankFiles.h"
#include "questionfiles/CsvFormat.h"
#include "questionfiles/MoodleXmlFormat.h"
#include "questionfiles/RecordRules.h"

#include "bank/BankFile.h"
#include "bank/BankNotes.h"
#include "bank/Cp1252.h"
#include "bank/QuestionRecord.h"
#include "base/Words.h"
#include "support/FileSizeLimit.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <memory>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

struct Question {
    QString text;
    QStringList choices;
    QString answer;
};

QuestionRecord record(const Question& q)
{
    QuestionRecord r;
    r.setQuestion(q.text);
    for (int i = 0; i < QuestionRecord::kChoiceCount; ++i)
        r.setChoice(i, q.choices.value(i));
    r.setAnswer(q.answer);
    return r;
}

QByteArray bankOf(const QList<Question>& questions)
{
    QByteArray bytes;
    for (const Question& q : questions)
        bytes += record(q).toBytes();
    return bytes;
}

QByteArray utf8(const QString& text)
{
    return text.toUtf8();
}

// The two questions every import test reads, in whichever format.
const QList<Question> kPair = {
    {QStringLiteral("Pick the synonym, \"quick\": FAST"),
     {QStringLiteral("slow"), QStringLiteral("rapid"), QStringLiteral("late"),
      QStringLiteral("dull"), QStringLiteral("calm")},
     QStringLiteral("b")},
    {QStringLiteral(u"Caf\u00e9 {menu}\r\ncosts 5 \u20ac: =~#"),
     {QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three"), QStringLiteral("four"),
      QStringLiteral("a, b")},
     QStringLiteral("e")},
};

// Lines, a question, commas, quotes, backslashes, GIFT's marks, Windows-1252 beyond ASCII,
// texts filling their fields exactly and a line break at the very end.
const QList<Question> kAwkward = {
    {QStringLiteral(u"Line one\r\nline two, \"quoted\"\r\n\u00e9\u20ac\u0153 back\\slash ::t:: "
                    u"{x} ~y =z #w"),
     {QStringLiteral("a,b"), QStringLiteral("\"c\""), QStringLiteral("d\r\ne"),
      QStringLiteral("\\n is not a break"), QString(75, u'x')},
     QStringLiteral("c")},
    {QString(198, u'q') + QStringLiteral("\r\n"),
     {QStringLiteral("//not a comment"), QStringLiteral("$CATEGORY: no"),
      QStringLiteral("ANSWER: A"), QStringLiteral("E. five"),
      QStringLiteral(u"\u2122 \u00a0 tab\there")},
     QStringLiteral("a")},
};

} // namespace

Q_DECLARE_METATYPE(Question)

class TestBankTool : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { env = std::make_unique<TestEnvironment>(); }
    void cleanup() { env.reset(); }

    void importsEachFormat_data();
    void importsEachFormat();
    void formatFromEndingOrOption();
    void badInputWritesNoBank_data();
    void badInputWritesNoBank();
    void mixedFilesImportWhatFits_data();
    void mixedFilesImportWhatFits();
    void brokenFileNamesEveryProblem_data();
    void brokenFileNamesEveryProblem();
    void failedImportKeepsTheOldBank();
    void cutFitsLongTexts();
    void appendAddsAfterTheLastRecord();
    void neverMoreThan32767Records();
    void roundTrip_data();
    void roundTrip();
    void aikenExport();
    void exportNeedsAnAnswerWhereTheFormatMarksIt();
    void checkFindsEveryProblem();
    void checkReportsRecordsPastTheLast();
    void listShowsNumberAnswerAndFirstLine();
    void wrongUsage_data();
    void wrongUsage();
    void failedWriteLeavesNothing();
    void appendExtendsTheSameFile();
    void failedAppendLeavesTheBankAsItWas();
    void appendKeepsRecordsInTheirPlaces_data();
    void appendKeepsRecordsInTheirPlaces();
    void outputThatIsAnInputIsRefused_data();
    void outputThatIsAnInputIsRefused();
    void onlyRegularFilesAreReadOrWritten_data();
    void onlyRegularFilesAreReadOrWritten();
    void noQuestionFoundWritesNothing_data();
    void noQuestionFoundWritesNothing();
    void hugeInputIsRefusedUnread();
    void parsingStopsPastABanksLimit();
    void exportCarriesOrRefuses_data();
    void exportCarriesOrRefuses();
    void cutLeavesNoBlankAtTheEnd();
    void exportRefusesABankTooLargeToImport();
    void notesRoundTrip_data();
    void notesRoundTrip();
    void checkAndListFollowTheNotes();
    void notesThatCannotBeWrittenAreSaid();
    void moodleXmlLeavesOutWhatABankCannotHold_data();
    void moodleXmlLeavesOutWhatABankCannotHold();
    void moodleXmlImportKeepsTheQuestionsABankHolds();
    void moodleXmlRoundTrip();
    void moodleXmlReadsALongTextWhole();

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
        return QDir(env->dir.path()).entryList(QDir::Files | QDir::Hidden);
    }

    std::unique_ptr<TestEnvironment> env;
    QString out;
    QString err;
};

void TestBankTool::importsEachFormat_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("csv") << "q.csv"
                         << utf8(
                                QStringLiteral(u"\ufeffQuestion,A,B,C,D,E,Answer\r\n"
                                               u"\"Pick the synonym, \"\"quick\"\": FAST\",slow,"
                                               u"rapid,late,dull,calm,B\r\n"
                                               u"\r\n"
                                               u"\"Caf\u00e9 {menu}\ncosts 5 \u20ac: =~#\",one,two,"
                                               u"three,four,\"a, b\", e ,\r\n"));
    QTest::newRow("aiken") << "q.txt"
                           << utf8(QStringLiteral("Pick the synonym, \"quick\": FAST\n"
                                                  "A. slow\nB) rapid\nC. late\nD. dull\nE) calm\n"
                                                  "ANSWER: B\n\n\n"));
    QTest::newRow("gift") << "q.gift"
                          << utf8(QStringLiteral(
                                 u"// two questions\n"
                                 u"::S1:: Pick the synonym,\n  \"quick\"\\: FAST {\n"
                                 u"  ~slow #too slow\n  =rapid\n// a comment inside\n"
                                 u"  ~late ~dull ~calm\n}\n\n"
                                 u"Caf\u00e9 \\{menu\\}\\ncosts 5 \u20ac\\: \\=\\~\\# "
                                 u"{~one ~two ~three ~four =a, b}\n"));
}

void TestBankTool::importsEachFormat()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    env->write(name, content);
    QCOMPARE(tool({"import", name, "-o", "bank.zep"}), banktool::Done);
    const QList<Question> expected = name.endsWith(QLatin1String(".txt")) ? kPair.mid(0, 1) : kPair;
    QCOMPARE(env->read("bank.zep"), bankOf(expected));
    // "1 question", never "1 questions".
    const QString written = expected.size() == 1
                                ? QStringLiteral("1 question written")
                                : QStringLiteral("%1 questions written").arg(expected.size());
    QVERIFY2(out.contains(written), qPrintable(out));
}

void TestBankTool::formatFromEndingOrOption()
{
    env->write("one.dat", "Q\nA. a\nB. b\nC. c\nD. d\nE. e\nANSWER: d\n");
    env->write("two.gift", "Q2 {~a ~b ~c ~d =e}");
    QCOMPARE(tool({"import", "one.dat", "-o", "bank.zep"}), banktool::Failed);
    QVERIFY2(err.contains("one.dat: the format cannot be told"), qPrintable(err));
    QCOMPARE(tool({"import", "one.dat", "--format", "aiken", "-o", "bank.zep"}), banktool::Done);
    QCOMPARE(env->read("bank.zep").at(575), 'd');
    // --format applies to every file.
    QCOMPARE(tool({"import", "one.dat", "two.gift", "--format=aiken", "-o", "bank.zep"}),
             banktool::Failed);
    QVERIFY2(err.startsWith("two.gift:1: "), qPrintable(err));
}

void TestBankTool::badInputWritesNoBank_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("broken"); // the file's syntax is broken: refused even without --strict
    const QByteArray head = "question,a,b,c,d,e,answer\n";
    const QByteArray good = "Q,a,b,c,d,e,a\n";
    QTest::newRow("missing column") << "q.csv" << head + good + "Q,a,b,c,d,e\n"
                                    << "q.csv:3: the column \"answer\" is missing" << false;
    QTest::newRow("answer F") << "q.csv" << head + "Q,a,b,c,d,e,F\n"
                              << "q.csv:2: the answer \"F\" is not one of A to E" << false;
    QTest::newRow("no answer") << "q.csv" << head + "Q,a,b,c,d,e,\n"
                               << "q.csv:2: the answer \"\" is not one of A to E" << false;
    QTest::newRow("question 201")
        << "q.csv" << head + QByteArray(201, 'q') + ",a,b,c,d,e,a\n"
        << "q.csv:2: the question is 201 characters; a bank question holds 200" << false;
    QTest::newRow("line break counts two")
        << "q.csv" << head + '"' + QByteArray(198, 'q') + "\nq\",a,b,c,d,e,a\n"
        << "q.csv:2: the question is 201 characters" << false;
    QTest::newRow("choice 76")
        << "q.csv" << head + "Q,a," + QByteArray(76, 'b') + ",c,d,e,a\n"
        << "q.csv:2: choice B is 76 characters; a bank question's choice holds 75" << false;
    QTest::newRow("not Windows-1252")
        << "q.csv" << head + good + utf8(QStringLiteral(u"Q,a,b,c,\u4e2d,e,a\n"))
        << QStringLiteral(u"q.csv:3: choice D holds \"\u4e2d\" (U+4E2D)") << false;
    QTest::newRow("beyond the BMP")
        << "q.csv" << head + utf8(QStringLiteral(u"Q \U0001F600,a,b,c,d,e,a\n"))
        << "(U+1F600), a character Windows-1252 cannot hold" << false;
    QTest::newRow("unterminated quote")
        << "q.csv" << head + good + "\"Q,a,b,c,d,e,a\n" + good
        << "q.csv:3: a quoted field is never closed (unterminated quote)" << true;
    QTest::newRow("text after quote") << "q.csv" << head + "\"Q\"x,a,b,c,d,e,a\n"
                                      << "q.csv:2: text follows the closing quote" << true;
    QTest::newRow("no header") << "q.csv" << good << "q.csv:1: the first row must be the header"
                               << true;
    QTest::newRow("eight columns") << "q.csv" << head + "Q,a,b,c,d,e,a,x\n"
                                   << "q.csv:2: 8 columns, 7 expected" << false;
    QTest::newRow("empty choice") << "q.csv" << head + "Q,a,b,  ,d,e,a\n"
                                  << "q.csv:2: choice C is empty" << false;
    QTest::newRow("not UTF-8") << "q.csv" << head + good + "Q,\xe9,b,c,d,e,a\n"
                               << "q.csv:3: the text is not UTF-8" << true;
    QTest::newRow("aiken answer too soon")
        << "q.txt" << QByteArray("Q\nA. a\nB. b\nC. c\nANSWER: A\n")
        << "q.txt:1: 3 choices; a bank question has five" << false;
    QTest::newRow("aiken out of order")
        << "q.txt" << QByteArray("Q\nA. a\nC. c\n")
        << "q.txt:3: choice B (\"B. text\" or \"B) text\") expected" << true;
    QTest::newRow("aiken no answer line")
        << "q.txt" << QByteArray("Q\nA. a\nB. b\nC. c\nD. d\nE. e\n\n")
        << "q.txt:6: the file ends where choice F (\"F. text\" or \"F) text\") or a line "
           "\"ANSWER: X\" belongs"
        << true;
    QTest::newRow("aiken answer F")
        << "q.txt" << QByteArray("Q\nA. a\nB. b\nC. c\nD. d\nE. e\nANSWER: F")
        << "q.txt:7: the answer \"F\" is not one of A to E" << false;
    QTest::newRow("gift two right")
        << "q.gift" << QByteArray("\n\nQ {\n=a =b ~c ~d ~e }")
        << "q.gift:3: 2 right answers; a bank question has one" << false;
    QTest::newRow("gift four answers") << "q.gift" << QByteArray("Q {=a ~b ~c ~d}")
                                       << "q.gift:1: 4 choices; a bank question has five" << false;
    QTest::newRow("gift no answers") << "q.gift" << QByteArray("Q one\n\nQ {=a ~b ~c ~d ~e}")
                                     << "q.gift:1: a description (text with no answers)" << false;
    QTest::newRow("gift never closed") << "q.gift" << QByteArray("Q {=a ~b\n~c ~d ~e\n")
                                       << "q.gift:1: the { opened here is never closed" << true;
    QTest::newRow("gift true-false")
        << "q.gift" << QByteArray("//c\nQ {\nTRUE}") << "q.gift:2: a true/false question" << false;
    QTest::newRow("gift weights") << "q.gift" << QByteArray("Q {=a ~b\n~%50%c ~d ~e}")
                                  << "q.gift:2: an answer weighted %50%: partial credit" << false;
    QTest::newRow("gift title open") << "q.gift" << QByteArray("::T Q {=a ~b ~c ~d ~e}")
                                     << "q.gift:1: the title's closing :: is missing" << true;
    QTest::newRow("gift choice too long")
        << "q.gift"
        << "Q {=a ~b\n~c ~d\n~" + QByteArray(76, 'e') + "}"
        << "q.gift:3: choice E is 76 characters; a bank question's choice holds 75" << false;
    QTest::newRow("missing file") << "absent.csv" << QByteArray() << "absent.csv: cannot be read"
                                  << true;
    QTest::newRow("zero character") << "q.csv" << head + QByteArray("Q,a,b\0x,c,d,e,a\n", 17)
                                    << "q.csv:2: column 6: the control character U+0000 is not "
                                       "allowed"
                                    << true;
    QTest::newRow("form feed") << "q.txt" << QByteArray("Q\nA. a\nB. b\fb\n")
                               << "q.txt:3: column 5: the control character U+000C" << true;
    QTest::newRow("C1 control") << "q.gift" << utf8(QStringLiteral(u"Q {=a ~b ~c ~d ~\u0081}"))
                                << "q.gift:1: column 17: the control character U+0081" << true;
    QTest::newRow("lone CR in a text")
        << "q.gift" << QByteArray("\nQ {=a ~b\r~c ~d ~e}\n")
        << "q.gift:2: column 9: a carriage return (CR) with no line feed after it" << true;
    QTest::newRow("byte order mark in a text")
        << "q.csv"
        << utf8(QStringLiteral(u"\ufeffquestion,a,b,c,d,e,answer\nQ\ufeff,a,b,c,d,e,a\n"))
        << "q.csv:2: the question holds the invisible character U+FEFF, a character "
           "Windows-1252 cannot hold"
        << false;
    QTest::newRow("UTF-16") << "q.csv" << QByteArray("\xff\xfeq\0u\0e\0")
                            << "q.csv:1: the text is UTF-16" << true;
    const QByteArray noted = "question,a,b,c,d,e,answer,kind,explanation\n";
    QTest::newRow("explanation missing") << "q.csv" << noted + "Q,a,b,c,d,e,a,k\n"
                                         << "q.csv:2: the column \"explanation\" is missing (8 "
                                            "of 9 columns)"
                                         << false;
    QString laughs =
        QStringLiteral("<?xml version=\"1.0\"?>\n<!DOCTYPE quiz [\n<!ENTITY l0 \"ha\">\n");
    for (int i = 1; i <= 9; ++i)
        laughs += QStringLiteral("<!ENTITY l%1 \"%2\">\n")
                      .arg(i)
                      .arg(QStringLiteral("&l%1;").arg(i - 1).repeated(10));
    laughs += QStringLiteral("]>\n<quiz><question type=\"multichoice\"><questiontext><text>&l9;"
                             "</text></questiontext></question></quiz>\n");
    QTest::newRow("moodle billion laughs")
        << "q.xml" << utf8(laughs)
        << "q.xml:2: a DOCTYPE declaration, which a Moodle XML file does not have" << true;
    QTest::newRow("moodle external entity")
        << "q.xml"
        << QByteArray("<!DOCTYPE quiz [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>\n<quiz>\n"
                      "<question type=\"multichoice\"><questiontext><text>&x;</text>"
                      "</questiontext></question></quiz>")
        << "q.xml:1: a DOCTYPE declaration" << true;
    QTest::newRow("moodle entity after the quiz")
        << "q.xml" << QByteArray("<quiz/>\n<!DOCTYPE quiz [<!ENTITY x \"y\">]>")
        << "q.xml:2: a DOCTYPE declaration" << true;
    QTest::newRow("moodle HTML entity")
        << "q.xml"
        << QByteArray("<quiz>\n<question type=\"multichoice\">\n<questiontext>"
                      "<text>a&nbsp;b</text>")
        << "q.xml:3: the XML is not well formed: Entity 'nbsp' not declared." << true;
    QTest::newRow("moodle tags astray")
        << "q.xml"
        << QByteArray("<quiz>\n<question type=\"multichoice\">\n<questiontext>"
                      "<text>Q</questiontext>\n</question>\n</quiz>\n")
        << "q.xml:3: the XML is not well formed: Opening and ending tag mismatch." << true;
    QTest::newRow("moodle root")
        << "q.xml" << QByteArray("<?xml version=\"1.0\"?>\n<!-- an exam -->\n<exam/>\n")
        << "q.xml:3: the root element is <exam>; a Moodle XML file's is <quiz>" << true;
    QTest::newRow("gift explanation 1001")
        << "q.gift"
        << "Q {=a ~b ~c ~d ~e\n####" + QByteArray(1001, 'x') + "}"
        << "q.gift:2: the explanation is 1001 characters; an explanation holds 1000" << false;
}

void TestBankTool::badInputWritesNoBank()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    QFETCH(bool, broken);
    if (name != QLatin1String("absent.csv"))
        env->write(name, content);
    env->write("first.csv", "question,a,b,c,d,e,answer\nQ,a,b,c,d,e,a\n");
    // A question a bank cannot hold is left out and named, and the others are written; a broken
    // file, or --strict, refuses the whole import, and a good file before the bad one changes
    // nothing.
    if (!broken) {
        QCOMPARE(tool({"import", "first.csv", name, "-o", "bank.zep"}), banktool::SomeLeftOut);
        const QString leftOut = QString(message).replace(
            QRegularExpression(QStringLiteral("^([^:]+:\\d+: )")), QStringLiteral("\\1left out: "));
        QVERIFY2(err.contains(leftOut), qPrintable(err));
        QVERIFY2(out.endsWith(" imported, 1 left out.\n"), qPrintable(out));
        QCOMPARE(env->read("bank.zep").left(QuestionRecord::kSize),
                 bankOf({{"Q", {"a", "b", "c", "d", "e"}, "a"}}));
        QFile::remove(env->path("bank.zep"));
        QFile::remove(env->path("bank.notes.csv"));
    }
    const QStringList strict = broken ? QStringList() : QStringList{"--strict"};
    QCOMPARE(tool(QStringList{"import", "first.csv", name, "-o", "bank.zep"} + strict),
             banktool::Failed);
    QVERIFY2(err.contains(message), qPrintable(err));
    QVERIFY2(!err.contains("left out"), qPrintable(err));
    QVERIFY2(err.contains("No bank written."), qPrintable(err));
    QVERIFY(!env->exists("bank.zep"));
    QCOMPARE(files().size(), name == QLatin1String("absent.csv") ? 1 : 2); // no temporary file
}

void TestBankTool::mixedFilesImportWhatFits_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QList<Question>>("imported");
    QTest::addColumn<QStringList>("leftOut");
    // GIFT as learning platforms export it, in a .txt file: HTML with entities, weights, the
    // missing-word form, and every kind of question a bank cannot hold.
    QTest::newRow("gift in .txt")
        << "q.txt"
        << QByteArray("// exported\n$CATEGORY: $course$/top/antonym\n\n"
                      "::A1:: [html]<p>Most <b>unlike</b> &quot;ample&quot;:</p><p>pick one</p> {\n"
                      "=%100%scant #right\n~%0%broad ~vast\n~rich&amp;full ~wide\n"
                      "####<p>Ample is plenty;<br>scant is barely enough.</p>\n}\n\n"
                      "::TF:: The sun is a star. {TRUE}\n\n"
                      "::SA:: Two and two? {=four =4}\n\n"
                      "A cat is {~a fish =an animal ~a stone ~a cloud ~a song}.\n\n"
                      "::Four:: Q {=a ~b ~c ~d}\n\n"
                      "::Part:: Q {=a ~%50%b ~c ~d ~e}\n\n"
                      "::Two:: Q {=a =b ~c ~d ~e}\n\n"
                      "::Match:: Pair them {=a -> 1 =b -> 2 =c -> 3}\n\n"
                      "::Essay:: Write. {}\n\n"
                      "Only words.\n\n"
                      "::Num:: How many? {#4:1}\n\n"
                      "$CATEGORY: $course$/top/Default for Verbal Reasoning Practice 2026\n\n"
                      "::K:: Kinds go {=a ~b ~c ~d ~e}\n")
        << QList<Question>{{"Most unlike \"ample\":\r\npick one",
                            {"scant", "broad", "vast", "rich&full", "wide"},
                            "a"},
                           {"A cat is _____.",
                            {"a fish", "an animal", "a stone", "a cloud", "a song"},
                            "b"},
                           {"Kinds go", {"a", "b", "c", "d", "e"}, "a"}}
        << QStringList{"q.txt:11: left out: a true/false question",
                       "q.txt:13: left out: a short-answer question",
                       "q.txt:17: left out: 4 choices; a bank question has five",
                       "q.txt:19: left out: an answer weighted %50%: partial credit, which a "
                       "bank question cannot hold",
                       "q.txt:21: left out: 2 right answers; a bank question has one",
                       "q.txt:23: left out: a matching question",
                       "q.txt:25: left out: an essay question",
                       "q.txt:27: left out: a description (text with no answers)",
                       "q.txt:29: left out: a numerical question"};
    QTest::newRow("aiken")
        << "q.txt"
        << QByteArray("Which word means glad?\n\nA. sad\nB. happy\n\nC. tired\nD. angry\nE. late\n"
                      "ANSWER: B\n\nFour\nA. a\nB. b\nC. c\nD. d\nANSWER: A\n\n"
                      "Six\nA. a\nB. b\nC. c\nD. d\nE. e\nF. f\nANSWER: A\n\n"
                      "Long " +
                      QByteArray(200, 'q') + "\nA. a\nB. b\nC. c\nD. d\nE. e\nANSWER: A\n")
        << QList<Question>{{"Which word means glad?",
                            {"sad", "happy", "tired", "angry", "late"},
                            "b"}}
        << QStringList{"q.txt:11: left out: 4 choices; a bank question has five",
                       "q.txt:24: left out: a sixth choice, F; a bank question has five, A to E",
                       "q.txt:27: left out: the question is 205 characters; a bank question "
                       "holds 200"};
}

// The questions a bank can hold are written, with their kinds and explanations; every other one
// is named with its line and what it is, and the run says how many of each.
void TestBankTool::mixedFilesImportWhatFits()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QList<Question>, imported);
    QFETCH(QStringList, leftOut);
    env->write(name, content);
    QCOMPARE(tool({"import", name, "-o", "bank.zep"}), banktool::SomeLeftOut);
    QCOMPARE(err.split('\n', Qt::SkipEmptyParts), leftOut);
    QVERIFY2(out.endsWith(QStringLiteral("%1 imported, %2 left out.\n")
                              .arg(counted(imported.size(), QLatin1StringView("question")))
                              .arg(leftOut.size())),
             qPrintable(out));
    QCOMPARE(env->read("bank.zep"), bankOf(imported));
    if (name == QLatin1String("q.txt") && content.startsWith("//")) {
        // A kind too long to keep, as a learning platform's default category may be, is left
        // off, and its questions kept.
        QVERIFY2(out.startsWith("q.txt:31: the kind is 42 characters; a kind holds 40: its "
                                "questions are imported without a kind\n"),
                 qPrintable(out));
        const QByteArray notes = env->read("bank.notes.csv");
        QVERIFY2(notes.contains(",antonym,\"Ample is plenty;\nscant is barely enough.\"\r\n"),
                 notes.constData());
    }
}

void TestBankTool::brokenFileNamesEveryProblem_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("problems");
    QTest::newRow("gift") << "q.gift"
                          << QByteArray("Q1 } {=a ~b ~c ~d ~e}\n\nQ2 {=a ~b ~c ~d ~e}\n\n"
                                        "Q3 {a ~b ~c ~d ~e}\n\nQ4 {T}\n\nQ5 {=a ~b\n")
                          << QStringList{"q.gift:1: a } that no { opened",
                                         "q.gift:5: an answer must begin with = (the right "
                                         "one) or ~ (a wrong one)",
                                         "q.gift:9: the { opened here is never closed"};
    QTest::newRow("aiken") << "q.txt"
                           << QByteArray("Q1\nA. a\nC. c\nANSWER: A\n\nQ2\nA. a\nB. b\nC. c\nD. "
                                         "d\nE. e\nANSWER: B\n\nQ3\nB. b\n")
                           << QStringList{"q.txt:3: choice B (\"B. text\" or \"B) text\") "
                                          "expected, or a line \"ANSWER: X\"",
                                          "q.txt:15: choice A (\"A. text\" or \"A) text\") "
                                          "expected"};
}

// A file whose syntax is broken is refused whole, every problem named, not only the first.
void TestBankTool::brokenFileNamesEveryProblem()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QStringList, problems);
    env->write(name, content);
    QCOMPARE(tool({"import", name, "-o", "bank.zep"}), banktool::Failed);
    QCOMPARE(err.split('\n', Qt::SkipEmptyParts), problems << "No bank written.");
    QVERIFY(!env->exists("bank.zep"));
}

void TestBankTool::failedImportKeepsTheOldBank()
{
    const QByteArray old = bankOf(kPair);
    env->write("bank.zep", old);
    env->write("bad.csv", "question,a,b,c,d,e,answer\nQ,a,b,c,d,e,x\n");
    QCOMPARE(tool({"import", "bad.csv", "-o", "bank.zep"}), banktool::Failed);
    QCOMPARE(env->read("bank.zep"), old);
    QCOMPARE(tool({"import", "bad.csv", "-o", "bank.zep", "--append"}), banktool::Failed);
    QCOMPARE(env->read("bank.zep"), old);
}

void TestBankTool::cutFitsLongTexts()
{
    const QByteArray q = '"' + QByteArray(199, 'q') + "\nrest\"";
    env->write("long.csv", "question,a,b,c,d,e,answer\n" + q + "," + QByteArray(80, 'a') +
                               ",b,c,d,e,c\n" + q.left(200) + "\",a,b,c,d,e,a\n");
    QCOMPARE(tool({"import", "long.csv", "-o", "bank.zep", "--cut"}), banktool::Done);
    // Each text cut is listed; so is a question that stands twice only because it was cut.
    QVERIFY2(out.startsWith("long.csv:2: the question cut from 205 characters to 199: \"qqq"),
             qPrintable(out));
    QVERIFY2(out.contains("long.csv:2: choice A cut from 80 characters to 75: \"aaaaa"),
             qPrintable(out));
    QVERIFY2(out.contains("long.csv:4: the question is the same as that of line 2 once cut\n"),
             qPrintable(out));
    const QByteArray bank = env->read("bank.zep");
    // The line break would be cut in two: its CR goes too, and a space fills its place.
    QCOMPARE(bank.left(200), QByteArray(199, 'q') + ' ');
    QCOMPARE(bank.mid(200, 75), QByteArray(75, 'a'));
    QCOMPARE(bank.at(575), 'c');
}

void TestBankTool::appendAddsAfterTheLastRecord()
{
    env->write("a.csv", "question,a,b,c,d,e,answer\nQ1,a,b,c,d,e,a\n");
    env->write("b.gift", "Q2 {~a =b ~c ~d ~e}\n\nQ3 {~a ~b ~c ~d =e}");
    QCOMPARE(tool({"import", "--append", "a.csv", "-o", "bank.zep"}), banktool::Done);
    QCOMPARE(env->read("bank.zep").size(), 576); // a missing bank is started
    QCOMPARE(tool({"import", "b.gift", "-o", "bank.zep", "--append"}), banktool::Done);
    QVERIFY2(out.contains("2 questions written to bank.zep (3 records in all)"), qPrintable(out));
    const QStringList letters = {"a", "b", "e"};
    QList<Question> expected;
    for (int i = 0; i < 3; ++i)
        expected.append({QStringLiteral("Q%1").arg(i + 1), {"a", "b", "c", "d", "e"}, letters[i]});
    QCOMPARE(env->read("bank.zep"), bankOf(expected));

    // Records added after a partial piece would be out of step with their numbers.
    env->write("bank.zep", bankOf(expected) + "tail");
    QCOMPARE(tool({"import", "b.gift", "-o", "bank.zep", "--append"}), banktool::Failed);
    QVERIFY2(err.contains("a piece of 4 bytes"), qPrintable(err));
    QCOMPARE(env->read("bank.zep").size(), 3 * 576 + 4);
}

void TestBankTool::neverMoreThan32767Records()
{
    QByteArray csv = "question,a,b,c,d,e,answer\n";
    for (int i = 1; i <= 32767; ++i)
        csv += "Q" + QByteArray::number(i) + ",a,b,c,d,e,a\n";
    env->write("full.csv", csv);
    env->write("more.csv", csv + "Q32768,a,b,c,d,e,a\n");
    env->write("one.gift", "\nOne more {=a ~b ~c ~d ~e}");

    QCOMPARE(tool({"import", "more.csv", "-o", "bank.zep"}), banktool::Failed);
    QVERIFY2(err.contains("more.csv:32769: this question would be record 32768"), qPrintable(err));
    QVERIFY(!env->exists("bank.zep"));

    QCOMPARE(tool({"import", "full.csv", "-o", "bank.zep"}), banktool::Done);
    QCOMPARE(env->read("bank.zep").size(), 32767 * 576);
    QCOMPARE(tool({"import", "one.gift", "-o", "bank.zep", "--append"}), banktool::Failed);
    QVERIFY2(err.contains("one.gift:2: this question would be record 32768"), qPrintable(err));
    QCOMPARE(env->read("bank.zep").size(), 32767 * 576);
}

void TestBankTool::roundTrip_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("sample");
    for (const char* format : {"csv", "gift"}) {
        QTest::addRow("sample bank, %s", format) << format << true;
        QTest::addRow("awkward texts, %s", format) << format << false;
    }
    // A text that ends in a line break is one Moodle XML cannot carry.
    QTest::addRow("sample bank, xml") << "xml" << true;
}

void TestBankTool::roundTrip()
{
    QFETCH(QString, format);
    QFETCH(bool, sample);
    if (sample) {
        const QString source = QStringLiteral(LEXAMO_DATA_DIR "/questions.csv");
        QCOMPARE(tool({"import", source, "-o", "bank.zep"}), banktool::Done);
        QCOMPARE(env->read("bank.zep").size(), 600 * 576);
    } else {
        env->write("bank.zep", bankOf(kAwkward));
    }
    const QByteArray bank = env->read("bank.zep");
    QCOMPARE(tool({"check", "bank.zep"}), banktool::Done);
    const QString file = "exported." + format;
    QCOMPARE(tool({"export", "bank.zep", "-o", file}), banktool::Done);
    QCOMPARE(tool({"import", file, "-o", "again.zep"}), banktool::Done);
    QCOMPARE(env->read("again.zep"), bank);
}

void TestBankTool::aikenExport()
{
    env->write("bank.zep", bankOf(kPair));
    QCOMPARE(tool({"export", "bank.zep", "-o", "out.txt"}), banktool::Failed);
    QVERIFY2(err.contains("bank.zep: record 2: the question has a line break"), qPrintable(err));
    QVERIFY(!env->exists("out.txt"));
    QCOMPARE(tool({"export", "bank.zep", "-o", "out.aiken", "--format", "aiken", "--flatten"}),
             banktool::Done);
    QCOMPARE(QString::fromUtf8(env->read("out.aiken")),
             QStringLiteral(u"Pick the synonym, \"quick\": FAST\nA. slow\nB. rapid\nC. late\n"
                            u"D. dull\nE. calm\nANSWER: B\n\n"
                            u"Caf\u00e9 {menu} costs 5 \u20ac: =~#\nA. one\nB. two\nC. three\n"
                            u"D. four\nE. a, b\nANSWER: E\n\n"));
}

void TestBankTool::exportNeedsAnAnswerWhereTheFormatMarksIt()
{
    QuestionRecord noAnswer = record(kPair.first());
    noAnswer.setAnswer(QString(QChar(0)));
    env->write("bank.zep", bankOf(kPair.mid(0, 1)) + noAnswer.toBytes());
    for (const char* file : {"out.gift", "out.txt"}) {
        QCOMPARE(tool({"export", "bank.zep", "-o", file}), banktool::Failed);
        QVERIFY2(err.contains("bank.zep: record 2: the answer is not a letter a to e"),
                 qPrintable(err));
        QVERIFY(!env->exists(file));
    }
    // CSV keeps such a record, so that it can be mended in a spreadsheet.
    QCOMPARE(tool({"export", "bank.zep", "-o", "out.csv"}), banktool::Done);
    QVERIFY(env->read("out.csv").endsWith("slow,rapid,late,dull,calm,\r\n"));
}

void TestBankTool::checkFindsEveryProblem()
{
    QList<QuestionRecord> records;
    records.append(record({"What is it?", {"a", "b", "c", "d", "e"}, "a"}));
    records.append(record({"Upper-case answer", {"a", "b", "c", "d", "e"}, "A"}));
    records.append(record({"Gaps", {"a", "b", "   ", "d", "e"}, "b"}));
    records.last().setAnswer(QString(QChar(0)));
    records.append(QuestionRecord()); // a record skipped by the editor: all zero bytes
    records.append(record({"  WHAT \r\n is  IT? ", {"a", "b", "c", "d", "e"}, "c"}));
    records.append(record({QString(QChar(0)) + "hidden", {"a", "b", "c", "d", "e"}, "\x01"}));
    QByteArray bytes;
    for (const QuestionRecord& r : records)
        bytes += r.toBytes();
    env->write("broken.zep", bytes + QByteArray(100, 'x'));

    QCOMPARE(tool({"check", "broken.zep"}), banktool::Failed);
    const QStringList expected = {
        "record 2: the answer is \"A\", not a letter a to e",
        "record 3: the answer is a zero byte, not a letter a to e",
        "record 3: choice C is empty",
        "record 4: the answer is a zero byte, not a letter a to e",
        "record 4: the question is empty",
        "record 4: choice A is empty",
        "record 4: choice B is empty",
        "record 4: choice C is empty",
        "record 4: choice D is empty",
        "record 4: choice E is empty",
        "record 5: the same question as record 1",
        "record 6: the answer is the byte 0x01, not a letter a to e",
        "record 6: the question is empty",
        "after record 6: a piece of 100 bytes, shorter than a record",
        "broken.zep: 6 records, 14 problems found.",
    };
    QCOMPARE(out.split('\n', Qt::SkipEmptyParts), expected);

    env->write("sound.zep", bankOf(kPair));
    QCOMPARE(tool({"check", "sound.zep"}), banktool::Done);
    QCOMPARE(out, QStringLiteral("sound.zep: 2 records, no problems found.\n"));
    QCOMPARE(tool({"check", "absent.zep"}), banktool::Failed);
    QVERIFY(!env->exists("absent.zep")); // checking never creates a bank
}

void TestBankTool::checkReportsRecordsPastTheLast()
{
    QList<QuestionRecord> records;
    for (int i = 1; i <= 32769; ++i)
        records.append(record({QStringLiteral("Q%1").arg(i), {"a", "b", "c", "d", "e"}, "a"}));
    QCOMPARE(
        bankcheck::findings(records, 0),
        QStringList{"records 32768 to 32769 lie past record 32767, the last Lexamo can reach"});
}

void TestBankTool::listShowsNumberAnswerAndFirstLine()
{
    env->write("bank.zep", bankOf(kPair) + QuestionRecord().toBytes());
    QCOMPARE(tool({"list", "bank.zep"}), banktool::Done);
    QCOMPARE(out, QStringLiteral(u"    1  b  Pick the synonym, \"quick\": FAST\n"
                                 u"    2  e  Caf\u00e9 {menu}\n"
                                 u"    3  -  \n"));
}

void TestBankTool::wrongUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("nothing") << QStringList{} << "no command given";
    QTest::newRow("unknown command") << QStringList{"merge", "a"} << "unknown command \"merge\"";
    QTest::newRow("import without -o") << QStringList{"import", "a.csv"} << "import needs -o";
    QTest::newRow("import without files")
        << QStringList{"import", "-o", "b.zep"} << "import takes files";
    QTest::newRow("export with --cut")
        << QStringList{"export", "b.zep", "-o", "x.csv", "--cut"} << "export does not take --cut";
    QTest::newRow("list two banks")
        << QStringList{"list", "a.zep", "b.zep"} << "list takes one bank";
    QTest::newRow("check with -o")
        << QStringList{"check", "a.zep", "-o", "x"} << "check does not take -o";
    QTest::newRow("bad format") << QStringList{"import", "a", "-o", "b", "--format", "docx"}
                                << "--format is csv, aiken, gift or moodle";
    QTest::newRow("unknown option") << QStringList{"list", "a.zep", "--fast"} << "fast";
}

void TestBankTool::wrongUsage()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QCOMPARE(tool(arguments), banktool::WrongUsage);
    QVERIFY2(err.contains(message), qPrintable(err));
    QVERIFY(files().isEmpty());
}

void TestBankTool::failedWriteLeavesNothing()
{
    env->write("bank.zep", bankOf(kPair));
    QVERIFY(QDir(env->dir.path()).mkdir("folder.zep"));
    QCOMPARE(tool({"export", "bank.zep", "-o", "folder.zep", "--format", "csv"}), banktool::Failed);
    QVERIFY2(err.startsWith("folder.zep is a folder, not a regular file"), qPrintable(err));

    // A disk that fills up half-way: the file size limit makes every write past it fail.
    QByteArray csv = "question,a,b,c,d,e,answer\n";
    for (int i = 0; i < 200; ++i)
        csv += "Q" + QByteArray::number(i) + ",a,b,c,d,e,a\n";
    env->write("many.csv", csv);
    const int status = [&] {
        const FileSizeLimit limit(50000);
        return tool({"import", "many.csv", "-o", "bank.zep"});
    }();
    QCOMPARE(status, banktool::Failed);
    QVERIFY2(err.contains("Cannot write \"bank.zep\": File too large."), qPrintable(err));
    QCOMPARE(env->read("bank.zep"), bankOf(kPair));
    QCOMPARE(files(), (QStringList{"bank.zep", "many.csv"}));
}

void TestBankTool::appendExtendsTheSameFile()
{
    env->write("bank.zep", bankOf(kPair));
    env->write("more.gift", "Q3 {~a ~b =c ~d ~e}");
    struct stat before {};
    QCOMPARE(::stat("bank.zep", &before), 0);
    BankFile open; // Lexamo's editor holding the bank open meanwhile
    QVERIFY(open.open("bank.zep").ok());
    QCOMPARE(tool({"import", "more.gift", "-o", "bank.zep", "--append"}), banktool::Done);
    struct stat after {};
    QCOMPARE(::stat("bank.zep", &after), 0);
    QCOMPARE(after.st_ino, before.st_ino);
    QCOMPARE(open.recordCount(), 3);
    QCOMPARE(open.read(3).value().answer(), QStringLiteral("c"));
    // What the open handle saves afterwards lands in the bank, not in a file nobody sees.
    QVERIFY(open.write(4, record(kPair.first())).ok());
    QCOMPARE(env->read("bank.zep").size(), 4 * 576);
}

void TestBankTool::failedAppendLeavesTheBankAsItWas()
{
    const QByteArray old = bankOf(kPair);
    env->write("bank.zep", old);
    QByteArray csv = "question,a,b,c,d,e,answer\n";
    for (int i = 0; i < 20; ++i)
        csv += "Q" + QByteArray::number(i) + ",a,b,c,d,e,a\n";
    env->write("many.csv", csv);
    const int status = [&] {
        const FileSizeLimit limit(old.size() + 3000); // room for five records and a piece
        return tool({"import", "many.csv", "-o", "bank.zep", "--append"});
    }();
    QCOMPARE(status, banktool::Failed);
    QVERIFY2(err.contains("Cannot write \"bank.zep\": File too large. The bank is as it was."),
             qPrintable(err));
    QCOMPARE(env->read("bank.zep"), old);
}

// The command line refuses a bank that ends in a piece shorter than a record, or that has no room
// left, before it reads its inputs; another program may still write such a piece or such records
// before --append takes the lock. The append then counts the whole records under the lock, as
// the editor's does: the piece is written over, and a bank past its last number refused.
void TestBankTool::appendKeepsRecordsInTheirPlaces_data()
{
    QTest::addColumn<int>("whole");        // the records of the bank before
    QTest::addColumn<QByteArray>("piece"); // after them
    QTest::addColumn<int>("added");
    QTest::addColumn<QString>("refusal"); // empty when the records are added
    QTest::newRow("piece written over") << 2 << QByteArray("tail") << 3 << QString();
    QTest::newRow("piece where the last record goes")
        << 32766 << QByteArray(575, 'p') << 1 << QString();
    QTest::newRow("full bank and a piece") << 32767 << QByteArray(10, 'p') << 2
                                           << "it holds 32769 records, and a bank holds at most "
                                              "32767";
}

void TestBankTool::appendKeepsRecordsInTheirPlaces()
{
    QFETCH(int, whole);
    QFETCH(QByteArray, piece);
    QFETCH(int, added);
    QFETCH(QString, refusal);
    const QByteArray old = record(kPair.first()).toBytes().repeated(whole);
    env->write("bank.zep", old + piece);
    const QList<QuestionRecord> records(added, record(kPair.last()));
    const Result<bankfiles::Written> total = bankfiles::appendRecords("bank.zep", {records, {}});
    if (!refusal.isEmpty()) {
        QCOMPARE(total.error(), "Cannot write \"bank.zep\": " + refusal + '.');
        QCOMPARE(env->read("bank.zep"), old + piece);
        return;
    }
    QVERIFY2(total.ok(), qPrintable(total.error()));
    QCOMPARE(total.value().total, whole + added);
    QCOMPARE(env->read("bank.zep"), old + record(kPair.last()).toBytes().repeated(added));
}

void TestBankTool::outputThatIsAnInputIsRefused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("import onto its input")
        << QStringList{"import", "q.csv", "-o", "q.csv", "--format", "csv"}
        << "q.csv and q.csv are the same file";
    QTest::newRow("import onto a later input by another path")
        << QStringList{"import", "first.gift", "q.csv", "-o", "./sub/../q.csv", "--format", "csv"}
        << "./sub/../q.csv and q.csv are the same file";
    QTest::newRow("import onto a hard link of its input")
        << QStringList{"import", "q.csv", "-o", "link.zep"} << "link.zep and q.csv are the same";
    QTest::newRow("export onto its bank")
        << QStringList{"export", "bank.zep", "-o", "bank.zep", "--format", "csv"}
        << "bank.zep and bank.zep are the same file";
    QTest::newRow("export onto a link of its bank")
        << QStringList{"export", "bank.zep", "-o", "symlink.csv"}
        << "symlink.csv and bank.zep are the same file";
}

void TestBankTool::outputThatIsAnInputIsRefused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const QByteArray csv = "question,a,b,c,d,e,answer\nQ,a,b,c,d,e,a\n";
    env->write("q.csv", csv);
    env->write("first.gift", "Q {=a ~b ~c ~d ~e}");
    env->write("bank.zep", bankOf(kPair));
    QVERIFY(QDir().mkdir("sub"));
    QVERIFY(QFile::link("bank.zep", "symlink.csv"));
    QCOMPARE(::link("q.csv", "link.zep"), 0);
    QCOMPARE(tool(arguments), banktool::Failed);
    QVERIFY2(err.contains(message), qPrintable(err));
    QCOMPARE(env->read("q.csv"), csv);
    QCOMPARE(env->read("bank.zep"), bankOf(kPair));
}

void TestBankTool::onlyRegularFilesAreReadOrWritten_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("import onto a device") << QStringList{"import", "q.csv", "-o", "device"}
                                          << "device is a device, not a regular file";
    QTest::newRow("import onto a pipe") << QStringList{"import", "q.csv", "-o", "pipe"}
                                        << "pipe is a pipe (FIFO), not a regular file";
    QTest::newRow("export onto a device")
        << QStringList{"export", "bank.zep", "-o", "device", "--format", "gift"}
        << "device is a device, not a regular file";
    QTest::newRow("import from a pipe")
        << QStringList{"import", "pipe", "-o", "new.zep", "--format", "csv"}
        << "pipe: cannot be read: it is a pipe (FIFO), and only regular files are read";
    QTest::newRow("import from a folder")
        << QStringList{"import", "folder", "-o", "new.zep", "--format", "csv"}
        << "folder: cannot be read: it is a folder";
    QTest::newRow("export from a pipe")
        << QStringList{"export", "pipe", "-o", "new.csv"}
        << "Cannot read the question bank \"pipe\": it is a pipe (FIFO)";
    QTest::newRow("check a device")
        << QStringList{"check", "device"} << "\"device\": it is a device";
}

void TestBankTool::onlyRegularFilesAreReadOrWritten()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    env->write("q.csv", "question,a,b,c,d,e,answer\nQ,a,b,c,d,e,a\n");
    env->write("bank.zep", bankOf(kPair));
    QVERIFY(QDir().mkdir("folder"));
    QCOMPARE(::mkfifo("pipe", 0600), 0);
    // A private node with the numbers of a null device: nothing may replace it.
    QCOMPARE(::mknod("device", S_IFCHR | 0600, makedev(1, 3)), 0);
    QCOMPARE(tool(arguments), banktool::Failed);
    QVERIFY2(err.contains(message), qPrintable(err));
    struct stat info {};
    QVERIFY(::stat("device", &info) == 0 && S_ISCHR(info.st_mode));
    QVERIFY(::stat("pipe", &info) == 0 && S_ISFIFO(info.st_mode));
    QVERIFY(!env->exists("new.zep") && !env->exists("new.csv"));
}

void TestBankTool::noQuestionFoundWritesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    QTest::newRow("gift with CR line ends")
        << "q.gift" << QByteArray("// questions\rQ {=a ~b ~c ~d ~e}\r")
        << "q.gift:1: the lines end with CR alone; lines must end with LF or CR LF";
    QTest::newRow("aiken with CR line ends")
        << "q.txt" << QByteArray("Q\rA. a\rB. b\rC. c\rD. d\rE. e\rANSWER: A\r")
        << "q.txt:1: the lines end with CR alone";
    QTest::newRow("empty gift") << "q.gift" << QByteArray()
                                << "q.gift: no question found: the "
                                   "file is empty";
    QTest::newRow("header only") << "q.csv" << QByteArray("question,a,b,c,d,e,answer\r\n")
                                 << "q.csv: no question found: the file holds the header row";
    QTest::newRow("gift comments only") << "q.gift" << QByteArray("// one\n\n// two\n")
                                        << "q.gift: no question found: every line of the file "
                                           "is a comment";
    QTest::newRow("moodle true/false only")
        << "q.xml" << QByteArray("<quiz><question type=\"truefalse\"/></quiz>")
        << "q.xml:1: left out: a true/false question\nNo question could be imported";
    QTest::newRow("aiken blank lines")
        << "q.txt" << QByteArray("\n \n\t\n") << "q.txt: no question found: the file is empty";
}

void TestBankTool::noQuestionFoundWritesNothing()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    env->write(name, content);
    env->write("bank.zep", bankOf(kPair));
    for (const QString& append : {QString(), QStringLiteral("--append")}) {
        QStringList arguments = {"import", name, "-o", "bank.zep"};
        if (!append.isEmpty())
            arguments.append(append);
        QCOMPARE(tool(arguments), banktool::Failed);
        QVERIFY2(err.startsWith(message), qPrintable(err));
        QVERIFY2(err.contains("No bank written."), qPrintable(err));
        QCOMPARE(env->read("bank.zep"), bankOf(kPair));
    }
}

void TestBankTool::hugeInputIsRefusedUnread()
{
    // A sparse file: large to the tool, yet it takes no room on the disk.
    QFile huge(env->path("huge.csv"));
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(Q_INT64_C(4) << 30));
    huge.close();
    QCOMPARE(tool({"import", "huge.csv", "-o", "bank.zep"}), banktool::Failed);
    QVERIFY2(err.startsWith("huge.csv: 4294967296 bytes, more than the questions of a full bank "
                            "could take up"),
             qPrintable(err));
    QVERIFY(!env->exists("bank.zep"));
}

void TestBankTool::parsingStopsPastABanksLimit()
{
    QString csv = QStringLiteral("question,a,b,c,d,e,answer\n");
    for (int i = 1; i <= 40000; ++i)
        csv += QStringLiteral("Q%1,a,b,c,d,e,a\n").arg(i);
    const ParsedQuestions parsed = csvformat::parse(csv);
    QVERIFY(parsed.ok());
    QCOMPARE(parsed.value().questions.size(), 32768);
    QCOMPARE(parsed.value().questions.last().question.line, 32769);
}

void TestBankTool::exportCarriesOrRefuses_data()
{
    QTest::addColumn<int>("field"); // 0 the question, 1 to 5 choice A to E
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("finding");      // what check says; empty when it passes the bank
    QTest::addColumn<QStringList>("refusing"); // the formats whose export refuses the record
    const QString nul(QChar(0));
    const QStringList trimming = {"txt", "gift", "xml"};
    QTest::newRow("zero padding") << 1 << "abc" + nul + nul << "choice A ends in zero bytes"
                                  << QStringList{};
    QTest::newRow("zero inside") << 2 << "ab" + nul + "c"
                                 << "choice B holds a zero byte at character 3" << QStringList{};
    QTest::newRow("lone LF") << 0 << "one\ntwo"
                             << "the question holds a lone LF at character 4" << QStringList{};
    QTest::newRow("lone CR") << 0 << "one\rtwo"
                             << "the question holds a lone CR at character 4" << QStringList{};
    QTest::newRow("control") << 3 << "a\x1b"
                             << "choice C holds the control character U+001B" << QStringList{};
    QTest::newRow("leading spaces") << 2 << "  two" << QString() << trimming;
    QTest::newRow("trailing tab") << 3 << "three\t" << QString() << trimming;
    QTest::newRow("only a tab") << 4 << "\t" << QString() << trimming;
    QTest::newRow("no-break space at the end")
        << 0 << QStringLiteral(u"Q\u00a0") << QString() << trimming;
    QTest::newRow("weight-like choice") << 5 << "%50% sure" << QString() << QStringList{"gift"};
    QTest::newRow("tab and line break inside")
        << 0 << "a\tb\r\n c" << QString() << QStringList{"txt"};
}

void TestBankTool::exportCarriesOrRefuses()
{
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QString, finding);
    QFETCH(QStringList, refusing);
    QuestionRecord r = record({"Second", {"a", "b", "c", "d", "e"}, "c"});
    r.setField(static_cast<QuestionRecord::Field>(field), text);
    env->write("bank.zep", bankOf(kPair.mid(0, 1)) + r.toBytes());
    const int checked = tool({"check", "bank.zep"});
    if (!finding.isEmpty()) {
        QCOMPARE(checked, banktool::Failed);
        QVERIFY2(out.startsWith("record 2: " + finding), qPrintable(out));
        // The export still writes CSV, and says that a text changes on the way.
        QCOMPARE(tool({"export", "bank.zep", "-o", "out.csv"}), banktool::Done);
        QVERIFY2(err.startsWith("bank.zep: 1 text holds zero bytes, control characters or lone "
                                "line breaks"),
                 qPrintable(err));
        return;
    }
    QCOMPARE(checked, banktool::Done);
    for (const QString format : {"csv", "txt", "gift", "xml"}) {
        const int exported = tool({"export", "bank.zep", "-o", "out." + format});
        if (refusing.contains(format)) {
            QCOMPARE(exported, banktool::Failed);
            QVERIFY2(
                err.startsWith("bank.zep: record 2: " +
                               recordrules::fieldName(static_cast<QuestionRecord::Field>(field))),
                qPrintable(err));
            continue;
        }
        QCOMPARE(exported, banktool::Done);
        QCOMPARE(tool({"import", "out." + format, "-o", "again.zep"}), banktool::Done);
        QCOMPARE(env->read("again.zep"), env->read("bank.zep"));
    }
}

void TestBankTool::cutLeavesNoBlankAtTheEnd()
{
    env->write("long.csv",
               "question,a,b,c,d,e,answer\nQ," + QByteArray(73, 'a') + " \tbb,b,c,d,e,a\n");
    QCOMPARE(tool({"import", "long.csv", "-o", "bank.zep", "--cut"}), banktool::Done);
    QCOMPARE(env->read("bank.zep").mid(200, 75), QByteArray(73, 'a') + "  ");
    QCOMPARE(tool({"export", "bank.zep", "-o", "out.gift"}), banktool::Done);
}

void TestBankTool::exportRefusesABankTooLargeToImport()
{
    QFile bank(env->path("big.zep"));
    QVERIFY(bank.open(QIODevice::WriteOnly) && bank.resize(40000 * 576));
    bank.close();
    QCOMPARE(tool({"export", "big.zep", "-o", "big.csv"}), banktool::Failed);
    QVERIFY2(err.startsWith("big.zep holds 40000 records, more than the 32767 a bank can hold: the "
                            "exported file could not be imported again"),
             qPrintable(err));
    QVERIFY(!env->exists("big.csv"));
    QCOMPARE(tool({"check", "big.zep"}), banktool::Failed);
    QVERIFY2(out.contains("records 32768 to 40000 lie past record 32767"), qPrintable(out));
    QVERIFY2(out.contains("\nbig.zep: 40000 records, "), qPrintable(out.right(80)));
}

void TestBankTool::notesRoundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("explanations");
    const QString first = QStringLiteral(u"Fast is \"quick\"; slow, its opposite.");
    const QString last = QStringLiteral(u"Not Windows-1252: \u4e2d \U0001F600 \u2014 {=~#}::");
    QTest::newRow("csv") << "q.csv"
                         << utf8(QStringLiteral(u"question,a,b,c,d,e,answer,kind,explanation\r\n"
                                                u"Q1,a,b,c,d,e,b,synonym,\"Fast is \"\"quick\"\"; "
                                                u"slow,\r\nits opposite.\"\r\n"
                                                u"Q2,a,b,c,d,e,a,,\r\n"
                                                u"Q3,a,b,c,d,e,c,word in context,Not Windows-1252: "
                                                u"\u4e2d \U0001F600 \u2014 {=~#}::\r\n"))
                         << QStringList{QString(first).replace(", ", ",\r\n"), {}, last};
    QTest::newRow("gift") << "q.gift"
                          << utf8(QStringLiteral(u"$CATEGORY: synonym\n\n"
                                                 u"::Q1:: Q1 {\n~a\n=b\n~c\n~d\n~e\n"
                                                 u"####Fast is \"quick\"; slow,\\nits opposite.\n"
                                                 u"}\n\n$CATEGORY:\n\n"
                                                 u"::Q2:: Q2 {\n=a\n~b\n~c\n~d\n~e\n}\n\n"
                                                 u"$CATEGORY: word in context\n\n"
                                                 u"::Q3:: Q3 {\n~a\n~b\n=c\n~d\n~e\n"
                                                 u"####Not Windows-1252: \u4e2d \U0001F600 \u2014 "
                                                 u"\\{\\=\\~\\#\\}\\:\\:\n}\n\n"))
                          << QStringList{QString(first).replace(", ", ",\n"), {}, last};
}

void TestBankTool::notesRoundTrip()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QStringList, explanations);
    env->write(name, content);
    QCOMPARE(tool({"import", name, "-o", "bank.zep"}), banktool::Done);
    const QStringList letters = {"b", "a", "c"};
    const QStringList kinds = {"synonym", "", "word in context"};
    BankNotes expected;
    for (int i = 0; i < 3; ++i) {
        const QuestionRecord r =
            record({QStringLiteral("Q%1").arg(i + 1), {"a", "b", "c", "d", "e"}, letters[i]});
        expected.setNote(i + 1, r, {kinds[i], explanations[i]});
    }
    QCOMPARE(env->read("bank.notes.csv"), expected.toBytes());

    const QString file = "again." + name.section('.', -1);
    QCOMPARE(tool({"export", "bank.zep", "-o", file}), banktool::Done);
    QCOMPARE(err, QString());
    QCOMPARE(env->read(file), content);

    // Aiken holds no notes, and says so once.
    QCOMPARE(tool({"export", "bank.zep", "-o", "out.txt", "--flatten"}), banktool::Done);
    QCOMPARE(err, QStringLiteral("bank.zep: the kinds and explanations of its questions are left "
                                 "out: Aiken holds neither.\n"));
}

void TestBankTool::checkAndListFollowTheNotes()
{
    const QByteArray head = "question,a,b,c,d,e,answer";
    env->write("noted.csv", head + ",kind\nQ1,a,b,c,d,e,a,antonym\nQ2,a,b,c,d,e,a,\n"
                                   "Q3,a,b,c,d,e,a,analogy\n");
    env->write("plain.csv", head + "\nQ1 changed,a,b,c,d,e,a\nQ2,a,b,c,d,e,a\n");
    env->write("more.gift", "$CATEGORY: $course$/top/synonym\n"
                            "Q4 {=a #right ~b #wrong ~c ~d ~e ####Four.}\n");
    QCOMPARE(tool({"import", "noted.csv", "-o", "bank.zep"}), banktool::Done);
    const QByteArray notes = env->read("bank.notes.csv");
    QCOMPARE(tool({"check", "bank.zep"}), banktool::Done);

    // An import without notes leaves the notes file alone; its notes no longer fit the bank.
    QCOMPARE(tool({"import", "plain.csv", "-o", "bank.zep"}), banktool::Done);
    QCOMPARE(env->read("bank.notes.csv"), notes);
    QCOMPARE(tool({"check", "bank.zep"}), banktool::Failed);
    QStringList lines = out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QVERIFY2(lines[0].startsWith("record 1: its note was written for another question (check "),
             qPrintable(out));
    QCOMPARE(lines[1], "record 3: it has a note, but the bank ends at record 2");
    QCOMPARE(lines[2], "bank.zep: 2 records, 2 problems found.");

    // An append gives the new record its note under the bank's lock, in place of the old one.
    QCOMPARE(tool({"import", "more.gift", "-o", "bank.zep", "--append"}), banktool::Done);
    env->write("bank.notes.csv", env->read("bank.notes.csv") + "4,zz,x,y\r\n");
    QCOMPARE(tool({"check", "bank.zep"}), banktool::Failed);
    lines = out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0], "bank.notes.csv:4: \"zz\" is not a check of four hex digits");
    QVERIFY2(lines[1].startsWith("record 1: its note was written for another question"),
             qPrintable(out));
    QCOMPARE(tool({"list", "bank.zep"}), banktool::Done);
    QCOMPARE(out, QStringLiteral("    1  a  -        Q1 changed\n"
                                 "    2  a  -        Q2\n"
                                 "    3  a  synonym  Q4\n"));
    QVERIFY2(err.contains("\"bank.notes.csv\", cannot be read and are left out: line 4"),
             qPrintable(err));
    QCOMPARE(tool({"export", "bank.zep", "-o", "out.gift"}), banktool::Done);
    QVERIFY(env->read("out.gift")
                .endsWith("$CATEGORY: synonym\n\n::Q3:: Q4 {\n=a\n~b\n~c\n~d\n"
                          "~e\n####Four.\n}\n\n"));
}

void TestBankTool::notesThatCannotBeWrittenAreSaid()
{
    const QString explanation(1000, u'x');
    env->write("long.csv", utf8("question,a,b,c,d,e,answer,kind,explanation\nQ1,a,b,c,d,e,a,k," +
                                explanation + "\nQ2,a,b,c,d,e,a,k," + explanation + "\n"));
    const int status = [&] {
        const FileSizeLimit limit(1500); // room for the bank, not for its notes
        return tool({"import", "long.csv", "-o", "bank.zep"});
    }();
    QCOMPARE(status, banktool::Failed);
    QCOMPARE(err, QStringLiteral("Cannot write \"bank.notes.csv\": File too large.\n"
                                 "2 questions written to bank.zep (2 records in all), but without "
                                 "their kinds and explanations.\n"));
    QCOMPARE(env->read("bank.zep").size(), 2 * 576);
    QCOMPARE(files(), (QStringList{"bank.zep", "long.csv"}));
}

namespace {

// A multichoice question of Moodle XML, its answers worth the fractions given.
QString multichoice(const QStringList& fractions, const QString& single = QStringLiteral("true"),
                    const QString& question = QStringLiteral("Q"))
{
    QString xml = QStringLiteral("<question type=\"multichoice\">\n<questiontext "
                                 "format=\"html\"><text>%1</text></questiontext>\n"
                                 "<single>%2</single>\n")
                      .arg(question, single);
    for (qsizetype i = 0; i < fractions.size(); ++i)
        xml += QStringLiteral("<answer fraction=\"%1\"><text>choice %2</text></answer>\n")
                   .arg(fractions.at(i))
                   .arg(i + 1);
    return xml + QStringLiteral("</question>\n");
}

const QStringList kRightFirst = {"100", "0", "0", "0", "0"};

} // namespace

void TestBankTool::moodleXmlLeavesOutWhatABankCannotHold_data()
{
    QTest::addColumn<QString>("question"); // begins on line 12 of the file
    QTest::addColumn<QString>("what");
    const QStringList types = {"truefalse",   "shortanswer", "numerical",  "matching", "essay",
                               "description", "cloze",       "calculated", "ordering"};
    const QStringList whats = {"a true/false question",
                               "a short-answer question",
                               "a numerical question",
                               "a matching question",
                               "an essay question",
                               "a description",
                               "an embedded-answers (cloze) question",
                               "a calculated question",
                               "a question of type \"ordering\""};
    for (qsizetype i = 0; i < types.size(); ++i)
        QTest::addRow("%s", qPrintable(types[i]))
            << QStringLiteral("<question type=\"%1\">\n<questiontext><text>Q</text></questiontext>"
                              "\n</question>\n")
                   .arg(types[i])
            << whats[i];
    QTest::newRow("several right") << multichoice({"50", "50", "0", "0", "-100"}, "false")
                                   << "a multiple-choice question with several right answers";
    QTest::newRow("four choices") << multichoice(kRightFirst.mid(0, 4), "1")
                                  << "4 choices; a bank question has five";
    QTest::newRow("six choices") << multichoice(kRightFirst + QStringList{"0"})
                                 << "6 choices; a bank question has five";
    QTest::newRow("partial credit")
        << multichoice({"100", "0", "50", "0", "0"})
        << "an answer worth 50%: partial credit, which a bank question cannot hold";
    QTest::newRow("penalty") << multichoice({"100", "0", "-33.33333", "0", "0"})
                             << "an answer worth -33.33333%: partial credit";
    QTest::newRow("none right") << multichoice({"0", "0", "0", "0", "0"}) << "no answer is right";
    QTest::newRow("two right") << multichoice({"0", "100", "0", "100.0", "0"})
                               << "2 answers are right; a bank question has one";
    QTest::newRow("picture") << multichoice(kRightFirst, "true",
                                            "&lt;p&gt;Which?&lt;img src=\"x.png\"/&gt;&lt;/p&gt;")
                             << "the question shows a picture, which a bank question cannot";
}

void TestBankTool::moodleXmlLeavesOutWhatABankCannotHold()
{
    QFETCH(QString, question);
    QFETCH(QString, what);
    const QString good = multichoice(kRightFirst, "true", "Good"); // lines 3 to 11
    const ParsedQuestions parsed = moodlexml::parse("<?xml version=\"1.0\"?>\n<quiz>\n" + good +
                                                    question + good + "</quiz>\n");
    QVERIFY(parsed.ok());
    QCOMPARE(parsed.value().questions.size(), 2);
    // The question's text is on the line after its start tag.
    QCOMPARE(parsed.value().questions.at(1).question.line, 12 + question.count(u'\n') + 1);
    QCOMPARE(parsed.value().leftOut.size(), 1);
    QCOMPARE(parsed.value().leftOut.at(0).line, 12);
    QVERIFY2(parsed.value().leftOut.at(0).what.startsWith(what),
             qPrintable(parsed.value().leftOut.at(0).what));
}

void TestBankTool::moodleXmlImportKeepsTheQuestionsABankHolds()
{
    // Between the good questions: four choices, partial credit, several right, a true/false.
    const QString leftOut = multichoice({"100", "0", "0", "0"}) +
                            multichoice({"100", "50", "0", "0", "0"}) +
                            multichoice({"100", "100", "0", "0", "0"}, "false") +
                            R"(<question type="truefalse"><questiontext><text>Yes?</text>
</questiontext></question>
)";
    env->write(
        "q.xml",
        QByteArray(R"(<?xml version="1.0" encoding="UTF-8"?>
<quiz>
<question type="category"><category>
  <text>$course$/top/Verbal/near and far</text>
</category></question>
<question type="multichoice">
<name><text>html</text></name>
<questiontext format="html"><text><![CDATA[<p>Which word is closest to <b>&quot;brief&quot;</b>?</p>
<p>Caf&eacute; &amp; bar<br/>  line two</p>]]></text></questiontext>
<generalfeedback format="html"><text>&lt;p&gt;Brief means &lt;i&gt;short&lt;/i&gt;.&lt;/p&gt;</text>
</generalfeedback>
<defaultgrade>1</defaultgrade><shuffleanswers>1</shuffleanswers>
<answer fraction="0" format="html"><text>long</text><feedback><text>No</text></feedback></answer>
<answer fraction="0" format="html"><text>slow</text></answer>
<answer fraction="100" format="html"><text>&lt;b&gt;short&lt;/b&gt; &amp;amp; sweet</text></answer>
<answer fraction="0"><text>wide</text></answer>
<answer fraction="0"><text>tall</text></answer>
</question>
)") + utf8(leftOut) +
            R"(<question type="category"><category><text>$course$/top</text></category></question>
<question type="multichoice">
<questiontext format="plain_text">
  <text>
    Opposite of &lt;early&gt;? 3 &lt; 5
    &amp; more
  </text>
</questiontext>
<answer fraction="0" format="plain_text"><text>&lt;b&gt;soon&lt;/b&gt;</text></answer>
<answer fraction="100" format="plain_text"><text>late</text></answer>
<answer fraction="0"><text>now</text></answer>
<answer><text>first</text></answer>
<answer fraction="0.0"><text>prompt</text></answer>
</question>
</quiz>
)");
    QCOMPARE(tool({"import", "q.xml", "-o", "bank.zep"}), banktool::SomeLeftOut);
    QCOMPARE(err.split('\n', Qt::SkipEmptyParts),
             QStringList({"q.xml:19: left out: 4 choices; a bank question has five",
                          "q.xml:27: left out: an answer worth 50%: partial credit, which a bank "
                          "question cannot hold",
                          "q.xml:36: left out: a multiple-choice question with several right "
                          "answers",
                          "q.xml:45: left out: a true/false question"}));
    const QList<Question> expected = {
        {QStringLiteral(u"Which word is closest to \"brief\"?\r\nCaf\u00e9 & bar\r\nline two"),
         {"long", "slow", "short & sweet", "wide", "tall"},
         "c"},
        {"Opposite of <early>? 3 < 5\r\n    & more",
         {"<b>soon</b>", "late", "now", "first", "prompt"},
         "b"},
    };
    QCOMPARE(env->read("bank.zep"), bankOf(expected));
    BankNotes notes;
    notes.setNote(1, record(expected.at(0)), {"near and far", "Brief means short."});
    QCOMPARE(env->read("bank.notes.csv"), notes.toBytes());
}

void TestBankTool::moodleXmlRoundTrip()
{
    const QList<Question> questions =
        kPair + kAwkward.mid(0, 1) +
        QList<Question>{{"Is 3 < 5 && 5 > 3? <b>not bold</b> &amp; ]]>",
                         {"<", "&", "\"yes\"", "'no'", QString(75, u'>')},
                         "d"}};
    env->write("bank.zep", bankOf(questions));
    const QList<BankNote> notes = {{"synonym", "Quick and rapid\nmean the same & more."},
                                   {"either/or", "Two\nlines <p>"},
                                   {},
                                   {"either/or", "3 < 5"}};
    BankNotes file;
    for (qsizetype i = 0; i < questions.size(); ++i)
        file.setNote(i + 1, record(questions.at(i)), notes.at(i));
    env->write("bank.notes.csv", file.toBytes());
    QCOMPARE(tool({"export", "bank.zep", "-o", "q.xml"}), banktool::Done);
    QCOMPARE(err, QString());
    QVERIFY(env->read("q.xml").contains("<text>$course$/top/either//or</text>"));
    QCOMPARE(tool({"import", "q.xml", "-o", "again.zep"}), banktool::Done);
    QCOMPARE(env->read("again.zep"), env->read("bank.zep"));
    QCOMPARE(env->read("again.notes.csv"), env->read("bank.notes.csv"));
}

void TestBankTool::moodleXmlReadsALongTextWhole()
{
    // Far longer than the reader takes at a time: characters beyond U+FFFF, two UTF-16 units
    // each, with one of one unit between, so that a cut falls within one of them.
    const QString smile = QStringLiteral(u"\U0001F600");
    const QString text = smile.repeated(150000) + u'a' + smile.repeated(150000);
    const ParsedQuestions parsed = moodlexml::parse(
        "<quiz>\n" +
        multichoice(kRightFirst, "true", "\n" + text + "\n").replace("html", "plain_text") +
        "</quiz>\n");
    QVERIFY(parsed.ok());
    QCOMPARE(parsed.value().questions.size(), 1);
    const ParsedQuestion& q = parsed.value().questions.first();
    QVERIFY(q.question.text == text);
    QCOMPARE(q.choices[4].line, 11);
}

QTEST_GUILESS_MAIN(TestBankTool)
#include "tst_banktool.moc"
