#include "editor/QuestionBox.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>

namespace {

// A document's text with its paragraph and line separators as line feeds.
QString withLineFeeds(QString text)
{
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

// The longest start of text that fits into room stored characters.
QString fitting(const QString& text, qsizetype room)
{
    qsizetype used = 0;
    qsizetype end = 0;
    for (; end < text.size(); ++end) {
        used += QuestionBox::storedLength(text.mid(end, 1));
        if (used > room)
            break;
    }
    return text.left(end);
}

} // namespace

QuestionBox::QuestionBox(int storedLimit, QWidget* parent)
    : QPlainTextEdit(parent), storedLimit_(storedLimit)
{
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

QString QuestionBox::text() const
{
    // toPlainText() would also turn no-break spaces into spaces.
    return withLineFeeds(document()->toRawText());
}

qsizetype QuestionBox::storedLength(const QString& text)
{
    return text.size() + text.count(QLatin1Char('\n'));
}

qsizetype QuestionBox::room() const
{
    const QString selected = withLineFeeds(textCursor().selectedText());
    return storedLimit_ - (storedLength(text()) - storedLength(selected));
}

void QuestionBox::keyPressEvent(QKeyEvent* event)
{
    const bool lineBreak = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const QString typed = lineBreak ? QStringLiteral("\n") : event->text();
    const bool inserts = lineBreak || (!typed.isEmpty() && typed.front().isPrint());
    if (inserts && !isReadOnly() && storedLength(typed) > room()) {
        QApplication::beep();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void QuestionBox::inputMethodEvent(QInputMethodEvent* event)
{
    if (storedLength(event->commitString()) > room()) {
        event->accept();
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

void QuestionBox::insertFromMimeData(const QMimeData* source)
{
    if (!source || !source->hasText())
        return;
    QString pasted = source->text();
    pasted.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    pasted.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QString kept = fitting(pasted, room());
    if (kept.isEmpty()) {
        QApplication::beep();
        return;
    }
    QTextCursor cursor = textCursor();
    cursor.insertText(kept);
    setTextCursor(cursor);
}
