// The progress window over a results log of 100,000 tests of 15 questions: opening it (the log
// read, the summary, the tables and the plot painted at the window's size), with and without
// notes for the whole bank, the reading of the notes and of the log alone, and the plot painted
// again at a new size.
#include "bank/BankFile.h"
#include "bank/BankNotes.h"
#include "progress/PlotView.h"
#include "progress/ResultsFile.h"
#include "progress/ResultsLog.h"
#include "progress/frmProgress.h"

#include <QApplication>
#include <QFile>
#include <QPixmap>
#include <QTableView>
#include <benchmark/benchmark.h>

#include "SampleLog.h"

#include "BenchSupport.h"

namespace {

constexpr int kTests = 100000;
constexpr int kQuestions = 15;
constexpr int kRecords = 500;

void ensureFiles()
{
    static const bool written = [] {
        benchsupport::writeFile(QString::fromLatin1(resultslog::kFileName),
                                sampleLog(kTests, kQuestions, kRecords));
        benchsupport::writeFullBank();
        return true;
    }();
    (void)written;
}

// As Tools > Progress opens it: made, shown, loaded, and painted whole once; range(0) is 1 for a
// bank whose every record has a note.
void BM_OpenProgress(benchmark::State& state)
{
    ensureFiles();
    const QString notes = BankNotes::pathFor(QString::fromLatin1(BankFile::kFileName));
    QFile::remove(notes);
    if (state.range(0) == 1)
        benchsupport::writeFullNotes();
    for (auto _ : state) {
        auto* window = new frmProgress;
        window->show();
        window->Form_Load();
        benchmark::DoNotOptimize(window->grab());
        if (window->findChild<QTableView*>(QStringLiteral("grdtests"))->model()->rowCount() !=
            kTests)
            state.SkipWithError("the table does not hold every test");
        window->close();
        delete window;
    }
    QFile::remove(notes);
}
BENCHMARK(BM_OpenProgress)->ArgName("notes")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The part of the opening that reads the notes of a full bank, every one 1,000 characters long.
void BM_ReadFullNotes(benchmark::State& state)
{
    const QString notes = BankNotes::pathFor(QString::fromLatin1(BankFile::kFileName));
    benchsupport::writeFullNotes();
    for (auto _ : state) {
        const BankNotes::Loaded loaded = BankNotes::load(notes);
        if (loaded.notes.rows().size() != BankFile::kMaxRecords)
            state.SkipWithError("the notes were not read");
    }
    QFile::remove(notes);
}
BENCHMARK(BM_ReadFullNotes)->Unit(benchmark::kMillisecond);

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
