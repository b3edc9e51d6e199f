#include "bank/BankFile.h"
#include "bank/BankNotes.h"
#include "bank/Cp1252.h"
#include "bank/QuestionRecord.h"
#include "bank/TextRules.h"
#include "files/SafeWrite.h"
#include "support/FileSizeLimit.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <memory>
#include <sys/stat.h>

using Field = QuestionRecord::Field;

namespace {

QuestionRecord sample(const QString& question, const QString& answer)
{
    QuestionRecord record;
    record.setQuestion(question);
    for (int i = 0; i < QuestionRecord::kChoiceCount; ++i)
        record.setChoice(i, QStringLiteral("choice %1").arg(QChar(u'A' + i)));
    record.setAnswer(answer);
    return record;
}

} // namespace

class TestBank : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { beginTest(env); }
    void cleanup() { env.reset(); }

    void fieldsPadOrCut_data();
    void fieldsPadOrCut();
    void freshRecordIsZero();
    void recordLayout();
    void everyByteRoundTrips();
    void unmappableCharactersBecomeQuestionMarks();
    void openCreatesAMissingBankEmpty();
    void firstRecordIntoAnEmptyBank();
    void writeBeyondTheEndFillsWithZeroRecords();
    void recordCountIgnoresAPartialPiece();
    void readsOutsideTheBankGiveEmptyRecords();
    void handlesSeeEachOthersWrites();
    void readOnlyBankCanBeRead();
    void folderInPlaceOfTheBank();
    void failedWriteLeavesNoTornRecord();
    void pipeInPlaceOfTheBank();
    void textRules();
    void safeWriteReplacesTheWholeFile();
    void safeWriteKeepsTheOldFileOnAFullDisk();
    void notesKeepTheirTextsAndGoStaleWithTheirRecord();
    void badNotesRowsAreLeftOutAndNamed_data();
    void badNotesRowsAreLeftOutAndNamed();

private:
    std::unique_ptr<TestEnvironment> env;
};

void TestBank::fieldsPadOrCut_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("short choice") << int(Field::ChoiceC) << QStringLiteral("abc")
                                  << QByteArray("abc") + QByteArray(72, ' ');
    QTest::newRow("80-character choice")
        << int(Field::ChoiceA) << QString(75, u'x') + QStringLiteral("yyyyy")
        << QByteArray(75, 'x');
    QTest::newRow("spaces only") << int(Field::Question) << QStringLiteral("   ")
                                 << QByteArray(200, ' ');
    QTest::newRow("answer cut to one")
        << int(Field::Answer) << QStringLiteral("cd") << QByteArray("c");
    QTest::newRow("empty answer is a space") << int(Field::Answer) << QString() << QByteArray(" ");
    QTest::newRow("line break as CR LF") << int(Field::Question) << QStringLiteral("a\r\nb")
                                         << QByteArray("a\r\nb") + QByteArray(196, ' ');
}

void TestBank::fieldsPadOrCut()
{
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QByteArray, stored);
    const auto f = static_cast<Field>(field);
    QuestionRecord record;
    record.setField(f, text);
    QCOMPARE(record.toBytes().mid(QuestionRecord::offset(f), QuestionRecord::width(f)), stored);
    QCOMPARE(record.field(f), cp1252::decode(stored));
}

void TestBank::freshRecordIsZero()
{
    const QuestionRecord record;
    QCOMPARE(record.toBytes(), QByteArray(QuestionRecord::kSize, '\0'));
    QCOMPARE(record.answer(), QString(QChar(0)));
    QCOMPARE(textrules::shownField(record.question()), QString());
}

void TestBank::recordLayout()
{
    const QByteArray bytes = sample(QStringLiteral("Q"), QStringLiteral("e")).toBytes();
    QCOMPARE(bytes.size(), 576);
    QCOMPARE(bytes.at(0), 'Q');
    QCOMPARE(bytes.mid(200, 8), QByteArray("choice A"));
    QCOMPARE(bytes.mid(275, 8), QByteArray("choice B"));
    QCOMPARE(bytes.mid(350, 8), QByteArray("choice C"));
    QCOMPARE(bytes.mid(425, 8), QByteArray("choice D"));
    QCOMPARE(bytes.mid(500, 8), QByteArray("choice E"));
    QCOMPARE(bytes.at(575), 'e');
}

void TestBank::everyByteRoundTrips()
{
    QByteArray all;
    for (int b = 0x20; b <= 0xFF; ++b)
        all.append(static_cast<char>(b));
    QCOMPARE(cp1252::encode(cp1252::decode(all)), all);
    QCOMPARE(cp1252::decode("\x80\x9f\xe9"), QStringLiteral(u"\u20ac\u0178\u00e9"));

    // Through a bank file: the 224 bytes over a question and two choices, then back.
    QuestionRecord record;
    record.setQuestion(cp1252::decode(all.left(200)));
    record.setChoice(0, cp1252::decode(all.mid(200)));
    BankFile bank;
    QVERIFY(bank.open().ok());
    QVERIFY(bank.write(1, record).ok());
    const Result<QuestionRecord> back = bank.read(1);
    QVERIFY(back.ok());
    QCOMPARE(back.value().question(), record.question());
    QCOMPARE(env->read(QStringLiteral("verbal.zep")).left(224), all);
}

void TestBank::unmappableCharactersBecomeQuestionMarks()
{
    QCOMPARE(cp1252::encode(QStringLiteral(u"a\u0100b\U0001F600c")), QByteArray("a?b?c"));
    QVERIFY(!cp1252::canEncode(QStringLiteral(u"\u4e2d")));
    QVERIFY(cp1252::canEncode(QStringLiteral(u"caf\u00e9 \u20ac")));
}

void TestBank::openCreatesAMissingBankEmpty()
{
    BankFile bank;
    QVERIFY(bank.open().ok());
    QVERIFY(env->exists(QStringLiteral("verbal.zep")));
    QCOMPARE(bank.length(), 0);
    QCOMPARE(bank.recordCount(), 0);
}

void TestBank::firstRecordIntoAnEmptyBank()
{
    BankFile bank;
    QVERIFY(bank.open().ok());
    QVERIFY(bank.write(1, sample(QStringLiteral("Q1"), QStringLiteral("c"))).ok());
    QCOMPARE(bank.length(), 576); // seen through the same handle at once
    const QByteArray bytes = env->read(QStringLiteral("verbal.zep"));
    QCOMPARE(bytes.size(), 576);
    QCOMPARE(bytes.at(575), 'c');
}

void TestBank::writeBeyondTheEndFillsWithZeroRecords()
{
    BankFile bank;
    QVERIFY(bank.open().ok());
    for (int n = 1; n <= 3; ++n)
        QVERIFY(bank.write(n, sample(QStringLiteral("Q%1").arg(n), QStringLiteral("a"))).ok());
    QVERIFY(bank.write(5, sample(QStringLiteral("Q5"), QStringLiteral("b"))).ok());
    const QByteArray bytes = env->read(QStringLiteral("verbal.zep"));
    QCOMPARE(bytes.size(), 2880);
    QCOMPARE(bytes.mid(3 * 576, 576), QByteArray(576, '\0'));
    QCOMPARE(bytes.at(2879), 'b');
    // Rewriting an earlier record never shortens the file.
    QVERIFY(bank.write(2, sample(QStringLiteral("again"), QStringLiteral("d"))).ok());
    QCOMPARE(bank.length(), 2880);
    QCOMPARE(bank.read(2).value().answer(), QStringLiteral("d"));
}

void TestBank::recordCountIgnoresAPartialPiece()
{
    env->write(QStringLiteral("verbal.zep"), QByteArray(1000, 'x'));
    BankFile bank;
    QVERIFY(bank.open().ok());
    QCOMPARE(bank.recordCount(), 1);
}

void TestBank::readsOutsideTheBankGiveEmptyRecords()
{
    env->write(QStringLiteral("verbal.zep"), QByteArray(1000, 'x'));
    BankFile bank;
    QVERIFY(bank.open().ok());
    for (const qint64 n : {0LL, -1LL, 2LL, 40000LL}) {
        const Result<QuestionRecord> record = bank.read(n);
        QVERIFY(record.ok());
        QCOMPARE(record.value(), QuestionRecord());
    }
    QCOMPARE(bank.read(1).value().question(), QString(200, u'x'));
}

void TestBank::handlesSeeEachOthersWrites()
{
    BankFile editor;
    BankFile test;
    QVERIFY(editor.open().ok());
    QVERIFY(test.open().ok());
    QVERIFY(editor.write(1, sample(QStringLiteral("old"), QStringLiteral("a"))).ok());
    QCOMPARE(textrules::shownField(test.read(1).value().question()), QStringLiteral("old"));
    QVERIFY(editor.write(1, sample(QStringLiteral("new"), QStringLiteral("b"))).ok());
    QCOMPARE(textrules::shownField(test.read(1).value().question()), QStringLiteral("new"));
    QCOMPARE(test.recordCount(), 1);
}

void TestBank::readOnlyBankCanBeRead()
{
    env->write(QStringLiteral("verbal.zep"),
               sample(QStringLiteral("Q"), QStringLiteral("a")).toBytes());
    QFile::setPermissions(env->path(QStringLiteral("verbal.zep")), QFile::ReadOwner);
    BankFile bank;
    QVERIFY(bank.open().ok());
    QCOMPARE(bank.recordCount(), 1);
    QCOMPARE(bank.read(1).value().answer(), QStringLiteral("a"));
}

void TestBank::folderInPlaceOfTheBank()
{
    QVERIFY(QDir(env->dir.path()).mkdir(QStringLiteral("verbal.zep")));
    BankFile bank;
    const QString error = bank.open().error();
    QVERIFY2(error.contains(QStringLiteral("\"verbal.zep\"")), qPrintable(error));
    QVERIFY(!bank.read(1).ok());
    QVERIFY(!bank.write(1, QuestionRecord()).ok());
}

void TestBank::failedWriteLeavesNoTornRecord()
{
    BankFile bank;
    QVERIFY(bank.open().ok());
    QVERIFY(bank.write(1, sample(QStringLiteral("Q1"), QStringLiteral("a"))).ok());
    const QByteArray before = env->read(QStringLiteral("verbal.zep"));
    QString error;
    {
        // The disk fills up in the middle of the next record.
        const FileSizeLimit limit(576 + 100);
        error = bank.write(2, sample(QStringLiteral("Q2"), QStringLiteral("b"))).error();
    }
    QVERIFY2(error.startsWith(QStringLiteral("Cannot write the question bank")), qPrintable(error));
    QVERIFY2(error.endsWith(QStringLiteral(": File too large.")), qPrintable(error));
    QCOMPARE(env->read(QStringLiteral("verbal.zep")), before);
    QCOMPARE(bank.length(), 576);
}

void TestBank::pipeInPlaceOfTheBank()
{
    QVERIFY(mkfifo(qPrintable(env->path(QStringLiteral("verbal.zep"))), 0600) == 0);
    BankFile bank;
    const QString error = bank.open().error();
    QVERIFY2(error.contains(QStringLiteral("not an ordinary file")), qPrintable(error));
}

void TestBank::textRules()
{
    QCOMPARE(textrules::trimSpaces(QStringLiteral("  \ta b\t  ")), QStringLiteral("\ta b\t"));
    QCOMPARE(textrules::shownField(QStringLiteral("ab") + QChar(0) + QStringLiteral("cd")),
             QStringLiteral("ab"));
    QCOMPARE(textrules::toStoredLineBreaks(QStringLiteral("a\nb\r\nc")),
             QStringLiteral("a\r\nb\r\nc"));
    QCOMPARE(textrules::toShownLineBreaks(QStringLiteral("a\r\nb")), QStringLiteral("a\nb"));
    QCOMPARE(textrules::literalCaption(QStringLiteral("R&D")), QStringLiteral("R&&D"));
}

void TestBank::safeWriteReplacesTheWholeFile()
{
    env->write(QStringLiteral("out"), "old, and longer than the new bytes");
    const Result<void> written = safewrite::writeWhole(env->path(QStringLiteral("out")), "new");
    QVERIFY2(written.ok(), qPrintable(written.error()));
    QCOMPARE(env->read(QStringLiteral("out")), QByteArray("new"));
    // No temporary file is left beside it.
    QCOMPARE(QDir(env->dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("out")});
}

void TestBank::safeWriteKeepsTheOldFileOnAFullDisk()
{
    env->write(QStringLiteral("out"), "old");
    Result<void> written;
    {
        // The disk fills up part-way: no write reports it until the next one.
        const FileSizeLimit limit(1000);
        written = safewrite::writeWhole(QStringLiteral("out"), QByteArray(5000, 'x'));
    }
    QCOMPARE(written.error(), QStringLiteral("Cannot write \"out\": File too large."));
    QCOMPARE(env->read(QStringLiteral("out")), QByteArray("old"));
    QCOMPARE(QDir(env->dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("out")});
}

void TestBank::notesKeepTheirTextsAndGoStaleWithTheirRecord()
{
    QCOMPARE(BankNotes::pathFor(QStringLiteral("verbal.zep")), QStringLiteral("verbal.notes.csv"));
    QCOMPARE(BankNotes::pathFor(QStringLiteral("/some/where/my.bank.zep")),
             QStringLiteral("/some/where/my.bank.notes.csv"));
    const QuestionRecord first = sample(QStringLiteral("DRY"), QStringLiteral("b"));
    const QuestionRecord second = sample(QStringLiteral("WET"), QStringLiteral("c"));
    const BankNote tricky{
        QStringLiteral(" word in context "),
        QStringLiteral("\"Dull\", not arid,\nsince a report holds no water. \u00e9\U0001F600 ")};
    const BankNote plain{QStringLiteral("antonym"), QString()};
    BankNotes notes;
    notes.setNote(1, first, tricky);
    notes.setNote(32767, second, plain);
    notes.setNote(2, second, BankNote{}); // an empty note is no note
    const QString path = BankNotes::pathFor(QStringLiteral("verbal.zep"));
    QVERIFY(notes.save(path).ok());
    QVERIFY(env->read(path).startsWith("record,check,kind,explanation\r\n1,"));

    const BankNotes::Loaded loaded = BankNotes::load(path);
    QCOMPARE(loaded.warning, QString());
    QCOMPARE(loaded.notes, notes);
    QCOMPARE(loaded.notes.rows().size(), 2);
    QCOMPARE(loaded.notes.noteFor(1, first), tricky);
    QCOMPARE(loaded.notes.kinds(),
             (QStringList{QStringLiteral(" word in context "), QStringLiteral("antonym")}));
    // Another program puts another question in record 1: its note is not shown with it.
    QCOMPARE(loaded.notes.noteFor(1, second), BankNote{});
    QVERIFY(loaded.notes.isStale(1, second));
    QVERIFY(!loaded.notes.isStale(32767, second));
    // A change goes to the file as it stands now: a note another program added meanwhile stays.
    BankFile bank;
    QVERIFY(bank.open().ok());
    env->write(path, env->read(path) + "5,0001,analogy,added meanwhile\r\n");
    const auto drop = [](BankNotes& n) { n.setNote(1, QuestionRecord(), BankNote{}); };
    QVERIFY(bank.updateNotes(drop).ok());
    QCOMPARE(BankNotes::load(path).notes.rows().keys(), (QList<qint64>{5, 32767}));
    // A notes file that cannot be read at all is never written over: its notes would be lost.
    QFile huge(path);
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(BankNotes::kMaxBytes + 1));
    huge.close();
    QVERIFY(BankNotes::load(path).unreadable);
    QVERIFY(!bank.updateNotes(drop).ok());
    QCOMPARE(QFileInfo(path).size(), BankNotes::kMaxBytes + 1);
    // A bank without notes has none, and nothing to be told.
    QVERIFY(QFile::remove(path));
    QCOMPARE(BankNotes::load(path).warning, QString());
    QVERIFY(BankNotes::load(path).notes.isEmpty());
}

void TestBank::badNotesRowsAreLeftOutAndNamed_data()
{
    QTest::addColumn<QByteArray>("row");
    QTest::addColumn<QString>("why");
    QTest::newRow("record 0") << QByteArray("0,0001,antonym,x") << "not a record number";
    QTest::newRow("record past the bank") << QByteArray("32768,0001,a,x") << "from 1 to 32767";
    QTest::newRow("check of three digits") << QByteArray("5,001,a,x") << "four hex digits";
    QTest::newRow("check not hex") << QByteArray("5,00g1,a,x") << "four hex digits";
    QTest::newRow("five columns") << QByteArray("5,0001,a,x,y") << "5 columns; a note has 4";
    QTest::newRow("kind too long") << "5,0001," + QByteArray(41, 'k') + ",x"
                                   << "the kind is 41 characters; a kind holds 40";
    QTest::newRow("explanation too long")
        << "5,0001,a," + QByteArray(1001, 'x') << "the explanation is 1001 characters";
    QTest::newRow("kind of two lines") << QByteArray("5,0001,\"a\nb\",x") << "more than one line";
    QTest::newRow("text after a quote") << QByteArray("5,0001,\"a\"b,x") << "closing quote";
    QTest::newRow("second note of record 2") << QByteArray("2,0001,a,x") << "on line 2";
}

void TestBank::badNotesRowsAreLeftOutAndNamed()
{
    QFETCH(QByteArray, row);
    QFETCH(QString, why);
    env->write(QStringLiteral("bank.notes.csv"),
               "record,check,kind,explanation\r\n2,00ff,antonym,kept\r\n" + row +
                   "\r\n9,abcd,,\"also kept\"\r\n");
    const BankNotes::Loaded loaded = BankNotes::load(QStringLiteral("bank.notes.csv"));
    QVERIFY2(loaded.warning.startsWith(QStringLiteral(
                 "Some notes of the question bank, in \"bank.notes.csv\", cannot be read and are "
                 "left out: line 3: ")),
             qPrintable(loaded.warning));
    QVERIFY2(loaded.warning.contains(why), qPrintable(loaded.warning));
    QCOMPARE(loaded.notes.rows().keys(), (QList<qint64>{2, 9}));
    QCOMPARE(loaded.notes.rows().value(2).note.explanation, QStringLiteral("kept"));
    QCOMPARE(loaded.notes.rows().value(9).check, 0xabcd);
}

QTEST_GUILESS_MAIN(TestBank)
#include "tst_bank.moc"
