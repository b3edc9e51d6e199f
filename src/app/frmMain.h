#pragma once

#include "editor/EditorState.h"
#include "exam/ExamScreen.h"
#include "progress/ResultsLog.h"

#include <QMainWindow>
#include <QMargins>
#include <QPointer>
#include <QRect>
#include <memory>

class QAction;
class QButtonGroup;
class QCloseEvent;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;
class QToolButton;
class frmOptions;
class frmProgress;
class frmverques;
namespace vertest {
struct State;
}

// The main window: the place where a test runs, where the review of a finished test is shown
// and where both help texts are read. It holds its controls, menus and open tool windows, the
// test it began last, and the view it shows: the test's procedures drive it as the screen of
// the test, and its controls and menus follow the view.
class frmMain : public QMainWindow, public vertest::ExamScreen {
    Q_OBJECT

public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // The layout is designed for a client area of 9510 by 6540 twips.
    static constexpr int kClientWidth = 9510;
    static constexpr int kClientHeight = 6540;
    static constexpr int kEndReviewWidth = 1332;
    // The width of cmdendreview over the test help, in twips.
    static constexpr int kTestHelpEndWidth = 1600;
    // The question and the choices end this far from the window's right edge, in twips.
    static constexpr int kRightMargin = 120;

    // Load step: timer, showtime, "&Test Qiut" disabled, placement, options file.
    void Form_Load();

    // The modeless windows of the Tools menu, while they are open.
    QPointer<frmOptions> options;
    QPointer<frmverques> editor;
    QPointer<frmProgress> progress;
    // What the editor keeps from one opening to the next, handed to each editor window.
    EditorState editorState;

    // A test has added its line to the results log: an open progress window shows it.
    void testLogged();

    // The screen of the test.
    vertest::View view() const override { return view_; }
    void setView(vertest::View view) override;
    void setEndViewWide(bool wide) override;
    void setSection(const QString& name) override;
    void showQuestion(const QString& heading, const QString& question,
                      const QStringList& choices) override;
    int selectedChoice() const override;
    void enableTestButtons() override;
    void setText(const QString& text) override;
    void setLogProblem(const QString& problem) override;

    // Handlers.
    void mnuFileVer_Click();
    void mnuFilePractice_Click();
    // The progress window's "Practise This Kind": a Practice Test of that kind's questions.
    void practiseKind(const QString& kind);
    void mnuFileTestquit_Click();
    void mnuFileExit_Click();
    void mnuOptions_Click();
    void mnuAdd_Click();
    void mnuProgress_Click();
    void mnuImport_Click();
    void mnuExport_Click();
    void mnuHelpContents_Click();
    void mnuHelpAbout_Click();
    void cmdnext_Click();
    void cmdanswer_Click();
    void cmdquit_Click();
    void cmdHelp_Click();
    void cmdtime_Click();
    void cmdendreview_Click();
    void Timer1_Timer();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // The letters A to E select a choice while the question on screen waits for one.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Controls, in the order of the layout table.
    QPlainTextEdit* txtreview = nullptr;
    QToolButton* cmdnext = nullptr;
    QToolButton* cmdanswer = nullptr;
    QLabel* lblsectionname = nullptr;
    QLabel* lblquestionhead = nullptr;
    QLabel* lblquestion = nullptr;
    QRadioButton* opta = nullptr;
    QRadioButton* optb = nullptr;
    QRadioButton* optc = nullptr;
    QRadioButton* optd = nullptr;
    QRadioButton* opte = nullptr;
    QPushButton* cmdquit = nullptr;
    QPushButton* cmdHelp = nullptr;
    QPushButton* cmdtime = nullptr;
    QLabel* lbltime = nullptr;
    QPushButton* cmdendreview = nullptr;
    QTimer* Timer1 = nullptr;
    QButtonGroup* choices = nullptr; // opta to opte: selecting one clears the others

    // Menus and their items, in menu order.
    QMenu* mnuFile = nullptr;
    QAction* mnuFileVer = nullptr;
    QAction* mnuFilePractice = nullptr;
    QAction* mnuFileTestquit = nullptr;
    QAction* mnuFileBar1 = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuTools = nullptr;
    QAction* mnuOptions = nullptr;
    QAction* mnuAdd = nullptr;
    QAction* mnuProgress = nullptr;
    QAction* mnuImport = nullptr;
    QAction* mnuExport = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpContents = nullptr;
    QAction* mnuHelpBar1 = nullptr;
    QAction* mnuHelpAbout = nullptr;

    // The start of a test of either kind: the user's go-ahead, the options and a bank that can
    // serve them. Then the driver's next move: the next question, or the end after the last.
    // A Practice Test of one kind names it in its go-ahead and draws from its questions alone.
    bool begintest(resultslog::Kind kind, const QString& onlyKind = {});
    void nextquestion();
    // The remaining time in its warning colour, or in the window's own.
    void showTimeWarning(bool warn);
    // The contents help, and the reading of a help file into txtreview that both helps share.
    void showhelp();
    void readhelp(const QString& fileName);
    // The review box takes its font only when it is first to show a text: a QPlainTextEdit lays
    // out its document at once when its font changes, hidden or not, and loading that bold face
    // before the window showed cost the start about a tenth of its time.
    void giveReviewItsFont();
    bool reviewHasItsFont_ = false;
    QList<QRadioButton*> choiceButtons() const;
    // Sets the width of cmdendreview in twips, keeping its place.
    void setEndReviewWidth(int widthTwips);

    std::unique_ptr<vertest::State> test_;
    vertest::View view_ = vertest::View::Idle;

    void buildControls();
    void buildMenus();
    void connectHandlers();
    void Form_Unload();
    // The question and the choices take the width the window has to the right of their left edge.
    // The question and the five choices, which take the width the window has.
    QList<QWidget*> questionRows() const;
    void fitQuestionArea();
    void readPlacement();
    void savePlacement();
    // The stored placement is the outer one, frame included, and so is the one saved. The frame
    // is known only once the window is on screen: the normal window is fitted again when it is
    // seen in its normal state with a frame other than the one it was fitted to.
    void fitNormalPlacement();
    void refitToFrame();
    QMargins frame() const;
    QRect normalOuter_;
    QMargins fittedFrame_;
    QSize shownSize_; // the size within the frame when the window was first shown

    // Loads a modeless window (its constructor, given args, runs its load step), shows it and
    // runs its load step once more; an open window is brought to the front instead of loaded
    // again.
    template <typename Form, typename... Args>
    void openModeless(QPointer<Form>& form, Args&... args);
};
