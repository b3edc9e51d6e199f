#include "editor/frmverques.h"

#include "bank/TextRules.h"
#include "editor/LimitedTextBox.h"
#include "platform/Forms.h"
#include "platform/MessageBoxes.h"
#include "platform/Twips.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>

namespace {

const QString kEmptyFields = QStringLiteral("Don't leave any text boxes empty");
const QString kBeginning = QStringLiteral("You are at the beginig of the datafile");
const QString kEnd = QStringLiteral("You have reached the end of the datafile");
const QString kChanged =
    QStringLiteral("You have changed the contents of the question. Do you want to save changes!");
const QString kChangedTitle = QStringLiteral("Contents changed...");
const QString kBankReplaced =
    QStringLiteral("The question bank \"%1\" was %2 by another program since the editor opened "
                   "it. The question on screen is not saved; the editor now goes on with the bank "
                   "as it is now.");
const QString kNoAnswer = QStringLiteral("Select the correct answer (A to E) before saving.");
const QString kNoteNotSaved =
    QStringLiteral("Question NO. %1 is saved, but its kind and explanation are not. %2");
const QString kRecordChanged = QStringLiteral(
    "Question NO. %1 of \"%2\" was changed by another program since the editor showed it. Do "
    "you want to write the question on screen over it?");

void warn(const QString& text)
{
    platform::msgBox(text, platform::Buttons::Ok, platform::Icon::Exclamation);
}

QPushButton* commandButton(const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setAutoDefault(false);
    return button;
}

QToolButton* pictureButton(const QString& caption, bool pointingRight, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setText(caption);
    forms::showArrow(button, pointingRight);
    button->setIconSize(QSize(16, 16));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

QComboBox* kindBox(QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    // Enter in the box adds nothing to the list: the list holds the kinds the notes name.
    box->setInsertPolicy(QComboBox::NoInsert);
    // The kinds offered drop down as the user types, and nothing is filled in unasked: a new kind
    // that begins like a known one ("syn" beside "synonym") stays as typed.
    box->completer()->setCompletionMode(QCompleter::PopupCompletion);
    box->completer()->setCaseSensitivity(Qt::CaseSensitive);
    box->lineEdit()->setMaxLength(BankNotes::kMaxKind);
    box->setToolTip(QStringLiteral("Enter the kind of question here, or pick one from the list."));
    box->setAccessibleName(QStringLiteral("Kind"));
    return box;
}

QLineEdit* choiceBox(const QString& letter, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setToolTip(QStringLiteral("Enter choice %1 here.").arg(letter));
    box->setAccessibleName(QStringLiteral("Choice %1").arg(letter));
    return box;
}

} // namespace

frmverques::frmverques(EditorState& state, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      state_(state)
{
    setObjectName(QStringLiteral("frmverques"));
    setWindowTitle(QStringLiteral("Add to your Verbal database..."));
    setWindowIcon(forms::programIcon());
    forms::announceAsWindow(this);
    setFixedSize(twips::rect(0, 0, kClientWidth, kClientHeight).size());
    buildControls();
    connectHandlers();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().topLeft());
    txtques->setFocus();
    Form_Load();
}

frmverques::~frmverques()
{
    Form_Unload();
}

void frmverques::buildControls()
{
    const QString antiqua = QStringLiteral("Book Antiqua");
    const QFont label = twips::font(antiqua, 9);
    const QFont box = twips::font(QStringLiteral("System"), 9.75, twips::Bold);
    const QFont sans = twips::font(QStringLiteral("MS Sans Serif"), 8.25);

    lblhead = new QLabel(QStringLiteral("Enter the question to be added into the database"), this);
    lblqeus = new QLabel(QStringLiteral("Question"), this);
    txtques =
        new LimitedTextBox(QuestionRecord::kQuestionWidth, &LimitedTextBox::storedLength, this);
    txtques->setToolTip(QStringLiteral("Enter the question to be added here."));
    txtques->setAccessibleName(QStringLiteral("Question"));
    lbla = new QLabel(QStringLiteral("Choice A"), this);
    txta = choiceBox(QStringLiteral("A"), this);
    lblb = new QLabel(QStringLiteral("Choice B"), this);
    txtb = choiceBox(QStringLiteral("B"), this);
    lblc = new QLabel(QStringLiteral("Choice C"), this);
    txtc = choiceBox(QStringLiteral("C"), this);
    lbld = new QLabel(QStringLiteral("Choice D"), this);
    txtd = choiceBox(QStringLiteral("D"), this);
    lble = new QLabel(QStringLiteral("Choice E"), this);
    txte = choiceBox(QStringLiteral("E"), this);
    fraans = new QGroupBox(QStringLiteral("Select correct answer"), this);
    opta = new QRadioButton(QStringLiteral("A"), fraans);
    optb = new QRadioButton(QStringLiteral("B"), fraans);
    optc = new QRadioButton(QStringLiteral("C"), fraans);
    optd = new QRadioButton(QStringLiteral("D"), fraans);
    opte = new QRadioButton(QStringLiteral("E"), fraans);
    lblkind = new QLabel(QStringLiteral("&Kind:"), this);
    cbokind = kindBox(this);
    lblkind->setBuddy(cbokind);
    lblexplain = new QLabel(QStringLiteral("E&xplanation:"), this);
    txtexplain = new LimitedTextBox(BankNotes::kMaxExplanation, &LimitedTextBox::characters, this);
    txtexplain->setToolTip(QStringLiteral("Enter why the correct answer is correct here."));
    txtexplain->setAccessibleName(QStringLiteral("Explanation"));
    lblexplain->setBuddy(txtexplain);
    cmdExit = commandButton(QStringLiteral("&Exit"), this);
    lblnumber = new QLabel(QStringLiteral("No."), this);
    cmdbegin = commandButton(QStringLiteral("BEGIN"), this);
    cmdnext = pictureButton(QStringLiteral("NEXT"), true, this);
    cmdprevious = pictureButton(QStringLiteral("PREVIOUS"), false, this);
    cmdend = commandButton(QStringLiteral("END"), this);
    cmdadd = commandButton(QStringLiteral("ADD"), this);
    cmdsave = commandButton(QStringLiteral("SAVE"), this);
    // A new window offers nothing to save, whatever the last one left unsaved; from here on
    // SAVE follows the state.
    cmdsave->setEnabled(false);

    // The layout table, in tab order. The option buttons stand in the frame: their places are
    // given in the window and moved into the frame's own coordinates.
    constexpr int fx = 240;
    constexpr int fy = 4560;
    forms::layOut({
        {lblhead, "lblhead", 120, 0, 4815, 255, twips::font(antiqua, 9.75, twips::Bold)},
        {lblqeus, "lblqeus", 120, 360, 855, 255, label},
        {txtques, "txtques", 960, 360, 4215, 1095, box},
        {lbla, "lbla", 120, 1800, 852, 252, label},
        {txta, "txta", 960, 1800, 4215, 375, box},
        {lblb, "lblb", 120, 2280, 735, 255, label},
        {txtb, "txtb", 960, 2280, 4215, 375, box},
        {lblc, "lblc", 120, 2760, 735, 255, label},
        {txtc, "txtc", 960, 2760, 4215, 375, box},
        {lbld, "lbld", 120, 3240, 852, 252, label},
        {txtd, "txtd", 960, 3240, 4215, 375, box},
        {lble, "lble", 120, 3720, 735, 255, label},
        {txte, "txte", 960, 3720, 4215, 375, box},
        {fraans, "fraans", 240, 4560, 3255, 735, label},
        {opta, "opta", 360 - fx, 4800 - fy, 495, 375, sans},
        {optb, "optb", 960 - fx, 4800 - fy, 495, 375, sans},
        {optc, "optc", 1560 - fx, 4800 - fy, 495, 375, sans},
        {optd, "optd", 2160 - fx, 4800 - fy, 495, 375, sans},
        {opte, "opte", 2760 - fx, 4800 - fy, 495, 375, sans},
        {lblkind, "lblkind", 120, 5520, 852, 255, label},
        {cbokind, "cbokind", 960, 5520, 4215, 375, box},
        {lblexplain, "lblexplain", 120, 6000, 1815, 255, label},
        {txtexplain, "txtexplain", 120, 6300, 6735, 1455, box},
        {cmdExit, "cmdExit", 4920, 4800, 1215, 495, sans},
        {lblnumber, "lblnumber", 120, 720, 732, 252, label},
        {cmdbegin, "cmdbegin", 5640, 1680, 1215, 495, sans},
        {cmdnext, "cmdnext", 5640, 3120, 1215, 495, sans},
        {cmdprevious, "cmdprevious", 5640, 2400, 1215, 495, sans},
        {cmdend, "cmdend", 5640, 3840, 1215, 495, sans},
        {cmdadd, "cmdadd", 5640, 240, 1215, 495, sans},
        {cmdsave, "cmdsave", 5640, 960, 1215, 495, sans},
    });

    answers = new QButtonGroup(this);
    answers->setObjectName(QStringLiteral("answers"));
    for (QRadioButton* option : options())
        answers->addButton(option);
}

void frmverques::connectHandlers()
{
    notesTimer_ = new QTimer(this);
    notesTimer_->setInterval(20);
    connect(notesTimer_, &QTimer::timeout, this, [this] {
        using namespace std::chrono_literals;
        if (state_.notesComing.valid() &&
            state_.notesComing.wait_for(0s) == std::future_status::ready)
            takeNotes();
    });
    connect(cmdsave, &QPushButton::clicked, this, &frmverques::cmdsave_Click);
    connect(cmdbegin, &QPushButton::clicked, this, &frmverques::cmdbegin_Click);
    connect(cmdprevious, &QToolButton::clicked, this, &frmverques::cmdprevious_Click);
    connect(cmdnext, &QToolButton::clicked, this, &frmverques::cmdnext_Click);
    connect(cmdend, &QPushButton::clicked, this, &frmverques::cmdend_Click);
    connect(cmdadd, &QPushButton::clicked, this, &frmverques::cmdadd_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmverques::cmdExit_Click);
    // Any change to the record on screen marks it changed, typed or made by the program; an
    // option counts when it becomes selected, not when it is cleared.
    connect(txtques, &QPlainTextEdit::textChanged, this, &frmverques::markChanged);
    for (QLineEdit* choice : choiceBoxes())
        connect(choice, &QLineEdit::textChanged, this, &frmverques::markChanged);
    connect(cbokind, &QComboBox::editTextChanged, this, &frmverques::markChanged);
    connect(txtexplain, &QPlainTextEdit::textChanged, this, &frmverques::markChanged);
    for (QRadioButton* option : options())
        connect(option, &QRadioButton::toggled, this, [this](bool selected) {
            if (selected)
                markChanged();
        });
}

void frmverques::Form_Load()
{
    EditorState& s = state_;
    // Each opening opens the bank afresh, closing the handle held before, so that it sees the
    // bank as it is now and never leaves a second handle open.
    s.fileno.close();
    openError_ = s.fileno.open().error();
    // Told at once, not after a whole question has been typed. The first run of the load step
    // comes before the window is shown, so each opening tells it once.
    if (!openError_.isEmpty() && isVisible())
        warn(openError_);
    if (s.fileno.isOpen())
        loadNotes();
    // Every opening starts at the first record, and shows it when the bank holds any; on an
    // empty bank the boxes and the working copy stay as they were.
    s.recno = 1;
    s.adding = false;
    if (s.fileno.length() > 0)
        showrecord(1);
}

void frmverques::loadNotes()
{
    EditorState& s = state_;
    const QString path = BankNotes::pathFor(s.fileno.fileName());
    // Stamped before it is read: a file changed meanwhile is read again at the next opening.
    const regularfile::Stamp now = regularfile::stamp(path);
    const bool anew = !(now == s.notesRead);
    if (anew) {
        s.notesComing = BankNotes::loadLater(path);
        s.notesRead = now;
    }
    // The notes of a small file are there at once; those of a large one come when they come.
    using namespace std::chrono_literals;
    if (s.notesComing.valid() &&
        s.notesComing.wait_for(anew ? 20ms : 0ms) == std::future_status::ready)
        takeNotes();
    const bool coming = s.notesComing.valid();
    for (QWidget* box : {static_cast<QWidget*>(cbokind), static_cast<QWidget*>(txtexplain)})
        box->setEnabled(!coming);
    txtexplain->setPlaceholderText(coming ? QStringLiteral("Reading the notes of the bank...")
                                          : QString());
    if (coming) {
        notesTimer_->start();
    } else {
        showKinds(); // a new window offers the kinds read at an earlier opening
        tellNotesProblem();
    }
}

void frmverques::takeNotes()
{
    EditorState& s = state_;
    if (!s.notesComing.valid())
        return;
    BankNotes::Loaded loaded = s.notesComing.get();
    s.notesComing = {};
    notesTimer_->stop();
    s.notes = std::move(loaded.notes);
    s.kinds = s.notes.kinds();
    s.notesWarning = loaded.warning;
    s.notesTold = false;
    cbokind->setEnabled(true);
    txtexplain->setEnabled(true);
    txtexplain->setPlaceholderText({});
    // The boxes were disabled, so they hold nothing of the user's: the note of the record on
    // screen goes in, and the change flag stays as the user left it.
    const bool changed = s.changed;
    showKinds();
    if (!s.adding && s.fileno.isOpen() && s.recno >= 1 && s.recno <= recordCount()) {
        setNoteBoxes(s.notes.noteFor(s.recno, s.quesrec));
    }
    setChanged(changed);
    tellNotesProblem();
}

void frmverques::awaitNotes()
{
    if (state_.notesComing.valid())
        takeNotes();
}

void frmverques::tellNotesProblem()
{
    EditorState& s = state_;
    if (!s.notesWarning.isEmpty() && !s.notesTold && isVisible()) {
        s.notesTold = true;
        warn(s.notesWarning);
    }
}

void frmverques::Form_Unload()
{
    state_.fileno.close();
}

void frmverques::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void frmverques::recordsAdded(qint64 first, const QList<QuestionRecord>& records,
                              const QList<BankNote>& notes)
{
    EditorState& s = state_;
    // The notes as the import wrote them, on those being read; the count of records is the
    // bank's length, which the open bank tells as it grows.
    awaitNotes();
    for (qsizetype i = 0; i < records.size(); ++i)
        s.notes.setNote(first + i, records.at(i), notes.value(i));
    s.kinds = s.notes.kinds();
    showKinds();
    if (s.adding && recordCount() < BankFile::kMaxRecords) {
        s.recno = static_cast<qint16>(recordCount() + 1);
        showNumber(s.recno);
    }
}

void frmverques::showrecord(qint16 n)
{
    EditorState& s = state_;
    // A record the file layer cannot read shows as empty fields.
    s.quesrec = s.fileno.read(n).valueOr(QuestionRecord());
    s.adding = false;
    showNumber(n);
    setForms(s.quesrec, s.notes.noteFor(n, s.quesrec));
    // Filling the boxes fired their change signals: the flag is cleared after it, as a record
    // just shown has nothing to save.
    s.addPressed = false;
    setChanged(false);
}

void frmverques::setForms(const QuestionRecord& record, const BankNote& note)
{
    txtques->setPlainText(textrules::toShownLineBreaks(textrules::shownField(record.question())));
    for (int i = 0; i < QuestionRecord::kChoiceCount; ++i)
        choiceBoxes()[i]->setText(textrules::shownField(record.choice(i)));
    // The options are cleared before one is selected; only a lower-case letter a to e selects
    // one, any other answer byte leaves them all clear.
    forms::clearGroup(answers);
    if (const int chosen = QuestionRecord::choiceNamed(record.answer()); chosen >= 0)
        options()[chosen]->setChecked(true);
    setNoteBoxes(note);
}

void frmverques::setNoteBoxes(const BankNote& note)
{
    cbokind->setEditText(note.kind);
    // A notes file written by hand may end its lines in CR LF; the box shows line feeds.
    QString explanation = note.explanation;
    explanation.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txtexplain->setPlainText(explanation);
}

void frmverques::showKinds()
{
    const QString typed = cbokind->currentText();
    const QSignalBlocker quiet(cbokind);
    cbokind->clear();
    cbokind->addItems(state_.kinds);
    cbokind->setEditText(typed);
}

qint16 frmverques::checkstatus() const
{
    if (txtques->text().isEmpty())
        return 1;
    for (const QLineEdit* choice : choiceBoxes()) {
        if (choice->text().isEmpty())
            return 1;
    }
    return 0;
}

void frmverques::showNumber(qint16 n)
{
    lblnumber->setText(QStringLiteral("NO.  %1").arg(n));
}

QuestionRecord frmverques::recordFromForms() const
{
    QuestionRecord record = state_.quesrec;
    // The texts as they stand, padded or cut to their fields.
    record.setQuestion(textrules::toStoredLineBreaks(txtques->text()));
    for (int i = 0; i < QuestionRecord::kChoiceCount; ++i)
        record.setChoice(i, choiceBoxes()[i]->text());
    // With no option selected the answer stays that of the record last read or written.
    for (int i = 0; i < QuestionRecord::kChoiceCount; ++i) {
        if (options()[i]->isChecked()) {
            record.setAnswer(QString(QuestionRecord::letterOf(i)));
            break;
        }
    }
    return record;
}

BankNote frmverques::noteFromForms() const
{
    // A kind is one line; a line break pasted into it stands for a space.
    QString kind = cbokind->currentText();
    kind.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return {kind.trimmed(), txtexplain->text()};
}

Result<frmverques::Saved> frmverques::appendrecord(const QuestionRecord& record)
{
    EditorState& s = state_;
    // Another window or program may have added records since ADD: the new one goes after them.
    const Result<qint64> at = s.fileno.append({record});
    if (!at.ok())
        return Failure{at.error()};
    s.recno = static_cast<qint16>(at.value());
    s.adding = false;
    showNumber(s.recno);
    s.quesrec = record;
    return Saved::Written;
}

Result<frmverques::Saved> frmverques::saverecord(qint16 n)
{
    awaitNotes();
    const QuestionRecord record = recordFromForms();
    const Result<Saved> saved = writerecord(n, record);
    if (!saved.ok() || saved.value() != Saved::Written)
        return saved;
    // The note follows the record to the number it now has, with its new check.
    if (!savenote(state_.recno, record, noteFromForms()))
        return Saved::WithoutNote;
    return Saved::Written;
}

Result<frmverques::Saved> frmverques::writerecord(qint16 n, const QuestionRecord& record)
{
    EditorState& s = state_;
    // A new record, or one past the end, goes at the end of the bank as it stands now.
    if (s.adding || n > recordCount())
        return appendrecord(record);
    const Result<BankFile::Rewrite> rewritten = s.fileno.rewrite(n, record, s.quesrec);
    if (!rewritten.ok())
        return Failure{rewritten.error()};
    switch (rewritten.value()) {
    case BankFile::Rewrite::Written:
        break;
    case BankFile::Rewrite::Beyond: // cut short by another program since it was shown
        return appendrecord(record);
    case BankFile::Rewrite::Changed: {
        const QString name = QFileInfo(s.fileno.fileName()).fileName();
        if (platform::msgBox(kRecordChanged.arg(n).arg(name), platform::Buttons::YesNo,
                             platform::Icon::Exclamation, {},
                             platform::Answer::No) != platform::Answer::Yes)
            return Saved::Kept;
        if (const Result<void> written = s.fileno.write(n, record); !written.ok())
            return Failure{written.error()};
        break;
    }
    }
    s.quesrec = record;
    return Saved::Written;
}

bool frmverques::savenote(qint16 n, const QuestionRecord& record, const BankNote& note)
{
    EditorState& s = state_;
    // A record without a note, before and after, leaves the notes file alone: a bank without
    // notes gets no notes file, and one that cannot be read is not written for nothing.
    if (note.isEmpty() && !s.notes.rows().contains(n))
        return true;
    BankNotes updated;
    const Result<void> written = s.fileno.updateNotes([&](BankNotes& notes) {
        notes.setNote(n, record, note);
        updated = notes;
    });
    if (!written.ok()) {
        warn(kNoteNotSaved.arg(n).arg(written.error()));
        return false;
    }
    // The notes as the file now holds them, with what other windows and programs wrote; the
    // next opening reads the file again.
    s.notes = updated;
    s.kinds = s.notes.kinds();
    s.notesRead = {};
    showKinds();
    return true;
}

bool frmverques::bankStillThere()
{
    EditorState& s = state_;
    const BankFile::Place place = s.fileno.place();
    if (place == BankFile::Place::Same)
        return true;
    const QString name = QFileInfo(s.fileno.fileName()).fileName();
    warn(kBankReplaced.arg(name, place == BankFile::Place::Removed ? QStringLiteral("removed")
                                                                   : QStringLiteral("replaced")));
    openError_ = s.fileno.open(s.fileno.fileName()).error();
    if (!openError_.isEmpty())
        warn(openError_);
    else
        loadNotes();
    return false;
}

bool frmverques::answerChosen()
{
    if (answers->checkedButton())
        return true;
    warn(kNoAnswer);
    return false;
}

void frmverques::reportSaveFailure(const QString& why)
{
    // A bank that could not be opened is told by the reason of that opening.
    warn(state_.fileno.isOpen() ? why : openError_);
    // The record on screen is still unsaved.
    setChanged(true);
}

void frmverques::cmdsave_Click()
{
    // A record with an empty box is never written.
    if (checkstatus() == 1) {
        warn(kEmptyFields);
        return;
    }
    // Nor is one whose correct answer the user never chose.
    if (!answerChosen() || !bankStillThere())
        return;
    // The record on screen is written under its number, and stays on screen as typed.
    const Result<Saved> saved = saverecord(state_.recno);
    if (!saved.ok()) {
        reportSaveFailure(saved.error());
        return;
    }
    if (saved.value() == Saved::Kept)
        return;
    cmdadd->setEnabled(true);
    state_.addPressed = false;
    // A note that could not be saved is still unsaved on screen.
    setChanged(saved.value() == Saved::WithoutNote);
}

void frmverques::cmdbegin_Click()
{
    go(Move::Begin);
}

void frmverques::cmdprevious_Click()
{
    go(Move::Previous);
}

void frmverques::cmdnext_Click()
{
    go(Move::Next);
}

void frmverques::cmdend_Click()
{
    go(Move::End);
}

void frmverques::go(Move move)
{
    EditorState& s = state_;
    // An empty box stops the move, and so does a bound of the bank, tested on the count before
    // anything is saved. A move that does not happen keeps the change flag, so the edit on
    // screen is asked about again.
    if (checkstatus() == 1) {
        warn(kEmptyFields);
        return;
    }
    if (!bankStillThere() || refusedAtBound(move))
        return;
    // Unsaved changes are saved first, dropped, or kept by staying; the record to go to is
    // reckoned only after that, so that END goes to a last record just saved.
    const Prompt prompt = askToSave();
    if (prompt != Prompt::GoOn)
        return;
    // The new record is shown, unless there is none (END on an empty bank); showing it clears
    // the change flag.
    if (const std::optional<qint16> next = target(move)) {
        s.recno = *next;
        showrecord(s.recno);
    }
}

bool frmverques::refusedAtBound(Move move)
{
    const qint16 recno = state_.recno;
    if (move == Move::Previous && recno == 1) {
        warn(kBeginning);
        return true;
    }
    // NEXT never goes past the last record: a record being added is not in the bank yet, and a
    // read beyond the end would lead to a save that leaves empty records before it.
    if (move == Move::Next && recno >= recordCount()) {
        warn(kEnd);
        return true;
    }
    return false;
}

frmverques::Prompt frmverques::askToSave()
{
    EditorState& s = state_;
    if (!s.changed)
        return Prompt::GoOn;
    const platform::Answer answer =
        platform::msgBox(kChanged, platform::Buttons::YesNoCancel, platform::Icon::None,
                         kChangedTitle, platform::Answer::Yes);
    s.response = QString::number(static_cast<int>(answer));
    if (answer == platform::Answer::Cancel)
        return Prompt::Stay;
    if (answer == platform::Answer::Yes) {
        if (!answerChosen())
            return Prompt::Stay;
        const Result<Saved> saved = saverecord(s.recno);
        if (!saved.ok()) {
            reportSaveFailure(saved.error());
            return Prompt::SaveFailed;
        }
        // A kept record, or a note not saved, stays on screen.
        if (saved.value() != Saved::Written)
            return Prompt::Stay;
        setChanged(false);
    }
    return Prompt::GoOn;
}

std::optional<qint16> frmverques::target(Move move) const
{
    const qint16 recno = state_.recno;
    switch (move) {
    case Move::Begin:
        return 1;
    case Move::Previous:
        return static_cast<qint16>(recno - 1);
    case Move::Next:
        return static_cast<qint16>(recno + 1);
    case Move::End:
        // Taken now, after any save; an empty bank has no last record to show.
        if (const qint16 count = recordCount(); count > 0)
            return count;
        return std::nullopt;
    }
    return std::nullopt;
}

qint16 frmverques::recordCount() const
{
    return static_cast<qint16>(std::min(state_.fileno.recordCount(), BankFile::kMaxRecords));
}

void frmverques::cmdadd_Click()
{
    EditorState& s = state_;
    // ADD is disabled and SAVE offered at once, on every path, before any check.
    cmdadd->setEnabled(false);
    s.addPressed = true;
    updateSaveState();
    // An empty box stops ADD; unsaved changes are saved first, dropped, or kept by staying.
    // Where the window is not cleared, the change flag stays as it was.
    if (checkstatus() == 1) {
        warn(kEmptyFields);
        return;
    }
    if (!bankStillThere() || askToSave() != Prompt::GoOn)
        return;
    // The new record takes the next free number, counted after any save; a full bank has none.
    if (recordCount() >= BankFile::kMaxRecords) {
        warn(kEnd);
        return;
    }
    s.recno = static_cast<qint16>(recordCount() + 1);
    s.adding = true;
    // The boxes show an empty record under the new number. Clearing them fired their change
    // signals, so the flag is cleared after it: an empty new record has nothing changed yet.
    setForms(QuestionRecord(), BankNote());
    showNumber(s.recno);
    setChanged(false);
}

void frmverques::cmdExit_Click()
{
    // No test and no prompt: unsaved changes are lost.
    Form_Unload();
    close();
}

void frmverques::markChanged()
{
    setChanged(true);
}

void frmverques::setChanged(bool changed)
{
    state_.changed = changed;
    updateSaveState();
}

void frmverques::updateSaveState()
{
    cmdsave->setEnabled(state_.changed || state_.addPressed);
}
