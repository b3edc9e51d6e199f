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

namespace {

// A current folder holding a bank of 32767 records, for the whole run.
class FullBank {
public:
    FullBank()
    {
        QDir::setCurrent(dir_.path());
        QByteArray bytes;
        bytes.reserve(BankFile::kMaxRecords * QuestionRecord::kSize);
        for (int n = 1; n <= BankFile::kMaxRecords; ++n) {
            QuestionRecord record;
            record.setQuestion(QStringLiteral("Question number %1 of the bank").arg(n));
            for (int i = 0; i < QuestionRecord::kChoiceCount; ++i)
                record.setChoice(i, QStringLiteral("Choice %1 of question %2").arg(i).arg(n));
            record.setAnswer(QString(QLatin1Char("abcde"[n % 5])));
            bytes += record.toBytes();
        }
        QFile file(QString::fromLatin1(BankFile::kFileName));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the bank");
    }

private:
    QTemporaryDir dir_;
};

void ensureBank()
{
    static FullBank bank;
}

// As Tools > Add opens it: created (its load step runs), shown, and loaded once more.
void BM_OpenEditor(benchmark::State& state)
{
    ensureBank();
    for (auto _ : state) {
        auto* editor = new frmverques;
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
    frmverques editor;
    editor.show();
    for (auto _ : state) {
        state.PauseTiming();
        editor.cmdbegin->click();
        state.ResumeTiming();
        for (int i = 0; i < 1000; ++i)
            editor.cmdnext->click();
    }
    if (frmverques::state().recno != 1001)
        state.SkipWithError("NEXT did not reach record 1001");
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_Next1000Records)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    twips::registerFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
