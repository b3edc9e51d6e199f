#pragma once

#include "questionfiles/FormatTypes.h"

#include <QDialog>
#include <QString>
#include <QStringList>

class QLabel;
class QListWidget;
class QPushButton;

// The window of Tools > Import Questions: what the question files chosen give the bank, before
// anything is written. It says how many questions would be added, lists each question a file
// leaves out (file, line and why), each kind too long to keep that its questions go without,
// and each file refused whole with its problems; "Add to Bank"
// adds the questions with their kinds and explanations at the end of the bank, and Cancel
// leaves everything as it was. The main window shows it modally over itself.
class frmImport : public QDialog {
    Q_OBJECT

public:
    // Reads the files (each in the format its ending tells, as lexamo-bank does) for the bank at
    // bankPath, after the records it holds now.
    frmImport(const QString& bankPath, const QStringList& files, QWidget* owner = nullptr);

    // What "Add to Bank" added, and the number the first of them took in the bank; nothing
    // before it did.
    const NotedRecords& added() const { return added_; }
    qint64 firstAdded() const { return firstAdded_; }

    // Handlers.
    void cmdadd_Click();
    void cmdcancel_Click();

private:
    void readFiles(const QStringList& files);
    void buildControls();
    void showFindings();

    // Controls, in tab order.
    QLabel* lblsummary = nullptr;
    QLabel* lblleftout = nullptr;
    QListWidget* lstleftout = nullptr;
    QLabel* lblkinds = nullptr;
    QListWidget* lstkinds = nullptr;
    QLabel* lblrefused = nullptr;
    QListWidget* lstrefused = nullptr;
    QPushButton* cmdadd = nullptr;
    QPushButton* cmdcancel = nullptr;

    QString bankPath_;
    bool bankMissing_ = false;
    NotedRecords imported_; // what the files give, in the order they were chosen
    QStringList leftOut_;   // "FILE:LINE: what", each question left out
    QStringList kindsOff_;  // "FILE:LINE: what", each kind too long to keep, left off
    QStringList refused_;   // "FILE:LINE: what", each problem of a file refused whole
    qsizetype refusedFiles_ = 0;
    NotedRecords added_;
    qint64 firstAdded_ = 0;
};
