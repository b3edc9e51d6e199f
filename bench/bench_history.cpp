// How long lexamo-bank takes over a results log of 100,000 tests of 15 questions: history's
// table and summary, its plot, and a bank of the questions missed. Every run goes through the
// whole command, reading the log from a real file in a temporary folder.
#include "bankio/BankTool.h"

#include "bank/QuestionRecord.h"
#include "progress/ResultsLog.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "SampleLog.h"

namespace {

constexpr int kTests = 100000;
constexpr int kQuestions = 15;
constexpr int kRecords = 500;

struct Folder {
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

int run(const QStringList& arguments)
{
    QString sink;
    QTextStream out(&sink);
    QTextStream err(&sink);
    return banktool::run(arguments, out, err);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::abort();
}

const Folder& folder()
{
    static Folder* made = [] {
        auto* f = new Folder;
        writeFile(f->path("results.csv"), sampleLog(kTests, kQuestions, kRecords));
        QByteArray bank;
        for (int n = 1; n <= kRecords; ++n) {
            QuestionRecord r;
            r.setQuestion(QStringLiteral("Question %1").arg(n));
            r.setAnswer(QString(QuestionRecord::letterOf(n % 5)));
            bank += r.toBytes();
        }
        writeFile(f->path("bank.zep"), bank);
        return f;
    }();
    return *made;
}

void expectDone(benchmark::State& state, const QStringList& arguments)
{
    for (auto _ : state) {
        if (run(arguments) != 0)
            state.SkipWithError("the command failed");
    }
}

void BM_History(benchmark::State& state)
{
    expectDone(state, {"history", folder().path("results.csv")});
}

void BM_HistoryPlot(benchmark::State& state)
{
    expectDone(state,
               {"history", folder().path("results.csv"), "--plot", folder().path("plot.png")});
}

void BM_Mistakes(benchmark::State& state)
{
    expectDone(state, {"mistakes", folder().path("results.csv"), folder().path("bank.zep"), "-o",
                       folder().path("retry.zep")});
}

BENCHMARK(BM_History)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HistoryPlot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mistakes)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // The plot needs fonts; it draws offscreen, as lexamo-bank does.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
