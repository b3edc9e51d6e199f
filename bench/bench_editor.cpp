// The question-bank editor on the largest bank Lexamo can address: opening it, and stepping
// through records with NEXT.
#include "bank/BankFile.h"
#include "editor/frmverques.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <benchmark/benchmark.h>

#include "BenchSupport.h"

namespace {

void ensureBank()
{
    static const bool written = (benchsupport::writeFullBank(), true);
    (void)written;
}

// As Tools > Add opens it: created (its load step runs), shown, and loaded once more.
void BM_OpenEditor(benchmark::State& state)
{
    ensureBank();
    EditorState kept; // as the main window keeps it from one opening to the next
    for (auto _ : state) {
        auto* editor = new frmverques(kept);
        editor->show();
        editor->Form_Load();
        benchmark::DoNotOptimize(editor->txtques);
        editor->close();
        delete editor;
    }
}
BENCHMARK(BM_OpenEditor)->Unit(benchmark::kMillisecond);

void BM_Next1000Records(benchmark::State& state)
{
    ensureBank();
    EditorState kept;
    frmverques editor(kept);
    editor.show();
    for (auto _ : state) {
        state.PauseTiming();
        editor.cmdbegin->click();
        state.ResumeTiming();
        for (int i = 0; i < 1000; ++i)
            editor.cmdnext->click();
    }
    if (kept.recno != 1001)
        state.SkipWithError("NEXT did not reach record 1001");
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_Next1000Records)->Unit(benchmark::kMillisecond);

} // namespace
