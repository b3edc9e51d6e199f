#pragma once

#include <QDialog>

class LimitedLineEdit;
class QLabel;
class QPushButton;

// The options dialog: the number of questions and the test minutes, as the options file holds
// them. Modeless and without an owner, so the main window stays usable while it is open.
class frmOptions : public QDialog {
    Q_OBJECT

public:
    explicit frmOptions(QWidget* parent = nullptr);

    // The client area in twips.
    static constexpr int kClientWidth = 3210;
    static constexpr int kClientHeight = 2445;

    static const QString kInvalidEntryText;
    static const QString kInvalidEntryTitle;

    // Load step: the two lines of the options file into the boxes, unchanged.
    void Form_Load();

    // Controls, in tab order.
    QLabel* lblTesttime = nullptr;
    LimitedLineEdit* txtTime = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;
    LimitedLineEdit* txtQnum = nullptr;
    QLabel* lblques_no = nullptr;

    void cmdOk_Click();
    void cmdCancel_Click();

private:
    void buildControls();
};
