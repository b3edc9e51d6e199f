#include "platform/MessageBoxes.h"

#include "platform/AppInfo.h"
#include "platform/Services.h"

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>

namespace platform {

namespace {

QMessageBox::StandardButtons standardButtons(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok:
        return QMessageBox::Ok;
    case Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton standardButton(Answer answer)
{
    switch (answer) {
    case Answer::Ok:
        return QMessageBox::Ok;
    case Answer::Cancel:
        return QMessageBox::Cancel;
    case Answer::Yes:
        return QMessageBox::Yes;
    case Answer::No:
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

Answer firstButton(Buttons buttons)
{
    return (buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel) ? Answer::Yes
                                                                          : Answer::Ok;
}

bool belongsTo(Answer answer, Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok:
        return answer == Answer::Ok;
    case Buttons::OkCancel:
        return answer == Answer::Ok || answer == Answer::Cancel;
    case Buttons::YesNo:
        return answer == Answer::Yes || answer == Answer::No;
    case Buttons::YesNoCancel:
        return answer != Answer::Ok;
    }
    return false;
}

} // namespace

QWidget* boxOwner()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    // Lexamo is not the program in front (a test's time ran out meanwhile, say): the box goes
    // over the main window rather than into the middle of the screen.
    QWidget* shown = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible() || window->isMinimized() || window->windowType() != Qt::Window)
            continue;
        if (qobject_cast<QMainWindow*>(window))
            return window;
        shown = shown ? shown : window;
    }
    return shown;
}

Answer QtMessageBoxes::show(const MessageBox& box)
{
    QWidget* owner = boxOwner();
    QMessageBox dialog(box.icon == Icon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                       box.title, box.text, standardButtons(box.buttons), owner);
    dialog.setTextFormat(Qt::PlainText);
    dialog.setDefaultButton(standardButton(box.defaultButton));
    if (box.buttons == Buttons::YesNo)
        dialog.setEscapeButton(QMessageBox::No);
    const int result = dialog.exec();
    switch (result) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return box.buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
}

Answer msgBox(const QString& text, Buttons buttons, Icon icon, const QString& title,
              Answer defaultButton)
{
    MessageBox box{text, title.isEmpty() ? appinfo::title() : title, buttons, icon,
                   belongsTo(defaultButton, buttons) ? defaultButton : firstButton(buttons)};
    return services().messageBoxes->show(box);
}

} // namespace platform
