#pragma once

#include "exam/ResultsLog.h"
#include "platform/Result.h"

#include <QList>
#include <QString>

class QPainter;

// The picture of lexamo-bank history --plot: the percent of each test over time, with a moving
// average, on a date axis.
namespace historyplot {

inline constexpr int kWidth = 1000;
inline constexpr int kHeight = 560;
// The moving average is taken over this many tests (fewer at the start), or over a fiftieth of
// the tests when there are more than 250, so that the line stays readable.
inline constexpr int kAverageOf = 5;
qsizetype averageWindow(qsizetype tests);

// Draws the tests (at least one, in the log's order) on a kWidth x kHeight canvas.
void paint(QPainter& painter, const QList<resultslog::Entry>& tests);

// Writes the picture to path, as SVG or PNG by its ending, replacing the file whole or leaving
// it as it was. Needs a QGuiApplication, for the fonts.
Result<void> draw(const QList<resultslog::Entry>& tests, const QString& path);

} // namespace historyplot
