#include "questionfiles/RecordRules.h"

#include "bank/Cp1252.h"
#include "bank/TextRules.h"

#include <algorithm>

using Field = QuestionRecord::Field;

namespace recordrules {

namespace {

// One character as a text. QString::fromUcs4 would drop a byte order mark (U+FEFF).
QString textOf(char32_t c)
{
    return QStringView(QChar::fromUcs4(c)).toString();
}

char32_t firstUnencodable(const QString& text)
{
    for (const char32_t c : text.toUcs4()) {
        if (!cp1252::canEncode(textOf(c)))
            return c;
    }
    return 0;
}

// A character as a message names it: in quotes when it can be seen, and by its number.
QString named(char32_t c)
{
    const QString number = QString::number(c, 16).toUpper().rightJustified(4, u'0');
    const bool visible = QChar::isPrint(c) && !QChar::isSpace(c);
    if (!visible)
        return QStringLiteral("the invisible character U+%1").arg(number);
    return QStringLiteral("\"%1\" (U+%2)").arg(textOf(c), number);
}

// A text cut to width: a line break is not cut in two, and no blank is left at the end, where
// the formats that trim their texts would lose it.
QString cutText(const QString& text, int width)
{
    const bool splitsBreak = text.at(width - 1) == u'\r' && text.at(width) == u'\n';
    QString kept = text.left(splitsBreak ? width - 1 : width);
    while (!kept.isEmpty() && kept.back().isSpace())
        kept.chop(1);
    return kept;
}

// The text as it goes into its field, or why it cannot; a text cut to fit is said in *cutNote.
Result<QString> storedText(const QString& source, Field f, bool cut, QString* cutNote)
{
    const QString name = fieldName(f);
    QString text = textrules::toStoredLineBreaks(source);
    if (textrules::trimSpaces(text).isEmpty())
        return Failure{QStringLiteral("%1 is empty").arg(name)};
    if (!cp1252::canEncode(text)) {
        return Failure{QStringLiteral("%1 holds %2, a character Windows-1252 cannot hold")
                           .arg(name, named(firstUnencodable(text)))};
    }
    const int width = QuestionRecord::width(f);
    if (text.size() <= width)
        return text;
    const QString holder = f == Field::Question ? QStringLiteral("a bank question")
                                                : QStringLiteral("a bank question's choice");
    if (!cut) {
        return Failure{QStringLiteral("%1 is %2 characters; %3 holds %4")
                           .arg(name)
                           .arg(text.size())
                           .arg(holder)
                           .arg(width)};
    }
    const QString kept = cutText(text, width);
    if (kept.isEmpty())
        return Failure{
            QStringLiteral("%1 is empty once cut to its %2 characters").arg(name).arg(width)};
    *cutNote = QStringLiteral("%1 cut from %2 characters to %3: \"%4\"")
                   .arg(name)
                   .arg(text.size())
                   .arg(kept.size())
                   .arg(kept);
    return kept;
}

} // namespace

QString fieldName(Field f)
{
    switch (f) {
    case Field::Question:
        return QStringLiteral("the question");
    case Field::Answer:
        return QStringLiteral("the answer");
    default:
        return QStringLiteral("choice %1").arg(QuestionRecord::labelOf(static_cast<int>(f) - 1));
    }
}

Result<QuestionRecord, ParseError> toRecord(const ParsedQuestion& question, bool cut,
                                            QList<ParseError>* cuts)
{
    const QString letter = textrules::trimSpaces(question.answer.text).toLower();
    if (QuestionRecord::choiceNamed(letter) < 0) {
        return Failure{ParseError{question.answer.line,
                                  QStringLiteral("the answer \"%1\" is not one of A to E")
                                      .arg(textrules::trimSpaces(question.answer.text))}};
    }
    QuestionRecord record;
    record.setAnswer(letter);
    for (int i = 0; i <= QuestionRecord::kChoiceCount; ++i) {
        const Field f = i == 0 ? Field::Question : QuestionRecord::choiceField(i - 1);
        const SourceText& source = i == 0 ? question.question : question.choices[i - 1];
        QString cutNote;
        const Result<QString> stored = storedText(source.text, f, cut, &cutNote);
        if (!stored.ok())
            return Failure{ParseError{source.line, stored.error()}};
        if (!cutNote.isEmpty() && cuts)
            cuts->append({source.line, cutNote});
        record.setField(f, stored.value());
    }
    return record;
}

Result<BankNote, ParseError> toNote(const ParsedQuestion& question)
{
    if (const QString why = BankNotes::kindProblem(question.kind.text); !why.isEmpty())
        return Failure{ParseError{question.kind.line, why}};
    if (const QString why = BankNotes::explanationProblem(question.explanation.text);
        !why.isEmpty())
        return Failure{ParseError{question.explanation.line, why}};
    return BankNote{question.kind.text, question.explanation.text};
}

QString exportedText(const QuestionRecord& record, Field f)
{
    const QString text = record.field(f);
    qsizetype end = text.size();
    while (end > 0 && (text.at(end - 1) == u' ' || text.at(end - 1) == QChar(0)))
        --end;
    return text.left(end);
}

QString uncarried(const QString& field)
{
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char16_t c = field.at(i).unicode();
        const QChar next = i + 1 < field.size() ? field.at(i + 1) : QChar();
        const QChar before = i > 0 ? field.at(i - 1) : QChar();
        if (c == 0) {
            const bool fill = std::all_of(field.cbegin() + i, field.cend(),
                                          [](QChar f) { return f == u' ' || f.isNull(); });
            return fill ? QStringLiteral("ends in zero bytes after its text, which an export "
                                         "writes as spaces")
                        : QStringLiteral("holds a zero byte at character %1").arg(i + 1);
        }
        if ((c == u'\r' && next != u'\n') || (c == u'\n' && before != u'\r'))
            return QStringLiteral("holds a lone %1 at character %2: only CR LF is a line break "
                                  "that every format carries")
                .arg(c == u'\r' ? QStringLiteral("CR") : QStringLiteral("LF"))
                .arg(i + 1);
        const bool control =
            (c < 0x20 && c != u'\t' && c != u'\r' && c != u'\n') || (c >= 0x7F && c <= 0x9F);
        if (control)
            return QStringLiteral("holds the control character U+%1 at character %2")
                .arg(QString::number(c, 16).toUpper().rightJustified(4, u'0'))
                .arg(i + 1);
    }
    return {};
}

bool hasBlankAtAnEnd(const QString& text)
{
    const auto blank = [](QChar c) { return c.isSpace() && c != u'\r' && c != u'\n'; };
    return !text.isEmpty() && (blank(text.front()) || blank(text.back()));
}

QString blankAtAnEnd(qsizetype n, Field f, const QString& formatName)
{
    return QStringLiteral("record %1: %2 begins or ends with a blank (a space, tab or no-break "
                          "space), which %3 cannot carry; CSV carries it")
        .arg(n)
        .arg(fieldName(f), formatName);
}

QString answerLetter(const QuestionRecord& record)
{
    const QString letter = record.answer();
    return QuestionRecord::choiceNamed(letter) >= 0 ? letter : QString();
}

Result<QString> markedAnswer(const QuestionRecord& record, qsizetype n)
{
    const QString letter = answerLetter(record);
    if (letter.isEmpty())
        return Failure{QStringLiteral("record %1: the answer is not a letter a to e").arg(n)};
    return letter;
}

QString foldedQuestion(const QString& question)
{
    QString text = question;
    text.replace(QChar(0), u' ');
    return text.simplified().toCaseFolded();
}

} // namespace recordrules
