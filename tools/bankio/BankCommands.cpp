#include "bankio/BankCommands.h"

#include "bankio/AikenFormat.h"
#include "bankio/BankCheck.h"
#include "bankio/BankFiles.h"
#include "bankio/CsvFormat.h"
#include "bankio/GiftFormat.h"
#include "bankio/RecordRules.h"
#include "bankio/TextInput.h"

#include "bank/BankFile.h"
#include "bank/TextRules.h"

#include <QFile>
#include <QFileInfo>

namespace banktool {

namespace {

const char* const kNoBank = "No bank written.";
const char* const kNothing = "Nothing written.";

int failed(QTextStream& err, const QString& message, const char* outcome = nullptr)
{
    err << message << '\n';
    if (outcome)
        err << outcome << '\n';
    return Failed;
}

QString unknownFormat(const QString& path)
{
    return QStringLiteral("%1: the format cannot be told from the file's ending (.csv, .txt for "
                          "Aiken, .gift); give --format csv, aiken or gift")
        .arg(path);
}

ParseResult parseText(const QString& text, Format format)
{
    switch (format) {
    case Format::Csv:
        return csvformat::parse(text);
    case Format::Aiken:
        return aikenformat::parse(text);
    default:
        return giftformat::parse(text);
    }
}

// The questions of one file; false, with a message naming the file, when it cannot be read.
bool readQuestions(const QString& path, Format format, ParseResult* parsed, QString* message)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *message = QStringLiteral("%1: cannot be read: %2").arg(path, file.errorString());
        return false;
    }
    QString text;
    ParseError error;
    if (textinput::decodeUtf8(file.readAll(), &text, &error))
        *parsed = parseText(text, format);
    else
        *parsed = ParseResult::failure(error.line, error.what);
    return true;
}

// Turns the questions into records after those already there; the first one refused, or one
// that would be past the last record Lexamo can reach, stops it.
bool addRecords(const ParseResult& parsed, bool cut, QList<QuestionRecord>* records,
                ParseError* error)
{
    for (const ParsedQuestion& q : parsed.questions) {
        if (records->size() >= BankFile::kMaxRecords) {
            *error = {q.question.line,
                      QStringLiteral("this question would be record %1, but a bank holds at "
                                     "most %2")
                          .arg(records->size() + 1)
                          .arg(BankFile::kMaxRecords)};
            return false;
        }
        auto record = recordrules::toRecord(q, cut);
        if (const ParseError* refused = std::get_if<ParseError>(&record)) {
            *error = *refused;
            return false;
        }
        records->append(std::get<QuestionRecord>(record));
    }
    return true;
}

bool importFile(const QString& path, const Invocation& call, QList<QuestionRecord>* records,
                QString* message)
{
    const Format format = formatOf(path, call);
    if (format == Format::Unknown) {
        *message = unknownFormat(path);
        return false;
    }
    ParseResult parsed;
    if (!readQuestions(path, format, &parsed, message))
        return false;
    ParseError error = parsed.error;
    if (parsed.ok && addRecords(parsed, call.cut, records, &error))
        return true;
    *message = QStringLiteral("%1:%2: %3").arg(path).arg(error.line).arg(error.what);
    return false;
}

// The records an import starts from: none, or with --append those of the bank already there.
bool startingRecords(const Invocation& call, QList<QuestionRecord>* records, QString* message)
{
    if (!call.append || !QFileInfo::exists(call.output))
        return true;
    bankfiles::BankContents bank;
    if (!bankfiles::readBank(call.output, &bank, message))
        return false;
    if (bank.trailingBytes > 0) {
        *message = QStringLiteral("%1 ends with a piece of %2 bytes, shorter than a record: "
                                  "records added after it would be out of step")
                       .arg(call.output)
                       .arg(bank.trailingBytes);
        return false;
    }
    *records = bank.records;
    return true;
}

ExportResult exported(const QList<QuestionRecord>& records, Format format, bool flatten)
{
    switch (format) {
    case Format::Csv:
        return csvformat::write(records);
    case Format::Aiken:
        return aikenformat::write(records, flatten);
    default:
        return giftformat::write(records);
    }
}

QString firstLine(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'\r' || text.at(i) == u'\n')
            return text.left(i);
    }
    return text;
}

} // namespace

int importCommand(const Invocation& call, QTextStream& out, QTextStream& err)
{
    QList<QuestionRecord> records;
    QString message;
    if (!startingRecords(call, &records, &message))
        return failed(err, message, kNoBank);
    const qsizetype kept = records.size();
    for (const QString& path : call.files) {
        if (!importFile(path, call, &records, &message))
            return failed(err, message, kNoBank);
    }
    if (!bankfiles::writeBank(call.output, records, &message))
        return failed(err, message, kNoBank);
    out << QStringLiteral("%1 questions written to %2 (%3 records in all).\n")
               .arg(records.size() - kept)
               .arg(call.output)
               .arg(records.size());
    return Done;
}

int exportCommand(const Invocation& call, QTextStream& out, QTextStream& err)
{
    const QString& bankPath = call.files.first();
    const Format format = formatOf(call.output, call);
    if (format == Format::Unknown)
        return failed(err, unknownFormat(call.output), kNothing);
    bankfiles::BankContents bank;
    QString message;
    if (!bankfiles::readBank(bankPath, &bank, &message))
        return failed(err, message, kNothing);
    const ExportResult result = exported(bank.records, format, call.flatten);
    if (!result.error.isEmpty())
        return failed(err, QStringLiteral("%1: %2").arg(bankPath, result.error), kNothing);
    if (!bankfiles::writeFile(call.output, result.bytes, &message))
        return failed(err, message, kNothing);
    out << QStringLiteral("%1 questions written to %2.\n")
               .arg(bank.records.size())
               .arg(call.output);
    return Done;
}

int listCommand(const Invocation& call, QTextStream& out, QTextStream& err)
{
    bankfiles::BankContents bank;
    QString message;
    if (!bankfiles::readBank(call.files.first(), &bank, &message))
        return failed(err, message);
    for (qsizetype i = 0; i < bank.records.size(); ++i) {
        const QuestionRecord& record = bank.records.at(i);
        const QString answer = textrules::shownField(record.answer());
        out << QStringLiteral("%1  %2  %3\n")
                   .arg(i + 1, 5)
                   .arg(answer.isEmpty() ? QStringLiteral("-") : answer)
                   .arg(textrules::trimSpaces(firstLine(textrules::shownField(record.question()))));
    }
    return Done;
}

int checkCommand(const Invocation& call, QTextStream& out, QTextStream& err)
{
    bankfiles::BankContents bank;
    QString message;
    if (!bankfiles::readBank(call.files.first(), &bank, &message))
        return failed(err, message);
    const QStringList found = bankcheck::findings(bank.records, bank.trailingBytes);
    for (const QString& line : found)
        out << line << '\n';
    out << QStringLiteral("%1: %2 records, ").arg(call.files.first()).arg(bank.records.size())
        << (found.isEmpty() ? QStringLiteral("no problems found.\n")
                            : QStringLiteral("%1 problems found.\n").arg(found.size()));
    return found.isEmpty() ? Done : Failed;
}

} // namespace banktool
