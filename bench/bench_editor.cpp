// The question-bank editor on the largest bank Lexamo can address: opening it, with and without
// notes for every record, and stepping through records with NEXT.
#include "bank/BankFile.h"
#include "bank/BankNotes.h"
#include "editor/frmverques.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <benchmark/benchmark.h>
#include <memory>

#include "BenchSupport.h"

namespace {

void ensureBank()
{
    static const bool written = (benchsupport::writeFullBank(), true);
    (void)written;
}

// As Tools > Add opens it: created (its load step runs), shown, and loaded once more; range(0)
// is 1 for a bank whose every record has a note of 1,000 characters, range(1) is 1 for the
// first opening of a run, which reads the notes, and 0 for a later one.
void BM_OpenEditor(benchmark::State& state)
{
    ensureBank();
    const QString notes = BankNotes::pathFor(QString::fromLatin1(BankFile::kFileName));
    QFile::remove(notes);
    if (state.range(0) == 1)
        benchsupport::writeFullNotes();
    auto kept = std::make_unique<EditorState>(); // as the main window keeps it between openings
    for (auto _ : state) {
        if (state.range(1) == 1) {
            state.PauseTiming();
            kept = std::make_unique<EditorState>();
            state.ResumeTiming();
        }
        auto* editor = new frmverques(*kept);
        editor->show();
        editor->Form_Load();
        benchmark::DoNotOptimize(editor->txtques);
        editor->close();
        delete editor;
    }
    QFile::remove(notes);
}
BENCHMARK(BM_OpenEditor)
    ->ArgNames({"notes", "first"})
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

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
