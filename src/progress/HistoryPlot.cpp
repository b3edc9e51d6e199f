#include "progress/HistoryPlot.h"

#include "progress/Statistics.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSet>
#include <QSvgGenerator>
#include <QtMath>
#include <algorithm>

namespace historyplot {

namespace {

const QColor kPoints(0x1f, 0x77, 0xb4);
const QColor kAverage(0xd6, 0x5f, 0x00);
const QRectF kArea(80, 80, kWidth - 80 - 60, kHeight - 80 - 70);
// The tests stand this far inside the area, so that no point sits on an axis.
constexpr double kInset = 12;

// The colours of one picture, from its palette.
struct Colours {
    QColor ground;
    QColor ink;
    QColor grid;
    QColor points;
};

// A shade between two colours, share/255 of the way from the first to the second.
QColor between(const QColor& from, const QColor& to, int share)
{
    const auto mix = [share](int a, int b) { return a + (b - a) * share / 255; };
    return QColor(mix(from.red(), to.red()), mix(from.green(), to.green()),
                  mix(from.blue(), to.blue()));
}

Colours coloursOf(const QPalette& palette)
{
    const QColor ground = palette.color(QPalette::Active, QPalette::Base);
    const QColor ink = palette.color(QPalette::Active, QPalette::Text);
    // 34/255 of the way to the ink: #dddddd on white under black.
    return {ground, ink, between(ground, ink, 34),
            palette.color(QPalette::Active, QPalette::Highlight)};
}

double xAt(double share)
{
    return kArea.left() + kInset + share * (kArea.width() - 2 * kInset);
}

// A test's local date and time as seconds on one scale, the clock as the user read it. Cheap,
// where the seconds since the epoch of a local time cost a time-zone lookup each (a log of
// 100,000 tests would take most of a second).
qint64 localSeconds(const QDateTime& when)
{
    return when.date().toJulianDay() * 86400 + when.time().msecsSinceStartOfDay() / 1000;
}

QDateTime fromLocalSeconds(qint64 seconds)
{
    return QDateTime(QDate::fromJulianDay(seconds / 86400),
                     QTime::fromMSecsSinceStartOfDay(int(seconds % 86400) * 1000));
}

// Where each test stands along the x axis: its time, or its place when all share one time.
struct TimeAxis {
    qint64 first = 0;
    qint64 span = 0;
    double x(const QDateTime& when, qsizetype index, qsizetype count) const
    {
        const double share = span > 0    ? double(localSeconds(when) - first) / double(span)
                             : count > 1 ? double(index) / double(count - 1)
                                         : 0.5;
        return xAt(share);
    }
};

TimeAxis timeAxis(const QList<resultslog::Entry>& tests)
{
    qint64 low = localSeconds(tests.first().when);
    qint64 high = low;
    for (const resultslog::Entry& t : tests) {
        const qint64 at = localSeconds(t.when);
        low = std::min(low, at);
        high = std::max(high, at);
    }
    return {low, high - low};
}

double y(double percent)
{
    return kArea.bottom() - percent / 100.0 * kArea.height();
}

void paintPercentAxis(QPainter& p, const Colours& c)
{
    for (int pc = 0; pc <= 100; pc += 20) {
        p.setPen(pc == 0 ? c.ink : c.grid);
        p.drawLine(QPointF(kArea.left(), y(pc)), QPointF(kArea.right(), y(pc)));
        p.setPen(c.ink);
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

void paintDateAxis(QPainter& p, const Colours& c, const TimeAxis& axis,
                   const QList<resultslog::Entry>& tests)
{
    constexpr int kTicks = 6;
    p.setPen(c.ink);
    const bool days = axis.span >= 3 * 24 * 3600;
    const QString format = days ? QStringLiteral("yyyy-MM-dd") : QStringLiteral("MM-dd HH:mm");
    for (int i = 0; i < kTicks; ++i) {
        const double share = double(i) / (kTicks - 1);
        const double x = xAt(share);
        const QDateTime when =
            axis.span > 0 ? fromLocalSeconds(axis.first + qint64(share * double(axis.span)))
                          : tests.first().when;
        p.setPen(c.grid);
        p.drawLine(QPointF(x, kArea.top()), QPointF(x, kArea.bottom()));
        p.setPen(c.ink);
        p.drawLine(QPointF(x, kArea.bottom()), QPointF(x, kArea.bottom() + 5));
        if (axis.span > 0 || i == 0)
            p.drawText(QRectF(x - 60, kArea.bottom() + 8, 120, 20), Qt::AlignCenter,
                       when.toString(format));
    }
    p.drawText(QRectF(kArea.left(), kArea.bottom() + 34, kArea.width(), 24), Qt::AlignCenter,
               QStringLiteral("Date of the test"));
}

void paintTitle(QPainter& p, const Colours& c, const QList<resultslog::Entry>& tests)
{
    QFont font = p.font();
    font.setPixelSize(20);
    font.setBold(true);
    p.save();
    p.setFont(font);
    p.setPen(c.ink);
    p.drawText(
        QRectF(0, 10, kWidth, 30), Qt::AlignCenter,
        QStringLiteral("Lexamo practice: percent correct in each of %1 tests").arg(tests.size()));
    p.restore();
    // The legend, under the title.
    const double top = 52;
    p.setPen(Qt::NoPen);
    p.setBrush(c.points);
    p.drawEllipse(QPointF(kArea.left() + 10, top), 4, 4);
    p.setPen(c.ink);
    p.drawText(QPointF(kArea.left() + 22, top + 5), QStringLiteral("one test"));
    p.setPen(QPen(kAverage, 2.5));
    p.drawLine(QPointF(kArea.left() + 130, top), QPointF(kArea.left() + 160, top));
    p.setPen(c.ink);
    p.drawText(QPointF(kArea.left() + 168, top + 5),
               QStringLiteral("moving average of %1 tests").arg(averageWindow(tests.size())));
}

// Where the points of the tests and the vertices of their moving average go: onto the painter
// and into the path as they come or, for the screen, only those that show. A point then shows
// when no point has been drawn on its device pixel yet, and a vertex when it is the first, the
// lowest, the highest or the last in its column of device pixels.
class TestShapes {
public:
    TestShapes(QPainter& p, double radius, Detail detail)
        : p_(p), radius_(radius), thinned_(detail == Detail::Screen), toDevice_(p.deviceTransform())
    {
    }

    void point(const QPointF& at)
    {
        if (thinned_) {
            const QPoint pixel = toDevice_.map(at).toPoint();
            const qsizetype before = drawn_.size();
            drawn_.insert(qint64(pixel.x()) << 32 | quint32(pixel.y()));
            if (drawn_.size() == before)
                return;
        }
        p_.drawEllipse(at, radius_, radius_);
    }

    void vertex(const QPointF& at)
    {
        if (!thinned_) {
            add(at);
            return;
        }
        const int column = qFloor(toDevice_.map(at).x());
        if (!run_.isEmpty() && column != column_)
            endColumn();
        column_ = column;
        run_.append(at);
    }

    const QPainterPath& average()
    {
        endColumn();
        return path_;
    }

private:
    void add(const QPointF& at) { path_.elementCount() == 0 ? path_.moveTo(at) : path_.lineTo(at); }

    void endColumn()
    {
        if (run_.isEmpty())
            return;
        qsizetype low = 0;
        qsizetype high = 0;
        for (qsizetype i = 1; i < run_.size(); ++i) {
            low = run_[i].y() < run_[low].y() ? i : low;
            high = run_[i].y() > run_[high].y() ? i : high;
        }
        qsizetype last = -1;
        for (qsizetype keep :
             {qsizetype(0), std::min(low, high), std::max(low, high), run_.size() - 1}) {
            if (keep != last)
                add(run_[keep]);
            last = keep;
        }
        run_.clear();
    }

    QPainter& p_;
    double radius_;
    bool thinned_;
    QTransform toDevice_;
    QSet<qint64> drawn_;
    QList<QPointF> run_;
    int column_ = 0;
    QPainterPath path_;
};

void paintTests(QPainter& p, const Colours& c, const TimeAxis& axis,
                const QList<resultslog::Entry>& tests, Detail detail)
{
    double sum = 0;
    const qsizetype n = tests.size();
    const qsizetype window = averageWindow(n);
    p.setPen(Qt::NoPen);
    p.setBrush(c.points);
    TestShapes shapes(p, n > 2000 ? 1.5 : 4, detail);
    for (qsizetype i = 0; i < n; ++i) {
        sum += progress::percent(tests[i]);
        if (i >= window)
            sum -= progress::percent(tests[i - window]);
        const double x = axis.x(tests[i].when, i, n);
        shapes.vertex(QPointF(x, y(sum / double(std::min(i + 1, window)))));
        shapes.point(QPointF(x, y(progress::percent(tests[i]))));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kAverage, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(shapes.average());
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

QPalette printPalette()
{
    QPalette palette;
    for (const auto& [role, colour] :
         {std::pair{QPalette::Base, QColor(Qt::white)},
          std::pair{QPalette::Text, QColor(Qt::black)}, std::pair{QPalette::Highlight, kPoints}})
        palette.setColor(role, colour);
    return palette;
}

void paint(QPainter& painter, const QList<resultslog::Entry>& tests, const QPalette& palette,
           Detail detail)
{
    const Colours colours = coloursOf(palette);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRectF(0, 0, kWidth, kHeight), colours.ground);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(14);
    painter.setFont(font);
    const TimeAxis axis = timeAxis(tests);
    paintDateAxis(painter, colours, axis, tests);
    paintPercentAxis(painter, colours);
    paintTests(painter, colours, axis, tests, detail);
    paintTitle(painter, colours, tests);
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
