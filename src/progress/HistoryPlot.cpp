#include "progress/HistoryPlot.h"

#include "progress/Statistics.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>
#include <algorithm>

namespace historyplot {

namespace {

const QColor kPoints(0x1f, 0x77, 0xb4);
const QColor kAverage(0xd6, 0x5f, 0x00);
const QColor kGrid(0xdd, 0xdd, 0xdd);
const QRectF kArea(80, 80, kWidth - 80 - 60, kHeight - 80 - 70);
// The tests stand this far inside the area, so that no point sits on an axis.
constexpr double kInset = 12;

double xAt(double share)
{
    return kArea.left() + kInset + share * (kArea.width() - 2 * kInset);
}

// Where each test stands along the x axis: its time, or its place when all share one time.
struct TimeAxis {
    qint64 first = 0;
    qint64 span = 0;
    double x(const QDateTime& when, qsizetype index, qsizetype count) const
    {
        const double share = span > 0    ? double(when.toSecsSinceEpoch() - first) / double(span)
                             : count > 1 ? double(index) / double(count - 1)
                                         : 0.5;
        return xAt(share);
    }
};

TimeAxis timeAxis(const QList<resultslog::Entry>& tests)
{
    qint64 low = tests.first().when.toSecsSinceEpoch();
    qint64 high = low;
    for (const resultslog::Entry& t : tests) {
        low = std::min(low, t.when.toSecsSinceEpoch());
        high = std::max(high, t.when.toSecsSinceEpoch());
    }
    return {low, high - low};
}

double y(double percent)
{
    return kArea.bottom() - percent / 100.0 * kArea.height();
}

void paintPercentAxis(QPainter& p)
{
    for (int pc = 0; pc <= 100; pc += 20) {
        p.setPen(pc == 0 ? Qt::black : kGrid);
        p.drawLine(QPointF(kArea.left(), y(pc)), QPointF(kArea.right(), y(pc)));
        p.setPen(Qt::black);
        p.drawText(QRectF(kArea.left() - 60, y(pc) - 10, 52, 20), Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("%1%").arg(pc));
    }
    p.drawLine(kArea.bottomLeft(), kArea.topLeft());
    p.save();
    p.translate(22, kArea.center().y());
    p.rotate(-90);
    p.drawText(QRectF(-150, -12, 300, 24), Qt::AlignCenter, QStringLiteral("Percent correct"));
    p.restore();
}

void paintDateAxis(QPainter& p, const TimeAxis& axis, const QList<resultslog::Entry>& tests)
{
    constexpr int kTicks = 6;
    p.setPen(Qt::black);
    const bool days = axis.span >= 3 * 24 * 3600;
    const QString format = days ? QStringLiteral("yyyy-MM-dd") : QStringLiteral("MM-dd HH:mm");
    for (int i = 0; i < kTicks; ++i) {
        const double share = double(i) / (kTicks - 1);
        const double x = xAt(share);
        const QDateTime when =
            axis.span > 0
                ? QDateTime::fromSecsSinceEpoch(axis.first + qint64(share * double(axis.span)))
                : tests.first().when;
        p.setPen(kGrid);
        p.drawLine(QPointF(x, kArea.top()), QPointF(x, kArea.bottom()));
        p.setPen(Qt::black);
        p.drawLine(QPointF(x, kArea.bottom()), QPointF(x, kArea.bottom() + 5));
        if (axis.span > 0 || i == 0)
            p.drawText(QRectF(x - 60, kArea.bottom() + 8, 120, 20), Qt::AlignCenter,
                       when.toString(format));
    }
    p.drawText(QRectF(kArea.left(), kArea.bottom() + 34, kArea.width(), 24), Qt::AlignCenter,
               QStringLiteral("Date of the test"));
}

void paintTitle(QPainter& p, const QList<resultslog::Entry>& tests)
{
    QFont font = p.font();
    font.setPixelSize(20);
    font.setBold(true);
    p.save();
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(
        QRectF(0, 10, kWidth, 30), Qt::AlignCenter,
        QStringLiteral("Lexamo practice: percent correct in each of %1 tests").arg(tests.size()));
    p.restore();
    // The legend, under the title.
    const double top = 52;
    p.setPen(Qt::NoPen);
    p.setBrush(kPoints);
    p.drawEllipse(QPointF(kArea.left() + 10, top), 4, 4);
    p.setPen(Qt::black);
    p.drawText(QPointF(kArea.left() + 22, top + 5), QStringLiteral("one test"));
    p.setPen(QPen(kAverage, 2.5));
    p.drawLine(QPointF(kArea.left() + 130, top), QPointF(kArea.left() + 160, top));
    p.setPen(Qt::black);
    p.drawText(QPointF(kArea.left() + 168, top + 5),
               QStringLiteral("moving average of %1 tests").arg(averageWindow(tests.size())));
}

void paintTests(QPainter& p, const TimeAxis& axis, const QList<resultslog::Entry>& tests)
{
    QPainterPath average;
    double sum = 0;
    const qsizetype n = tests.size();
    const qsizetype window = averageWindow(n);
    p.setPen(Qt::NoPen);
    p.setBrush(kPoints);
    const double radius = n > 2000 ? 1.5 : 4;
    for (qsizetype i = 0; i < n; ++i) {
        sum += progress::percent(tests[i]);
        if (i >= window)
            sum -= progress::percent(tests[i - window]);
        const double x = axis.x(tests[i].when, i, n);
        const QPointF mean(x, y(sum / double(std::min(i + 1, window))));
        i == 0 ? average.moveTo(mean) : average.lineTo(mean);
        p.drawEllipse(QPointF(x, y(progress::percent(tests[i]))), radius, radius);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kAverage, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(average);
}

QByteArray svg(const QList<resultslog::Entry>& tests)
{
    QBuffer buffer;
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(kWidth, kHeight));
    generator.setViewBox(QRect(0, 0, kWidth, kHeight));
    generator.setTitle(QStringLiteral("Lexamo practice results"));
    QPainter painter(&generator);
    paint(painter, tests);
    painter.end();
    return buffer.data();
}

QByteArray png(const QList<resultslog::Entry>& tests)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    paint(painter, tests);
    painter.end();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG") ? buffer.data() : QByteArray();
}

} // namespace

qsizetype averageWindow(qsizetype tests)
{
    return std::max<qsizetype>(kAverageOf, tests / 50);
}

void paint(QPainter& painter, const QList<resultslog::Entry>& tests)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRectF(0, 0, kWidth, kHeight), Qt::white);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(14);
    painter.setFont(font);
    const TimeAxis axis = timeAxis(tests);
    paintDateAxis(painter, axis, tests);
    paintPercentAxis(painter);
    paintTests(painter, axis, tests);
    paintTitle(painter, tests);
}

std::optional<Picture> pictureFor(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("svg"))
        return Picture::Svg;
    if (suffix == QLatin1String("png"))
        return Picture::Png;
    return std::nullopt;
}

Result<QByteArray> picture(const QList<resultslog::Entry>& tests, const QString& path)
{
    const std::optional<Picture> kind = pictureFor(path);
    const QByteArray bytes = !kind ? QByteArray() : *kind == Picture::Svg ? svg(tests) : png(tests);
    if (bytes.isEmpty())
        return Failure{QStringLiteral("Cannot draw \"%1\".").arg(path)};
    return bytes;
}

} // namespace historyplot
