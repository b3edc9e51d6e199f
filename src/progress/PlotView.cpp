#include "progress/PlotView.h"

#include "progress/HistoryPlot.h"

#include <QEvent>
#include <QFontInfo>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

PlotView::PlotView(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PlotView::setTests(const QList<resultslog::Entry>& tests, const QString& whenEmpty)
{
    tests_ = tests;
    whenEmpty_ = whenEmpty;
    cache_ = QPixmap();
    update();
}

QSize PlotView::sizeHint() const
{
    return QSize(historyplot::kWidth, historyplot::kHeight) / 2;
}

QSize PlotView::minimumSizeHint() const
{
    return QSize(historyplot::kWidth, historyplot::kHeight) / 4;
}

QRect PlotView::pictureRect() const
{
    const QSize size =
        QSize(historyplot::kWidth, historyplot::kHeight).scaled(this->size(), Qt::KeepAspectRatio);
    QRect place(QPoint(), size);
    place.moveCenter(rect().center());
    return place;
}

QPixmap PlotView::picture(const QRect& place) const
{
    const qreal ratio = devicePixelRatioF();
    if (!cache_.isNull() && cache_.deviceIndependentSize() == QSizeF(place.size()) &&
        cache_.devicePixelRatio() == ratio)
        return cache_;
    cache_ = QPixmap(place.size() * ratio);
    cache_.setDevicePixelRatio(ratio);
    cache_.fill(palette().color(QPalette::Base));
    // The canvas is as large as the place at the window's text size: scaled onto the place,
    // the picture's words come out at that size, whatever the window's size.
    QPainter painter(&cache_);
    const qreal scale = qreal(QFontInfo(font()).pixelSize()) / historyplot::kTextPixels;
    painter.scale(scale, scale);
    historyplot::paint(painter, tests_, palette(), historyplot::Detail::Screen,
                       QSizeF(place.size()) / scale);
    return cache_;
}

void PlotView::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    if (tests_.isEmpty()) {
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, whenEmpty_);
    } else if (const QRect place = pictureRect(); !place.isEmpty()) {
        painter.drawPixmap(place.topLeft(), picture(place));
    }
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.backgroundColor = palette().color(QPalette::Base);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
    }
}

void PlotView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange)
        cache_ = QPixmap();
    QWidget::changeEvent(event);
}
