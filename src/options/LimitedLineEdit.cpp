#include "options/LimitedLineEdit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>

LimitedLineEdit::LimitedLineEdit(int typingLimit, QWidget* parent)
    : QLineEdit(parent), typingLimit_(typingLimit)
{
    // Dropped text would bypass the limit; the boxes take typing and pasting only.
    setAcceptDrops(false);
    // A user's edit is announced before the change itself, so held_ is still the text before it.
    connect(this, &QLineEdit::textEdited, this, &LimitedLineEdit::holdToLimit);
    connect(this, &QLineEdit::textChanged, this, [this] { held_ = text(); });
}

void LimitedLineEdit::holdToLimit(const QString& edited)
{
    const qsizetype before = held_.size();
    if (edited.size() <= typingLimit_ || edited.size() <= before)
        return;
    // The edit kept the old text's first head and last tail characters and put the rest between.
    qsizetype head = 0;
    while (head < before && edited.at(head) == held_.at(head))
        ++head;
    qsizetype tail = 0;
    while (tail < before - head &&
           edited.at(edited.size() - 1 - tail) == held_.at(before - 1 - tail))
        ++tail;
    const qsizetype fits = typingLimit_ - (head + tail);
    QApplication::beep();
    if (fits <= 0) {
        const QString old = held_;
        setText(old);
        setCursorPosition(static_cast<int>(head));
        return;
    }
    const QString inserted = edited.mid(head, edited.size() - head - tail).left(fits);
    setText(edited.left(head) + inserted + edited.right(tail));
    setCursorPosition(static_cast<int>(head + inserted.size()));
}

qsizetype LimitedLineEdit::room() const
{
    return typingLimit_ - (text().size() - selectedText().size());
}

void LimitedLineEdit::pasteWithinLimit()
{
    if (isReadOnly())
        return;
    const QString clip = QApplication::clipboard()->text();
    const qsizetype kept = std::min(clip.size(), room());
    if (kept <= 0) {
        QApplication::beep();
        return;
    }
    insert(clip.left(kept));
}

void LimitedLineEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste)) {
        pasteWithinLimit();
        event->accept();
        return;
    }
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.front().isPrint() && typed.size() > room()) {
        QApplication::beep();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void LimitedLineEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (event->commitString().size() > room()) {
        event->accept();
        return;
    }
    QLineEdit::inputMethodEvent(event);
}

void LimitedLineEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The standard menu names its paste item only by its caption, which ends in the shortcut.
    const QString pasteKeys =
        QLatin1Char('\t') + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    for (QAction* item : menu->actions()) {
        if (!item->text().endsWith(pasteKeys))
            continue;
        disconnect(item, &QAction::triggered, nullptr, nullptr);
        connect(item, &QAction::triggered, this, &LimitedLineEdit::pasteWithinLimit);
    }
    menu->popup(event->globalPos());
}
