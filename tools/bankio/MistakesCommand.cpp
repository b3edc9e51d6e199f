#include "bankio/MistakesCommand.h"

#include "bankio/BankCommands.h"
#include "bankio/BankFiles.h"
#include "bankio/FileChecks.h"
#include "bankio/ResultsFile.h"

#include <QHash>
#include <algorithm>

namespace banktool {

namespace {

const char* const kNoBank = "No bank written.";

// "1 test", "2 tests".
QString counted(qsizetype n, const char* thing)
{
    return QStringLiteral("%1 %2%3").arg(n).arg(QLatin1String(thing), n == 1 ? "" : "s");
}

int failed(QTextStream& err, const QString& message)
{
    err << message << '\n' << kNoBank << '\n';
    return Failed;
}

// The tests of the log, the last ones only with --last; a line that cannot be read stops it.
Result<QList<resultslog::Entry>> readTests(const QString& path, int last)
{
    const Result<resultsfile::Contents> log = resultsfile::read(path);
    if (!log.ok())
        return Failure{log.error()};
    if (!log.value().problems.isEmpty())
        return Failure{resultsfile::located(path, log.value().problems.first())};
    const QList<resultsfile::Test>& all = log.value().tests;
    QList<resultslog::Entry> tests;
    for (qsizetype i = last > 0 ? std::max<qsizetype>(0, all.size() - last) : 0; i < all.size();
         ++i)
        tests.append(all[i].entry);
    return tests;
}

// Ok unless the bank to write is one of the inputs.
Result<void> checkOutput(const Invocation& call)
{
    for (const QString& input : call.files) {
        if (filechecks::sameFile(call.output, input))
            return Failure{QStringLiteral("%1 is one of the inputs: give another file to -o.")
                               .arg(call.output)};
    }
    return {};
}

} // namespace

QList<Missed> missedQuestions(const QList<resultslog::Entry>& tests)
{
    QHash<int, int> times;
    for (const resultslog::Entry& test : tests) {
        for (const resultslog::Question& q : test.shown) {
            if (resultslog::missed(q))
                ++times[q.recnum];
        }
    }
    QList<Missed> missed;
    missed.reserve(times.size());
    for (auto it = times.cbegin(); it != times.cend(); ++it)
        missed.append({it.key(), it.value()});
    std::sort(missed.begin(), missed.end(), [](const Missed& a, const Missed& b) {
        return a.times != b.times ? a.times > b.times : a.recnum < b.recnum;
    });
    return missed;
}

int mistakesCommand(const Invocation& call, QTextStream& out, QTextStream& err)
{
    const QString& logPath = call.files.at(0);
    const QString& bankPath = call.files.at(1);
    if (const Result<void> target = checkOutput(call); !target.ok())
        return failed(err, target.error());
    const Result<QList<resultslog::Entry>> tests = readTests(logPath, call.last);
    if (!tests.ok())
        return failed(err, tests.error());
    const Result<bankfiles::BankContents> read = bankfiles::readBank(bankPath);
    if (!read.ok())
        return failed(err, read.error());
    const bankfiles::BankContents& bank = read.value();
    QList<QuestionRecord> records;
    int times = 0;
    for (const Missed& m : missedQuestions(tests.value())) {
        if (m.recnum > bank.records.size()) {
            err << QStringLiteral("%1 holds no record %2 (it has %3 records): skipped.\n")
                       .arg(bankPath)
                       .arg(m.recnum)
                       .arg(bank.records.size());
            continue;
        }
        records.append(bank.records.at(m.recnum - 1));
        times += m.times;
    }
    if (records.isEmpty())
        return failed(err, QStringLiteral("%1: no question of %2 was missed in its %3.")
                               .arg(logPath, bankPath, counted(tests.value().size(), "test")));
    if (const Result<void> written = bankfiles::writeBank(call.output, records); !written.ok())
        return failed(err, written.error());
    out << QStringLiteral("%1 written to %2, missed %3 in %4.\n")
               .arg(counted(records.size(), "question"), call.output, counted(times, "time"),
                    counted(tests.value().size(), "test"));
    return Done;
}

} // namespace banktool
