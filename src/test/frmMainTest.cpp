#include "app/frmMain.h"

// The main window's handlers of a running test, its review and its help texts.

void frmMain::mnuFileVer_Click() {}
void frmMain::mnuFileTestquit_Click() {}
void frmMain::mnuHelpContents_Click() {}
void frmMain::cmdnext_Click() {}
void frmMain::cmdanswer_Click() {}
void frmMain::cmdquit_Click() {}
void frmMain::cmdHelp_Click() {}
void frmMain::cmdtime_Click() {}
void frmMain::cmdendreview_Click() {}
void frmMain::Timer1_Timer() {}
