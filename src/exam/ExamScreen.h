#pragma once

#include <QString>
#include <QStringList>

namespace vertest {

// What the main window shows. The window derives from it which controls are visible and which
// menu items are enabled; nothing else decides that.
enum class View {
    Idle,          // nothing but the menu bar
    Question,      // the question on screen, its choices, the test's buttons and the time
    TestHelp,      // the test help over the question of the running test
    EndedTestHelp, // the test help, still up after the test ended under it
    ContentsHelp,  // the contents help
    Review,        // the review of the test just scored
};

// The screen a test drives: a question and its five choices, the text view, and the view as a
// whole. The main window implements it; the boxes go through platform::msgBox.
class ExamScreen {
public:
    virtual ~ExamScreen() = default;

    virtual View view() const = 0;
    virtual void setView(View view) = 0;
    // The button that leaves the text view is wider over the test help.
    virtual void setEndViewWide(bool wide) = 0;
    virtual void setSection(const QString& name) = 0;

    // A new question, with no choice selected.
    virtual void showQuestion(const QString& heading, const QString& question,
                              const QStringList& choices) = 0;
    // The choice selected, 0 to 4; -1 when none is.
    virtual int selectedChoice() const = 0;
    // The buttons of the running test, enabled as at its start.
    virtual void enableTestButtons() = 0;

    // The text of the text view; empty clears it.
    virtual void setText(const QString& text) = 0;
    // Why the test that ended is not in the results log, said in the window until a test is
    // logged again; empty when it is.
    virtual void setLogProblem(const QString& problem) = 0;
};

} // namespace vertest
