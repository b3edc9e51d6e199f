#pragma once

#include <QWidget>

class QFrame;
class QLabel;

// The window shown while the main window loads. It has no handler but its load step.
class frmSplash : public QWidget {
    Q_OBJECT

public:
    explicit frmSplash(QWidget* parent = nullptr);

    void Form_Load();

    QFrame* fraMainFrame = nullptr;
    QLabel* lblProductName = nullptr;
    QLabel* lblPlatform = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblWarning = nullptr;
};
