#include "bankio/MistakesCommand.h"

#include "base/Words.h"

#include "bankio/BankCommands.h"
#include "questionfiles/BankFiles.h"

#include "files/RegularFile.h"
#include "progress/Mistakes.h"
#include "progress/ResultsFile.h"

namespace banktool {

namespace {

const char* const kNoBank = "No bank written.";

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
    return resultsfile::entries(log.value(), last);
}

// Ok unless the bank to write is one of the inputs.
Result<void> checkOutput(const Invocation& call)
{
    for (const QString& input : call.files) {
        if (regularfile::sameFile(call.output, input))
            return Failure{QStringLiteral("%1 is one of the inputs: give another file to -o.")
                               .arg(call.output)};
    }
    return {};
}

} // namespace

Result<void> checkMistakesUsage(const Invocation& call)
{
    if (call.last < 0)
        return Failure{QStringLiteral("--last takes a whole number of tests above 0")};
    return {};
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
    QList<int> checks;
    checks.reserve(bank.records.size());
    for (const QuestionRecord& record : bank.records)
        checks.append(resultslog::recordCheck(record.toBytes()));
    const progress::Selection missed = progress::selectMissed(tests.value(), checks);
    for (const int recnum : missed.absent) {
        err << QStringLiteral("%1 holds no record %2 (it has %3): skipped.\n")
                   .arg(bankPath)
                   .arg(recnum)
                   .arg(counted(bank.records.size(), QLatin1StringView("record")));
    }
    for (const int recnum : missed.changed)
        err << QStringLiteral("%1: record %2 holds another question since it was missed: "
                              "skipped.\n")
                   .arg(bankPath)
                   .arg(recnum);
    QList<QuestionRecord> records;
    records.reserve(missed.questions.size());
    for (const progress::Missed& m : missed.questions)
        records.append(bank.records.at(m.recnum - 1));
    if (records.isEmpty())
        return failed(err, QStringLiteral("%1: no question of %2 was missed in its %3.")
                               .arg(logPath, bankPath,
                                    counted(tests.value().size(), QLatin1StringView("test"))));
    if (const Result<void> written = bankfiles::writeBank(call.output, records); !written.ok())
        return failed(err, written.error());
    out << QStringLiteral("%1 written to %2, missed %3 in %4.\n")
               .arg(counted(records.size(), QLatin1StringView("question")), call.output,
                    counted(missed.times, QLatin1StringView("time")),
                    counted(tests.value().size(), QLatin1StringView("test")));
    return Done;
}

} // namespace banktool
