// Tools > Import Questions and Export Questions: question files brought into the bank Lexamo
// works on through the main window, and the bank written out as one.

#include "app/frmMain.h"
#include "app/main1.h"
#include "bank/BankNotes.h"
#include "bank/QuestionRecord.h"
#include "editor/LimitedTextBox.h"
#include "editor/frmverques.h"
#include "platform/Twips.h"
#include "questionfiles/BankFiles.h"
#include "questionfiles/Importer.h"
#include "support/FileSizeLimit.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>
#include <optional>

using platform::Answer;
using platform::Buttons;
using platform::FileAccess;
using platform::FileDialog;
using platform::Icon;
using platform::MessageBox;

namespace {

const QString kBank = QStringLiteral("verbal.zep");
const QString kNotes = QStringLiteral("verbal.notes.csv");

struct Noted {
    QuestionRecord record;
    BankNote note;
};

Noted question(const QString& text, const QStringList& choices, char answer, const QString& kind,
               const QString& explanation)
{
    Noted q{{}, {kind, explanation}};
    q.record.setQuestion(text);
    for (int i = 0; i < QuestionRecord::kChoiceCount; ++i)
        q.record.setChoice(i, choices.at(i));
    q.record.setAnswer(QString(QLatin1Char(answer)));
    return q;
}

// The question files the tests choose, and the questions each gives a bank.
const QByteArray kTwoCsv =
    "question,a,b,c,d,e,answer,kind,explanation\r\n"
    "\"Choose the word closest in meaning to TERSE.\",wordy,brief,gentle,hollow,eager,B,synonym,"
    "\"Terse means using few words, so brief is closest.\"\r\n"
    "\"OVEN is to BAKE as KETTLE is to\",pour,boil,copper,kitchen,whistle,B,analogy,"
    "\"An oven is for baking and a kettle for boiling; you pour from a kettle, but that is not "
    "what it is for.\"\r\n";
const QByteArray kOneGift = "$CATEGORY: antonym\n"
                            "\n"
                            "::frugal:: Choose the word most opposite in meaning to FRUGAL. {\n"
                            "~thrifty\n"
                            "~careful\n"
                            "=wasteful\n"
                            "~modest\n"
                            "~sparing\n"
                            "####Frugal means spending little; wasteful is its opposite.\n"
                            "}\n";

QList<Noted> twoCsvQuestions()
{
    return {question(QStringLiteral("Choose the word closest in meaning to TERSE."),
                     {"wordy", "brief", "gentle", "hollow", "eager"}, 'b', "synonym",
                     "Terse means using few words, so brief is closest."),
            question(QStringLiteral("OVEN is to BAKE as KETTLE is to"),
                     {"pour", "boil", "copper", "kitchen", "whistle"}, 'b', "analogy",
                     "An oven is for baking and a kettle for boiling; you pour from a kettle, "
                     "but that is not what it is for.")};
}

QList<Noted> oneGiftQuestion()
{
    return {question(QStringLiteral("Choose the word most opposite in meaning to FRUGAL."),
                     {"thrifty", "careful", "wasteful", "modest", "sparing"}, 'c', "antonym",
                     "Frugal means spending little; wasteful is its opposite.")};
}

// Records of a bank there before: "Question n", choices "n-a" to "n-e", answer a.
QByteArray bankOf(int records)
{
    QByteArray bytes;
    for (int n = 1; n <= records; ++n) {
        QuestionRecord r;
        r.setQuestion(QStringLiteral("Question %1").arg(n));
        for (int i = 0; i < QuestionRecord::kChoiceCount; ++i)
            r.setChoice(i, QStringLiteral("%1-%2").arg(n).arg(QChar(u'a' + i)));
        r.setAnswer(QStringLiteral("a"));
        bytes += r.toBytes();
    }
    return bytes;
}

QByteArray bytesOf(const QList<Noted>& questions)
{
    QByteArray bytes;
    for (const Noted& q : questions)
        bytes += q.record.toBytes();
    return bytes;
}

MessageBox box(const QString& text, Icon icon = Icon::None)
{
    return {text, QStringLiteral("Lexamo"), Buttons::Ok, icon, Answer::Ok};
}

QStringList importFilters()
{
    return {"Question files (*.csv *.txt *.gift *.xml)",
            "CSV files (*.csv)",
            "Aiken files (*.txt)",
            "GIFT files (*.gift *.txt)",
            "Moodle XML files (*.xml)",
            "All files (*)"};
}

QStringList exportFilters()
{
    return {"CSV files (*.csv)", "Aiken files (*.txt)", "GIFT files (*.gift)",
            "Moodle XML files (*.xml)"};
}

// What the import window showed: its title, its summary, each list shown (its caption, then its
// rows), and whether "Add to Bank" could be pressed, and by Return.
struct ImportSeen {
    bool shown = false;
    QString title;
    QString summary;
    QStringList leftOut;
    QStringList refused;
    bool addEnabled = false;
    bool addByDefault = false;
    bool modalOverMain = false;
};

QStringList shownRows(QDialog* window, const char* caption, const char* list)
{
    auto* rows = window->findChild<QListWidget*>(QString::fromLatin1(list));
    if (!rows || !rows->isVisibleTo(window))
        return {};
    QStringList seen{window->findChild<QLabel*>(QString::fromLatin1(caption))->text()};
    for (int i = 0; i < rows->count(); ++i)
        seen.append(rows->item(i)->text());
    return seen;
}

} // namespace

Q_DECLARE_METATYPE(platform::MessageBox)

class TestImportExport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { twips::registerFontSubstitutions(); }
    void init() { beginTest(env); }
    void cleanup() { finishTest(env); }

    void importAddsTheQuestionsWithTheirNotes_data();
    void importAddsTheQuestionsWithTheirNotes();
    void importShowsWhatIsLeftOutAndCancelChangesNothing_data();
    void importShowsWhatIsLeftOutAndCancelChangesNothing();
    void openEditorReachesTheQuestionsAdded();
    void exportWritesTheBankInTheFormatChosen_data();
    void exportWritesTheBankInTheFormatChosen();

private:
    // Chooses the files in Import Questions and presses the key in the window that follows.
    ImportSeen importThroughTheWindow(const QStringList& files, Qt::Key key);
    // The note the notes file holds for record n of the bank as it is now.
    BankNote savedNote(qint64 n)
    {
        const QByteArray record =
            env->read(kBank).mid((n - 1) * QuestionRecord::kSize, QuestionRecord::kSize);
        return BankNotes::load(env->path(kNotes))
            .notes.noteFor(n, QuestionRecord::fromBytes(record));
    }

    std::unique_ptr<TestEnvironment> env;
};

ImportSeen TestImportExport::importThroughTheWindow(const QStringList& files, Qt::Key key)
{
    frmMain* w = main1::mainwindow;
    QStringList paths;
    for (const QString& name : files)
        paths.append(env->path(name));
    env->files.answer(paths);
    ImportSeen seen;
    QTimer::singleShot(0, w, [&] {
        auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!window || window->objectName() != QStringLiteral("frmImport")) {
            if (window)
                window->close();
            return;
        }
        window->activateWindow();
        if (!QTest::qWaitFor([window] { return window->isActiveWindow(); }))
            qWarning("the import window never became active");
        auto* add = window->findChild<QPushButton*>(QStringLiteral("cmdadd"));
        seen = {true,
                window->windowTitle(),
                window->findChild<QLabel*>(QStringLiteral("lblsummary"))->text(),
                shownRows(window, "lblleftout", "lstleftout"),
                shownRows(window, "lblrefused", "lstrefused"),
                add->isEnabled(),
                add->isDefault(),
                window->parentWidget() == w};
        QTest::keyClick(QApplication::focusWidget(), key);
        if (window->isVisible()) // the key left it open: it goes, so that the test goes on
            window->reject();
    });
    if (!trigger(w, "mnuImport"))
        qWarning("Tools > Import Questions could not be chosen");
    return seen;
}

void TestImportExport::importAddsTheQuestionsWithTheirNotes_data()
{
    QTest::addColumn<int>("before"); // records of the bank there, -1 for none
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<int>("room"); // bytes the bank may take up, 0 for no bound
    QTest::addColumn<QString>("summary");
    QTest::addColumn<MessageBox>("said");

    QTest::newRow("a CSV file") << 2 << QStringList{"two.csv"} << 0
                                << "2 questions will be added to the bank."
                                << box("2 questions were added to the bank; it now holds 4.");
    QTest::newRow("one question in GIFT")
        << 2 << QStringList{"one.gift"} << 0 << "1 question will be added to the bank."
        << box("1 question was added to the bank; it now holds 3.");
    QTest::newRow("two files, and no bank yet")
        << -1 << QStringList{"two.csv", "one.gift"} << 0
        << "3 questions will be added to the bank. There is no bank yet: a new one, verbal.zep, "
           "will hold them."
        << box("3 questions were added to the bank; it now holds 3.");
    QTest::newRow("a bank that cannot grow")
        << 2 << QStringList{"two.csv"} << 2 * QuestionRecord::kSize + 100
        << "2 questions will be added to the bank."
        << box("The questions could not be added. Cannot write \"verbal.zep\": File too large. "
               "The bank is as it was.",
               Icon::Exclamation);
}

void TestImportExport::importAddsTheQuestionsWithTheirNotes()
{
    QFETCH(int, before);
    QFETCH(QStringList, files);
    QFETCH(int, room);
    QFETCH(QString, summary);
    QFETCH(MessageBox, said);
    const QByteArray bank = bankOf(std::max(before, 0));
    if (before >= 0)
        env->write(kBank, bank);
    env->write(QStringLiteral("two.csv"), kTwoCsv);
    env->write(QStringLiteral("one.gift"), kOneGift);
    QList<Noted> added;
    for (const QString& file : files)
        added += file.endsWith(QStringLiteral(".csv")) ? twoCsvQuestions() : oneGiftQuestion();
    main1::Main();
    env->boxes.answer(Answer::Ok);
    std::optional<FileSizeLimit> limit;
    if (room > 0)
        limit.emplace(room);

    const ImportSeen seen = importThroughTheWindow(files, Qt::Key_Return);

    limit.reset();
    QCOMPARE(env->files.shown,
             QList<FileDialog>({{FileAccess::OpenFiles, "Import Questions", importFilters(), {}}}));
    QVERIFY(seen.shown);
    QCOMPARE(seen.title, QStringLiteral("Import Questions"));
    QVERIFY(seen.modalOverMain);
    QCOMPARE(seen.summary, summary);
    QCOMPARE(seen.leftOut, QStringList());
    QCOMPARE(seen.refused, QStringList());
    QVERIFY(seen.addEnabled && seen.addByDefault);
    QCOMPARE(env->boxes.shown, QList<MessageBox>({said}));
    if (room > 0) {
        QCOMPARE(env->read(kBank), bank);
        QVERIFY(!env->exists(kNotes));
        return;
    }
    QCOMPARE(env->read(kBank), bank + bytesOf(added));
    const qint64 first = std::max(before, 0) + 1;
    for (qsizetype i = 0; i < added.size(); ++i)
        QCOMPARE(savedNote(first + i), added.at(i).note);

    // A test that follows draws the last question added, in the same window.
    const int total = std::max(before, 0) + int(added.size());
    env->write(QStringLiteral("options"), "1\r\n15\r\n");
    env->random.values = {(float(total) - 0.5f) / float(total)};
    env->boxes.answer(Answer::Yes);
    QVERIFY(trigger(main1::mainwindow, "mnuFileVer"));
    const auto* question = main1::mainwindow->findChild<QLabel*>(QStringLiteral("lblquestion"));
    QVERIFY(question->isVisible());
    QCOMPARE(question->text().trimmed(), added.last().record.question().trimmed());
}

void TestImportExport::importShowsWhatIsLeftOutAndCancelChangesNothing_data()
{
    QTest::addColumn<int>("before"); // records of the bank there
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QStringList>("leftOut");
    QTest::addColumn<QStringList>("refused");

    QTest::newRow("questions that fit")
        << 2 << "two.csv" << kTwoCsv << "2 questions will be added to the bank." << QStringList()
        << QStringList();
    QTest::newRow("a true/false question")
        << 2 << "mixed.gift"
        << QByteArray("::sun:: The sun is a star. {TRUE}\n"
                      "\n"
                      "::odd:: Which word does not belong with the others? {\n"
                      "~violin\n~cello\n~viola\n=trumpet\n~harp\n}\n")
        << "1 question will be added to the bank."
        << QStringList{"&Left out: 1 question", "mixed.gift:1: a true/false question"}
        << QStringList();
    QTest::newRow("broken syntax")
        << 2 << "broken.gift"
        << QByteArray("::odd:: Which word does not belong? {\n=rose\n~oak\n~elm\n~ash\n~fir\n")
        << "No question can be added to the bank." << QStringList()
        << QStringList{"&Refused whole: 1 file",
                       "broken.gift:1: the { opened here is never closed"};
    QTest::newRow("an ending of no format")
        << 2 << "questions.dat" << kTwoCsv << "No question can be added to the bank."
        << QStringList()
        << QStringList{"&Refused whole: 1 file",
                       "questions.dat: the format cannot be told from the file's ending: Lexamo "
                       "reads .csv, .txt for Aiken, .gift, .xml for Moodle XML"};
    QTest::newRow("past the last record a bank holds")
        << 32766 << "two.csv" << kTwoCsv << "No question can be added to the bank." << QStringList()
        << QStringList{"&Refused whole: 1 file",
                       "two.csv:3: this question would be record 32768, but a bank holds at "
                       "most 32767"};
}

void TestImportExport::importShowsWhatIsLeftOutAndCancelChangesNothing()
{
    QFETCH(int, before);
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, summary);
    QFETCH(QStringList, leftOut);
    QFETCH(QStringList, refused);
    const QByteArray notes = "record,check,kind,explanation\r\n";
    env->write(kNotes, notes);
    env->write(file, bytes);
    if (before <= 2) {
        env->write(kBank, bankOf(before));
    } else { // a bank that long is all zero records, and takes no room on the disk
        QFile bank(env->path(kBank));
        QVERIFY(bank.open(QIODevice::WriteOnly) && bank.resize(before * QuestionRecord::kSize));
    }
    const QByteArray bank = env->read(kBank);
    main1::Main();

    const ImportSeen seen = importThroughTheWindow({file}, Qt::Key_Escape);

    QVERIFY(seen.shown);
    QCOMPARE(seen.summary, summary);
    QCOMPARE(seen.leftOut, leftOut);
    QCOMPARE(seen.refused, refused);
    QCOMPARE(seen.addEnabled, !summary.startsWith(QStringLiteral("No question")));
    QCOMPARE(env->boxes.shown, QList<MessageBox>());
    QVERIFY(env->read(kBank) == bank);
    QCOMPARE(env->read(kNotes), notes);
}

void TestImportExport::openEditorReachesTheQuestionsAdded()
{
    env->write(kBank, bankOf(2));
    env->write(QStringLiteral("two.csv"), kTwoCsv);
    main1::Main();
    QVERIFY(trigger(main1::mainwindow, "mnuAdd"));
    frmverques* ed = main1::mainwindow->editor;
    QVERIFY(QTest::qWaitFor([ed] { return ed->cbokind->isEnabled(); }));
    env->boxes.answer(Answer::Ok);

    QVERIFY(importThroughTheWindow({"two.csv"}, Qt::Key_Return).shown);
    QTest::mouseClick(ed->cmdend, Qt::LeftButton);

    QCOMPARE(ed->lblnumber->text(), QStringLiteral("NO.  4"));
    QCOMPARE(ed->txtques->text(), QStringLiteral("OVEN is to BAKE as KETTLE is to"));
    QCOMPARE(ed->cbokind->currentText(), QStringLiteral("analogy"));
    QCOMPARE(ed->txtexplain->text(), twoCsvQuestions().at(1).note.explanation);
    QVERIFY(!ed->cmdsave->isEnabled()); // a record shown, nothing changed
}

void TestImportExport::exportWritesTheBankInTheFormatChosen_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<bool>("answered"); // every record of the bank has an answer a to e
    QTest::addColumn<QString>("written");
    QTest::addColumn<MessageBox>("said"); // %1: the file written, as the test's folder has it

    QTest::newRow("CSV by its filter") << "questions"
                                       << "CSV files (*.csv)" << true << "questions.csv"
                                       << box("3 questions were exported to %1.");
    QTest::newRow("GIFT by the ending typed") << "questions.gift"
                                              << "CSV files (*.csv)" << true << "questions.gift"
                                              << box("3 questions were exported to %1.");
    QTest::newRow("Aiken, which holds no notes")
        << "questions"
        << "Aiken files (*.txt)" << true << "questions.txt"
        << box("3 questions were exported to %1. The kinds and explanations are left out: Aiken "
               "files hold neither.");
    QTest::newRow("GIFT refuses a record without an answer")
        << "questions.gift"
        << "GIFT files (*.gift)" << false << "questions.gift"
        << box("The bank cannot be exported as GIFT: record 2: the answer is not a letter a to "
               "e. Nothing was exported.",
               Icon::Exclamation);
}

void TestImportExport::exportWritesTheBankInTheFormatChosen()
{
    QFETCH(QString, typed);
    QFETCH(QString, filter);
    QFETCH(bool, answered);
    QFETCH(QString, written);
    QFETCH(MessageBox, said);
    QList<Noted> questions = twoCsvQuestions() + oneGiftQuestion();
    if (!answered)
        questions[1].record.setAnswer(QString());
    NotedRecords bank;
    for (const Noted& q : questions) {
        bank.records.append(q.record);
        bank.notes.append(q.note);
    }
    QVERIFY(bankfiles::writeBank(env->path(kBank), bank).ok());
    const QByteArray before = "left as it was\n";
    env->write(written, before);
    main1::Main();
    env->files.answer({env->path(typed)}, filter);
    if (said.text.contains(QStringLiteral("%1")))
        said.text = said.text.arg(env->path(written));
    env->boxes.answer(Answer::Ok);

    QVERIFY(trigger(main1::mainwindow, "mnuExport"));

    QCOMPARE(env->files.shown, QList<FileDialog>({{FileAccess::SaveFile, "Export Questions",
                                                   exportFilters(), "verbal.csv"}}));
    QCOMPARE(env->boxes.shown, QList<MessageBox>({said}));
    if (!answered) {
        QCOMPARE(env->read(written), before);
        return;
    }
    // What lexamo-bank's import reads back: the bank's records, and their notes where the
    // format holds them.
    const questionfiles::FileImport back =
        questionfiles::importFile(env->path(written), std::nullopt, false, 0);
    QCOMPARE(back.refused.size(), 0);
    QCOMPARE(back.records.records, bank.records);
    const bool notes = !written.endsWith(QStringLiteral(".txt"));
    QCOMPARE(back.records.notes, notes ? bank.notes : QList<BankNote>(bank.notes.size()));
}

QTEST_MAIN(TestImportExport)
#include "tst_importexport.moc"
