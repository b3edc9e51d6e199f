#pragma once

#include "platform/MessageBoxes.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

class QAbstractButton;
class QRadioButton;
class frmMain;

// Driving a test through the main window as a user does, for the tests of the test and review.
namespace examdriver {

// The boxes of a test, as they must be shown.
extern const platform::MessageBox kReady;
extern const platform::MessageBox kComplete;
extern const platform::MessageBox kTimeOver;
extern const platform::MessageBox kReview;
extern const platform::MessageBox kQuit;
extern const platform::MessageBox kNoChoice;
platform::MessageBox scoreBox(int score, int total);
// One readable line a box, so that a failed comparison shows which box differs.
QStringList described(const QList<platform::MessageBox>& boxes);

// The test controls in the order the test shows them; the menu items enabled when idle and
// while a test runs (sorted, as enabledItems gives them).
extern const QStringList kTestScreen;
extern const QStringList kIdleItems;
extern const QStringList kTestItems;

// Writes "verbal.zep": record n asks "Question n", its choices read "n-a" to "n-e", and it
// answers answers[n - 1].
void writeBank(const QByteArray& answers);
// The random number that draws record k of a bank of r records.
float drawing(int k, int r);

// Starts Lexamo; its timer is stopped, so ticks come only when a test fires them.
frmMain* startMain();
void click(QAbstractButton* button);
// Selects the option, then "&Next" and "&Answer Confirm".
void answer(QRadioButton* option);
void tick(frmMain* w, int times = 1);
// Test controls, txtreview and cmdendreview that are visible.
QStringList visibleControls(frmMain* w);
QStringList enabledItems(frmMain* w);

} // namespace examdriver
