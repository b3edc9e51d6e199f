#pragma once

#include <QAction>
#include <QButtonGroup>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

// The main window's controls and menus as a user finds them: by their names.
struct MainControls {
    explicit MainControls(QObject* w) : w(w) {}
    template <typename T> T* find(const char* name) const
    {
        T* found = w->findChild<T*>(QString::fromLatin1(name));
        if (!found)
            qFatal("The main window has no %s", name);
        return found;
    }

    QObject* w;
    QPlainTextEdit* txtreview = find<QPlainTextEdit>("txtreview");
    QToolButton* cmdnext = find<QToolButton>("cmdnext");
    QToolButton* cmdanswer = find<QToolButton>("cmdanswer");
    QLabel* lblsectionname = find<QLabel>("lblsectionname");
    QLabel* lblquestionhead = find<QLabel>("lblquestionhead");
    QLabel* lblquestion = find<QLabel>("lblquestion");
    QRadioButton* opta = find<QRadioButton>("opta");
    QRadioButton* optb = find<QRadioButton>("optb");
    QRadioButton* optc = find<QRadioButton>("optc");
    QRadioButton* optd = find<QRadioButton>("optd");
    QRadioButton* opte = find<QRadioButton>("opte");
    QPushButton* cmdquit = find<QPushButton>("cmdquit");
    QPushButton* cmdHelp = find<QPushButton>("cmdHelp");
    QPushButton* cmdtime = find<QPushButton>("cmdtime");
    QLabel* lbltime = find<QLabel>("lbltime");
    QPushButton* cmdendreview = find<QPushButton>("cmdendreview");
    QTimer* Timer1 = find<QTimer>("Timer1");
    QMenu* mnuFile = find<QMenu>("mnuFile");
    QAction* mnuFileVer = find<QAction>("mnuFileVer");
    QAction* mnuFileTestquit = find<QAction>("mnuFileTestquit");
    QAction* mnuFileExit = find<QAction>("mnuFileExit");
    QMenu* mnuTools = find<QMenu>("mnuTools");
    QAction* mnuOptions = find<QAction>("mnuOptions");
    QAction* mnuAdd = find<QAction>("mnuAdd");
    QMenu* mnuHelp = find<QMenu>("mnuHelp");
    QAction* mnuHelpContents = find<QAction>("mnuHelpContents");
    QAction* mnuHelpAbout = find<QAction>("mnuHelpAbout");
    QButtonGroup* choices = find<QButtonGroup>("choices");
};

inline MainControls on(QObject* w)
{
    return MainControls(w);
}
