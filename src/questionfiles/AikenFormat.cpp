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

// "A" for the first choice, and on past the five a bank question has ("F" for a sixth).
QString choiceLetter(int index)
{
    return QString(QChar(u'A' + index));
}

bool isBlank(const QString& line)
{
    return line.trimmed().isEmpty();
}

// The next line at or after *at that is not blank; false at the end of the lines.
bool nextLine(const QStringList& lines, qsizetype* at)
{
    while (*at < lines.size() && isBlank(lines.at(*at)))
        ++*at;
    return *at < lines.size();
}

// Reads one question whose text stands on lines[at], passing over blank lines as learning
// platforms do; at ends past its ANSWER line. A question with other than five choices is left
// out (then the problem is set and the question not); a line where a choice or the ANSWER line
// belongs breaks the file's syntax.
Result<ParsedQuestion, ParseError> readQuestion(const QStringList& lines, qsizetype* at,
                                                ParseError* leftOut)
{
    ParsedQuestion q;
    const int questionLine = int(*at) + 1;
    q.question = {lines.at(*at).trimmed(), questionLine};
    QList<SourceText> choices;
    for (++*at;; ++*at) {
        const QString letter = choiceLetter(int(choices.size()));
        const QString expected =
            QStringLiteral("choice %1 (\"%1. text\" or \"%1) text\")").arg(letter);
        if (!nextLine(lines, at)) {
            return Failure{ParseError{
                choices.isEmpty() ? questionLine : choices.last().line,
                choices.isEmpty()
                    ? QStringLiteral("the file ends where %1 belongs").arg(expected)
                    : QStringLiteral("the file ends where %1 or a line \"ANSWER: X\" belongs")
                          .arg(expected)}};
        }
        const int line = int(*at) + 1;
        if (const auto answer = kAnswerLine.match(lines.at(*at)); answer.hasMatch()) {
            q.answer = {answer.captured(1).trimmed(), line};
            ++*at;
            break;
        }
        const auto choice = kChoiceLine.match(lines.at(*at));
        if (!choice.hasMatch() || choice.captured(1).toUpper() != letter) {
            return Failure{ParseError{
                line, choices.isEmpty()
                          ? QStringLiteral("%1 expected").arg(expected)
                          : QStringLiteral("%1 expected, or a line \"ANSWER: X\"").arg(expected)}};
        }
        choices.append({choice.captured(2).trimmed(), line});
    }
    if (choices.size() < QuestionRecord::kChoiceCount) {
        *leftOut = {questionLine,
                    QStringLiteral("%1 choices; a bank question has five").arg(choices.size())};
    } else if (choices.size() > QuestionRecord::kChoiceCount) {
        *leftOut = {choices.at(QuestionRecord::kChoiceCount).line,
                    QStringLiteral("a sixth choice, %1; a bank question has five, A to E")
                        .arg(choiceLetter(QuestionRecord::kChoiceCount))};
    } else {
        std::copy(choices.cbegin(), choices.cend(), q.choices.begin());
    }
    return q;
}

// Past the ANSWER line after a broken question, where the next question may begin.
void skipPastAnswer(const QStringList& lines, qsizetype* at)
{
    while (*at < lines.size() && !kAnswerLine.match(lines.at(*at)).hasMatch())
        ++*at;
    ++*at;
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

ParsedQuestions parse(QString text)
{
    ParsedFile file;
    QList<ParseError> broken;
    const QStringList lines = textinput::lines(text);
    qsizetype at = 0;
    while (nextLine(lines, &at) && file.questions.size() < kMostQuestions) {
        ParseError leftOut;
        const Result<ParsedQuestion, ParseError> q = readQuestion(lines, &at, &leftOut);
        if (!q.ok()) {
            broken.append(q.error());
            skipPastAnswer(lines, &at);
        } else if (leftOut.line > 0) {
            file.leftOut.append(leftOut);
        } else {
            file.questions.append(q.value());
        }
    }
    if (!broken.isEmpty())
        return Failure{broken};
    return file;
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
