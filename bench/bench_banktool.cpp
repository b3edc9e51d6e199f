// How long lexamo-bank takes over a full bank of 32767 records: importing CSV, Aiken and GIFT,
// exporting to each, and checking the bank. Every run goes through the whole command, reading
// and writing real files in a temporary folder. BM_ImportGift and BM_ImportMoodleXml time the
// import of a file's bytes alone, for a bank with kinds and explanations and texts of everyday
// lengths, with the memory the import takes at its peak beside the file's size.
#include "bankio/BankTool.h"
#include "questionfiles/Formats.h"
#include "questionfiles/Importer.h"

#include "bank/BankFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <malloc.h>

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

// A full bank as people write them: a question of about 120 characters, choices of about 30,
// an explanation of about 150, and six kinds in runs of 50 questions.
NotedRecords everydayBank()
{
    const QStringList kinds = {"synonym",     "antonym",         "analogy",
                               "odd one out", "word in context", "sentence completion"};
    NotedRecords bank;
    for (int i = 1; i <= kRecords; ++i) {
        QuestionRecord record;
        record.setQuestion(QStringLiteral("Question %1: which of the five words below comes "
                                          "closest in meaning to the word in capitals, as the "
                                          "passage uses it? VIVID")
                               .arg(i));
        for (int c = 0; c < QuestionRecord::kChoiceCount; ++c)
            record.setChoice(c, QStringLiteral("a choice of everyday length %1%2")
                                    .arg(i)
                                    .arg(QuestionRecord::labelOf(c)));
        record.setAnswer(QString(QuestionRecord::letterOf(i % QuestionRecord::kChoiceCount)));
        bank.records.append(record);
        bank.notes.append({kinds.at(i / 50 % kinds.size()),
                           QStringLiteral("Vivid means bright and striking; the right choice "
                                          "says the same of a colour or a memory, while the "
                                          "others mean dull, faint or pale. Number %1.")
                               .arg(i)});
    }
    return bank;
}

// The peak resident size starts afresh at the present one (Linux's clear_refs); false when it
// cannot, and the peak is then not measured. The memory freed before goes back to the system
// first, so that what the import reuses of it counts in its peak.
bool restartPeak()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
    QFile file(QStringLiteral("/proc/self/clear_refs"));
    return file.open(QIODevice::WriteOnly) && file.write("5") == 1;
}

// A size in /proc/self/status ("VmRSS:", "VmHWM:") in bytes; -1 when it cannot be read.
qint64 statusBytes(const char* key)
{
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return -1;
}

void importBytesOf(benchmark::State& state, questionfiles::Format format)
{
    const Result<QByteArray> file = questionfiles::exportRecords(everydayBank(), format, false);
    if (!file.ok()) {
        state.SkipWithError("export failed");
        return;
    }
    const QByteArray& bytes = file.value();
    const bool measured = restartPeak();
    const qint64 before = statusBytes("VmRSS:");
    for (auto _ : state) {
        const questionfiles::FileImport imported =
            questionfiles::importBytes(bytes, format, false, 0);
        if (imported.isRefused() || imported.records.records.size() != kRecords)
            state.SkipWithError("import failed");
    }
    const qint64 peak = statusBytes("VmHWM:");
    state.counters["file_MB"] = double(bytes.size()) / 1e6;
    if (measured && before >= 0 && peak >= 0) {
        state.counters["peak_rss_growth_MB"] = double(peak - before) / 1e6;
        state.counters["growth_per_file_byte"] = double(peak - before) / double(bytes.size());
    } else {
        state.SetLabel("peak memory not measured");
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_ImportGift(benchmark::State& state)
{
    importBytesOf(state, questionfiles::Format::Gift);
}

void BM_ImportMoodleXml(benchmark::State& state)
{
    importBytesOf(state, questionfiles::Format::MoodleXml);
}

} // namespace

BENCHMARK_CAPTURE(importFrom, Csv, "bank.csv")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(importFrom, Aiken, "bank.txt")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(importFrom, Gift, "bank.gift")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(exportTo, Csv, "out.csv")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(exportTo, Aiken, "out.txt")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(exportTo, Gift, "out.gift")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Check)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportGift)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportMoodleXml)->Unit(benchmark::kMillisecond);
