#pragma once

#include "platform/Result.h"
#include "progress/ResultsLog.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

class QPainter;

// The picture of the tests of the results log: the percent of each test over time, with a moving
// average, on a date axis. lexamo-bank history --plot draws it.
namespace historyplot {

inline constexpr int kWidth = 1000;
inline constexpr int kHeight = 560;
// The moving average is taken over this many tests (fewer at the start), or over a fiftieth of
// the tests when there are more than 250, so that the line stays readable.
inline constexpr int kAverageOf = 5;
qsizetype averageWindow(qsizetype tests);

// Draws the tests (at least one, in the log's order) on a kWidth x kHeight canvas.
void paint(QPainter& painter, const QList<resultslog::Entry>& tests);

enum class Picture { Svg, Png };
// The kind of picture a file's ending names (.svg or .png, in either case); none for another.
std::optional<Picture> pictureFor(const QString& path);

// The bytes of the picture of the tests (at least one) for the file at path, as SVG or PNG by
// its ending; an error naming the file when it cannot be made. Needs a QGuiApplication, for the
// fonts.
Result<QByteArray> picture(const QList<resultslog::Entry>& tests, const QString& path);

} // namespace historyplot
