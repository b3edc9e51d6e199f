// What a user waits for at start-up: the splash window, the main window's load step (settings
// and options file) and the main window shown; then its closing, which saves the placement.
#include "app/frmMain.h"
#include "app/main1.h"
#include "platform/Services.h"
#include "platform/SettingsStore.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void closeMainWindow()
{
    main1::mainwindow->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Runs the benchmark in a fresh folder with its own settings store.
template <typename Body> void inFreshFolder(benchmark::State& state, Body body)
{
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    platform::QtSettingsStore settings(folder.path());
    platform::install({nullptr, nullptr, &settings, nullptr, nullptr});
    body(state);
    platform::install({});
}

void StartUp(benchmark::State& state)
{
    inFreshFolder(state, [](benchmark::State& s) {
        for (auto _ : s) {
            main1::Main();
            QApplication::processEvents();
            s.PauseTiming();
            closeMainWindow();
            s.ResumeTiming();
        }
    });
}
BENCHMARK(StartUp)->Unit(benchmark::kMillisecond);

void Closing(benchmark::State& state)
{
    inFreshFolder(state, [](benchmark::State& s) {
        for (auto _ : s) {
            s.PauseTiming();
            main1::Main();
            QApplication::processEvents();
            s.ResumeTiming();
            closeMainWindow();
        }
    });
}
BENCHMARK(Closing)->Unit(benchmark::kMillisecond);

} // namespace
