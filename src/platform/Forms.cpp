#include "platform/Forms.h"

#include "platform/Twips.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace forms {

void place(QWidget* control, const char* name, int left, int top, int width, int height,
           const QFont& font)
{
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(twips::rect(left, top, width, height));
    control->setFont(font);
}

void layOut(std::initializer_list<Place> table)
{
    QWidget* previous = nullptr;
    for (const Place& row : table) {
        place(row.control, row.name, row.left, row.top, row.width, row.height, row.font);
        if (row.control->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, row.control);
        previous = row.control;
    }
}

void clearGroup(QButtonGroup* group)
{
    const bool exclusive = group->exclusive();
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(false);
    group->setExclusive(exclusive);
}

namespace {

using Painter = void (*)(QPainter&, int size);

QIcon drawnIcon(Painter paint, std::initializer_list<int> sizes)
{
    QIcon icon;
    for (const int size : sizes) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        paint(painter, size);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void paintRightArrow(QPainter& p, int s)
{
    const qreal u = s / 32.0;
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPolygon(
        QPolygonF({QPointF(4 * u, 12 * u), QPointF(17 * u, 12 * u), QPointF(17 * u, 5 * u),
                   QPointF(29 * u, 16 * u), QPointF(17 * u, 27 * u), QPointF(17 * u, 20 * u),
                   QPointF(4 * u, 20 * u)}));
}

void paintLeftArrow(QPainter& p, int s)
{
    p.translate(s, 0);
    p.scale(-1, 1);
    paintRightArrow(p, s);
}

void paintConfirm(QPainter& p, int s)
{
    const qreal u = s / 32.0;
    p.setPen(QPen(QColor(0, 110, 40), 4 * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(
        QPolygonF({QPointF(6 * u, 17 * u), QPointF(13 * u, 24 * u), QPointF(26 * u, 8 * u)}));
}

} // namespace

QIcon programIcon()
{
    // The scalable icon that an install also puts in the icon theme, built into the program so
    // that it shows uninstalled as well.
    return QIcon(QStringLiteral(":/icons/org.lexamo.Lexamo.svg"));
}

QIcon arrowIcon(bool pointingRight)
{
    return drawnIcon(pointingRight ? paintRightArrow : paintLeftArrow, {16, 32});
}

QIcon confirmIcon()
{
    return drawnIcon(paintConfirm, {16, 32});
}

} // namespace forms
