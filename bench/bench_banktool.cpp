// How long lexamo-bank takes over a full bank of 32767 records: importing CSV, Aiken and GIFT,
// exporting to each, and checking the bank. Every run goes through the whole command, reading
// and writing real files in a temporary folder.
#include "bankio/BankTool.h"

#include "bank/BankFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kRecords = static_cast<int>(BankFile::kMaxRecords);

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

QByteArray sampleCsv()
{
    QByteArray csv = "question,a,b,c,d,e,answer\r\n";
    for (int i = 1; i <= kRecords; ++i) {
        csv += "\"Question " + QByteArray::number(i) +
               ": choose the word most nearly OPPOSITE in meaning to the word "
               "\"\"EPHEMERAL\"\", as it is used in the sentence.\",fleeting,lasting,"
               "\"brief, short\",caf\xc3\xa9,transient," +
               QByteArray(1, static_cast<char>('a' + i % 5)) + "\r\n";
    }
    return csv;
}

// A folder holding the sample as CSV, a bank made from it, and its Aiken and GIFT exports.
const Folder& folder()
{
    static Folder* made = [] {
        auto* f = new Folder;
        QFile csv(f->path("bank.csv"));
        if (!csv.open(QIODevice::WriteOnly) || csv.write(sampleCsv()) < 0)
            std::abort();
        csv.close();
        const QString bank = f->path("bank.zep");
        if (run({"import", f->path("bank.csv"), "-o", bank}) != 0 ||
            run({"export", bank, "-o", f->path("bank.txt")}) != 0 ||
            run({"export", bank, "-o", f->path("bank.gift")}) != 0)
            std::abort();
        return f;
    }();
    return *made;
}

void importFrom(benchmark::State& state, const char* source)
{
    const Folder& f = folder();
    for (auto _ : state) {
        if (run({"import", f.path(source), "-o", f.path("out.zep")}) != 0)
            state.SkipWithError("import failed");
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}

void exportTo(benchmark::State& state, const char* target)
{
    const Folder& f = folder();
    for (auto _ : state) {
        if (run({"export", f.path("bank.zep"), "-o", f.path(target)}) != 0)
            state.SkipWithError("export failed");
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_Check(benchmark::State& state)
{
    const Folder& f = folder();
    for (auto _ : state)
        benchmark::DoNotOptimize(run({"check", f.path("bank.zep")}));
    state.SetItemsProcessed(state.iterations() * kRecords);
}

} // namespace

BENCHMARK_CAPTURE(importFrom, Csv, "bank.csv")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(importFrom, Aiken, "bank.txt")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(importFrom, Gift, "bank.gift")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(exportTo, Csv, "out.csv")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(exportTo, Aiken, "out.txt")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(exportTo, Gift, "out.gift")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Check)->Unit(benchmark::kMillisecond);
