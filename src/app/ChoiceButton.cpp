#include "app/ChoiceButton.h"

#include <QHelpEvent>
#include <QStyle>
#include <QStyleOptionButton>
#include <QToolTip>

bool ChoiceButton::hitButton(const QPoint& pos) const
{
    return rect().contains(pos);
}

bool ChoiceButton::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QRadioButton::event(event);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect room = style()->subElementRect(QStyle::SE_RadioButtonContents, &option, this);
    const QString whole = text().trimmed().replace(QStringLiteral("&&"), QStringLiteral("&"));
    if (fontMetrics().horizontalAdvance(whole) > room.width())
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), whole, this);
    else
        QToolTip::hideText();
    return true;
}
