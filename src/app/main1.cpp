#include "app/main1.h"

#include "app/frmMain.h"
#include "app/frmSplash.h"

#include <QList>

namespace main1 {

QPointer<frmMain> mainwindow;

namespace {

QList<QPointer<QWidget>>& openWindows()
{
    static QList<QPointer<QWidget>> windows;
    return windows;
}

} // namespace

void Main()
{
    // 1 and 2: the splash window, painted before the main window is prepared.
    auto* splash = new frmSplash;
    splash->show();
    splash->repaint();
    // 3 and 4: the one main window, loaded but not yet visible.
    mainwindow = new frmMain;
    mainwindow->setAttribute(Qt::WA_DeleteOnClose);
    mainwindow->Form_Load();
    // 5: the splash window goes.
    splash->close();
    delete splash;
    // 6: the main window, maximized over its normal placement.
    mainwindow->setWindowState(Qt::WindowMaximized);
    mainwindow->show();
}

void trackWindow(QWidget* window)
{
    openWindows().removeAll(nullptr);
    openWindows().append(window);
}

void unloadOtherWindows()
{
    auto& windows = openWindows();
    while (!windows.isEmpty()) {
        QPointer<QWidget> window = windows.takeLast();
        if (window)
            window->close();
        if (window && window->testAttribute(Qt::WA_DeleteOnClose))
            delete window.data();
    }
}

} // namespace main1
