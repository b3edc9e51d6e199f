#pragma once

#include <QPointer>

class frmMain;
class QWidget;

// Start-up: the splash window while the main window loads, then the main window.
namespace main1 {

// The one main window; every window and the test procedures reach its controls through it.
extern QPointer<frmMain> mainwindow;

void Main();

// The program's other open windows, oldest first, so the main window can unload them newest
// first when it closes. A window leaves the list when it is destroyed.
void trackWindow(QWidget* window);
void unloadOtherWindows();

} // namespace main1
