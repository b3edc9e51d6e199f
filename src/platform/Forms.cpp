#include "platform/Forms.h"

#include "platform/Twips.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>
#include <functional>

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

// An arrow on a square of s pixels, in one colour.
void paintArrow(QPainter& p, int s, bool pointingRight, const QColor& color)
{
    if (!pointingRight) {
        p.translate(s, 0);
        p.scale(-1, 1);
    }
    const qreal u = s / 32.0;
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(
        QPolygonF({QPointF(4 * u, 12 * u), QPointF(17 * u, 12 * u), QPointF(17 * u, 5 * u),
                   QPointF(29 * u, 16 * u), QPointF(17 * u, 27 * u), QPointF(17 * u, 20 * u),
                   QPointF(4 * u, 20 * u)}));
}

// A tick on a square of s pixels.
void paintConfirm(QPainter& p, int s)
{
    const qreal u = s / 32.0;
    p.setPen(QPen(QColor(0, 110, 40), 4 * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(
        QPolygonF({QPointF(6 * u, 17 * u), QPointF(13 * u, 24 * u), QPointF(26 * u, 8 * u)}));
}

// An icon drawn afresh at every size asked for, so it is sharp at any device pixel ratio, and
// only when asked: a button that stays hidden costs the start no painting. A drawing that has no
// look of its own for a disabled button is greyed as the style greys a picture.
class DrawnIcon : public QIconEngine {
public:
    // Draws on a square of the side given; returns false for a mode it has no look for.
    using Drawing = std::function<bool(QPainter&, int side, QIcon::Mode)>;
    explicit DrawnIcon(Drawing drawing) : drawing_(std::move(drawing)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        if (draw(*painter, rect, mode))
            return;
        const qreal ratio = painter->device()->devicePixelRatio();
        QPixmap greyed = pixmap(rect.size() * ratio, mode, state);
        greyed.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect.topLeft(), greyed);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        if (draw(painter, pixmap.rect(), mode))
            return pixmap;
        painter.end();
        const QPixmap normal = this->pixmap(size, QIcon::Normal, state);
        QStyleOption option;
        option.palette = QApplication::palette();
        return QApplication::style()->generatedIconPixmap(mode, normal, &option);
    }
    QIconEngine* clone() const override { return new DrawnIcon(*this); }

private:
    // Draws in the middle of the rectangle, on the largest square it holds.
    bool draw(QPainter& painter, const QRect& rect, QIcon::Mode mode) const
    {
        const int side = std::min(rect.width(), rect.height());
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(rect.x() + (rect.width() - side) / 2,
                          rect.y() + (rect.height() - side) / 2);
        const bool drawn = drawing_(painter, side, mode);
        painter.restore();
        return drawn;
    }

    Drawing drawing_;
};

// Keeps a button's arrow in the colour of its text as its palette changes (a dark theme).
class ArrowKeeper : public QObject {
public:
    ArrowKeeper(QAbstractButton* button, bool pointingRight)
        : QObject(button), button_(button), pointingRight_(pointingRight)
    {
        button->installEventFilter(this);
        refresh();
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::PaletteChange)
            refresh();
        return false;
    }

private:
    void refresh() { button_->setIcon(arrowIcon(pointingRight_, button_->palette())); }

    QAbstractButton* button_;
    bool pointingRight_;
};

} // namespace

void announceAsWindow(QWidget* window)
{
    static const bool installed = [] {
        QAccessible::installFactory([](const QString&, QObject* object) -> QAccessibleInterface* {
            auto* widget = qobject_cast<QWidget*>(object);
            if (!widget || !widget->property("lexamoWindow").toBool())
                return nullptr;
            return new QAccessibleWidget(widget, QAccessible::Window);
        });
        return true;
    }();
    (void)installed;
    window->setProperty("lexamoWindow", true);
}

QIcon programIcon()
{
    // The scalable icon that an install also puts in the icon theme, built into the program so
    // that it shows uninstalled as well.
    return QIcon(QStringLiteral(":/icons/org.lexamo.Lexamo.svg"));
}

QIcon arrowIcon(bool pointingRight, const QPalette& palette)
{
    const QColor normal = palette.color(QPalette::Active, QPalette::ButtonText);
    const QColor disabled = palette.color(QPalette::Disabled, QPalette::ButtonText);
    return QIcon(new DrawnIcon([=](QPainter& painter, int side, QIcon::Mode mode) {
        paintArrow(painter, side, pointingRight, mode == QIcon::Disabled ? disabled : normal);
        return true;
    }));
}

void showArrow(QAbstractButton* button, bool pointingRight)
{
    new ArrowKeeper(button, pointingRight);
}

QIcon confirmIcon()
{
    return QIcon(new DrawnIcon([](QPainter& painter, int side, QIcon::Mode mode) {
        if (mode != QIcon::Normal && mode != QIcon::Active)
            return false;
        paintConfirm(painter, side);
        return true;
    }));
}

} // namespace forms
