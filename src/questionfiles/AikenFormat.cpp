#include "questionfiles/AikenFormat.h"

#include "questionfiles/RecordRules.h"
#include "questionfiles/TextInput.h"

#include <QRegularExpression>

using Field = QuestionRecord::Field;

namespace aikenformat {

namespace {

const QRegularExpression kChoiceLine(QStringLiteral("^\\s*([A-Za-z])\\s*[.)]\\s*(.*)$"));
const QRegularExpression kAnswerLine(QStringLiteral("^\\s*ANSWER\\s*:\\s*(.*)$"),
                                     QRegularExpression::CaseInsensitiveOption);

QString choiceLetter(int index)
{
    return QuestionRecord::labelOf(index);
}

// Reads one question whose text stands on lines[at]; at ends past its ANSWER line.
Result<ParsedQuestion, ParseError> readQuestion(const QStringList& lines, qsizetype* at)
{
    ParsedQuestion q;
    q.question = {lines.at(*at).trimmed(), int(*at) + 1};
    for (int i = 0; i < QuestionRecord::kChoiceCount; ++i) {
        ++*at;
        const int line = int(*at) + 1;
        const QString expected =
            QStringLiteral("choice %1 (\"%1. text\" or \"%1) text\")").arg(choiceLetter(i));
        if (*at >= lines.size()) {
            return Failure{ParseError{
                int(lines.size()), QStringLiteral("the file ends where %1 belongs").arg(expected)}};
        }
        const auto match = kChoiceLine.match(lines.at(*at));
        if (!match.hasMatch() || match.captured(1).toUpper() != choiceLetter(i)) {
            const bool answerTooSoon = kAnswerLine.match(lines.at(*at)).hasMatch();
            return Failure{ParseError{
                line, answerTooSoon ? QStringLiteral("choice %1 is missing: a question has five "
                                                     "choices, A to E")
                                          .arg(choiceLetter(i))
                                    : QStringLiteral("%1 expected").arg(expected)}};
        }
        q.choices[i] = {match.captured(2).trimmed(), line};
    }
    ++*at;
    const auto match =
        *at < lines.size() ? kAnswerLine.match(lines.at(*at)) : QRegularExpressionMatch();
    if (!match.hasMatch()) {
        return Failure{ParseError{int(std::min(*at + 1, lines.size())),
                                  QStringLiteral("a line \"ANSWER: X\" expected after choice E")}};
    }
    q.answer = {match.captured(1).trimmed(), int(*at) + 1};
    ++*at;
    return q;
}

// The text as one Aiken line; false when it has line breaks and may not be flattened.
bool oneLine(QString* text, bool flatten)
{
    if (!text->contains(u'\n') && !text->contains(u'\r'))
        return true;
    if (!flatten)
        return false;
    static const QRegularExpression breaks(QStringLiteral("\\r\\n|\\r|\\n"));
    text->replace(breaks, QStringLiteral(" "));
    return true;
}

} // namespace

ParsedQuestions parse(const QString& text)
{
    QList<ParsedQuestion> questions;
    const QStringList lines = textinput::lines(text);
    qsizetype at = 0;
    while (at < lines.size() && questions.size() < kMostQuestions) {
        if (lines.at(at).trimmed().isEmpty()) {
            ++at;
            continue;
        }
        const Result<ParsedQuestion, ParseError> q = readQuestion(lines, &at);
        if (!q.ok())
            return Failure{QList<ParseError>{q.error()}};
        questions.append(q.value());
    }
    return ParsedFile{questions, {}};
}

Result<QByteArray> write(const QList<QuestionRecord>& records, bool flatten)
{
    QByteArray bytes;
    for (qsizetype n = 0; n < records.size(); ++n) {
        const QuestionRecord& record = records.at(n);
        const Result<QString> letter = recordrules::markedAnswer(record, n + 1);
        if (!letter.ok())
            return Failure{letter.error()};
        for (int f = 0; f < static_cast<int>(Field::Answer); ++f) {
            QString text = recordrules::exportedText(record, static_cast<Field>(f));
            if (recordrules::hasBlankAtAnEnd(text)) {
                return Failure{recordrules::blankAtAnEnd(n + 1, static_cast<Field>(f),
                                                         QStringLiteral("Aiken"))};
            }
            if (!oneLine(&text, flatten)) {
                return Failure{QStringLiteral("record %1: %2 has a line break, which Aiken "
                                              "cannot hold (--flatten joins its lines)")
                                   .arg(n + 1)
                                   .arg(recordrules::fieldName(static_cast<Field>(f)))};
            }
            if (f > 0)
                bytes.append(choiceLetter(f - 1).toUtf8()).append(". ");
            bytes.append(text.toUtf8()).append('\n');
        }
        bytes.append("ANSWER: ").append(letter.value().toUpper().toUtf8()).append("\n\n");
    }
    return bytes;
}

} // namespace aikenformat
