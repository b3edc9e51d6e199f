#pragma once

#include "base/Result.h"
#include "progress/ResultsLog.h"

#include <QByteArray>
#include <QList>
#include <QPalette>
#include <QSizeF>
#include <QString>
#include <optional>

class QPainter;

// The picture of the tests of the results log: the percent of each test over time, with a moving
// average, on a date axis. lexamo-bank history --plot draws it.
namespace historyplot {

inline constexpr int kWidth = 1000;
inline constexpr int kHeight = 560;
// The size of the picture's words, in the canvas's units.
inline constexpr int kTextPixels = 14;
// The moving average is taken over this many tests (fewer at the start), or over a fiftieth of
// the tests when there are more than 250, so that the line stays readable.
inline constexpr int kAverageOf = 5;
qsizetype averageWindow(qsizetype tests);

// The colours of the picture come from a palette: Base the ground, Text the axes and the words,
// Highlight the points; the grid is a light shade of Text over Base, and the moving average is
// orange on every ground. printPalette() gives the picture lexamo-bank history writes: black on
// white, blue points.
QPalette printPalette();

// How much of the tests a picture draws: every point and every vertex of the average, as a file
// keeps them; or for the screen, what shows on the painter's device, a point once a device
// pixel and the average's extremes in each column of pixels, so that the picture of 100,000
// tests is painted in a few milliseconds and looks the same.
enum class Detail { Every, Screen };

// Draws the tests (at least one, oldest first) on a canvas of the size given, kWidth x kHeight
// for a file; the screen gives a canvas that its scale brings to the window's text size. A test
// stands on the time axis by its local date and time. The moving average begins at the test
// that completes its first window; the dates under the axis are as many as have room.
void paint(QPainter& painter, const QList<resultslog::Entry>& tests,
           const QPalette& palette = printPalette(), Detail detail = Detail::Every,
           const QSizeF& canvas = QSizeF(kWidth, kHeight));

enum class Picture { Svg, Png };
// The kind of picture a file's ending names (.svg or .png, in either case); none for another.
std::optional<Picture> pictureFor(const QString& path);

// The bytes of the picture of the tests (at least one) for the file at path, as SVG or PNG by
// its ending; an error naming the file when it cannot be made. Needs a QGuiApplication, for the
// fonts.
Result<QByteArray> picture(const QList<resultslog::Entry>& tests, const QString& path);

} // namespace historyplot
