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
