#include "bankio/HistoryCommand.h"

#include "bankio/BankCommands.h"
#include "questionfiles/BankFiles.h"

#include "files/RegularFile.h"
#include "progress/HistoryPlot.h"
#include "progress/KindTable.h"
#include "progress/ResultsFile.h"
#include "progress/Statistics.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <cstring>

namespace banktool {

namespace {

QString logPath(const Invocation& call)
{
    return call.files.isEmpty() ? QString::fromLatin1(resultslog::kFileName) : call.files.first();
}

// Where one row of the table is put together: a field padded with spaces to its width, on the
// right for a negative width, on the left else, and two spaces between fields.
struct RowText {
    std::array<char, 160> text{};
    size_t size = 0;
    void field(QLatin1StringView value, int width)
    {
        const size_t length = std::min<size_t>(size_t(value.size()), 40);
        const size_t pad = size_t(std::max<qsizetype>(0, std::abs(width) - qsizetype(length)));
        if (size > 0)
            put("  ", 2);
        if (width > 0)
            spaces(pad);
        put(value.data(), length);
        if (width < 0)
            spaces(pad);
    }
    void put(const char* from, size_t count)
    {
        std::memcpy(text.data() + size, from, count);
        size += count;
    }
    void spaces(size_t count)
    {
        std::memset(text.data() + size, ' ', count);
        size += count;
    }
};

// One test as a row of the table, as "2026-12-07 18:04  verbal    complete    6/15   40%  6:52".
void appendRow(QByteArray& text, const resultslog::Entry& test)
{
    const progress::Row r = progress::row(test);
    std::array<char, 12> percent{};
    const char* const percentEnd =
        std::to_chars(percent.data(), percent.data() + percent.size(), r.percent).ptr;
    RowText row;
    row.field(QLatin1StringView(r.when.data()), 0);
    row.field(resultslog::kindName(test.kind), -8);
    row.field(r.ended, -9);
    row.field(QLatin1StringView(r.score.data()), 5);
    row.field(QLatin1StringView(percent.data(), percentEnd), 3);
    row.put("%", 1);
    row.field(QLatin1StringView(r.time.data()), 6);
    // The seconds a question took on average, on the lines that keep the times.
    if (r.pace[0] != 0)
        row.field(QLatin1StringView(r.pace.data()), 3);
    row.put("\n", 1);
    text.append(row.text.data(), qsizetype(row.size));
}

// The table of every test, written a piece at a time: a log of 100,000 tests makes six
// megabytes of it.
void writeTable(QTextStream& out, const QList<resultslog::Entry>& tests)
{
    constexpr qsizetype kPiece = 64 * 1024;
    QByteArray text = "Date              Kind      Ended      Score       %    Time  s/q\n";
    text.reserve(kPiece + 256);
    for (const resultslog::Entry& test : tests) {
        appendRow(text, test);
        if (text.size() >= kPiece) {
            out << QLatin1StringView(text);
            text.clear();
        }
    }
    out << QLatin1StringView(text);
}

int drawPlot(const QString& path, const QString& plot, const QList<resultslog::Entry>& tests,
             QTextStream& err)
{
    if (regularfile::sameFile(plot, path)) {
        err << QStringLiteral("%1 is the results log itself: give another file to --plot.\nNo "
                              "plot written.\n")
                   .arg(plot);
        return Failed;
    }
    if (tests.isEmpty()) {
        err << QStringLiteral("%1 holds no tests to plot.\nNo plot written.\n").arg(path);
        return Failed;
    }
    const Result<QByteArray> picture = historyplot::picture(tests, plot);
    const Result<void> drawn =
        picture.ok() ? bankfiles::writeFile(plot, picture.value()) : Failure{picture.error()};
    if (!drawn.ok()) {
        err << drawn.error() << "\nNo plot written.\n";
        return Failed;
    }
    return Done;
}

// The questions of the tests by their kinds, by the bank at bankPath as it is now and its notes.
int writeKinds(const QString& bankPath, const QList<resultslog::Entry>& tests, QTextStream& out,
               QTextStream& err)
{
    const Result<bankfiles::BankContents> read = bankfiles::readBank(bankPath);
    if (!read.ok()) {
        err << read.error() << "\nNo kinds shown.\n";
        return Failed;
    }
    const QList<QuestionRecord>& records = read.value().records;
    const BankNotes::Loaded notes = BankNotes::load(BankNotes::pathFor(bankPath));
    if (!notes.warning.isEmpty())
        err << notes.warning << '\n';
    const QList<progress::KindRow> rows = progress::kindRowsOfBank(
        tests, QDateTime::currentDateTime().addDays(-progress::kPractiseDays), records.size(),
        [&records](qint64 n) { return std::optional(records.at(n - 1)); }, notes.notes);
    out << QStringLiteral("\nBy kind, weakest first (%1):\n").arg(bankPath)
        << progress::kindLines(rows);
    return Done;
}

} // namespace

Result<void> checkHistoryUsage(const Invocation& call)
{
    if (!call.plot.isEmpty() && !historyplot::pictureFor(call.plot))
        return Failure{QStringLiteral("--plot draws a file ending in .svg or .png")};
    return {};
}

int historyCommand(const Invocation& call, QTextStream& out, QTextStream& err)
{
    const QString path = logPath(call);
    const Result<resultsfile::Contents> log = resultsfile::read(path);
    if (!log.ok()) {
        err << log.error() << '\n';
        return Failed;
    }
    for (const resultsfile::Problem& problem : log.value().problems)
        err << resultsfile::located(path, problem) << "; line skipped\n";
    const QList<resultslog::Entry> tests = resultsfile::entries(log.value());
    if (tests.isEmpty()) {
        out << QStringLiteral("%1 holds no tests yet.\n").arg(path);
    } else {
        writeTable(out, tests);
        out << '\n' << progress::summaryLines(progress::summary(tests));
    }
    // A bank that cannot be read costs the kinds alone, not the plot.
    const int kinds =
        call.kinds.isEmpty() || tests.isEmpty() ? Done : writeKinds(call.kinds, tests, out, err);
    const int plot = call.plot.isEmpty() ? Done : drawPlot(path, call.plot, tests, err);
    return kinds == Done ? plot : kinds;
}

} // namespace banktool
