#pragma once

#include "platform/Registry.h"

#include <QDialog>

class QKeyEvent;
class QLabel;
class QPushButton;
class QWidget;

// The About box: title, version, description and notice, and a button that starts the
// system's system-information tool. The main window shows it modally over itself.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(QWidget* owner = nullptr);

    // The layout is designed for a client area of 5655 by 3630 twips.
    static constexpr int kClientWidth = 5655;
    static constexpr int kClientHeight = 3630;

    // Load step: the version and the title.
    void Form_Load();

    // Finds and starts the system-information tool, or tells the user that it cannot.
    void StartSysInfo();
    // Reads one registry value as text; false (and KeyVal empty) when it cannot be read.
    bool GetKeyValue(platform::RegistryKey KeyRoot, const QString& KeyName,
                     const QString& SubKeyRef, QString& KeyVal);

    // Controls, in tab order.
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdSysInfo = nullptr;
    QLabel* picIcon = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblDescription = nullptr;
    // The etched rule between the texts and the buttons: a white line under a gray one.
    QWidget* Line1_0 = nullptr;
    QWidget* Line1_1 = nullptr;

    void cmdOk_Click();
    void cmdSysInfo_Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildButtons();
    void buildIcon();
    void buildLabels();
    void buildRule();
    void colourTexts();
};
