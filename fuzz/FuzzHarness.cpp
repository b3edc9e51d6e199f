#include "FuzzHarness.h"

#include "app/HelpText.h"
#include "bankio/BankCheck.h"
#include "options/NumberRules.h"
#include "options/OptionsFile.h"
#include "progress/ResultsLog.h"
#include "questionfiles/Importer.h"

#include "bank/BankNotes.h"
#include "bank/Cp1252.h"
#include "bank/QuestionRecord.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <cstdlib>

using questionfiles::Format;

namespace fuzzharness {

namespace {

[[noreturn]] void broken(const char* what, const QString& detail = QString())
{
    std::fprintf(stderr, "Property broken: %s\n%s\n", what, qPrintable(detail));
    std::abort();
}

const char* nameOf(Format format)
{
    return questionfiles::formatRow(format).title;
}

// A note as a format brings it back: GIFT writes every line break of an explanation as "\n",
// which it reads as a line feed alone, and Moodle XML writes each as the line feed that XML
// reads.
BankNote carried(const BankNote& note, Format format)
{
    if (format != Format::Gift && format != Format::MoodleXml)
        return note;
    return {note.kind,
            QString(note.explanation).replace(QLatin1String("\r\n"), QLatin1String("\n"))};
}

void checkSame(const NotedRecords& bank, const NotedRecords& again, Format format)
{
    const QList<QuestionRecord>& records = bank.records;
    for (qsizetype i = 0; i < records.size() && i < again.records.size(); ++i) {
        if (records.at(i) != again.records.at(i))
            broken(nameOf(format),
                   QStringLiteral("record %1 comes back changed:\n%2\n%3")
                       .arg(i + 1)
                       .arg(QString::fromLatin1(records.at(i).toBytes().toHex()),
                            QString::fromLatin1(again.records.at(i).toBytes().toHex())));
        if (questionfiles::formatRow(format).carriesNotes &&
            carried(bank.notes.value(i), format) != again.notes.value(i))
            broken(nameOf(format),
                   QStringLiteral("the note of record %1 comes back changed:\n"
                                  "%2 / %3\n%4 / %5")
                       .arg(i + 1)
                       .arg(bank.notes.value(i).kind, bank.notes.value(i).explanation,
                            again.notes.value(i).kind, again.notes.value(i).explanation));
    }
    if (again.records.size() != records.size())
        broken(nameOf(format), QStringLiteral("%1 records come back as %2")
                                   .arg(records.size())
                                   .arg(again.records.size()));
}

// Export then import in every format gives the records back, byte for byte, for every bank
// that check passes, and their notes where the format carries them. CSV carries every such
// bank; Aiken, GIFT and Moodle XML may refuse, naming a record.
void checkRoundTrip(const NotedRecords& bank)
{
    if (bank.records.isEmpty() || !bankcheck::findings(bank.records, 0).isEmpty())
        return;
    for (const questionfiles::FormatRow& row : questionfiles::formats()) {
        const Format format = row.format;
        const Result<QByteArray> exported = questionfiles::exportRecords(bank, format, false);
        if (!exported.ok()) {
            if (format == Format::Csv || !exported.error().startsWith(QLatin1String("record ")))
                broken("export refused a bank that check passes", exported.error());
            continue;
        }
        const questionfiles::FileImport imported =
            questionfiles::importBytes(exported.value(), format, false, 0);
        const QList<ParseError> problems = imported.refused + imported.leftOut;
        if (!problems.isEmpty()) {
            broken(nameOf(format),
                   QStringLiteral("its export cannot be imported again: line %1: %2\n%3")
                       .arg(problems.first().line)
                       .arg(problems.first().what, QString::fromUtf8(exported.value())));
        }
        checkSame(bank, imported.records, format);
    }
}

int import(const uint8_t* data, size_t size, Format format)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const bool cut = size % 2 == 1; // half of the inputs with --cut
    const questionfiles::FileImport imported = questionfiles::importBytes(bytes, format, cut, 0);
    if (imported.isRefused()) {
        if (!imported.records.records.isEmpty())
            broken("a refused import kept questions");
        for (const ParseError& problem : imported.refused) {
            if (problem.what.isEmpty())
                broken("an import was refused without a reason");
        }
    } else {
        if (imported.records.records.isEmpty() && imported.leftOut.isEmpty())
            broken("an import succeeded without a question and named none left out");
        for (const ParseError& problem : imported.leftOut) {
            if (problem.what.isEmpty() || problem.line <= 0)
                broken("a question was left out without its line and a reason");
        }
        checkRoundTrip(imported.records);
    }
    return 0;
}

// A private folder for the options file, made once for the process and gone at its end.
QString optionsPath()
{
    static const QTemporaryDir folder;
    return folder.filePath(QStringLiteral("options"));
}

qint16 expectedValue(const QString& line)
{
    return numberrules::roundToInt16(numberrules::convert(cp1252::encode(line)))
        .value_or(optionsfile::kDefaultValue);
}

} // namespace

int importCsv(const uint8_t* data, size_t size)
{
    return import(data, size, Format::Csv);
}

int importAiken(const uint8_t* data, size_t size)
{
    return import(data, size, Format::Aiken);
}

int importGift(const uint8_t* data, size_t size)
{
    return import(data, size, Format::Gift);
}

int importMoodleXml(const uint8_t* data, size_t size)
{
    return import(data, size, Format::MoodleXml);
}

int bank(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QList<QuestionRecord> records;
    for (qsizetype at = 0; at + QuestionRecord::kSize <= bytes.size(); at += QuestionRecord::kSize)
        records.append(
            QuestionRecord::fromBytes(QByteArrayView(bytes).sliced(at, QuestionRecord::kSize)));
    const QStringList found = bankcheck::findings(records, bytes.size() % QuestionRecord::kSize);
    for (const QuestionRecord& record : records) {
        if (QuestionRecord::fromBytes(record.toBytes()) != record)
            broken("a record does not keep its bytes");
    }
    if (found.isEmpty())
        checkRoundTrip({records, {}});
    for (const questionfiles::FormatRow& row : questionfiles::formats())
        (void)questionfiles::exportRecords({records, {}}, row.format, true);
    return 0;
}

int options(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const double number = numberrules::convert(bytes);
    if (std::isnan(number))
        broken("a number read as NaN", QString::fromLatin1(bytes.toHex()));
    if (numberrules::convert(bytes + ' ') != number)
        broken("a space at the end changed the number", QString::fromLatin1(bytes.toHex()));
    if (const auto rounded = numberrules::roundToInt16(number);
        rounded && std::abs(*rounded - number) > 0.5)
        broken("rounding moved a number by more than a half", QString::number(number));

    QFile file(optionsPath());
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return 0;
    file.close();
    const optionsfile::Values values = optionsfile::read(optionsPath());
    const optionsfile::Lines lines = optionsfile::loadLines(optionsPath());
    // A line the file lacks reads as 15 for a test and as an empty box in the dialog; with two
    // line ends both lines are there, and a test takes the numbers the dialog's texts give.
    const bool bothLines = bytes.count('\r') >= 2;
    const auto agrees = [bothLines](qint16 value, const QString& line) {
        return value == expectedValue(line) || (!bothLines && value == optionsfile::kDefaultValue);
    };
    if (!agrees(values.numques, lines.questions) || !agrees(values.testmins, lines.minutes))
        broken("a test and the dialog read the options file differently",
               QString::fromLatin1(bytes.toHex()));
    return 0;
}

int helpText(const uint8_t* data, size_t size)
{
    const QString shown = helptext::shownText(QByteArrayView(data, qsizetype(size)));
    if (!shown.isEmpty() && !shown.endsWith(QLatin1String("\r\n")))
        broken("a help text does not end its last line");
    return 0;
}

int resultsLog(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    for (const QByteArray& line : QByteArray::fromRawData(bytes.data(), bytes.size()).split('\n')) {
        const QString text = QString::fromUtf8(line.endsWith('\r') ? line.chopped(1) : line);
        const Result<resultslog::Entry> entry = resultslog::parseLine(text);
        if (!entry.ok())
            continue;
        // Writing leaves out what the log never holds (control characters); from then on a
        // test reads back as it was written.
        const auto rewritten = [](const resultslog::Entry& e) {
            return resultslog::parseLine(QString::fromUtf8(resultslog::line(e).chopped(2)));
        };
        const Result<resultslog::Entry> once = rewritten(entry.value());
        if (!once.ok())
            broken("a test of the results log cannot be read once written", once.error());
        const Result<resultslog::Entry> twice = rewritten(once.value());
        if (!twice.ok() || !(twice.value() == once.value()))
            broken("a test of the results log reads back otherwise once written",
                   QString::fromUtf8(line));
    }
    return 0;
}

int bankNotes(const uint8_t* data, size_t size)
{
    QList<BankNotes::Problem> problems;
    const BankNotes notes = BankNotes::fromBytes(QByteArrayView(data, qsizetype(size)), &problems);
    for (const BankNotes::Row& row : notes.rows()) {
        if (!BankNotes::kindProblem(row.note.kind).isEmpty() ||
            !BankNotes::explanationProblem(row.note.explanation).isEmpty() || row.note.isEmpty())
            broken("a note was kept that a notes file cannot hold", row.note.kind);
    }
    QList<BankNotes::Problem> again;
    if (!(BankNotes::fromBytes(notes.toBytes(), &again) == notes) || !again.isEmpty())
        broken("notes written anew read back otherwise",
               again.isEmpty() ? QString() : again.first().what);
    return 0;
}

const Target* targets(size_t* count)
{
    static const Target all[] = {
        {"import_csv", importCsv},
        {"import_aiken", importAiken},
        {"import_gift", importGift},
        {"import_moodle", importMoodleXml},
        {"bank", bank},
        {"options", options},
        {"help_text", helpText},
        {"results_log", resultsLog},
        {"bank_notes", bankNotes},
    };
    *count = std::size(all);
    return all;
}

} // namespace fuzzharness
