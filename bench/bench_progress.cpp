// The progress window over a results log of 100,000 tests of 15 questions: opening it (the log
// read, the summary, the table and the plot painted at the window's size), the reading of the
// log alone, and the plot painted again at a new size.
#include "progress/PlotView.h"
#include "progress/ResultsFile.h"
#include "progress/ResultsLog.h"
#include "progress/frmProgress.h"

#include <QApplication>
#include <QPixmap>
#include <QTableView>
#include <benchmark/benchmark.h>

#include "BenchSupport.h"

namespace {

constexpr int kTests = 100000;
constexpr int kQuestions = 15;
constexpr int kRecords = 500;

// Tests seven hours apart from 2020 on, each right on a share of its questions that grows
// slowly, as bench_history makes them.
QByteArray sampleLog()
{
    QByteArray log = resultslog::header();
    const QDateTime start(QDate(2020, 1, 1), QTime(18, 0));
    for (int t = 0; t < kTests; ++t) {
        resultslog::Entry e;
        e.when = start.addSecs(qint64(t) * 3600 * 7);
        e.ending = t % 9 == 0 ? resultslog::Ending::TimeOver : resultslog::Ending::Complete;
        e.questions = kQuestions;
        e.minutes = 15;
        e.seconds = 900 - t % 300;
        for (int q = 0; q < kQuestions; ++q) {
            const int recnum = 1 + (t * 7 + q * 31) % kRecords;
            const QChar answer(u'a' + recnum % 5);
            const bool right = (t + q) % 10 < 4 + (t * 5) / kTests;
            e.shown.append({recnum, right ? answer : QChar(u'e'), answer});
            e.correct += resultslog::missed(e.shown.last()) ? 0 : 1;
        }
        log += resultslog::line(e);
    }
    return log;
}

void ensureFiles()
{
    static const bool written = [] {
        benchsupport::writeFile(QString::fromLatin1(resultslog::kFileName), sampleLog());
        benchsupport::writeFullBank();
        return true;
    }();
    (void)written;
}

// As Tools > Progress opens it: made, shown, loaded, and painted whole once.
void BM_OpenProgress(benchmark::State& state)
{
    ensureFiles();
    for (auto _ : state) {
        auto* window = new frmProgress;
        window->show();
        window->Form_Load();
        benchmark::DoNotOptimize(window->grab());
        if (window->findChild<QTableView*>()->model()->rowCount() != kTests)
            state.SkipWithError("the table does not hold every test");
        window->close();
        delete window;
    }
}
BENCHMARK(BM_OpenProgress)->Unit(benchmark::kMillisecond);

// The part of the opening that reads the log.
void BM_ReadLog(benchmark::State& state)
{
    ensureFiles();
    for (auto _ : state) {
        const Result<resultsfile::Contents> log =
            resultsfile::read(QString::fromLatin1(resultslog::kFileName));
        if (!log.ok() || log.value().tests.size() != kTests)
            state.SkipWithError("the log was not read");
    }
}
BENCHMARK(BM_ReadLog)->Unit(benchmark::kMillisecond);

// The plot painted afresh, as when the window is resized.
void BM_PaintPlotAtANewSize(benchmark::State& state)
{
    ensureFiles();
    const Result<resultsfile::Contents> log =
        resultsfile::read(QString::fromLatin1(resultslog::kFileName));
    PlotView plot;
    plot.setTests(resultsfile::entries(log.value()));
    int width = 600;
    for (auto _ : state) {
        plot.resize(width, width * 56 / 100);
        width = width == 600 ? 700 : 600;
        benchmark::DoNotOptimize(plot.grab());
    }
}
BENCHMARK(BM_PaintPlotAtANewSize)->Unit(benchmark::kMillisecond);

} // namespace
