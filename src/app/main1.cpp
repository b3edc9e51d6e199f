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
    // The splash window is painted first, so that it shows while the main window is prepared.
    auto* splash = new frmSplash;
    splash->show();
    splash->repaint();
    // The one main window reads its settings and options while it is still hidden.
    mainwindow = new frmMain;
    mainwindow->setAttribute(Qt::WA_DeleteOnClose);
    mainwindow->Form_Load();
    // The splash window goes before the main window shows, never after it.
    splash->close();
    delete splash;
    // The main window shows maximized; its normal placement, read above, is kept for later.
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
