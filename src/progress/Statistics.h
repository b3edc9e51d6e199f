#pragma once

#include "progress/ResultsLog.h"

#include <QDate>
#include <QLatin1StringView>
#include <QList>
#include <QString>
#include <array>

// What the tests of the results log come to: each test's row of the table, and the summary of
// them all (the averages and best of the last 10 and of all, and the trend).
namespace progress {

// The summary's "last" tests: the last 10, or as many as there are.
inline constexpr qsizetype kRecent = 10;

// The percent of the test's questions answered right.
double percent(const resultslog::Entry& test);

// One test as a row of the table: when it ended, how, the score and the time used. Its texts
// are plain characters made without a string a field, as lexamo-bank history makes one for
// every test of the log.
struct Row {
    std::array<char, 32> when{};  // "2026-12-07 18:04"; empty for a date that is not valid
    QLatin1StringView ended;      // complete, time-over or quit
    std::array<char, 24> score{}; // "6/15"
    int percent = 0;              // rounded
    std::array<char, 32> time{};  // minutes and seconds, "6:52"
    std::array<char, 24> pace{};  // the seconds a question took on average, "27"; empty when
                                  // the line keeps no times
};
Row row(const resultslog::Entry& test);

// The seconds a question of the test took on average, over those whose time the log keeps;
// -1 when it keeps none.
double averageTime(const resultslog::Entry& test);

// The summary, for the tests in the log's order.
struct Summary {
    qsizetype taken = 0;
    qsizetype recent = 0; // how many of the last tests lastAverage and lastBest are over
    double lastAverage = 0;
    double lastBest = 0;
    double average = 0; // of all
    double best = 0;
    double trend = 0; // points a test, least squares over the recent ones; 0 with fewer than 2
};
Summary summary(const QList<resultslog::Entry>& tests);

// The trend in words: "rising, +8.3 points a test over the last 3", "steady, ...", "falling,
// ...", or that it is not yet known with fewer than 2 tests.
QString trendText(const Summary& s);

// The summary in words, four lines ended by line feeds, as lexamo-bank history prints it and
// the progress window shows it:
//
//     Tests taken: 3
//     Last 3:  average 39%, best 50%
//     All:     average 39%, best 50%
//     Trend:   rising, +8.3 points a test over the last 3
QString summaryLines(const Summary& s);

// On how many days of the last 30 up to today (today among them) at least one test was taken,
// by the tests' local dates.
inline constexpr int kPractiseDays = 30;
int daysPractised(const QList<resultslog::Entry>& tests, const QDate& today);

} // namespace progress
