// How long the test takes where a user waits: opening a full bank for a test, with and without
// notes for all its questions; drawing the questions of a test from a full bank; and a whole
// 50-question test from "&Verbal Test" to the score, its boxes answered at once.

#include "app/frmMain.h"
#include "bank/BankNotes.h"
#include "bank/QuestionRecord.h"
#include "exam/vertest.h"
#include "platform/Services.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <memory>

#include "BenchSupport.h"

namespace {

using benchsupport::writeFile;

void ensureBank()
{
    static const bool written = (benchsupport::writeFullBank(), true);
    (void)written;
}

// Answers every box at once: Yes to start, No to the review, OK to the rest.
class InstantBoxes final : public platform::MessageBoxes {
public:
    platform::Answer show(const platform::MessageBox& box) override
    {
        if (box.buttons != platform::Buttons::YesNo)
            return platform::Answer::Ok;
        return box.title == QStringLiteral("Review") ? platform::Answer::No : platform::Answer::Yes;
    }
};

// The bank opened as a test starts; range(0) is 1 for a note on every record, which the test
// reads meanwhile. Letting the test go, which waits for its notes, is not counted.
void BM_OpenAFullBank(benchmark::State& st)
{
    ensureBank();
    const QString notes = BankNotes::pathFor(QString::fromLatin1(BankFile::kFileName));
    QFile::remove(notes);
    if (st.range(0) == 1)
        benchsupport::writeFullNotes();
    for (auto _ : st) {
        auto s = std::make_unique<vertest::State>(50, 15);
        if (!vertest::openbank(*s).ok())
            st.SkipWithError("the bank cannot serve the test");
        st.PauseTiming();
        s.reset();
        st.ResumeTiming();
    }
    QFile::remove(notes);
}
// Letting each test go waits for its notes: a fixed count of runs keeps the wait bounded.
BENCHMARK(BM_OpenAFullBank)
    ->ArgName("notes")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

void BM_DrawFiftyFromAFullBank(benchmark::State& st)
{
    ensureBank();
    vertest::State s(50, 15);
    if (!vertest::openbank(s).ok())
        st.SkipWithError("the bank cannot serve the test");
    for (auto _ : st) {
        qint16 last = vertest::pickquestion(s, 0);
        for (int i = 1; i < 50; ++i)
            last = vertest::pickquestion(s, 1);
        benchmark::DoNotOptimize(last);
    }
}
BENCHMARK(BM_DrawFiftyFromAFullBank)->Unit(benchmark::kMicrosecond);

void BM_WholeFiftyQuestionTest(benchmark::State& st)
{
    ensureBank();
    InstantBoxes boxes;
    platform::install({&boxes});
    writeFile(QStringLiteral("options"), "50\r\n15\r\n");
    frmMain w;
    w.Form_Load();
    w.findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
    auto* opta = w.findChild<QRadioButton*>(QStringLiteral("opta"));
    for (auto _ : st) {
        w.mnuFileVer_Click();
        for (int i = 0; i < 50; ++i) {
            opta->setChecked(true);
            w.cmdnext_Click();
            w.cmdanswer_Click();
        }
    }
    platform::install({});
}
BENCHMARK(BM_WholeFiftyQuestionTest)->Unit(benchmark::kMillisecond);

} // namespace
