#pragma once

#include <QFont>
#include <QIcon>
#include <QPalette>
#include <QString>
#include <initializer_list>

class QAbstractButton;
class QButtonGroup;
class QWidget;

// Small helpers that every window of Lexamo uses to build itself from its layout table.
namespace forms {

// Gives a control its name and its place in twips within its parent.
void place(QWidget* control, const char* name, int left, int top, int width, int height,
           const QFont& font);
// One row of a window's layout table: a control, its name, its place in twips and its font.
struct Place {
    QWidget* control;
    const char* name;
    int left, top, width, height;
    QFont font;
};
// Places every control of a layout table. The controls that take the focus follow each other
// in the table's order when Tab is pressed.
void layOut(std::initializer_list<Place> table);

// Clears every button of an exclusive group (an exclusive group refuses to clear its last one).
void clearGroup(QButtonGroup* group);

// A window made of a plain QWidget shows to assistive technology as a mere "filler", which a
// screen reader does not announce when it opens: this one is made known as a window, with its
// title. Called before anything asks for the window's accessible interface.
void announceAsWindow(QWidget* window);

// The program's icon (an SVG picture; needs Qt's SVG icon plugin), and the pictures of the
// picture buttons, drawn by Lexamo itself.
QIcon programIcon();
// An arrow in the palette's button-text colour (its disabled one when the button is disabled),
// drawn for each size asked for, so that it is sharp at every device pixel ratio.
QIcon arrowIcon(bool pointingRight, const QPalette& palette);
// Gives the button an arrow that keeps to the button's palette as the palette changes.
void showArrow(QAbstractButton* button, bool pointingRight);
QIcon confirmIcon();

} // namespace forms
