#include "bankio/CsvFormat.h"

#include "bankio/RecordRules.h"
#include "files/CsvRows.h"

using Field = QuestionRecord::Field;

namespace csvformat {

namespace {

const QStringList kColumns = {QStringLiteral("question"), QStringLiteral("a"), QStringLiteral("b"),
                              QStringLiteral("c"),        QStringLiteral("d"), QStringLiteral("e"),
                              QStringLiteral("answer")};

using Row = CsvRows::Row;

bool isBlank(const Row& row)
{
    return row.fields.size() == 1 && row.fields.first().trimmed().isEmpty();
}

bool isHeader(const Row& row)
{
    QStringList names;
    for (const QString& f : row.fields)
        names.append(f.trimmed().toLower());
    while (names.size() > kColumns.size() && names.last().isEmpty())
        names.removeLast();
    return names == kColumns;
}

// Columns past the seventh are allowed only when empty (a trailing comma).
Result<void, ParseError> checkColumns(const Row& row)
{
    const qsizetype n = row.fields.size();
    if (n < kColumns.size()) {
        return Failure{
            ParseError{row.line, QStringLiteral("the column \"%1\" is missing (%2 of %3 columns)")
                                     .arg(kColumns.at(n))
                                     .arg(n)
                                     .arg(kColumns.size())}};
    }
    for (qsizetype i = kColumns.size(); i < n; ++i) {
        if (!row.fields.at(i).trimmed().isEmpty()) {
            return Failure{ParseError{
                row.line, QStringLiteral("%1 columns, %2 expected: question,a,b,c,d,e,answer")
                              .arg(n)
                              .arg(kColumns.size())}};
        }
    }
    return {};
}

ParsedQuestion toQuestion(const Row& row)
{
    ParsedQuestion q;
    q.question = {row.fields.at(0), row.line};
    for (int i = 0; i < QuestionRecord::kChoiceCount; ++i)
        q.choices[i] = {row.fields.at(1 + i), row.line};
    q.answer = {row.fields.at(6), row.line};
    return q;
}

} // namespace

ParsedQuestions parse(const QString& text)
{
    QList<ParsedQuestion> questions;
    CsvRows reader(text);
    bool headerSeen = false;
    Row row;
    while (!reader.atEnd() && questions.size() < kMostQuestions) {
        if (CsvRows::Problem problem; !reader.next(&row, &problem))
            return Failure{ParseError{problem.line, problem.what}};
        if (isBlank(row))
            continue;
        if (!headerSeen) {
            if (!isHeader(row))
                return Failure{
                    ParseError{row.line, QStringLiteral("the first row must be the header "
                                                        "question,a,b,c,d,e,answer")}};
            headerSeen = true;
            continue;
        }
        if (const Result<void, ParseError> columns = checkColumns(row); !columns.ok())
            return Failure{columns.error()};
        questions.append(toQuestion(row));
    }
    if (!headerSeen)
        return Failure{
            ParseError{1, QStringLiteral("the header question,a,b,c,d,e,answer is missing")}};
    return questions;
}

Result<QByteArray> write(const QList<QuestionRecord>& records)
{
    QByteArray out = kColumns.join(u',').toUtf8() + "\r\n";
    for (const QuestionRecord& record : records) {
        for (int f = 0; f <= static_cast<int>(Field::Answer); ++f) {
            if (f > 0)
                out.append(',');
            out.append(csvField(recordrules::exportedText(record, static_cast<Field>(f))).toUtf8());
        }
        out.append("\r\n");
    }
    return out;
}

} // namespace csvformat
