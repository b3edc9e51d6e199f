#include "questionfiles/CsvFormat.h"

#include "files/CsvRows.h"
#include "questionfiles/RecordRules.h"

using Field = QuestionRecord::Field;

namespace csvformat {

namespace {

const QStringList kColumns = {QStringLiteral("question"), QStringLiteral("a"), QStringLiteral("b"),
                              QStringLiteral("c"),        QStringLiteral("d"), QStringLiteral("e"),
                              QStringLiteral("answer")};

// The two columns of a question's note, which may follow the answer: kind, then explanation.
const QStringList kNoteColumns = {QStringLiteral("kind"), QStringLiteral("explanation")};

using Row = CsvRows::Row;

bool isBlank(const Row& row)
{
    return row.fields.size() == 1 && row.fields.first().trimmed().isEmpty();
}

// The columns a header row names: the seven of a question, then kind and explanation, or kind
// alone, or neither. An empty list when the row is no such header.
QStringList headerColumns(const Row& row)
{
    QStringList names;
    for (const QString& f : row.fields)
        names.append(f.trimmed().toLower());
    while (names.size() > kColumns.size() && names.last().isEmpty())
        names.removeLast();
    for (qsizetype notes = 0; notes <= kNoteColumns.size(); ++notes) {
        if (names == kColumns + kNoteColumns.mid(0, notes))
            return names;
    }
    return {};
}

// Columns past those the header names are allowed only when empty (a trailing comma).
Result<void, ParseError> checkColumns(const Row& row, const QStringList& columns)
{
    const qsizetype n = row.fields.size();
    if (n < columns.size()) {
        return Failure{
            ParseError{row.line, QStringLiteral("the column \"%1\" is missing (%2 of %3 columns)")
                                     .arg(columns.at(n))
                                     .arg(n)
                                     .arg(columns.size())}};
    }
    for (qsizetype i = columns.size(); i < n; ++i) {
        if (!row.fields.at(i).trimmed().isEmpty()) {
            return Failure{ParseError{row.line, QStringLiteral("%1 columns, %2 expected: %3")
                                                    .arg(n)
                                                    .arg(columns.size())
                                                    .arg(columns.join(u','))}};
        }
    }
    return {};
}

ParsedQuestion toQuestion(const Row& row, qsizetype columns)
{
    ParsedQuestion q;
    q.question = {row.fields.at(0), row.line};
    for (int i = 0; i < QuestionRecord::kChoiceCount; ++i)
        q.choices[i] = {row.fields.at(1 + i), row.line};
    q.answer = {row.fields.at(6), row.line};
    if (columns > kColumns.size())
        q.kind = {row.fields.at(kColumns.size()), row.line};
    if (columns > kColumns.size() + 1)
        q.explanation = {row.fields.at(kColumns.size() + 1), row.line};
    return q;
}

} // namespace

ParsedQuestions parse(QString text)
{
    ParsedFile file;
    QList<ParseError> broken;
    CsvRows reader(text);
    QStringList columns;
    Row row;
    while (!reader.atEnd() && file.questions.size() < kMostQuestions) {
        if (CsvRows::Problem problem; !reader.next(&row, &problem)) {
            broken.append({problem.line, problem.what});
            continue;
        }
        if (isBlank(row))
            continue;
        if (columns.isEmpty()) {
            columns = headerColumns(row);
            if (columns.isEmpty())
                return Failure{
                    QList<ParseError>{{row.line, QStringLiteral("the first row must be the header "
                                                                "question,a,b,c,d,e,answer")}}};
            continue;
        }
        if (const Result<void, ParseError> fits = checkColumns(row, columns); !fits.ok())
            file.leftOut.append(fits.error());
        else
            file.questions.append(toQuestion(row, columns.size()));
    }
    if (!broken.isEmpty())
        return Failure{broken};
    if (columns.isEmpty())
        return Failure{QList<ParseError>{
            {1, QStringLiteral("the header question,a,b,c,d,e,answer is missing")}}};
    return file;
}

Result<QByteArray> write(const NotedRecords& bank)
{
    const bool notes = bank.hasNotes();
    QByteArray out = (notes ? kColumns + kNoteColumns : kColumns).join(u',').toUtf8() + "\r\n";
    for (qsizetype n = 0; n < bank.records.size(); ++n) {
        const QuestionRecord& record = bank.records.at(n);
        for (int f = 0; f <= static_cast<int>(Field::Answer); ++f) {
            if (f > 0)
                out.append(',');
            out.append(csvField(recordrules::exportedText(record, static_cast<Field>(f))).toUtf8());
        }
        if (notes) {
            const BankNote note = bank.notes.value(n);
            out.append(',').append(csvField(note.kind).toUtf8());
            out.append(',').append(csvField(note.explanation).toUtf8());
        }
        out.append("\r\n");
    }
    return out;
}

} // namespace csvformat
