#pragma once

#include <QLineEdit>

// A single-line text box that limits what the user can type or paste, but not what the program
// puts into it: a longer text set by the program is shown whole and kept as it is. Typing beyond
// the limit is refused; a paste, by any way (Ctrl+V, the menu, the X11 middle click), keeps as
// much as fits.
class LimitedLineEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit LimitedLineEdit(int typingLimit, QWidget* parent = nullptr);

    int typingLimit() const { return typingLimit_; }

    // Pastes as much of the clipboard's text as the limit leaves room for.
    void pasteWithinLimit();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // Characters that may still be inserted in place of the selection.
    qsizetype room() const;
    // Cuts back a user's edit that went beyond the limit by a way the handlers above do not see
    // (the middle click inserts the selection itself): of what it inserted, as much as fits.
    void holdToLimit(const QString& edited);

    int typingLimit_;
    QString held_; // the text before the edit under way
};
