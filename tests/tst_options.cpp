#include "options/NumberRules.h"
#include "options/OptionsFile.h"
#include "support/FileSizeLimit.h"
#include "support/ReadOnlyFolder.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <cmath>
#include <memory>

using optionsfile::Lines;
using optionsfile::Values;

class TestOptions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { beginTest(env); }
    void cleanup() { env.reset(); }

    void conversion_data();
    void conversion();
    void rounding_data();
    void rounding();
    void startUp_data();
    void startUp();
    void startUpNeverRewritesAFileWithContent();
    void readerFallsBackToFifteen_data();
    void readerFallsBackToFifteen();
    void dialogLinesAreRawText();
    void saveWritesTextsAsTyped();
    void saveInAFolderThatCannotBeWritten();
    void failedSaveKeepsTheOldFile();

private:
    std::unique_ptr<TestEnvironment> env;
};

void TestOptions::conversion_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("number");
    QTest::newRow("plain") << QByteArray("20") << 20.0;
    QTest::newRow("spaces around") << QByteArray(" 12 ") << 12.0;
    QTest::newRow("spaces, tabs, LF inside") << QByteArray("1 \t2\n") << 12.0;
    QTest::newRow("hex") << QByteArray("&H0A") << 10.0;
    QTest::newRow("hex lower") << QByteArray("&h10") << 16.0;
    QTest::newRow("octal") << QByteArray("&O17") << 15.0;
    QTest::newRow("octal stops at 8") << QByteArray("&o178") << 15.0;
    QTest::newRow("ampersand alone") << QByteArray("&") << 0.0;
    QTest::newRow("exponent e") << QByteArray("1e2") << 100.0;
    QTest::newRow("exponent D") << QByteArray("1D2") << 100.0;
    QTest::newRow("exponent with sign") << QByteArray("25E-1") << 2.5;
    QTest::newRow("exponent without digits") << QByteArray("3e") << 3.0;
    QTest::newRow("decimal") << QByteArray("2.5") << 2.5;
    QTest::newRow("second point stops") << QByteArray("1.5.7") << 1.5;
    QTest::newRow("leading point") << QByteArray(".5") << 0.5;
    QTest::newRow("trailing text") << QByteArray("7x") << 7.0;
    QTest::newRow("comma stops") << QByteArray("3,5") << 3.0;
    QTest::newRow("letters") << QByteArray("abc") << 0.0;
    QTest::newRow("lone minus") << QByteArray("-") << 0.0;
    QTest::newRow("negative") << QByteArray("-4") << -4.0;
    QTest::newRow("plus") << QByteArray("+4") << 4.0;
    QTest::newRow("empty") << QByteArray("") << 0.0;
    QTest::newRow("huge exponent") << QByteArray("1e999") << qInf();
    QTest::newRow("tiny exponent") << QByteArray("-1e-999") << -0.0;
    // The value decides, not the exponent's sign.
    QTest::newRow("huge, negative exponent") << "1" + QByteArray(320, '0') + "e-1" << qInf();
    QTest::newRow("tiny, no exponent") << "0." + QByteArray(400, '0') + "1" << 0.0;
    QTest::newRow("tiny, positive exponent") << "0." + QByteArray(400, '0') + "1e5" << 0.0;
    QTest::newRow("huge exponent past any count") << QByteArray("1e99999999999999999999") << qInf();
}

void TestOptions::conversion()
{
    QFETCH(QByteArray, text);
    QFETCH(double, number);
    QCOMPARE(numberrules::convert(text), number);
}

void TestOptions::rounding_data()
{
    QTest::addColumn<double>("number");
    QTest::addColumn<int>("rounded"); // -99999: outside the 16-bit range
    QTest::newRow("2.5 to even") << 2.5 << 2;
    QTest::newRow("3.5 to even") << 3.5 << 4;
    QTest::newRow("0.5 to even") << 0.5 << 0;
    QTest::newRow("1.5 to even") << 1.5 << 2;
    QTest::newRow("-2.5 to even") << -2.5 << -2;
    QTest::newRow("0.6 up") << 0.6 << 1;
    QTest::newRow("2.4 down") << 2.4 << 2;
    QTest::newRow("largest") << 32767.0 << 32767;
    QTest::newRow("smallest") << -32768.0 << -32768;
    QTest::newRow("above range") << 32767.5 << -99999;
    QTest::newRow("far above") << 9e9 << -99999;
    QTest::newRow("infinite") << qInf() << -99999;
    QTest::newRow("not a number") << qQNaN() << -99999;
}

void TestOptions::rounding()
{
    QFETCH(double, number);
    QFETCH(int, rounded);
    const std::optional<qint16> result = numberrules::roundToInt16(number);
    if (rounded == -99999)
        QVERIFY(!result);
    else
        QCOMPARE(result, std::optional<qint16>(rounded));
}

void TestOptions::startUp_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("numques");
    QTest::addColumn<int>("testmins");
    QTest::addColumn<QByteArray>("after");
    const QByteArray defaults("15\r\n15\r\n");
    QTest::newRow("missing") << false << QByteArray() << 15 << 15 << defaults;
    QTest::newRow("empty") << true << QByteArray() << 15 << 15 << defaults;
    QTest::newRow("20 and 30") << true << QByteArray("20\r\n30\r\n") << 20 << 30
                               << QByteArray("20\r\n30\r\n");
    QTest::newRow("halves") << true << QByteArray("2.5\r\n3.5\r\n") << 2 << 4
                            << QByteArray("2.5\r\n3.5\r\n");
    QTest::newRow("spaces and hex")
        << true << QByteArray(" 12 \r\n&H0A\r\n") << 12 << 10 << QByteArray(" 12 \r\n&H0A\r\n");
    QTest::newRow("no final line end")
        << true << QByteArray("20\r\n30") << 20 << 30 << QByteArray("20\r\n30");
    QTest::newRow("CR alone") << true << QByteArray("20\r30\r") << 20 << 30
                              << QByteArray("20\r30\r");
    // A file edited by hand with Unix line ends.
    QTest::newRow("LF alone") << true << QByteArray("20\n30\n") << 20 << 30
                              << QByteArray("20\n30\n");
    QTest::newRow("LF, then CR LF")
        << true << QByteArray("20\n30\r\n") << 20 << 30 << QByteArray("20\n30\r\n");
    QTest::newRow("empty line, LF")
        << true << QByteArray("\n30\n") << 0 << 30 << QByteArray("\n30\n");
    QTest::newRow("third line ignored")
        << true << QByteArray("5\r\n6\r\n7\r\n") << 5 << 6 << QByteArray("5\r\n6\r\n7\r\n");
}

void TestOptions::startUp()
{
    QFETCH(bool, present);
    QFETCH(QByteArray, content);
    QFETCH(int, numques);
    QFETCH(int, testmins);
    QFETCH(QByteArray, after);
    if (present)
        env->write(QStringLiteral("options"), content);
    const Values values = optionsfile::ensureAndRead();
    QCOMPARE(values.numques, numques);
    QCOMPARE(values.testmins, testmins);
    QCOMPARE(env->read(QStringLiteral("options")), after);
}

void TestOptions::startUpNeverRewritesAFileWithContent()
{
    env->write(QStringLiteral("options"), "abc");
    const Values values = optionsfile::ensureAndRead();
    QCOMPARE(values.numques, 0);
    QCOMPARE(values.testmins, 15); // no second line
    QCOMPARE(env->read(QStringLiteral("options")), QByteArray("abc"));
}

void TestOptions::readerFallsBackToFifteen_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("numques");
    QTest::addColumn<int>("testmins");
    QTest::newRow("deleted after start-up") << false << QByteArray() << 15 << 15;
    QTest::newRow("one line") << true << QByteArray("20\r\n") << 20 << 15;
    QTest::newRow("empty second line") << true << QByteArray("20\r\n\r\n") << 20 << 0;
    QTest::newRow("out of range") << true << QByteArray("9e9\r\n-40000\r\n") << 15 << 15;
    QTest::newRow("huge and tiny by value")
        << true << "1" + QByteArray(320, '0') + "e-1\r\n0." + QByteArray(400, '0') + "1\r\n"
        << 15 << 0;
    QTest::newRow("binary") << true << QByteArray("\x00\xff\x01", 3) << 0 << 15;
}

void TestOptions::readerFallsBackToFifteen()
{
    QFETCH(bool, present);
    QFETCH(QByteArray, content);
    QFETCH(int, numques);
    QFETCH(int, testmins);
    if (present)
        env->write(QStringLiteral("options"), content);
    const Values values = optionsfile::read();
    QCOMPARE(values.numques, numques);
    QCOMPARE(values.testmins, testmins);
    QCOMPARE(env->exists(QStringLiteral("options")), present);
}

void TestOptions::dialogLinesAreRawText()
{
    env->write(QStringLiteral("options"), "1000\r\n7x\r\n");
    const Lines lines = optionsfile::loadLines();
    QCOMPARE(lines.questions, QStringLiteral("1000"));
    QCOMPARE(lines.minutes, QStringLiteral("7x"));
}

void TestOptions::saveWritesTextsAsTyped()
{
    QVERIFY(optionsfile::saveLines({QStringLiteral("1e2"), QStringLiteral(" 5")}).ok());
    QCOMPARE(env->read(QStringLiteral("options")), QByteArray("1e2\r\n 5\r\n"));
    QCOMPARE(optionsfile::read().numques, 100);
}

void TestOptions::saveInAFolderThatCannotBeWritten()
{
    env->write(QStringLiteral("options"), "15\r\n15\r\n");
    ReadOnlyFolder folder(env->dir.path());
    if (!folder.active())
        QSKIP("the folder cannot be made read-only here");
    // No new file can be made beside the options file; the file itself can be written.
    QVERIFY(!QFile(env->path(QStringLiteral("probe"))).open(QIODevice::WriteOnly));
    const Result<void> saved = optionsfile::saveLines({QStringLiteral("20"), QStringLiteral("30")});
    QVERIFY2(saved.ok(), qPrintable(saved.error()));
    QCOMPARE(env->read(QStringLiteral("options")), QByteArray("20\r\n30\r\n"));
    QCOMPARE(QDir(env->dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("options")});
}

void TestOptions::failedSaveKeepsTheOldFile()
{
    // A folder in the file's place: nothing can replace it, and the caller learns why.
    QVERIFY(QDir(env->dir.path()).mkdir(QStringLiteral("options")));
    QString error = optionsfile::saveLines({QStringLiteral("20"), QStringLiteral("30")}).error();
    QVERIFY(!error.isEmpty());
    QVERIFY2(error.contains(QStringLiteral("\"options\"")), qPrintable(error));
    QVERIFY(QFileInfo(env->path(QStringLiteral("options"))).isDir());

    // A full disk, made by a file size limit: the message names the reason.
    QVERIFY(QDir(env->dir.path()).rmdir(QStringLiteral("options")));
    env->write(QStringLiteral("options"), "15\r\n15\r\n");
    {
        const FileSizeLimit limit(4);
        error = optionsfile::saveLines({QStringLiteral("20"), QStringLiteral("30")}).error();
    }
    // The one wording of a failed save, as the options dialog shows it.
    QCOMPARE(error, QStringLiteral("Cannot write \"options\": File too large."));
    QCOMPARE(env->read(QStringLiteral("options")), QByteArray("15\r\n15\r\n"));
}

QTEST_GUILESS_MAIN(TestOptions)
#include "tst_options.moc"
