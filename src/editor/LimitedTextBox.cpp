#include "editor/LimitedTextBox.h"

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

} // namespace

LimitedTextBox::LimitedTextBox(int limit, Measure measure, QWidget* parent)
    : QPlainTextEdit(parent), limit_(limit), measure_(measure)
{
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

QString LimitedTextBox::text() const
{
    // toPlainText() would also turn no-break spaces into spaces.
    return withLineFeeds(document()->toRawText());
}

qsizetype LimitedTextBox::storedLength(const QString& text)
{
    return text.size() + text.count(QLatin1Char('\n'));
}

qsizetype LimitedTextBox::characters(const QString& text)
{
    qsizetype n = 0;
    for (const QChar c : text)
        n += c.isLowSurrogate() ? 0 : 1;
    return n;
}

qsizetype LimitedTextBox::room() const
{
    const QString selected = withLineFeeds(textCursor().selectedText());
    return limit_ - (measure_(text()) - measure_(selected));
}

QString LimitedTextBox::fitting(const QString& text, qsizetype room) const
{
    qsizetype used = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const bool pair = text.at(end).isHighSurrogate() && end + 1 < text.size() &&
                          text.at(end + 1).isLowSurrogate();
        const qsizetype step = pair ? 2 : 1;
        used += measure_(text.mid(end, step));
        if (used > room)
            break;
        end += step;
    }
    return text.left(end);
}

void LimitedTextBox::keyPressEvent(QKeyEvent* event)
{
    const bool lineBreak = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const QString typed = lineBreak ? QStringLiteral("\n") : event->text();
    const bool inserts = lineBreak || (!typed.isEmpty() && typed.front().isPrint());
    if (inserts && !isReadOnly() && measure_(typed) > room()) {
        QApplication::beep();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void LimitedTextBox::inputMethodEvent(QInputMethodEvent* event)
{
    if (measure_(event->commitString()) > room()) {
        event->accept();
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

void LimitedTextBox::insertFromMimeData(const QMimeData* source)
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
