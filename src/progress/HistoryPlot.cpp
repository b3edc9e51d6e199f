#include "progress/HistoryPlot.h"

#include "base/Words.h"

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
// The plotting area of a canvas: room on the left for the percents, above for the title and
// the legend, below for the dates.
QRectF areaOf(const QSizeF& canvas)
{
    return QRectF(80, 80, canvas.width() - 80 - 60, canvas.height() - 80 - 70);
}
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

double xAt(const QRectF& area, double share)
{
    return area.left() + kInset + share * (area.width() - 2 * kInset);
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
    QRectF area;
    qint64 first = 0;
    qint64 span = 0;
    double x(const QDateTime& when, qsizetype index, qsizetype count) const
    {
        const double share = span > 0    ? double(localSeconds(when) - first) / double(span)
                             : count > 1 ? double(index) / double(count - 1)
                                         : 0.5;
        return xAt(area, share);
    }
    double y(double percent) const { return area.bottom() - percent / 100.0 * area.height(); }
};

TimeAxis timeAxis(const QRectF& area, const QList<resultslog::Entry>& tests)
{
    qint64 low = localSeconds(tests.first().when);
    qint64 high = low;
    for (const resultslog::Entry& t : tests) {
        const qint64 at = localSeconds(t.when);
        low = std::min(low, at);
        high = std::max(high, at);
    }
    return {area, low, high - low};
}

void paintPercentAxis(QPainter& p, const Colours& c, const TimeAxis& axis)
{
    const QRectF& area = axis.area;
    for (int pc = 0; pc <= 100; pc += 20) {
        p.setPen(pc == 0 ? c.ink : c.grid);
        p.drawLine(QPointF(area.left(), axis.y(pc)), QPointF(area.right(), axis.y(pc)));
        p.setPen(c.ink);
        p.drawText(QRectF(area.left() - 60, axis.y(pc) - 10, 52, 20),
                   Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("%1%").arg(pc));
    }
    p.drawLine(area.bottomLeft(), area.topLeft());
    p.save();
    p.translate(22, area.center().y());
    p.rotate(-90);
    p.drawText(QRectF(-150, -12, 300, 24), Qt::AlignCenter, QStringLiteral("Percent correct"));
    p.restore();
}

void paintDateAxis(QPainter& p, const Colours& c, const TimeAxis& axis,
                   const QList<resultslog::Entry>& tests)
{
    const QRectF& area = axis.area;
    // As many ticks as their dates have room for, six at most; a date the tick before showed
    // is not shown again (tests of one day, minutes apart).
    const int ticks = std::clamp(int(area.width() / 130), 2, 6);
    p.setPen(c.ink);
    const bool days = axis.span >= 3 * 24 * 3600;
    const QString format = days ? QStringLiteral("yyyy-MM-dd") : QStringLiteral("MM-dd HH:mm");
    QString shown;
    for (int i = 0; i < ticks; ++i) {
        const double share = double(i) / (ticks - 1);
        const double x = xAt(area, share);
        const QDateTime when =
            axis.span > 0 ? fromLocalSeconds(axis.first + qint64(share * double(axis.span)))
                          : tests.first().when;
        p.setPen(c.grid);
        p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        p.setPen(c.ink);
        p.drawLine(QPointF(x, area.bottom()), QPointF(x, area.bottom() + 5));
        const QString label = when.toString(format);
        if ((axis.span > 0 || i == 0) && label != shown)
            p.drawText(QRectF(x - 60, area.bottom() + 8, 120, 20), Qt::AlignCenter, label);
        shown = label;
    }
    p.drawText(QRectF(area.left(), area.bottom() + 34, area.width(), 24), Qt::AlignCenter,
               QStringLiteral("Date of the test"));
}

void paintTitle(QPainter& p, const Colours& c, const QRectF& area, double width,
                const QList<resultslog::Entry>& tests)
{
    QFont font = p.font();
    font.setPixelSize(20);
    font.setBold(true);
    p.save();
    p.setFont(font);
    p.setPen(c.ink);
    p.drawText(QRectF(0, 10, width, 30), Qt::AlignCenter,
               tests.size() == 1
                   ? QStringLiteral("Lexamo practice: percent correct in 1 test")
                   : QStringLiteral("Lexamo practice: percent correct in each of %1 tests")
                         .arg(tests.size()));
    p.restore();
    // The legend, under the title; the average only once there are tests enough for it.
    const double top = 52;
    p.setPen(Qt::NoPen);
    p.setBrush(c.points);
    p.drawEllipse(QPointF(area.left() + 10, top), 4, 4);
    p.setPen(c.ink);
    p.drawText(QPointF(area.left() + 22, top + 5), QStringLiteral("one test"));
    if (tests.size() < averageWindow(tests.size()))
        return;
    p.setPen(QPen(kAverage, 2.5));
    p.drawLine(QPointF(area.left() + 130, top), QPointF(area.left() + 160, top));
    p.setPen(c.ink);
    p.drawText(QPointF(area.left() + 168, top + 5),
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
        // The average begins once it has its whole width of tests.
        if (i + 1 >= window)
            shapes.vertex(QPointF(x, axis.y(sum / double(window))));
        shapes.point(QPointF(x, axis.y(progress::percent(tests[i]))));
    }
    const QPainterPath& average = shapes.average();
    if (average.isEmpty())
        return;
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
           Detail detail, const QSizeF& canvas)
{
    const Colours colours = coloursOf(palette);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRectF(QPointF(), canvas), colours.ground);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(kTextPixels);
    painter.setFont(font);
    const TimeAxis axis = timeAxis(areaOf(canvas), tests);
    paintDateAxis(painter, colours, axis, tests);
    paintPercentAxis(painter, colours, axis);
    paintTests(painter, colours, axis, tests, detail);
    paintTitle(painter, colours, axis.area, canvas.width(), tests);
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
