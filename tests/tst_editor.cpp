#include "app/frmMain.h"
#include "app/main1.h"
#include "bank/BankFile.h"
#include "bank/BankNotes.h"
#include "editor/LimitedTextBox.h"
#include "editor/frmverques.h"
#include "platform/Twips.h"
#include "support/FileSizeLimit.h"
#include "support/MainControls.h"
#include "support/ReadOnlyFolder.h"
#include "support/TestEnvironment.h"

#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <cstdio>
#include <memory>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

using platform::Answer;

namespace {

const QString kBank = QStringLiteral("verbal.zep");
const QString kNotes = QStringLiteral("verbal.notes.csv");
const QString kEmptyFields = QStringLiteral("Don't leave any text boxes empty");
const QString kNoAnswer = QStringLiteral("Select the correct answer (A to E) before saving.");

QuestionRecord record(int n, char answer)
{
    QuestionRecord r;
    r.setQuestion(QStringLiteral("Question %1").arg(n));
    for (int i = 0; i < 5; ++i)
        r.setChoice(i, QStringLiteral("Choice %1%2").arg(n).arg(QChar(u'a' + i)));
    r.setAnswer(QString(QLatin1Char(answer)));
    return r;
}

// Three records; the first has a line break and texts that end in spaces.
QByteArray threeRecords()
{
    QuestionRecord first = record(1, 'b');
    first.setQuestion(QStringLiteral("First line\r\nsecond line   "));
    first.setChoice(0, QStringLiteral("Spaced out  "));
    return first.toBytes() + record(2, 'd').toBytes() + record(3, 'a').toBytes();
}

// Open handles of this process on the bank.
int bankHandles()
{
    int count = 0;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QFileInfo& fd :
         fds.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        if (fd.symLinkTarget().endsWith(QLatin1Char('/') + kBank))
            ++count;
    }
    return count;
}

// The kinds the kind box offers in its list.
QStringList kindsOffered(const frmverques* ed)
{
    QStringList kinds;
    for (int i = 0; i < ed->cbokind->count(); ++i)
        kinds.append(ed->cbokind->itemText(i));
    return kinds;
}

// The letters after "&" in the captions of the window's labels, buttons and frames.
QStringList accessKeys(const QWidget* window)
{
    QStringList keys;
    for (const QWidget* w : window->findChildren<QWidget*>()) {
        QString caption;
        if (const auto* label = qobject_cast<const QLabel*>(w))
            caption = label->text();
        else if (const auto* button = qobject_cast<const QAbstractButton*>(w))
            caption = button->text();
        else if (const auto* frame = qobject_cast<const QGroupBox*>(w))
            caption = frame->title();
        caption.replace(QStringLiteral("&&"), QString());
        if (const qsizetype at = caption.indexOf(u'&'); at >= 0 && at + 1 < caption.size())
            keys.append(caption.at(at + 1).toUpper());
    }
    return keys;
}

platform::MessageBox exclamation(const QString& text)
{
    return {text, QStringLiteral("Lexamo"), platform::Buttons::Ok, platform::Icon::Exclamation,
            Answer::Ok};
}

} // namespace

class TestEditor : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { twips::registerFontSubstitutions(); }
    void init();
    void cleanup();

    void windowAndControls();
    void openingShowsRecordOne();
    void arrowsInTheButtonTextColour_data();
    void arrowsInTheButtonTextColour();
    void openingOnABankWithoutWholeRecords_data();
    void openingOnABankWithoutWholeRecords();
    void everyChangeEnablesSave_data();
    void everyChangeEnablesSave();
    void typedAndDeletedCharacterSavesTheSameBytes();
    void answerByteSelectsAnOption_data();
    void answerByteSelectsAnOption();
    void questionBoxHoldsTwoHundredStoredCharacters();
    void emptyBoxRefusesSavesAndMoves_data();
    void emptyBoxRefusesSavesAndMoves();
    void boundsOfTheBank();
    void unsavedChangesPrompt_data();
    void unsavedChangesPrompt();
    void endSavesFirstThenShowsTheLast();
    void addOffersSaveButANewWindowDoesNot();
    void zeroRecordRefusesEveryMove();
    void addThenSaveAppends();
    void addThenMove_data();
    void addThenMove();
    void addedRecordIsNeverPassedByNext();
    void saveNeverLeavesAGap();
    void cancelledAddKeepsTheEdit();
    void addSavesAnEditFirst();
    void saveWithoutAnAnswerIsRefused_data();
    void saveWithoutAnAnswerIsRefused();
    void endOnAnEmptyBankLeavesTheWindow();
    void reopeningFromTheMenuShowsRecordOne();
    void leavingDropsChangesAndClosesTheBank_data();
    void leavingDropsChangesAndClosesTheBank();
    void thousandOpeningsLeaveNoFileOpen();
    void failedSaveKeepsTheRecordOnScreen_data();
    void failedSaveKeepsTheRecordOnScreen();
    void bankThatCannotBeOpenedIsToldAtEachOpening();
    void failedSaveAtThePromptDoesNotMove();
    void savedRecordIsSeenByAnotherHandle();
    void noRecordNumberBeyondTheLargest();
    void replacedBankIsNeverWrittenBlindly_data();
    void replacedBankIsNeverWrittenBlindly();
    void newRecordGoesAtTheTrueEnd_data();
    void newRecordGoesAtTheTrueEnd();
    void noteBoxesHoldTheirLimits();
    void noteIsSavedByEveryPathThatSavesItsRecord_data();
    void noteIsSavedByEveryPathThatSavesItsRecord();
    void noteComesBackWithItsRecordUnlessChanged();
    void notesOfAFullBankComeWithoutLosingAnEdit();
    void badNotesFileIsToldOnceAndCostsOnlyTheNotes();
    void notesThatCannotBeWrittenAreToldAfterTheRecordIsSaved();

private:
    // Starts Lexamo and opens the editor from the menu, on a bank of these bytes unless null.
    // The editor opened from the main window; by default once the bank's notes have come.
    frmverques* open(const QByteArray& bank, bool withNotes = true);
    frmverques* reopen(bool withNotes = true);
    void fill(frmverques* ed, const QString& text = QStringLiteral("x"));
    void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    QByteArray bankRecord(int n) { return env->read(kBank).mid((n - 1) * 576, 576); }
    int boxesShown() const { return static_cast<int>(env->boxes.shown.size()); }
    // The note the notes file holds for record n of the bank as it is now: empty when stale.
    BankNote savedNote(int n)
    {
        return BankNotes::load(env->path(kNotes))
            .notes.noteFor(n, QuestionRecord::fromBytes(bankRecord(n)));
    }
    // What the main window keeps of the editor from one opening to the next.
    const EditorState& state() const { return main1::mainwindow->editorState; }

    std::unique_ptr<TestEnvironment> env;
};

void TestEditor::init()
{
    beginTest(env);
}

void TestEditor::cleanup()
{
    finishTest(env);
    QCOMPARE(bankHandles(), 0);
}

frmverques* TestEditor::open(const QByteArray& bank, bool withNotes)
{
    if (!bank.isNull())
        env->write(kBank, bank);
    main1::Main();
    return reopen(withNotes);
}

frmverques* TestEditor::reopen(bool withNotes)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    frmverques* ed =
        trigger(main1::mainwindow, "mnuAdd") ? main1::mainwindow->editor.data() : nullptr;
    if (ed && withNotes && !QTest::qWaitFor([ed] { return ed->cbokind->isEnabled(); }))
        qWarning("the notes of the bank never came");
    return ed;
}

void TestEditor::fill(frmverques* ed, const QString& text)
{
    const QList<QWidget*> boxes{ed->txtques, ed->txta, ed->txtb, ed->txtc, ed->txtd, ed->txte};
    for (QWidget* box : boxes)
        QTest::keyClicks(box, text);
}

void TestEditor::windowAndControls()
{
    frmverques* ed = open(threeRecords());
    QVERIFY(ed);
    QCOMPARE(ed->windowTitle(), QStringLiteral("Add to your Verbal database..."));
    QCOMPARE(QAccessible::queryAccessibleInterface(ed)->role(), QAccessible::Window);
    QCOMPARE(ed->size(), QSize(480, 525));
    QCOMPARE(ed->minimumSize(), ed->maximumSize());
    QCOMPARE(ed->pos(), QGuiApplication::primaryScreen()->availableGeometry().topLeft());
    QCOMPARE(ed->windowFlags() & Qt::WindowType_Mask, Qt::Window);
    QVERIFY(!(ed->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    // Owned by the main window, which the window system keeps beneath it.
    QCOMPARE(ed->windowHandle()->transientParent(), main1::mainwindow->windowHandle());
    QVERIFY(QTest::qWaitForWindowActive(ed));
    QCOMPARE(QApplication::focusWidget(), ed->txtques);

    struct Place {
        QWidget* control;
        QString caption;
        QRect twips;
    };
    // Places in the window; the option buttons stand inside the frame, and PREVIOUS stands
    // above NEXT although it follows it in tab order.
    const Place places[] = {
        {ed->fraans, "Select correct answer", {240, 4560, 3255, 735}},
        {ed->opta, "A", {360, 4800, 495, 375}},
        {ed->opte, "E", {2760, 4800, 495, 375}},
        {ed->lblnumber, "NO.  1", {120, 720, 732, 252}},
        {ed->cmdprevious, "PREVIOUS", {5640, 2400, 1215, 495}},
        {ed->cmdnext, "NEXT", {5640, 3120, 1215, 495}},
        {ed->lblkind, "&Kind:", {120, 5520, 852, 255}},
        {ed->cbokind, "", {960, 5520, 4215, 375}},
        {ed->lblexplain, "E&xplanation:", {120, 6000, 1815, 255}},
        {ed->txtexplain, "", {120, 6300, 6735, 1455}},
    };
    for (const Place& p : places) {
        const QRect shown(p.control->mapTo(ed, QPoint(0, 0)), p.control->size());
        QCOMPARE(shown, twips::rect(p.twips.x(), p.twips.y(), p.twips.width(), p.twips.height()));
        if (auto* button = qobject_cast<QAbstractButton*>(p.control))
            QCOMPARE(button->text(), p.caption);
        else if (auto* label = qobject_cast<QLabel*>(p.control))
            QCOMPARE(label->text(), p.caption);
    }
    QCOMPARE(ed->txtques->toolTip(), QStringLiteral("Enter the question to be added here."));
    QCOMPARE(ed->txtc->toolTip(), QStringLiteral("Enter choice C here."));
    QCOMPARE(ed->cbokind->toolTip(),
             QStringLiteral("Enter the kind of question here, or pick one from the list."));
    QCOMPARE(ed->txtexplain->toolTip(),
             QStringLiteral("Enter why the correct answer is correct here."));
    QCOMPARE(ed->cbokind->accessibleName(), QStringLiteral("Kind"));
    QCOMPARE(ed->txtexplain->accessibleName(), QStringLiteral("Explanation"));
    QVERIFY(ed->cbokind->isEditable());
    QVERIFY(ed->txta->font().bold() && !ed->lbla->font().bold() && ed->lblhead->font().bold());
    for (QToolButton* picture : {ed->cmdnext, ed->cmdprevious}) {
        QVERIFY(!picture->icon().isNull());
        QCOMPARE(picture->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    }
    for (QPushButton* button : ed->findChildren<QPushButton*>())
        QVERIFY(!button->isDefault() && !button->autoDefault());

    const QList<QWidget*> tabOrder{ed->txtques,     ed->txta,    ed->txtb,     ed->txtc,
                                   ed->txtd,        ed->txte,    ed->opta,     ed->optb,
                                   ed->optc,        ed->optd,    ed->opte,     ed->cbokind,
                                   ed->txtexplain,  ed->cmdExit, ed->cmdbegin, ed->cmdnext,
                                   ed->cmdprevious, ed->cmdend,  ed->cmdadd,   ed->cmdsave};
    for (qsizetype i = 0; i + 1 < tabOrder.size(); ++i) {
        QWidget* next = tabOrder[i]->nextInFocusChain();
        // The kind box's own line edit comes with it.
        while (next->focusPolicy() == Qt::NoFocus || tabOrder[i]->isAncestorOf(next))
            next = next->nextInFocusChain();
        QCOMPARE(next, tabOrder[i + 1]);
    }
    // Each access key is the window's only one of its letter, and leads to its box.
    const QStringList keys = accessKeys(ed);
    QCOMPARE(keys.size(), QSet<QString>(keys.cbegin(), keys.cend()).size());
    QVERIFY(keys.contains(QStringLiteral("K")) && keys.contains(QStringLiteral("X")));
    QTest::keyClick(ed, Qt::Key_K, Qt::AltModifier);
    QVERIFY(ed->cbokind->isAncestorOf(QApplication::focusWidget()) ||
            QApplication::focusWidget() == ed->cbokind);
    QTest::keyClick(ed, Qt::Key_X, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), ed->txtexplain);
    // Enter and Esc press nothing.
    QTest::keyClick(ed->txta, Qt::Key_Return);
    QTest::keyClick(ed->txta, Qt::Key_Escape);
    QVERIFY(ed->isVisible());
}

void TestEditor::openingShowsRecordOne()
{
    frmverques* ed = open(threeRecords());
    QVERIFY(ed);
    QCOMPARE(ed->lblnumber->text(), QStringLiteral("NO.  1"));
    QCOMPARE(ed->txtques->text(), QStringLiteral("First line\nsecond line"));
    QCOMPARE(ed->txta->text(), QStringLiteral("Spaced out"));
    QCOMPARE(ed->txte->text(), QStringLiteral("Choice 1e"));
    QCOMPARE(ed->answers->checkedButton(), ed->optb);
    QVERIFY(!ed->cmdsave->isEnabled());
    QVERIFY(ed->cmdadd->isEnabled());
    QCOMPARE(state().recno, 1);
    QCOMPARE(state().changed, false);
    QCOMPARE(bankHandles(), 1);
}

void TestEditor::arrowsInTheButtonTextColour_data()
{
    QTest::addColumn<QColor>("button");
    QTest::addColumn<QColor>("buttonText");
    QTest::newRow("light") << QColor(0xe0, 0xe0, 0xe0) << QColor(0x10, 0x10, 0x10);
    QTest::newRow("dark") << QColor(0x30, 0x30, 0x30) << QColor(0xf0, 0xf0, 0xf0);
}

void TestEditor::arrowsInTheButtonTextColour()
{
    QFETCH(QColor, button);
    QFETCH(QColor, buttonText);
    frmverques* ed = open(threeRecords());
    QVERIFY(ed);
    QPalette palette = ed->palette();
    palette.setColor(QPalette::Button, button);
    palette.setColor(QPalette::ButtonText, buttonText);
    ed->setPalette(palette);
    main1::mainwindow->setPalette(palette);
    for (const QToolButton* arrow : {ed->cmdnext, ed->cmdprevious, on(main1::mainwindow).cmdnext}) {
        // Drawn for each pixel ratio at its own size: the shaft's edges fall on whole pixels.
        for (const qreal ratio : {1.0, 1.5, 2.0, 3.0}) {
            const QImage image = arrow->icon().pixmap(QSize(16, 16), ratio).toImage();
            const int side = qRound(16 * ratio);
            QCOMPARE(image.size(), QSize(side, side));
            // A point on the shaft, which runs from 4/32 to 17/32 of the width, its top at 12/32.
            const int x = (arrow == ed->cmdprevious ? 24 : 8) * side / 32;
            const int top = 12 * side / 32;
            QCOMPARE(image.pixelColor(x, top + 1), buttonText);
            QCOMPARE(image.pixelColor(x, top).alpha(), 255);
            QCOMPARE(image.pixelColor(x, top - 1).alpha(), 0);
        }
    }
}

void TestEditor::openingOnABankWithoutWholeRecords_data()
{
    QTest::addColumn<QByteArray>("bank"); // null: no file
    QTest::addColumn<QString>("number");
    QTest::newRow("missing") << QByteArray() << "No.";
    QTest::newRow("empty") << QByteArray("") << "No.";
    QTest::newRow("a piece of a record") << QByteArray(500, 'z') << "NO.  1";
}

void TestEditor::openingOnABankWithoutWholeRecords()
{
    QFETCH(QByteArray, bank);
    QFETCH(QString, number);
    frmverques* ed = open(bank);
    QVERIFY(ed);
    QCOMPARE(env->read(kBank), bank.isNull() ? QByteArray("") : bank);
    QVERIFY(env->exists(kBank));
    QCOMPARE(ed->lblnumber->text(), number);
    QCOMPARE(ed->checkstatus(), 1);
    QVERIFY(ed->txtques->text().isEmpty() && ed->txta->text().isEmpty());
    QVERIFY(!ed->answers->checkedButton());
    QVERIFY(!ed->cmdsave->isEnabled());
    QCOMPARE(state().recno, 1);
}

void TestEditor::everyChangeEnablesSave_data()
{
    QTest::addColumn<QString>("control");
    for (const char* name : {"txtques", "txta", "txtb", "txtc", "txtd", "txte", "opta", "optb",
                             "optc", "optd", "opte", "cbokind", "txtexplain"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestEditor::everyChangeEnablesSave()
{
    QFETCH(QString, control);
    QuestionRecord unanswered = record(1, 'b');
    unanswered.setAnswer(QStringLiteral("?"));
    frmverques* ed = open(unanswered.toBytes());
    QVERIFY(ed);
    QWidget* w = ed->findChild<QWidget*>(control);
    QVERIFY(w);
    if (auto* option = qobject_cast<QRadioButton*>(w))
        click(option);
    else
        QTest::keyClicks(w, QStringLiteral("z"));
    QVERIFY(ed->cmdsave->isEnabled());
    QVERIFY(state().changed);
}

void TestEditor::typedAndDeletedCharacterSavesTheSameBytes()
{
    const QByteArray bank = threeRecords();
    frmverques* ed = open(bank);
    QVERIFY(ed);
    QTest::keyClicks(ed->txta, QStringLiteral("x"));
    QTest::keyClick(ed->txta, Qt::Key_Backspace);
    QVERIFY(ed->cmdsave->isEnabled());
    click(ed->cmdsave);
    QCOMPARE(env->read(kBank), bank);
    QVERIFY(!ed->cmdsave->isEnabled());
    QVERIFY(!state().changed);
}

void TestEditor::answerByteSelectsAnOption_data()
{
    QTest::addColumn<char>("answer");
    QTest::addColumn<QString>("option"); // empty: none
    QTest::newRow("a") << 'a' << "opta";
    QTest::newRow("e") << 'e' << "opte";
    QTest::newRow("upper case") << 'A' << "";
    QTest::newRow("zero byte") << '\0' << "";
}

void TestEditor::answerByteSelectsAnOption()
{
    QFETCH(char, answer);
    QFETCH(QString, option);
    QByteArray bank = record(1, 'a').toBytes();
    bank[575] = answer;
    frmverques* ed = open(bank);
    QVERIFY(ed);
    QAbstractButton* checked = ed->answers->checkedButton();
    QCOMPARE(checked ? checked->objectName() : QString(), option);
    QVERIFY(!ed->cmdsave->isEnabled());
}

void TestEditor::questionBoxHoldsTwoHundredStoredCharacters()
{
    frmverques* ed = open(QByteArray(""));
    QVERIFY(ed);
    QTest::keyClicks(ed->txtques, QString(201, QLatin1Char('q')));
    QCOMPARE(ed->txtques->text().size(), 200);
    // A pasted text is cut where the box is full; a line break counts as two characters.
    ed->txtques->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("ab\r\n") + QString(300, QLatin1Char('p')));
    QTest::keyClick(ed->txtques, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(ed->txtques->text(), QStringLiteral("ab\n") + QString(196, QLatin1Char('p')));
    // With 199 stored characters a line break does not fit; with 198 it does.
    ed->txtques->selectAll();
    QTest::keyClicks(ed->txtques, QString(199, QLatin1Char('q')));
    QTest::keyClick(ed->txtques, Qt::Key_Return);
    QCOMPARE(ed->txtques->text(), QString(199, QLatin1Char('q')));
    QTest::keyClick(ed->txtques, Qt::Key_Backspace);
    QTest::keyClick(ed->txtques, Qt::Key_Return);
    fill(ed);
    ed->txta->setText(QString(80, QLatin1Char('c')));
    click(ed->opta);
    click(ed->cmdsave);
    const QByteArray saved = bankRecord(1);
    QCOMPARE(saved.left(200), QByteArray(198, 'q') + "\r\n");
    QCOMPARE(saved.mid(200, 75), QByteArray(75, 'c'));
}

void TestEditor::emptyBoxRefusesSavesAndMoves_data()
{
    QTest::addColumn<QString>("button");
    for (const char* name : {"cmdsave", "cmdbegin", "cmdprevious", "cmdnext", "cmdend", "cmdadd"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestEditor::emptyBoxRefusesSavesAndMoves()
{
    QFETCH(QString, button);
    const QByteArray bank = threeRecords();
    frmverques* ed = open(bank);
    QVERIFY(ed);
    click(ed->cmdnext);
    ed->txtc->selectAll();
    QTest::keyClick(ed->txtc, Qt::Key_Delete);
    env->boxes.answer(Answer::Ok);
    click(ed->findChild<QAbstractButton*>(button));
    QCOMPARE(env->boxes.shown, QList<platform::MessageBox>{exclamation(kEmptyFields)});
    QCOMPARE(ed->lblnumber->text(), QStringLiteral("NO.  2"));
    QCOMPARE(ed->txtc->text(), QString());
    QCOMPARE(env->read(kBank), bank);
    QVERIFY(ed->cmdsave->isEnabled());
    // A refused save or move leaves the change flag alone: the edit is still unsaved.
    QVERIFY(state().changed);
}

void TestEditor::boundsOfTheBank()
{
    frmverques* ed = open(threeRecords() + QByteArray(400, 'z'));
    QVERIFY(ed);
    env->boxes.answer(Answer::Ok);
    click(ed->cmdprevious);
    QCOMPARE(env->boxes.shown.last(),
             exclamation(QStringLiteral("You are at the beginig of the datafile")));
    click(ed->cmdend);
    QCOMPARE(ed->lblnumber->text(), QStringLiteral("NO.  3"));
    // The bound test comes before the prompt: an edit on the last record gives no prompt.
    QTest::keyClicks(ed->txtb, QStringLiteral("!"));
    env->boxes.answer(Answer::Ok);
    click(ed->cmdnext);
    QCOMPARE(env->boxes.shown.last(),
             exclamation(QStringLiteral("You have reached the end of the datafile")));
    QCOMPARE(boxesShown(), 2);
    QCOMPARE(ed->lblnumber->text(), QStringLiteral("NO.  3"));
    QCOMPARE(ed->txtb->text(), QStringLiteral("Choice 3b!"));
    QVERIFY(ed->cmdsave->isEnabled());
    QVERIFY(state().changed);
    // So the next move asks before it drops the edit.
    env->boxes.answer(Answer::No);
    click(ed->cmdbegin);
    QCOMPARE(boxesShown(), 3);
    QCOMPARE(env->boxes.shown.last().title, QStringLiteral("Contents changed..."));
    QCOMPARE(ed->lblnumber->text(), QStringLiteral("NO.  1"));
}

void TestEditor::unsavedChangesPrompt_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("written");
    QTest::newRow("Yes") << Answer::Yes << "NO.  3" << true;
    QTest::newRow("No") << Answer::No << "NO.  3" << false;
    QTest::newRow("Cancel") << Answer::Cancel << "NO.  2" << false;
}

void TestEditor::unsavedChangesPrompt()
{
    QFETCH(Answer, answer);
    QFETCH(QString, number);
    QFETCH(bool, written);
    frmverques* ed = open(threeRecords());
    QVERIFY(ed);
    click(ed->cmdnext);
    QTest::keyClicks(ed->txtb, QStringLiteral("!"));
    env->boxes.answer(answer);
    click(ed->cmdnext);

    const platform::MessageBox prompt{
        QStringLiteral(
            "You have changed the contents of the question. Do you want to save changes!"),
        QStringLiteral("Contents changed..."), platform::Buttons::YesNoCancel, platform::Icon::None,
        Answer::Yes};
    QCOMPARE(env->boxes.shown, QList<platform::MessageBox>{prompt});
    QCOMPARE(state().response, QString::number(static_cast<int>(answer)));
    QCOMPARE(ed->lblnumber->text(), number);
    QCOMPARE(bankRecord(2).mid(275, 11), written ? QByteArray("Choice 2b! ") : "Choice 2b  ");
    QCOMPARE(state().changed, answer == Answer::Cancel);
    QCOMPARE(ed->cmdsave->isEnabled(), answer == Answer::Cancel);
    if (answer == Answer::Cancel) {
        // The edit stays on screen, and the next move asks about it again.
        QCOMPARE(ed->txtb->text(), QStringLiteral("Choice 2b!"));
        env->boxes.answer(Answer::Yes);
        click(ed->cmdnext);
        QCOMPARE(env->boxes.shown, QList<platform::MessageBox>({prompt, prompt}));
        QCOMPARE(ed->lblnumber->text(), QStringLiteral("NO.  3"));
        QCOMPARE(bankRecord(2).mid(275, 11), QByteArray("Choice 2b! "));
    }
}

void TestEditor::endSavesFirstThenShowsTheLast()
{
    frmverques* ed = open(threeRecords());
    QVERIFY(ed);
    QTest::keyClicks(ed->txte, QStringLiteral("!"));
    env->boxes.answer(Answer::Yes);
    click(ed->cmdend);
    QCOMPARE(bankRecord(1).mid(500, 11), QByteArray("Choice 1e! "));
    QCOMPARE(ed->lblnumber->text(), QStringLiteral("NO.  3"));
    QCOMPARE(ed->txtques->text(), QStringLiteral("Question 3"));
}

void TestEditor::addOffersSaveButANewWindowDoesNot()
{
    frmverques* ed = open(QByteArray());
    QVERIFY(ed);
    // ADD offers SAVE before its checks: here on empty boxes, with nothing changed.
    env->boxes.answer(Answer::Ok);
    click(ed->cmdadd);
    QCOMPARE(env->boxes.shown, QList<platform::MessageBox>{exclamation(kEmptyFields)});
    QVERIFY(ed->cmdsave->isEnabled());
    QVERIFY(!ed->cmdadd->isEnabled());
    // A new window offers nothing to save, whatever the last one left unsaved.
    QTest::keyClicks(ed->txta, QStringLiteral("x"));
    click(ed->cmdExit);
    ed = reopen();
    QVERIFY(ed);
    QCOMPARE(ed->txta->text(), QString());
    QVERIFY(!ed->cmdsave->isEnabled());
    QVERIFY(ed->cmdadd->isEnabled());
}

void TestEditor::zeroRecordRefusesEveryMove()
{
    frmverques* ed =
        open(record(1, 'a').toBytes() + QByteArray(576, '\0') + record(3, 'c').toBytes());
    QVERIFY(ed);
    click(ed->cmdnext);
    QCOMPARE(ed->lblnumber->text(), QStringLiteral("NO.  2"));
    QCOMPARE(ed->checkstatus(), 1);
    QVERIFY(ed->txtques->text().isEmpty() && ed->txte->text().isEmpty());
    QVERIFY(!ed->answers->checkedButton());
    env->boxes.answer(Answer::Ok);
    click(ed->cmdnext);
    QCOMPARE(env->boxes.shown.last().text, kEmptyFields);
    QCOMPARE(ed->lblnumber->text(), QStringLiteral("NO.  2"));
}

void TestEditor::addThenSaveAppends()
{
    frmverques* ed = open(threeRecords());
    QVERIFY(ed);
    click(ed->cmdadd);
    QCOMPARE(ed->lblnumber->text(), QStringLiteral("NO.  4"));
    QCOMPARE(ed->checkstatus(), 1);
    QVERIFY(!ed->answers->checkedButton());
    QVERIFY(ed->cmdsave->isEnabled());
    QVERIFY(!ed->cmdadd->isEnabled());
    fill(ed);
    click(ed->optc);
    click(ed->cmdsave);
    const QByteArray bank = env->read(kBank);
    QCOMPARE(bank.size(), 2304);
    QCOMPARE(bank.at(2303), 'c');
    QVERIFY(!env->exists(kNotes)); // a bank without notes stays without
    QVERIFY(ed->cmdadd->isEnabled());
    QVERIFY(!ed->cmdsave->isEnabled());
    QCOMPARE(ed->lblnumber->text(), QStringLiteral("NO.  4"));
}

void TestEditor::addThenMove_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("recno");
    QTest::addColumn<QString>("question");
    QTest::newRow("END, Yes") << "cmdend" << Answer::Yes << 2304 << 4 << "x";
    QTest::newRow("PREVIOUS, No") << "cmdprevious" << Answer::No << 1728 << 3 << "Question 3";
}

void TestEditor::addThenMove()
{
    QFETCH(QString, button);
    QFETCH(Answer, answer);
    QFETCH(int, size);
    QFETCH(int, recno);
    QFETCH(QString, question);
    frmverques* ed = open(threeRecords());
    QVERIFY(ed);
    click(ed->cmdadd);
    env->boxes.answer(Answer::Ok);
    click(ed->cmdprevious); // a blank record cannot be left
    QCOMPARE(ed->lblnumber->text(), QStringLiteral("NO.  4"));
    fill(ed);
    click(ed->opta);
    env->boxes.answer(answer);
    click(ed->findChild<QAbstractButton*>(button));
    QCOMPARE(boxesShown(), 2);
    QCOMPARE(env->read(kBank).size(), size);
    QCOMPARE(state().recno, recno);
    QCOMPARE(ed->lblnumber->text(), QStringLiteral("NO.  %1").arg(recno));
    QCOMPARE(ed->txtques->text(), question);
    QVERIFY(!ed->cmdsave->isEnabled());
    QVERIFY(!ed->cmdadd->isEnabled()); // only SAVE gives ADD back
}

void TestEditor::addedRecordIsNeverPassedByNext()
{
    frmverques* ed = open(threeRecords());
    QVERIFY(ed);
    click(ed->cmdadd);
    fill(ed);
    // The record being added is not in the bank: NEXT stops there, before any prompt.
    env->boxes.answer(Answer::Ok);
    click(ed->cmdnext);
    QCOMPARE(env->boxes.shown, QList<platform::MessageBox>{exclamation(
                                   QStringLiteral("You have reached the end of the datafile"))});
    QCOMPARE(env->read(kBank).size(), 1728);
    QCOMPARE(ed->lblnumber->text(), QStringLiteral("NO.  4"));
    QCOMPARE(ed->txtques->text(), QStringLiteral("x"));
    QVERIFY(state().changed);
    // Saved, it is the last record: NEXT stops again, and END finds it.
    click(ed->opta);
    click(ed->cmdsave);
    QCOMPARE(env->read(kBank).size(), 2304);
    env->boxes.answer(Answer::Ok);
    click(ed->cmdnext);
    click(ed->cmdbegin);
    click(ed->cmdend);
    QCOMPARE(boxesShown(), 2);
    QCOMPARE(ed->lblnumber->text(), QStringLiteral("NO.  4"));
    QCOMPARE(ed->txtques->text(), QStringLiteral("x"));
    QCOMPARE(env->read(kBank).size(), 2304);
}

void TestEditor::saveNeverLeavesAGap()
{
    frmverques* ed = open(threeRecords());
    QVERIFY(ed);
    click(ed->cmdend);
    // Another program cuts the bank down to its first record under the editor.
    env->write(kBank, record(1, 'b').toBytes());
    QTest::keyClicks(ed->txta, QStringLiteral("!"));
    click(ed->cmdsave);
    const QByteArray bank = env->read(kBank);
    QCOMPARE(bank.size(), 1152);
    QCOMPARE(bank.mid(576, 10), QByteArray("Question 3"));
    QCOMPARE(state().recno, 2);
    QCOMPARE(ed->lblnumber->text(), QStringLiteral("NO.  2"));
    QVERIFY(!ed->cmdsave->isEnabled());
}

void TestEditor::cancelledAddKeepsTheEdit()
{
    frmverques* ed = open(threeRecords());
    QVERIFY(ed);
    QTest::keyClicks(ed->txtd, QStringLiteral("!"));
    env->boxes.answer(Answer::Cancel);
    click(ed->cmdadd);
    QCOMPARE(ed->lblnumber->text(), QStringLiteral("NO.  1"));
    QCOMPARE(ed->txtd->text(), QStringLiteral("Choice 1d!"));
    QVERIFY(state().changed);
    // The edit is asked about again by the next move, and kept by Yes.
    env->boxes.answer(Answer::Yes);
    click(ed->cmdnext);
    QCOMPARE(boxesShown(), 2);
    QCOMPARE(bankRecord(1).mid(425, 11), QByteArray("Choice 1d! "));
    QCOMPARE(ed->lblnumber->text(), QStringLiteral("NO.  2"));
}

void TestEditor::addSavesAnEditFirst()
{
    frmverques* ed = open(threeRecords());
    QVERIFY(ed);
    click(ed->cmdnext);
    QTest::keyClicks(ed->txtques, QStringLiteral("?"));
    env->boxes.answer(Answer::Yes);
    click(ed->cmdadd);
    QCOMPARE(bankRecord(2).left(12), QByteArray("?Question 2 "));
    QCOMPARE(ed->lblnumber->text(), QStringLiteral("NO.  4"));
    QCOMPARE(env->read(kBank).size(), 1728);
}

void TestEditor::saveWithoutAnAnswerIsRefused_data()
{
    QTest::addColumn<bool>("adding");
    QTest::addColumn<char>("answer"); // record 1's answer byte
    QTest::addColumn<QString>("button");
    QTest::newRow("new record, SAVE") << true << 'a' << "cmdsave";
    QTest::newRow("no answer byte, SAVE") << false << '\0' << "cmdsave";
    QTest::newRow("upper-case answer byte, SAVE") << false << 'A' << "cmdsave";
    QTest::newRow("no answer byte, Yes on NEXT") << false << '\0' << "cmdnext";
}

void TestEditor::saveWithoutAnAnswerIsRefused()
{
    QFETCH(bool, adding);
    QFETCH(char, answer);
    QFETCH(QString, button);
    QByteArray bank = record(1, 'a').toBytes() + record(2, 'b').toBytes();
    bank[575] = answer;
    frmverques* ed = open(bank);
    QVERIFY(ed);
    if (adding) {
        click(ed->cmdadd);
        fill(ed);
    } else {
        QTest::keyClicks(ed->txta, QStringLiteral("!"));
    }
    QVERIFY(!ed->answers->checkedButton());
    const bool prompt = button == QStringLiteral("cmdnext");
    if (prompt)
        env->boxes.answer(Answer::Yes);
    env->boxes.answer(Answer::Ok);
    click(ed->findChild<QAbstractButton*>(button));
    QCOMPARE(boxesShown(), prompt ? 2 : 1);
    QCOMPARE(env->boxes.shown.last(), exclamation(kNoAnswer));
    QCOMPARE(env->read(kBank), bank);
    const QString number = adding ? QStringLiteral("NO.  3") : QStringLiteral("NO.  1");
    QCOMPARE(ed->lblnumber->text(), number);
    QVERIFY(ed->cmdsave->isEnabled() && state().changed);
    // Once the user chooses it, the answer is saved.
    click(ed->optd);
    if (prompt)
        env->boxes.answer(Answer::Yes);
    click(ed->findChild<QAbstractButton*>(button));
    QCOMPARE(bankRecord(adding ? 3 : 1).at(575), 'd');
}

void TestEditor::endOnAnEmptyBankLeavesTheWindow()
{
    frmverques* ed = open(QByteArray());
    QVERIFY(ed);
    fill(ed);
    env->boxes.answer(Answer::No);
    click(ed->cmdend);
    QCOMPARE(boxesShown(), 1);
    QCOMPARE(ed->lblnumber->text(), QStringLiteral("No."));
    QCOMPARE(ed->txtques->text(), QStringLiteral("x"));
    QCOMPARE(state().recno, 1);
    QCOMPARE(env->read(kBank), QByteArray(""));
}

void TestEditor::reopeningFromTheMenuShowsRecordOne()
{
    frmverques* ed = open(threeRecords());
    QVERIFY(ed);
    click(ed->cmdend);
    QTest::keyClicks(ed->txta, QStringLiteral("!"));
    QCOMPARE(reopen(), ed);
    QCOMPARE(ed->lblnumber->text(), QStringLiteral("NO.  1"));
    QCOMPARE(ed->txta->text(), QStringLiteral("Spaced out"));
    QVERIFY(!ed->cmdsave->isEnabled());
    QCOMPARE(bankHandles(), 1);
}

void TestEditor::leavingDropsChangesAndClosesTheBank_data()
{
    QTest::addColumn<bool>("exitButton");
    QTest::newRow("&Exit") << true;
    QTest::newRow("close box") << false;
}

void TestEditor::leavingDropsChangesAndClosesTheBank()
{
    QFETCH(bool, exitButton);
    const QByteArray bank = threeRecords();
    frmverques* ed = open(bank);
    QVERIFY(ed);
    QTest::keyClicks(ed->txta, QStringLiteral("!"));
    if (exitButton)
        click(ed->cmdExit);
    else
        ed->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!main1::mainwindow->editor);
    QCOMPARE(bankHandles(), 0);
    QCOMPARE(env->read(kBank), bank);
}

void TestEditor::thousandOpeningsLeaveNoFileOpen()
{
    frmverques* ed = open(threeRecords());
    QVERIFY(ed);
    for (int i = 0; i < 1000; ++i) {
        ed = reopen();
        QVERIFY(ed);
        if (i == 0)
            QCOMPARE(bankHandles(), 1);
        if (i % 2)
            click(ed->cmdExit);
        else
            ed->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(bankHandles(), 0);
}

void TestEditor::failedSaveKeepsTheRecordOnScreen_data()
{
    QTest::addColumn<bool>("folder"); // else the disk fills up within the record
    QTest::addColumn<QString>("reason");
    QTest::newRow("folder in its place") << true << "a folder stands in its place";
    QTest::newRow("disk full within the record") << false << "File too large";
}

void TestEditor::failedSaveKeepsTheRecordOnScreen()
{
    QFETCH(bool, folder);
    QFETCH(QString, reason);
    const QByteArray bank = threeRecords();
    if (folder)
        QVERIFY(QDir(env->dir.path()).mkdir(kBank));
    if (folder)
        env->boxes.answer(Answer::Ok); // told at the opening
    frmverques* ed = open(folder ? QByteArray() : bank);
    QVERIFY(ed);
    if (!folder)
        click(ed->cmdadd);
    fill(ed);
    click(ed->opta);
    env->boxes.answer(Answer::Ok);
    {
        FileSizeLimit limit(folder ? RLIM_INFINITY : bank.size() + 100);
        click(ed->cmdsave);
    }
    QCOMPARE(boxesShown(), folder ? 2 : 1);
    const platform::MessageBox& box = env->boxes.shown.last();
    QVERIFY2(box.text.contains(QStringLiteral("\"verbal.zep\"")) && box.text.contains(reason),
             qPrintable(box.text));
    QCOMPARE(box.icon, platform::Icon::Exclamation);
    QCOMPARE(ed->txte->text(), QStringLiteral("x"));
    QVERIFY(ed->cmdsave->isEnabled());
    QVERIFY(state().changed);
    if (!folder)
        QCOMPARE(env->read(kBank), bank); // no torn record at the end
}

void TestEditor::bankThatCannotBeOpenedIsToldAtEachOpening()
{
    QVERIFY(QDir(env->dir.path()).mkdir(kBank));
    env->boxes.answer(Answer::Ok);
    frmverques* ed = open(QByteArray());
    QVERIFY(ed);
    QCOMPARE(boxesShown(), 1);
    const platform::MessageBox box = env->boxes.shown.first();
    QVERIFY2(box.text.contains(QStringLiteral("\"verbal.zep\"")) &&
                 box.text.contains(QStringLiteral("a folder stands in its place")),
             qPrintable(box.text));
    QCOMPARE(box.icon, platform::Icon::Exclamation);
    // The window opens as usual, empty.
    QVERIFY(ed->isVisible());
    QCOMPARE(ed->lblnumber->text(), QStringLiteral("No."));
    // Picking "&Add" again opens it again, and tells it once more.
    env->boxes.answer(Answer::Ok);
    QCOMPARE(reopen(), ed);
    QCOMPARE(env->boxes.shown, QList<platform::MessageBox>({box, box}));
}

void TestEditor::failedSaveAtThePromptDoesNotMove()
{
    const QByteArray bank = threeRecords();
    frmverques* ed = open(bank);
    QVERIFY(ed);
    click(ed->cmdadd);
    fill(ed);
    click(ed->opta);
    env->boxes.answer(Answer::Yes);
    env->boxes.answer(Answer::Ok);
    {
        FileSizeLimit limit(bank.size());
        click(ed->cmdend);
    }
    QCOMPARE(boxesShown(), 2);
    QCOMPARE(ed->lblnumber->text(), QStringLiteral("NO.  4"));
    QCOMPARE(ed->txtques->text(), QStringLiteral("x"));
    QVERIFY(state().changed);
    QCOMPARE(env->read(kBank), bank);
    // Once the disk has room, the same move asks again and saves.
    env->boxes.answer(Answer::Yes);
    click(ed->cmdend);
    QCOMPARE(env->read(kBank).size(), 2304);
    QCOMPARE(ed->lblnumber->text(), QStringLiteral("NO.  4"));
    QCOMPARE(ed->txtques->text(), QStringLiteral("x"));
}

void TestEditor::savedRecordIsSeenByAnotherHandle()
{
    env->write(kBank, threeRecords());
    BankFile test; // as a running test holds it
    QVERIFY(test.open().ok());
    frmverques* ed = open(QByteArray());
    QVERIFY(ed);
    click(ed->cmdnext);
    QTest::keyClicks(ed->txtd, QStringLiteral("!"));
    click(ed->optb);
    click(ed->cmdsave);
    for (BankFile* reader : {&test, new BankFile}) {
        if (!reader->isOpen())
            QVERIFY(reader->open().ok());
        const Result<QuestionRecord> seen = reader->read(2);
        QVERIFY(seen.ok());
        QCOMPARE(seen.value().choice(3).left(10), QStringLiteral("Choice 2d!"));
        QCOMPARE(seen.value().answer(), QStringLiteral("b"));
        if (reader != &test)
            delete reader;
    }
    test.close();
}

void TestEditor::noRecordNumberBeyondTheLargest()
{
    {
        BankFile bank;
        QVERIFY(bank.open(env->path(kBank)).ok() && bank.write(32766, record(32766, 'e')).ok());
    }
    frmverques* ed = open(QByteArray());
    QVERIFY(ed);
    fill(ed); // record 1 is a skipped one, of zero bytes
    env->boxes.answer(Answer::No);
    click(ed->cmdend);
    QCOMPARE(ed->lblnumber->text(), QStringLiteral("NO.  32766"));
    click(ed->cmdadd);
    QCOMPARE(ed->lblnumber->text(), QStringLiteral("NO.  32767"));
    fill(ed);
    click(ed->opta);
    env->boxes.answer(Answer::Ok);
    click(ed->cmdnext); // 32768 is no record number
    click(ed->cmdsave);
    QCOMPARE(env->read(kBank).size(), 32767 * 576);
    env->boxes.answer(Answer::Ok);
    click(ed->cmdadd); // the bank is full
    const QString end = QStringLiteral("You have reached the end of the datafile");
    QCOMPARE(env->boxes.shown.mid(1),
             QList<platform::MessageBox>({exclamation(end), exclamation(end)}));
    QCOMPARE(ed->lblnumber->text(), QStringLiteral("NO.  32767"));
    QCOMPARE(ed->txtques->text(), QStringLiteral("x"));
}

void TestEditor::replacedBankIsNeverWrittenBlindly_data()
{
    QTest::addColumn<bool>("renamedOver");
    // lexamo-bank import -o verbal.zep puts a new file in the bank's place; a backup copied back
    // after the bank was removed is a new file too.
    QTest::newRow("import over the bank") << true;
    QTest::newRow("removed, backup copied back") << false;
}

void TestEditor::replacedBankIsNeverWrittenBlindly()
{
    QFETCH(bool, renamedOver);
    BankFile old; // the old file, as the editor has it open
    frmverques* ed = open(threeRecords());
    QVERIFY(ed && old.open().ok());
    click(ed->cmdnext);
    QTest::keyClicks(ed->txtd, QStringLiteral("!"));
    const QByteArray backup =
        record(7, 'a').toBytes() + record(8, 'b').toBytes() + record(9, 'c').toBytes();
    if (renamedOver) {
        env->write(QStringLiteral("new.zep"), backup);
        QCOMPARE(std::rename(qPrintable(env->path(QStringLiteral("new.zep"))),
                             qPrintable(env->path(kBank))),
                 0);
    } else {
        QVERIFY(QFile::remove(env->path(kBank)));
        env->write(kBank, backup);
    }
    env->boxes.answer(Answer::Ok);
    click(ed->cmdsave);
    QCOMPARE(env->boxes.shown.last(),
             exclamation(QStringLiteral(
                 "The question bank \"verbal.zep\" was replaced by another program since the "
                 "editor opened it. The question on screen is not saved; the editor now goes on "
                 "with the bank as it is now.")));
    QCOMPARE(env->read(kBank), backup);
    QCOMPARE(old.read(2).value(), QuestionRecord::fromBytes(threeRecords().mid(576)));
    QCOMPARE(ed->txtd->text(), QStringLiteral("Choice 2d!"));
    QVERIFY(ed->cmdsave->isEnabled());

    // Record 2 of the new bank is not the one the editor showed: it is written over only with
    // the user's word.
    const QString changed = QStringLiteral(
        "Question NO. 2 of \"verbal.zep\" was changed by another program since the editor "
        "showed it. Do you want to write the question on screen over it?");
    env->boxes.answer(Answer::No);
    click(ed->cmdsave);
    QCOMPARE(env->boxes.shown.last(),
             (platform::MessageBox{changed, QStringLiteral("Lexamo"), platform::Buttons::YesNo,
                                   platform::Icon::Exclamation, Answer::No}));
    QCOMPARE(env->read(kBank), backup);
    QVERIFY(ed->cmdsave->isEnabled());
    env->boxes.answer(Answer::Yes);
    click(ed->cmdsave);
    QCOMPARE(bankRecord(2).mid(425, 10), QByteArray("Choice 2d!"));
    QCOMPARE(bankRecord(3), backup.mid(1152));
    QVERIFY(!ed->cmdsave->isEnabled());
    QCOMPARE(boxesShown(), 3);
}

void TestEditor::newRecordGoesAtTheTrueEnd_data()
{
    QTest::addColumn<bool>("whileSaving");
    QTest::newRow("added by another program before SAVE") << false;
    QTest::newRow("added by a second Lexamo during SAVE") << true;
}

void TestEditor::newRecordGoesAtTheTrueEnd()
{
    QFETCH(bool, whileSaving);
    frmverques* ed = open(threeRecords());
    QVERIFY(ed);
    click(ed->cmdadd);
    QCOMPARE(ed->lblnumber->text(), QStringLiteral("NO.  4"));
    fill(ed);
    click(ed->optc);
    const QByteArray theirs = record(40, 'e').toBytes();
    const int other = ::open(qPrintable(env->path(kBank)), O_RDWR);
    QVERIFY(other >= 0);
    std::thread second;
    bool added = !whileSaving;
    if (whileSaving) {
        // The other writer holds the bank's lock while it adds its record: the editor's SAVE
        // waits for it and then takes the next number.
        QCOMPARE(::flock(other, LOCK_EX), 0);
        second = std::thread([&] {
            ::usleep(300 * 1000);
            added = ::pwrite(other, theirs.data(), 576, 3 * 576) == 576;
            ::flock(other, LOCK_UN);
        });
    } else {
        BankFile another;
        QVERIFY(another.open().ok());
        QCOMPARE(another.append({QuestionRecord::fromBytes(theirs)}).value(), 4);
    }
    click(ed->cmdsave);
    if (second.joinable())
        second.join();
    ::close(other);
    QVERIFY(added);
    QCOMPARE(ed->lblnumber->text(), QStringLiteral("NO.  5"));
    QCOMPARE(env->read(kBank).size(), 5 * 576);
    QCOMPARE(bankRecord(4), theirs);
    QCOMPARE(bankRecord(5).left(1), QByteArray("x"));
    QCOMPARE(bankRecord(5).at(575), 'c');
    QVERIFY(ed->cmdadd->isEnabled() && !ed->cmdsave->isEnabled());
    QCOMPARE(boxesShown(), 0);
}

void TestEditor::noteBoxesHoldTheirLimits()
{
    frmverques* ed = open(QByteArray(""));
    QVERIFY(ed);
    QTest::keyClicks(ed->cbokind, QString(41, QLatin1Char('k')));
    QCOMPARE(ed->cbokind->currentText(), QString(40, QLatin1Char('k')));
    QTest::keyClicks(ed->txtexplain, QString(1001, QLatin1Char('e')));
    QCOMPARE(ed->txtexplain->text(), QString(1000, QLatin1Char('e')));
    // A pasted text is cut where the box is full; a line break is one character, and so is a
    // character written as a surrogate pair, which is never cut in two.
    const QString smile = QStringLiteral("\U0001F600");
    ed->txtexplain->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("ab\r\n") + smile +
                                       QString(1000, QLatin1Char('p')) + smile);
    QTest::keyClick(ed->txtexplain, Qt::Key_V, Qt::ControlModifier);
    const QString full = QStringLiteral("ab\n") + smile + QString(996, QLatin1Char('p'));
    QCOMPARE(ed->txtexplain->text(), full);
    QTest::keyClick(ed->txtexplain, Qt::Key_Return);
    QCOMPARE(ed->txtexplain->text(), full);
    QTest::keyClick(ed->txtexplain, Qt::Key_Backspace);
    QTest::keyClick(ed->txtexplain, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(ed->txtexplain->text(), full.chopped(1) + QStringLiteral("a"));
}

void TestEditor::noteIsSavedByEveryPathThatSavesItsRecord_data()
{
    QTest::addColumn<bool>("adding");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("recno");
    QTest::newRow("SAVE") << false << "cmdsave" << 1;
    QTest::newRow("Yes on NEXT") << false << "cmdnext" << 1;
    QTest::newRow("Yes on END") << false << "cmdend" << 1;
    QTest::newRow("Yes on ADD") << false << "cmdadd" << 1;
    QTest::newRow("ADD, then SAVE") << true << "cmdsave" << 4;
}

void TestEditor::noteIsSavedByEveryPathThatSavesItsRecord()
{
    QFETCH(bool, adding);
    QFETCH(QString, button);
    QFETCH(int, recno);
    frmverques* ed = open(threeRecords());
    QVERIFY(ed);
    if (adding) {
        click(ed->cmdadd);
        fill(ed);
        click(ed->optc);
    } else {
        QTest::keyClicks(ed->txtques, QStringLiteral("Far: "));
    }
    QTest::keyClicks(ed->cbokind, QStringLiteral("antonym"));
    QTest::keyClicks(ed->txtexplain, QStringLiteral("Near is the opposite of far."));
    const bool prompt = button != QStringLiteral("cmdsave");
    if (prompt)
        env->boxes.answer(Answer::Yes);
    click(ed->findChild<QAbstractButton*>(button));
    QCOMPARE(boxesShown(), prompt ? 1 : 0);
    QCOMPARE(bankRecord(recno).left(5), adding ? QByteArray("x    ") : QByteArray("Far: "));
    // The row carries the check of the record as it was saved.
    QCOMPARE(savedNote(recno),
             (BankNote{QStringLiteral("antonym"), QStringLiteral("Near is the opposite of far.")}));
    QCOMPARE(BankNotes::load(env->path(kNotes)).notes.rows().keys(), QList<qint64>{recno});
}

void TestEditor::noteComesBackWithItsRecordUnlessChanged()
{
    // Record 1 has a note; record 3's note was written for a question that another program has
    // put another in place of since.
    const BankNote first{QStringLiteral("synonym"), QStringLiteral("Both mean \"large\".")};
    BankNotes notes;
    notes.setNote(1, QuestionRecord::fromBytes(threeRecords().left(576)), first);
    notes.setNote(3, record(30, 'a'), {QStringLiteral("analogy"), QStringLiteral("Gone.")});
    env->write(kNotes, notes.toBytes());
    frmverques* ed = open(threeRecords());
    QVERIFY(ed);
    QCOMPARE(ed->cbokind->currentText(), first.kind);
    QCOMPARE(ed->txtexplain->text(), first.explanation);
    QVERIFY(!ed->cmdsave->isEnabled());
    QCOMPARE(kindsOffered(ed), QStringList({"analogy", "synonym"}));

    click(ed->cmdnext);
    QVERIFY(ed->cbokind->currentText().isEmpty() && ed->txtexplain->text().isEmpty());
    const BankNote second{QStringLiteral("word in context"), QStringLiteral("First\nsecond")};
    QTest::keyClicks(ed->cbokind, second.kind);
    QTest::keyClicks(ed->txtexplain, QStringLiteral("First"));
    QTest::keyClick(ed->txtexplain, Qt::Key_Return);
    QTest::keyClicks(ed->txtexplain, QStringLiteral("second"));
    click(ed->cmdsave);
    ed->close();

    ed = reopen();
    QVERIFY(ed);
    QCOMPARE(ed->cbokind->currentText(), first.kind);
    QCOMPARE(kindsOffered(ed), QStringList({"analogy", "synonym", "word in context"}));
    click(ed->cmdnext);
    QCOMPARE(ed->cbokind->currentText(), second.kind);
    QCOMPARE(ed->txtexplain->text(), second.explanation);
    QVERIFY(!ed->cmdsave->isEnabled());
    // An edit of the question takes the note with it; record 3 shows no note.
    QTest::keyClicks(ed->txtques, QStringLiteral("!"));
    env->boxes.answer(Answer::Yes);
    click(ed->cmdnext);
    QCOMPARE(ed->lblnumber->text(), QStringLiteral("NO.  3"));
    QVERIFY(ed->cbokind->currentText().isEmpty() && ed->txtexplain->text().isEmpty());
    QCOMPARE(bankRecord(2).left(11), QByteArray("!Question 2"));
    QCOMPARE(savedNote(2), second);
    click(ed->cmdprevious);
    QCOMPARE(ed->txtexplain->text(), second.explanation);
    QCOMPARE(boxesShown(), 1);
}

// Notes for every record a bank can have, each explanation 1,000 characters: the editor opens
// without waiting for them, its note boxes disabled until they come. What the user changed
// meanwhile stays changed, and a SAVE before they come keeps the record's note.
void TestEditor::notesOfAFullBankComeWithoutLosingAnEdit()
{
    const BankNote first{QStringLiteral("synonym"), QStringLiteral("Both mean \"large\".")};
    BankNotes notes;
    notes.setNote(1, QuestionRecord::fromBytes(threeRecords().left(576)), first);
    for (int n = 4; n <= BankFile::kMaxRecords; ++n)
        notes.setNote(n, record(n, 'a'), {QStringLiteral("antonym"), QString(1000, u'w')});
    for (const bool saveAtOnce : {false, true}) {
        env->write(kNotes, notes.toBytes()); // a file written anew is read anew
        frmverques* ed = saveAtOnce ? reopen(false) : open(threeRecords(), false);
        QVERIFY(ed);
        if (ed->cbokind->isEnabled())
            QSKIP("the notes came before the window was on screen");
        QVERIFY(!ed->txtexplain->isEnabled());
        QCOMPARE(ed->txtexplain->placeholderText(),
                 QStringLiteral("Reading the notes of the bank..."));
        QTest::keyClicks(ed->txtques, QStringLiteral("!"));
        if (saveAtOnce) {
            click(ed->cmdsave);
            QCOMPARE(savedNote(1), first);
            QVERIFY(!ed->cmdsave->isEnabled());
        }
        QTRY_VERIFY(ed->cbokind->isEnabled());
        QCOMPARE(ed->cbokind->currentText(), first.kind);
        QCOMPARE(ed->txtexplain->text(), first.explanation);
        QCOMPARE(kindsOffered(ed), QStringList({"antonym", "synonym"}));
        QCOMPARE(ed->cmdsave->isEnabled(), !saveAtOnce);
        ed->close();
    }
    QCOMPARE(bankRecord(1).left(11), QByteArray("!First line"));
    QCOMPARE(boxesShown(), 0);
}

void TestEditor::badNotesFileIsToldOnceAndCostsOnlyTheNotes()
{
    const QuestionRecord first = QuestionRecord::fromBytes(threeRecords().left(576));
    const QString check = QStringLiteral("%1").arg(first.check(), 4, 16, QLatin1Char('0'));
    env->write(kNotes, "record,check,kind,explanation\r\n1," + check.toLatin1() +
                           ",synonym,Kept.\r\n2,zz,antonym,\"Open\r\n");
    const QString warning = BankNotes::load(env->path(kNotes)).warning;
    QVERIFY(warning.contains(kNotes));
    env->boxes.answer(Answer::Ok);
    frmverques* ed = open(threeRecords());
    QVERIFY(ed);
    QCOMPARE(env->boxes.shown, QList<platform::MessageBox>{exclamation(warning)});
    QCOMPARE(ed->cbokind->currentText(), QStringLiteral("synonym"));
    // The editor saves as ever; the notes file is written anew without the rows it could not
    // read, so the next opening tells nothing.
    QTest::keyClicks(ed->txtb, QStringLiteral("!"));
    click(ed->cmdsave);
    QCOMPARE(bankRecord(1).mid(275, 11), QByteArray("Choice 1b! "));
    QCOMPARE(savedNote(1), (BankNote{QStringLiteral("synonym"), QStringLiteral("Kept.")}));
    ed->close();
    QVERIFY(reopen());
    QCOMPARE(boxesShown(), 1);
}

void TestEditor::notesThatCannotBeWrittenAreToldAfterTheRecordIsSaved()
{
    frmverques* ed = open(threeRecords());
    QVERIFY(ed);
    QTest::keyClicks(ed->txtb, QStringLiteral("!"));
    QTest::keyClicks(ed->cbokind, QStringLiteral("synonym"));
    {
        ReadOnlyFolder folder(env->dir.path()); // the bank is written in place, the notes anew
        QVERIFY(folder.active());
        env->boxes.answer(Answer::Ok);
        click(ed->cmdsave);
        env->boxes.answer(Answer::Yes);
        env->boxes.answer(Answer::Ok);
        click(ed->cmdnext);
    }
    const platform::MessageBox told = exclamation(
        QStringLiteral("Question NO. 1 is saved, but its kind and explanation are not. Cannot "
                       "write \"verbal.notes.csv\": Permission denied."));
    QCOMPARE(boxesShown(), 3);
    QCOMPARE(env->boxes.shown.first(), told);
    QCOMPARE(env->boxes.shown.last(), told);
    // The record is saved; the note stays on screen, unsaved, until a save can write it.
    QCOMPARE(bankRecord(1).mid(275, 11), QByteArray("Choice 1b! "));
    QVERIFY(!env->exists(kNotes));
    QCOMPARE(ed->lblnumber->text(), QStringLiteral("NO.  1"));
    QCOMPARE(ed->cbokind->currentText(), QStringLiteral("synonym"));
    QVERIFY(ed->cmdsave->isEnabled() && state().changed);
    click(ed->cmdsave);
    QCOMPARE(boxesShown(), 3);
    QCOMPARE(savedNote(1), (BankNote{QStringLiteral("synonym"), QString()}));
    QVERIFY(!ed->cmdsave->isEnabled());
}

QTEST_MAIN(TestEditor)
#include "tst_editor.moc"
