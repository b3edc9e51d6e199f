#pragma once

#include "support/FakeFileDialogs.h"
#include "support/FakeMessageBoxes.h"
#include "support/FakeProgramStarter.h"
#include "support/FakeRandom.h"
#include "support/FakeRegistry.h"

#include "platform/SettingsStore.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <memory>

class QAction;
class QWidget;

// Everything a test needs around Lexamo: a fresh temporary current folder for the program's
// files, a settings store inside it, and the test doubles installed as the program's services.
// The destructor restores the real services and the former current folder.
class TestEnvironment {
public:
    TestEnvironment();
    ~TestEnvironment();
    TestEnvironment(const TestEnvironment&) = delete;
    TestEnvironment& operator=(const TestEnvironment&) = delete;

    QString path(const QString& name) const;
    void write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;
    bool exists(const QString& name) const;

    QTemporaryDir dir;
    FakeMessageBoxes boxes;
    FakeRandom random;
    FakeRegistry registry;
    FakeProgramStarter programs;
    FakeFileDialogs files;
    platform::QtSettingsStore settings;

private:
    QString previousFolder_;
};

// The menu item (QAction) with that object name in the window; null when there is none.
QAction* findAction(QWidget* window, const char* name);
// Triggers the named menu item as a user would; false when it is missing or disabled.
bool trigger(QWidget* window, const char* name);
// Names of the top-level windows still open (visible or not), for cleanup checks.
QStringList openTopLevelWindows();

// Makes a fresh environment, after the one a failed test may have left behind is gone.
void beginTest(std::unique_ptr<TestEnvironment>& env);
// Closes the main window (and so every other window), then checks that the test left no window
// open and no message box or file dialog unshown or unscripted. The environment goes first, so a
// failed check leaves nothing behind.
void finishTest(std::unique_ptr<TestEnvironment>& env);
