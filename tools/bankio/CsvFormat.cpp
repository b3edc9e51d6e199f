#include "bankio/CsvFormat.h"

#include "bankio/RecordRules.h"

using Field = QuestionRecord::Field;

namespace csvformat {

namespace {

const QStringList kColumns = {QStringLiteral("question"), QStringLiteral("a"), QStringLiteral("b"),
                              QStringLiteral("c"),        QStringLiteral("d"), QStringLiteral("e"),
                              QStringLiteral("answer")};

struct Row {
    int line = 0;
    QStringList fields;
};

// Splits text into rows of fields. Rows end at LF or CR LF outside quotes.
class RowReader {
public:
    explicit RowReader(const QString& text) : text_(text) {}

    bool atEnd() const { return pos_ >= text_.size(); }
    // The next row; false, with error, when a quote is left open or text follows a closing one.
    bool next(Row* row, ParseError* error)
    {
        row->line = line_;
        row->fields.clear();
        for (;;) {
            QString field;
            if (!readField(&field, error))
                return false;
            row->fields.append(field);
            if (atEnd())
                return true;
            const QChar c = text_.at(pos_++);
            if (c == u'\n') {
                ++line_;
                return true;
            }
        }
    }

private:
    bool readField(QString* field, ParseError* error)
    {
        if (atEnd() || text_.at(pos_) != u'"')
            return readPlainField(field);
        const int openedOn = line_;
        for (++pos_;;) {
            const qsizetype quote = text_.indexOf(u'"', pos_);
            if (quote < 0)
                break;
            const QStringView piece = QStringView(text_).mid(pos_, quote - pos_);
            line_ += int(piece.count(u'\n'));
            field->append(piece);
            pos_ = quote + 1;
            if (pos_ < text_.size() && text_.at(pos_) == u'"') { // a doubled quote stands for one
                field->append(u'"');
                ++pos_;
                continue;
            }
            return afterClosingQuote(error);
        }
        *error = {openedOn, QStringLiteral("a quoted field is never closed (unterminated quote)")};
        return false;
    }

    bool readPlainField(QString* field)
    {
        const qsizetype start = pos_;
        while (pos_ < text_.size() && text_.at(pos_) != u',' && text_.at(pos_) != u'\n')
            ++pos_;
        qsizetype end = pos_;
        if (end > start && text_.at(end - 1) == u'\r' && (atEnd() || text_.at(pos_) == u'\n'))
            --end;
        *field = text_.mid(start, end - start);
        return true;
    }

    bool afterClosingQuote(ParseError* error)
    {
        if (pos_ < text_.size() && text_.at(pos_) == u'\r')
            ++pos_;
        if (atEnd() || text_.at(pos_) == u',' || text_.at(pos_) == u'\n')
            return true;
        *error = {line_, QStringLiteral("text follows the closing quote of a field")};
        return false;
    }

    const QString& text_;
    qsizetype pos_ = 0;
    int line_ = 1;
};

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

void appendField(QByteArray* out, const QString& text)
{
    const bool quoted =
        text.contains(u',') || text.contains(u'"') || text.contains(u'\n') || text.contains(u'\r');
    if (!quoted) {
        out->append(text.toUtf8());
        return;
    }
    QString doubled = text;
    doubled.replace(u'"', QStringLiteral("\"\""));
    out->append('"').append(doubled.toUtf8()).append('"');
}

} // namespace

ParsedQuestions parse(const QString& text)
{
    QList<ParsedQuestion> questions;
    ParseError error;
    RowReader reader(text);
    bool headerSeen = false;
    Row row;
    while (!reader.atEnd() && questions.size() < kMostQuestions) {
        if (!reader.next(&row, &error))
            return Failure{error};
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
            appendField(&out, recordrules::exportedText(record, static_cast<Field>(f)));
        }
        out.append("\r\n");
    }
    return out;
}

} // namespace csvformat
