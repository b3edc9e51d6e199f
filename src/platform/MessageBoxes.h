#pragma once

#include <QString>

class QWidget;

namespace platform {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Icon { None, Exclamation };

// The button that closed a box, with the numbers the program has always used for them.
enum class Answer : int { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

struct MessageBox {
    QString text;
    QString title; // empty: the application title
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    Answer defaultButton = Answer::Ok;

    bool operator==(const MessageBox&) const = default;
};

// Shows modal message boxes and returns the button that closed them.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual Answer show(const MessageBox& box) = 0;
};

// The window a box goes over, centred on it: the modal dialog open, else the active window,
// else (Lexamo not in front) the main window or another one shown; none when nothing is shown.
QWidget* boxOwner();

// Real message boxes, modal over boxOwner().
class QtMessageBoxes final : public MessageBoxes {
public:
    Answer show(const MessageBox& box) override;
};

// Shows a box through the installed seam; an empty title becomes the application title and a
// default button outside the button set becomes the set's first button.
Answer msgBox(const QString& text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
              const QString& title = {}, Answer defaultButton = Answer::Ok);

} // namespace platform
