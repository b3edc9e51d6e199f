#pragma once

#include "bank/BankNotes.h"
#include "progress/ResultsLog.h"

#include <QList>
#include <QString>
#include <QWidget>
#include <future>

class PlotView;
class QComboBox;
class QKeyEvent;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QTableWidget;
class QTreeWidget;
class TestTableModel;

// The progress window of Tools > Progress: what the tests of the results log come to, in words,
// as a plot of percent over time and as a table of every test, newest first; and the questions
// of the test selected in the table, read from the bank as it is now, with their kinds from the
// bank's notes, the question selected among them shown whole with its explanation; and how the
// questions fare by kind.
class frmProgress : public QWidget {
    Q_OBJECT

public:
    explicit frmProgress(QWidget* parent = nullptr);
    ~frmProgress() override;

    // Load step: reads the results log of the working folder and shows it, the newest test
    // selected. A log that cannot be read is told in a box; a missing one holds no tests yet.
    void Form_Load();
    // Reads the log again, after a test has added its line.
    void reload();
    // Whether a test may begin now: "Practise This Kind" is offered only then.
    void setPractiseAllowed(bool allowed);

Q_SIGNALS:
    // "Practise This Kind" was pressed on the row of kind.
    void practiseKindAsked(const QString& kind);

public:
    // Handlers.
    void cboperiod_Click();
    void grdtests_SelChange();
    void lstquestions_SelChange();
    void grdkinds_SelChange();
    void cmdpractise_Click();
    void cmdsaveplot_Click();
    void cmdclose_Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void connectHandlers();
    QWidget* summaryPart();
    QWidget* testsPart();
    QWidget* kindsPart();
    QWidget* questionsPart();

    // Reads the log into tests_, or its error into logError_, and tells in lblnote how many
    // lines could not be read.
    void readLog();
    // The summary's lines, with the bank's questions asked and missed (the bank read only).
    QString summaryText() const;
    // Fills grdkinds with the kinds of the questions asked, weakest first.
    void showKinds();
    // Plots the tests of the period chosen.
    void showPlot();
    // Fills lstquestions with the test's questions as the bank holds them now, the first one
    // selected.
    void showQuestions(const resultslog::Entry& test);
    // The bank's notes, read in the background from each reading of the log on; a file that
    // cannot be read, or only in part, is told in lblnote.
    const BankNotes& notes();

    // Controls, in tab order.
    QLabel* lblsummary = nullptr;
    QLabel* lblperiod = nullptr;
    QComboBox* cboperiod = nullptr;
    PlotView* picplot = nullptr;
    QLabel* lbltests = nullptr;
    QTableView* grdtests = nullptr;
    QLabel* lblkinds = nullptr;
    QTableWidget* grdkinds = nullptr;
    QPushButton* cmdpractise = nullptr;
    QLabel* lblquestions = nullptr;
    QTreeWidget* lstquestions = nullptr;
    QLabel* lblquestion = nullptr;
    QPlainTextEdit* txtquestion = nullptr;
    QLabel* lblnote = nullptr;
    QPushButton* cmdsaveplot = nullptr;
    QPushButton* cmdclose = nullptr;
    TestTableModel* model_ = nullptr;

    QList<resultslog::Entry> tests_;   // the log's, oldest first
    QList<resultslog::Entry> plotted_; // those of the period chosen
    QString logError_;                 // why the log could not be read; empty when it could
    std::shared_future<BankNotes::Loaded> notes_; // the bank's notes, as the log was read
    bool notesTold_ = false;                      // what is wrong with them is in lblnote
    bool practiseAllowed_ = true;                 // no test runs in the main window
};
