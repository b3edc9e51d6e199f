#pragma once

#include "bank/BankFile.h"
#include "bank/QuestionRecord.h"
#include "editor/EditorState.h"

#include <QWidget>
#include <array>
#include <optional>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;
class QToolButton;
class LimitedTextBox;

// The question-bank editor: one record of the bank at a time, in six text boxes and five option
// buttons, with its note (kind and explanation) below them; it saves the record on screen, steps
// through the bank and appends new records.
class frmverques : public QWidget {
    Q_OBJECT

public:
    // The window goes on with the state the application keeps for the editor, which must
    // outlive it.
    explicit frmverques(EditorState& state, QWidget* parent = nullptr);
    ~frmverques() override;

    // The client area in twips.
    static constexpr int kClientWidth = 7200;
    static constexpr int kClientHeight = 7875;

    // Load step: opens the bank afresh and shows record 1 when the bank holds anything. A bank
    // that cannot be opened is told in a box when the window is on screen.
    void Form_Load();
    // Reads record n into the working copy and shows it; the caller sets recno.
    void showrecord(qint16 n);
    // 1 when any text box is empty, 0 when every one holds text.
    qint16 checkstatus() const;
    // What became of the record on screen.
    enum class Saved {
        Written,
        Kept,        // another program changed the record meanwhile, and the user kept it
        WithoutNote, // the record was written, but its note could not be (the user was told)
    };
    // Copies the screen into the working copy and writes it as record n, then its note. A new
    // record, or one beyond the end, goes at the true end of the bank as it stands at that
    // moment (recno and the number shown follow). A record of the bank is written over only
    // while it holds what the editor last read or wrote there, or with the user's word. When the
    // write fails, the working copy is as it was.
    Result<Saved> saverecord(qint16 n);
    // Records were added at the end of the bank, from first on, with these notes (Tools >
    // Import Questions): the window reaches them, with their kinds and explanations, and the
    // record on screen keeps what was typed. A new record not saved yet takes the number after
    // them.
    void recordsAdded(qint64 first, const QList<QuestionRecord>& records,
                      const QList<BankNote>& notes);

    // Controls, in tab order.
    QLabel* lblhead = nullptr;
    QLabel* lblqeus = nullptr;
    LimitedTextBox* txtques = nullptr;
    QLabel* lbla = nullptr;
    QLineEdit* txta = nullptr;
    QLabel* lblb = nullptr;
    QLineEdit* txtb = nullptr;
    QLabel* lblc = nullptr;
    QLineEdit* txtc = nullptr;
    QLabel* lbld = nullptr;
    QLineEdit* txtd = nullptr;
    QLabel* lble = nullptr;
    QLineEdit* txte = nullptr;
    QGroupBox* fraans = nullptr;
    QRadioButton* opta = nullptr;
    QRadioButton* optb = nullptr;
    QRadioButton* optc = nullptr;
    QRadioButton* optd = nullptr;
    QRadioButton* opte = nullptr;
    QLabel* lblkind = nullptr;
    QComboBox* cbokind = nullptr; // offers the kinds the bank's notes name, and takes a new one
    QLabel* lblexplain = nullptr;
    LimitedTextBox* txtexplain = nullptr;
    QPushButton* cmdExit = nullptr;
    QLabel* lblnumber = nullptr;
    QPushButton* cmdbegin = nullptr;
    QToolButton* cmdnext = nullptr;
    QToolButton* cmdprevious = nullptr;
    QPushButton* cmdend = nullptr;
    QPushButton* cmdadd = nullptr;
    QPushButton* cmdsave = nullptr;
    QButtonGroup* answers = nullptr; // opta to opte: selecting one clears the others

    // Handlers.
    void cmdsave_Click();
    void cmdbegin_Click();
    void cmdprevious_Click();
    void cmdnext_Click();
    void cmdend_Click();
    void cmdadd_Click();
    void cmdExit_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    enum class Move { Begin, Previous, Next, End };
    // What the unsaved-changes prompt leads to.
    enum class Prompt { GoOn, Stay, SaveFailed };

    void buildControls();
    void connectHandlers();
    void Form_Unload();
    // Reads the bank's notes when the file is not the one read before: in the background, the
    // kind and explanation boxes disabled until they come, when they take longer than an
    // opening may wait. A notes file that cannot be read, or only in part, is told once in a
    // box while the window is on screen.
    void loadNotes();
    // The notes read in the background, once they are there: the record on screen gets its
    // kind and explanation, and what it changed so far stays changed.
    void takeNotes();
    // Waits for the notes still being read, so that what is saved holds the note on screen.
    void awaitNotes();
    void tellNotesProblem();

    std::array<QLineEdit*, 5> choiceBoxes() const { return {txta, txtb, txtc, txtd, txte}; }
    std::array<QRadioButton*, 5> options() const { return {opta, optb, optc, optd, opte}; }

    void go(Move move);
    bool refusedAtBound(Move move);
    Prompt askToSave();
    std::optional<qint16> target(Move move) const;
    qint16 recordCount() const;
    // Every change to a box or an option lands here.
    void markChanged();
    // Sets the change flag; SAVE follows it.
    void setChanged(bool changed);
    // SAVE is offered while the record on screen has changed, or after ADD (see EditorState).
    void updateSaveState();
    void reportSaveFailure(const QString& why);
    // True while the bank open is still the file the bank's name leads to; otherwise a box
    // tells what another program did, and the bank is opened again as it now is.
    bool bankStillThere();
    // False, after a box that asks for it, while no option gives the correct answer.
    bool answerChosen();
    // The boxes and options from a record and its note, and a record and a note from them: the
    // one place each way that knows which box shows which field. recordFromForms starts from the
    // working copy, so a field no box changed keeps what was last read or written.
    void setForms(const QuestionRecord& record, const BankNote& note);
    QuestionRecord recordFromForms() const;
    BankNote noteFromForms() const;
    void setNoteBoxes(const BankNote& note);
    // The kind box's list: the kinds the notes name; the text in the box stays.
    void showKinds();
    // Writes the record as saverecord does, without its note.
    Result<Saved> writerecord(qint16 n, const QuestionRecord& record);
    Result<Saved> appendrecord(const QuestionRecord& record);
    // Gives record n, just written, its note, under the bank's lock. False, after a box, when
    // the notes file could not be written.
    bool savenote(qint16 n, const QuestionRecord& record, const BankNote& note);
    void showNumber(qint16 n);

    EditorState& state_;
    QTimer* notesTimer_ = nullptr; // looks, while the notes are read, whether they are there
    // Why the latest opening of the bank failed; empty when it is open.
    QString openError_;
};
