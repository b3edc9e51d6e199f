#include "bankio/AikenFormat.h"

#include "bankio/RecordRules.h"
#include "bankio/TextInput.h"

#include <QRegularExpression>

using Field = QuestionRecord::Field;

namespace aikenformat {

namespace {

const QRegularExpression kChoiceLine(QStringLiteral("^\\s*([A-Za-z])\\s*[.)]\\s*(.*)$"));
const QRegularExpression kAnswerLine(QStringLiteral("^\\s*ANSWER\\s*:\\s*(.*)$"),
                                     QRegularExpression::CaseInsensitiveOption);

QString choiceLetter(int index)
{
    return QString(QChar(u'A' + index));
}

// Reads one question whose text stands on lines[at]; at ends past its ANSWER line.
bool readQuestion(const QStringList& lines, qsizetype* at, ParsedQuestion* q, ParseError* error)
{
    q->question = {lines.at(*at).trimmed(), int(*at) + 1};
    for (int i = 0; i < QuestionRecord::kChoiceCount; ++i) {
        ++*at;
        const int line = int(*at) + 1;
        const QString expected =
            QStringLiteral("choice %1 (\"%1. text\" or \"%1) text\")").arg(choiceLetter(i));
        if (*at >= lines.size()) {
            *error = {int(lines.size()),
                      QStringLiteral("the file ends where %1 belongs").arg(expected)};
            return false;
        }
        const auto match = kChoiceLine.match(lines.at(*at));
        if (!match.hasMatch() || match.captured(1).toUpper() != choiceLetter(i)) {
            const bool answerTooSoon = kAnswerLine.match(lines.at(*at)).hasMatch();
            *error = {line, answerTooSoon
                                ? QStringLiteral("choice %1 is missing: a question has five "
                                                 "choices, A to E")
                                      .arg(choiceLetter(i))
                                : QStringLiteral("%1 expected").arg(expected)};
            return false;
        }
        q->choices[i] = {match.captured(2).trimmed(), line};
    }
    ++*at;
    const auto match =
        *at < lines.size() ? kAnswerLine.match(lines.at(*at)) : QRegularExpressionMatch();
    if (!match.hasMatch()) {
        *error = {int(std::min(*at + 1, lines.size())),
                  QStringLiteral("a line \"ANSWER: X\" expected after choice E")};
        return false;
    }
    q->answer = {match.captured(1).trimmed(), int(*at) + 1};
    ++*at;
    return true;
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

ParseResult parse(const QString& text)
{
    ParseResult result;
    const QStringList lines = textinput::lines(text);
    qsizetype at = 0;
    while (at < lines.size() && result.questions.size() < kMostQuestions) {
        if (lines.at(at).trimmed().isEmpty()) {
            ++at;
            continue;
        }
        ParsedQuestion q;
        if (!readQuestion(lines, &at, &q, &result.error)) {
            result.ok = false;
            return result;
        }
        result.questions.append(q);
    }
    return result;
}

ExportResult write(const QList<QuestionRecord>& records, bool flatten)
{
    ExportResult out;
    for (qsizetype n = 0; n < records.size(); ++n) {
        const QuestionRecord& record = records.at(n);
        const QString letter = recordrules::markedAnswer(record, n + 1, &out.error);
        if (letter.isEmpty())
            return out;
        for (int f = 0; f < static_cast<int>(Field::Answer); ++f) {
            QString text = recordrules::exportedText(record, static_cast<Field>(f));
            if (recordrules::hasBlankAtAnEnd(text)) {
                out.error = recordrules::blankAtAnEnd(n + 1, static_cast<Field>(f),
                                                      QStringLiteral("Aiken"));
                return out;
            }
            if (!oneLine(&text, flatten)) {
                out.error = QStringLiteral("record %1: %2 has a line break, which Aiken cannot "
                                           "hold (--flatten joins its lines)")
                                .arg(n + 1)
                                .arg(recordrules::fieldName(static_cast<Field>(f)));
                return out;
            }
            if (f > 0)
                out.bytes.append(choiceLetter(f - 1).toUtf8()).append(". ");
            out.bytes.append(text.toUtf8()).append('\n');
        }
        out.bytes.append("ANSWER: ").append(letter.toUpper().toUtf8()).append("\n\n");
    }
    return out;
}

} // namespace aikenformat
