#include "bankio/BankCommands.h"

#include "base/Words.h"

#include "bankio/BankCheck.h"
#include "questionfiles/BankFiles.h"
#include "questionfiles/FileChecks.h"
#include "questionfiles/Importer.h"
#include "questionfiles/RecordRules.h"
#include "questionfiles/TextInput.h"

#include "bank/BankFile.h"
#include "bank/BankNotes.h"
#include "bank/TextRules.h"
#include "files/FileErrors.h"
#include "files/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>

namespace banktool {

namespace {

const char* const kNoBank = "No bank written.";
const char* const kNothing = "Nothing written.";

int failed(QTextStream& err, const QString& message, const char* outcome = nullptr)
{
    if (!message.isEmpty())
        err << message << '\n';
    if (outcome)
        err << outcome << '\n';
    return Failed;
}

// Ok when the import may write its bank; not when it is no regular file or one of the inputs.
Result<void> checkImportTarget(const Invocation& call)
{
    if (filechecks::isStandardStream(call.output))
        return Failure{
            QStringLiteral("import writes a bank file: -o - (standard output) is for export")};
    if (Result<void> writable = filechecks::checkOutput(call.output); !writable.ok())
        return writable;
    for (const QString& path : call.files) {
        if (regularfile::sameFile(path, call.output))
            return Failure{filechecks::sameFileProblem(path, call.output)};
    }
    return {};
}

// The number of records an import keeps before its own: none, or with --append those of the
// bank already there.
Result<qint64> keptRecords(const Invocation& call)
{
    const QFileInfo bank(call.output);
    if (!call.append || !bank.exists())
        return qint64(0);
    const qint64 trailing = bank.size() % QuestionRecord::kSize;
    if (trailing > 0) {
        return Failure{QStringLiteral("%1 ends with a piece of %2 bytes, shorter than a record: "
                                      "records added after it would be out of step")
                           .arg(call.output)
                           .arg(trailing)};
    }
    return bank.size() / QuestionRecord::kSize;
}

// Ok when the notes file beside the bank may be written: no regular file there, or one of the
// inputs.
Result<void> checkNotesTarget(const Invocation& call)
{
    const QString notes = BankNotes::pathFor(call.output);
    if (Result<void> writable = filechecks::checkOutput(notes); !writable.ok())
        return writable;
    for (const QString& path : call.files) {
        if (regularfile::sameFile(path, notes))
            return Failure{filechecks::sameFileProblem(path, notes)};
    }
    return {};
}

// Writes the imported records and their notes, as a new bank or, with --append, after those of
// the bank there, and gives the number of records the bank then holds. An append counts them
// again under the bank's lock: another program may have added some since keptRecords() counted
// them.
Result<bankfiles::Written> writeImport(const Invocation& call, const NotedRecords& imported)
{
    if (imported.hasNotes()) {
        if (const Result<void> notes = checkNotesTarget(call); !notes.ok())
            return Failure{notes.error()};
    }
    if (call.append && QFileInfo::exists(call.output))
        return bankfiles::appendRecords(call.output, imported);
    return bankfiles::writeBank(call.output, imported);
}

} // namespace

namespace {

QString firstLine(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'\r' || text.at(i) == u'\n')
            return text.left(i);
    }
    return text;
}

// The kind of each record as list shows it, all of one width, "-" for a record without one;
// none at all when no record has a kind.
QStringList kindColumn(const QList<BankNote>& notes)
{
    qsizetype width = 0;
    for (const BankNote& note : notes)
        width = std::max(width, note.kind.size());
    QStringList column;
    if (width == 0)
        return column;
    for (const BankNote& note : notes)
        column.append((note.kind.isEmpty() ? QStringLiteral("-") : note.kind).leftJustified(width));
    return column;
}

} // namespace

int importCommand(const Invocation& call, QTextStream& out, QTextStream& err)
{
    if (const Result<void> target = checkImportTarget(call); !target.ok())
        return failed(err, target.error(), kNoBank);
    const Result<qint64> keptBefore = keptRecords(call);
    if (!keptBefore.ok())
        return failed(err, keptBefore.error(), kNoBank);
    const qint64 kept = keptBefore.value();
    NotedRecords imported;
    qsizetype leftOut = 0;
    bool refused = false;
    for (const QString& path : call.files) {
        const questionfiles::FileImport added =
            questionfiles::importFile(path, call.format, call.cut, kept + imported.records.size());
        for (const ParseError& problem : added.refused)
            err << questionfiles::located(added.name, problem) << '\n';
        // With --strict a question left out refuses the import, as a broken file does.
        const QString leftOutAs = call.strict ? QString() : QStringLiteral("left out: ");
        for (const ParseError& problem : added.leftOut)
            err << questionfiles::located(added.name, {problem.line, leftOutAs + problem.what})
                << '\n';
        for (const ParseError& note : added.changed)
            out << questionfiles::located(added.name, note) << '\n';
        refused = refused || added.isRefused() || (call.strict && !added.leftOut.isEmpty());
        leftOut += added.leftOut.size();
        imported.records += added.records.records;
        imported.notes += added.records.notes;
    }
    if (refused)
        return failed(err, QString(), kNoBank);
    if (imported.records.isEmpty()) {
        return failed(err,
                      QStringLiteral("No question could be imported: every question was left out."),
                      kNoBank);
    }
    const Result<bankfiles::Written> written = writeImport(call, imported);
    if (!written.ok())
        return failed(err, written.error(), kNoBank);
    const QString done =
        QStringLiteral("%1 written to %2 (%3 in all)")
            .arg(counted(imported.records.size(), QLatin1StringView("question")), call.output,
                 counted(written.value().total, QLatin1StringView("record")));
    if (!written.value().notesProblem.isEmpty()) {
        err << written.value().notesProblem << '\n'
            << done << QStringLiteral(", but without their kinds and explanations.\n");
        return Failed;
    }
    out << done << ".\n" << questionfiles::importSummary(imported.records.size(), leftOut) << ".\n";
    return leftOut > 0 ? SomeLeftOut : Done;
}

namespace {

// Ok when the export may write its file; not when it is no regular file or the bank itself.
Result<void> checkExportTarget(const Invocation& call)
{
    if (filechecks::isStandardStream(call.output))
        return {};
    if (Result<void> writable = filechecks::checkOutput(call.output); !writable.ok())
        return writable;
    if (regularfile::sameFile(call.files.first(), call.output))
        return Failure{filechecks::sameFileProblem(call.files.first(), call.output)};
    return {};
}

// How many texts of the bank hold what no format carries back (see check); an export writes
// them changed, and says so.
qsizetype changedTexts(const QList<QuestionRecord>& records)
{
    qsizetype changed = 0;
    for (const QuestionRecord& record : records) {
        for (int f = 0; f < static_cast<int>(QuestionRecord::Field::Answer); ++f) {
            const QString field = record.field(static_cast<QuestionRecord::Field>(f));
            if (!textrules::shownField(field).isEmpty() && !recordrules::uncarried(field).isEmpty())
                ++changed;
        }
    }
    return changed;
}

// The notes of the bank's records (see bankfiles::notesOf); a notes file that cannot be read
// whole is said on err, once.
QList<BankNote> notesOf(const QString& bankPath, const QList<QuestionRecord>& records,
                        QTextStream& err)
{
    QString warning;
    QList<BankNote> notes = bankfiles::notesOf(bankPath, records, &warning);
    if (!warning.isEmpty())
        err << warning << '\n';
    return notes;
}

int writeToStandardOutput(const QByteArray& bytes, QTextStream& out, QTextStream& err)
{
    out << QString::fromUtf8(bytes);
    out.flush();
    if (out.status() == QTextStream::Ok)
        return Done;
    return failed(
        err, QStringLiteral("Cannot write standard output: %1.").arg(fileerrors::reason(errno)));
}

} // namespace

int exportCommand(const Invocation& call, QTextStream& out, QTextStream& err)
{
    const QString& bankPath = call.files.first();
    const std::optional<Format> format = formatOf(call.output, call);
    if (!format)
        return failed(err, call.output + QStringLiteral(": ") + questionfiles::untoldFormat(),
                      kNothing);
    if (const Result<void> target = checkExportTarget(call); !target.ok())
        return failed(err, target.error(), kNothing);
    const Result<bankfiles::BankContents> read = bankfiles::readBank(bankPath);
    if (!read.ok())
        return failed(err, read.error(), kNothing);
    const bankfiles::BankContents& bank = read.value();
    if (bank.recordsPast > 0) {
        return failed(err,
                      QStringLiteral("%1 holds %2 records, more than the %3 a bank can hold: the "
                                     "exported file could not be imported again")
                          .arg(bankPath)
                          .arg(bank.records.size() + bank.recordsPast)
                          .arg(BankFile::kMaxRecords),
                      kNothing);
    }
    const NotedRecords noted{bank.records, notesOf(bankPath, bank.records, err)};
    const Result<QByteArray> exported = exportRecords(noted, *format, call.flatten);
    if (!exported.ok())
        return failed(err, QStringLiteral("%1: %2").arg(bankPath, exported.error()), kNothing);
    if (noted.hasNotes() && !formatRow(*format).carriesNotes) {
        err << QStringLiteral("%1: the kinds and explanations of its questions are left out: %2 "
                              "holds neither.\n")
                   .arg(bankPath, QLatin1String(formatRow(*format).title));
    }
    if (const qsizetype changed = changedTexts(bank.records); changed > 0) {
        err << QStringLiteral("%1: %2 zero bytes, control characters or lone line breaks, "
                              "which the exported file cannot carry as they are; "
                              "\"lexamo-bank check\" lists them.\n")
                   .arg(bankPath, changed == 1 ? QStringLiteral("1 text holds")
                                               : QStringLiteral("%1 texts hold").arg(changed));
    }
    if (filechecks::isStandardStream(call.output))
        return writeToStandardOutput(exported.value(), out, err);
    if (const Result<void> written = bankfiles::writeFile(call.output, exported.value());
        !written.ok())
        return failed(err, written.error(), kNothing);
    out << QStringLiteral("%1 written to %2.\n")
               .arg(counted(bank.records.size(), QLatin1StringView("question")), call.output);
    return Done;
}

int listCommand(const Invocation& call, QTextStream& out, QTextStream& err)
{
    const Result<bankfiles::BankContents> read = bankfiles::readBank(call.files.first());
    if (!read.ok())
        return failed(err, read.error());
    const bankfiles::BankContents& bank = read.value();
    const QStringList kinds = kindColumn(notesOf(call.files.first(), bank.records, err));
    for (qsizetype i = 0; i < bank.records.size(); ++i) {
        const QuestionRecord& record = bank.records.at(i);
        const QString answer = textrules::shownField(record.answer());
        out << QStringLiteral("%1  %2  %3%4\n")
                   .arg(i + 1, 5)
                   .arg(answer.isEmpty() ? QStringLiteral("-") : answer)
                   .arg(kinds.isEmpty() ? QString() : kinds.at(i) + QStringLiteral("  "))
                   .arg(textrules::trimSpaces(firstLine(textrules::shownField(record.question()))));
    }
    if (bank.recordsPast > 0) {
        out << QStringLiteral("Records %1 to %2 lie past the last one Lexamo can reach and are "
                              "not listed.\n")
                   .arg(BankFile::kMaxRecords + 1)
                   .arg(BankFile::kMaxRecords + bank.recordsPast);
    }
    return Done;
}

namespace {

// What check finds in the notes file beside the bank at bankPath: a file or rows that cannot be
// read, and notes that are stale or belong to no record of the bank.
QStringList notesFindings(const QString& bankPath, const bankfiles::BankContents& bank)
{
    const QString path = BankNotes::pathFor(bankPath);
    if (regularfile::missing(path))
        return {};
    const Result<QByteArray> bytes = regularfile::readWhole(path, BankNotes::kMaxBytes);
    if (!bytes.ok())
        return {QStringLiteral("%1: cannot be read: %2").arg(path, bytes.error())};
    QList<BankNotes::Problem> problems;
    const BankNotes notes = BankNotes::fromBytes(bytes.value(), &problems);
    QStringList found;
    for (const BankNotes::Problem& p : problems) {
        found.append(p.line > 0 ? QStringLiteral("%1:%2: %3").arg(path).arg(p.line).arg(p.what)
                                : QStringLiteral("%1: %2").arg(path, p.what));
    }
    return found +
           bankcheck::noteFindings(bank.records, bank.records.size() + bank.recordsPast, notes);
}

} // namespace

int checkCommand(const Invocation& call, QTextStream& out, QTextStream& err)
{
    const Result<bankfiles::BankContents> read = bankfiles::readBank(call.files.first());
    if (!read.ok())
        return failed(err, read.error());
    const bankfiles::BankContents& bank = read.value();
    const QStringList found =
        bankcheck::findings(bank.records, bank.trailingBytes, bank.recordsPast) +
        notesFindings(call.files.first(), bank);
    for (const QString& line : found)
        out << line << '\n';
    out << QStringLiteral("%1: %2, ")
               .arg(call.files.first(),
                    counted(bank.records.size() + bank.recordsPast, QLatin1StringView("record")))
        << (found.isEmpty() ? QStringLiteral("no problems found.\n")
                            : counted(found.size(), QLatin1StringView("problem")) +
                                  QStringLiteral(" found.\n"));
    return found.isEmpty() ? Done : Failed;
}

} // namespace banktool
