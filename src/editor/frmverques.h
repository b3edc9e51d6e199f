#pragma once

#include "bank/BankFile.h"
#include "bank/QuestionRecord.h"

#include <QWidget>
#include <array>
#include <optional>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class QuestionBox;

// The question-bank editor: one record of the bank at a time, in six text boxes and five option
// buttons; it saves the record on screen, steps through the bank and appends new records.
class frmverques : public QWidget {
    Q_OBJECT

public:
    explicit frmverques(QWidget* parent = nullptr);
    ~frmverques() override;

    // The client area in twips.
    static constexpr int kClientWidth = 7200;
    static constexpr int kClientHeight = 5430;

    // What the editor keeps for the whole run of the program: closing the window keeps it, and
    // the next opening goes on with it.
    struct State {
        bool changed = false;   // a box or option changed since the flag was last cleared
        QString response;       // the last unsaved-changes answer: "6" Yes, "7" No, "2" Cancel
        BankFile fileno;        // the bank, as the window's load step opened it
        qint16 recno = 0;       // the record on screen, or the one being added
        QuestionRecord quesrec; // the working copy: the record last read or written
        bool adding = false;    // the record on screen is a new one, not in the bank yet
    };
    static State& state();
    // Back to the state of a program that has not opened the editor yet.
    static void resetState();

    // Load step: opens the bank afresh and shows record 1 when the bank holds anything. A bank
    // that cannot be opened is told in a box when the window is on screen.
    void Form_Load();
    // Reads record n into the working copy and shows it; the caller sets recno.
    void showrecord(qint16 n);
    // 1 when a text box is empty, else 0.
    qint16 checkstatus() const;
    // What became of the record on screen.
    enum class Saved {
        Written,
        Kept, // another program changed the record meanwhile, and the user kept it
    };
    // Copies the screen into the working copy and writes it as record n. A new record, or one
    // beyond the end, goes at the true end of the bank as it stands at that moment (recno and
    // the number shown follow). A record of the bank is written over only while it holds what
    // the editor last read or wrote there, or with the user's word. When the write fails, the
    // working copy is as it was.
    Result<Saved> saverecord(qint16 n);

    // Controls, in tab order.
    QLabel* lblhead = nullptr;
    QLabel* lblqeus = nullptr;
    QuestionBox* txtques = nullptr;
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
    void txtques_Change();
    void txta_Change();
    void txtb_Change();
    void txtc_Change();
    void txtd_Change();
    void txte_Change();
    void opta_Click();
    void optb_Click();
    void optc_Click();
    void optd_Click();
    void opte_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    enum class Move { Begin, Previous, Next, End };
    // What the unsaved-changes prompt leads to.
    enum class Prompt { GoOn, Stay, SaveFailed };

    void buildControls();
    void connectHandlers();
    void Form_Unload();

    std::array<QLineEdit*, 5> choiceBoxes() const { return {txta, txtb, txtc, txtd, txte}; }
    std::array<QRadioButton*, 5> options() const { return {opta, optb, optc, optd, opte}; }

    void go(Move move);
    bool refusedAtBound(Move move);
    Prompt askToSave();
    std::optional<qint16> target(Move move) const;
    qint16 recordCount() const;
    void clearForNewRecord();
    void markChanged();
    void reportSaveFailure(const QString& why);
    // True while the bank open is still the file the bank's name leads to; otherwise a box
    // tells what another program did, and the bank is opened again as it now is.
    bool bankStillThere();
    QuestionRecord screenRecord() const;
    Result<Saved> appendrecord(const QuestionRecord& record);
    void showNumber(qint16 n);

    // Why the latest opening of the bank failed; empty when it is open.
    QString openError_;
};
