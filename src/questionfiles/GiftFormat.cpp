#include "questionfiles/GiftFormat.h"

#include "questionfiles/RecordRules.h"
#include "questionfiles/TextInput.h"

#include <QRegularExpression>

#include <algorithm>
#include <optional>

using Field = QuestionRecord::Field;

namespace giftformat {

namespace {

const QString kEscaped = QStringLiteral("~=#{}:");

bool isCommentLine(const QString& line)
{
    const QString t = line.trimmed();
    return t.startsWith(QLatin1String("//")) ||
           t.startsWith(QLatin1String("$CATEGORY:"), Qt::CaseInsensitive);
}

const QLatin1String kCategory("$CATEGORY:");
const QLatin1String kGeneralFeedback("####");

// The kind a line "$CATEGORY: top/antonym" gives, the last level of the category ("antonym");
// nothing when the line is no category.
std::optional<QString> categoryKind(const QString& line)
{
    const QString t = line.trimmed();
    if (!t.startsWith(kCategory, Qt::CaseInsensitive))
        return std::nullopt;
    return t.mid(kCategory.size()).split(u'/').last().trimmed();
}

// A raw piece of the file as the text it stands for: a line break of the file and the blanks
// around it are one space, the ends trimmed, escapes resolved.
QString unescaped(const QString& raw)
{
    static const QRegularExpression lineBreak(QStringLiteral("[ \\t]*\\n[ \\t]*"));
    QString piece = raw;
    piece.replace(lineBreak, QStringLiteral(" "));
    piece = piece.trimmed();
    QString text;
    text.reserve(piece.size());
    for (qsizetype i = 0; i < piece.size(); ++i) {
        const QChar c = piece.at(i);
        const QChar next = i + 1 < piece.size() ? piece.at(i + 1) : QChar();
        if (c == u'\\' && (next == u'\\' || kEscaped.contains(next))) {
            text.append(next);
            ++i;
        } else if (c == u'\\' && next == u'n') {
            text.append(u'\n');
            ++i;
        } else {
            text.append(c);
        }
    }
    return text;
}

// Walks the file's text with the comment lines taken out, knowing each character's line.
class Reader {
public:
    explicit Reader(const QString& text)
    {
        const QStringList lines = textinput::lines(text);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (const std::optional<QString> kind = categoryKind(lines.at(i))) {
                categoryStarts_.append(src_.size());
                categories_.append({*kind, int(i) + 1});
            }
            if (isCommentLine(lines.at(i)))
                continue;
            starts_.append(src_.size());
            numbers_.append(int(i) + 1);
            src_ += lines.at(i) + u'\n';
        }
        lastLine_ = int(lines.size());
    }

    ParsedQuestions parse()
    {
        QList<ParsedQuestion> questions;
        for (skipSpace(); pos_ < src_.size() && questions.size() < kMostQuestions; skipSpace()) {
            ParsedQuestion q;
            ParseError error;
            if (!readQuestion(&q, &error))
                return Failure{QList<ParseError>{error}};
            questions.append(q);
        }
        return ParsedFile{questions, {}};
    }

private:
    // The file's line number of the character at pos_.
    int line() const
    {
        if (pos_ >= src_.size())
            return lastLine_;
        const auto after = std::upper_bound(starts_.cbegin(), starts_.cend(), pos_);
        return numbers_.at(after - starts_.cbegin() - 1);
    }
    QChar at(qsizetype p) const { return p < src_.size() ? src_.at(p) : QChar(); }
    bool atGeneralFeedback() const { return QStringView(src_).mid(pos_, 4) == kGeneralFeedback; }

    // The kind the last category before p gives, with the category's line; none before the first.
    SourceText kindAt(qsizetype p) const
    {
        const auto after = std::upper_bound(categoryStarts_.cbegin(), categoryStarts_.cend(), p);
        return after == categoryStarts_.cbegin()
                   ? SourceText()
                   : categories_.at(after - categoryStarts_.cbegin() - 1);
    }

    void skipSpace()
    {
        while (pos_ < src_.size() && src_.at(pos_).isSpace())
            ++pos_;
    }

    // True at a line feed that a blank line (or the end) follows: a question ends there.
    bool atBlankLine() const
    {
        if (at(pos_) != u'\n')
            return false;
        qsizetype p = pos_ + 1;
        while (p < src_.size() && src_.at(p) != u'\n' && src_.at(p).isSpace())
            ++p;
        return p >= src_.size() || src_.at(p) == u'\n';
    }

    // Moves to the first unescaped character of stops; false at the end or a blank line.
    bool scanTo(const QString& stops, bool stopAtBlankLine)
    {
        for (; pos_ < src_.size(); ++pos_) {
            const QChar c = src_.at(pos_);
            if (c == u'\\') {
                ++pos_;
                continue;
            }
            if (stops.contains(c))
                return true;
            if (stopAtBlankLine && atBlankLine())
                return false;
        }
        return false;
    }

    bool fail(ParseError* error, int line, const QString& what)
    {
        *error = {line, what};
        return false;
    }

    bool readQuestion(ParsedQuestion* q, ParseError* error)
    {
        const int startLine = line();
        if (src_.mid(pos_, 2) == QLatin1String("::") && !skipTitle())
            return fail(error, startLine, QStringLiteral("the title's closing :: is missing"));
        const qsizetype start = pos_;
        q->kind = kindAt(start);
        if (!scanTo(QStringLiteral("{}"), true) || at(pos_) == u'}') {
            return fail(error, startLine,
                        QStringLiteral("the question has no answers: a multiple-choice question "
                                       "needs { =right ~wrong ~wrong ~wrong ~wrong }"));
        }
        q->question = {unescaped(src_.mid(start, pos_ - start)), startLine};
        return readAnswers(q, error) && restOfLineIsEmpty(error);
    }

    bool skipTitle()
    {
        pos_ += 2;
        for (; pos_ + 1 < src_.size(); ++pos_) {
            if (src_.at(pos_) == u'\\')
                ++pos_;
            else if (src_.at(pos_) == u':' && src_.at(pos_ + 1) == u':')
                break;
        }
        if (pos_ + 1 >= src_.size())
            return false;
        pos_ += 2;
        return true;
    }

    // Reads "{ =right ~wrong ... }" from its "{"; the right answer gives the answer letter, and
    // the general feedback "####text" the explanation.
    bool readAnswers(ParsedQuestion* q, ParseError* error)
    {
        const int braceLine = line();
        QList<SourceText> answers;
        int right = 0;
        int rightIndex = 0;
        for (++pos_, skipSpace(); at(pos_) != u'}'; skipSpace()) {
            if (pos_ >= src_.size())
                return fail(error, braceLine, QStringLiteral("the { opened here is never closed"));
            if (atGeneralFeedback()) {
                readExplanation(&q->explanation);
                continue;
            }
            const QChar marker = src_.at(pos_);
            if (marker != u'=' && marker != u'~') {
                return fail(error, line(),
                            QStringLiteral("an answer must begin with = (the right one) or ~ (a "
                                           "wrong one); only multiple-choice questions are read"));
            }
            if (marker == u'=') {
                ++right;
                rightIndex = int(answers.size());
            }
            SourceText answer;
            if (!readAnswer(&answer, error))
                return false;
            answers.append(answer);
        }
        ++pos_;
        if (right != 1) {
            return fail(error, braceLine,
                        QStringLiteral("%1 right answers (=), exactly one is needed").arg(right));
        }
        if (answers.size() != QuestionRecord::kChoiceCount) {
            return fail(error, braceLine,
                        QStringLiteral("%1 answers, five are needed (one = and four ~)")
                            .arg(answers.size()));
        }
        std::copy(answers.cbegin(), answers.cend(), q->choices.begin());
        q->answer = {QString(QuestionRecord::letterOf(rightIndex)), braceLine};
        return true;
    }

    // The general feedback from its "####" to the "}".
    void readExplanation(SourceText* explanation)
    {
        explanation->line = line();
        pos_ += kGeneralFeedback.size();
        const qsizetype start = pos_;
        scanTo(QStringLiteral("}"), false);
        explanation->text = unescaped(src_.mid(start, pos_ - start));
    }

    // One answer from its = or ~ to the next one, the general feedback or the "}"; "#feedback"
    // is dropped.
    bool readAnswer(SourceText* answer, ParseError* error)
    {
        answer->line = line();
        const qsizetype start = ++pos_;
        scanTo(QStringLiteral("=~}#"), false);
        answer->text = unescaped(src_.mid(start, pos_ - start));
        while (at(pos_) == u'#' && !atGeneralFeedback()) {
            ++pos_;
            scanTo(QStringLiteral("=~}#"), false);
        }
        static const QRegularExpression weight(QStringLiteral("^%-?\\d+(\\.\\d+)?%"));
        if (weight.match(answer->text).hasMatch())
            return fail(error, answer->line, QStringLiteral("answer weights (%n%) are not read"));
        return true;
    }

    bool restOfLineIsEmpty(ParseError* error)
    {
        while (pos_ < src_.size() && src_.at(pos_) != u'\n' && src_.at(pos_).isSpace())
            ++pos_;
        if (pos_ >= src_.size() || src_.at(pos_) == u'\n')
            return true;
        return fail(error, line(), QStringLiteral("text follows the closing }"));
    }

    QString src_;
    QList<qsizetype> categoryStarts_; // where the lines after each category begin in src_
    QList<SourceText> categories_;    // and the kind each gives, with its line
    QList<qsizetype> starts_;         // where each kept line begins in src_
    QList<int> numbers_;              // and its number in the file
    int lastLine_ = 0;
    qsizetype pos_ = 0;
};

// A lone colon means nothing in a multiple-choice question; two in a row would open a title.
bool isDoubleColon(const QString& text, qsizetype i)
{
    return text.at(i) == u':' &&
           ((i > 0 && text.at(i - 1) == u':') || (i + 1 < text.size() && text.at(i + 1) == u':'));
}

QString escaped(const QString& text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            out.append(QLatin1String("\\n"));
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            continue;
        }
        if (c == u'\\' || (kEscaped.contains(c) && c != u':') || isDoubleColon(text, i))
            out.append(u'\\');
        out.append(c);
    }
    return out;
}

// Why GIFT cannot carry a field of record n exactly; empty when it can.
QString uncarried(const QuestionRecord& record, qsizetype n)
{
    static const QRegularExpression weight(QStringLiteral("^%-?\\d+(\\.\\d+)?%"));
    for (int f = 0; f < static_cast<int>(Field::Answer); ++f) {
        const QString text = recordrules::exportedText(record, static_cast<Field>(f));
        if (recordrules::hasBlankAtAnEnd(text))
            return recordrules::blankAtAnEnd(n, static_cast<Field>(f), QStringLiteral("GIFT"));
        if (f > 0 && weight.match(text).hasMatch())
            return QStringLiteral("record %1: %2 begins like an answer weight (%n%), which GIFT "
                                  "would read as one; CSV carries it")
                .arg(n)
                .arg(recordrules::fieldName(static_cast<Field>(f)));
    }
    return {};
}

// Why GIFT cannot carry the note of record n exactly; empty when it can.
QString uncarriedNote(const BankNote& note, qsizetype n)
{
    if (note.kind.contains(u'/'))
        return QStringLiteral("record %1: its kind \"%2\" holds a slash, which a GIFT category "
                              "reads as a level; CSV carries it")
            .arg(n)
            .arg(note.kind);
    const QString blank = QStringLiteral("record %1: its %2 begins or ends with a blank (a space, "
                                         "tab or no-break space), which GIFT cannot carry; CSV "
                                         "carries it");
    if (recordrules::hasBlankAtAnEnd(note.kind))
        return blank.arg(n).arg(QStringLiteral("kind"));
    if (recordrules::hasBlankAtAnEnd(note.explanation))
        return blank.arg(n).arg(QStringLiteral("explanation"));
    return {};
}

// The line that gives the questions after it their kind; an empty one for those without.
QString categoryLine(const QString& kind)
{
    return kCategory + (kind.isEmpty() ? QString() : u' ' + kind) + QStringLiteral("\n\n");
}

} // namespace

ParsedQuestions parse(const QString& text)
{
    return Reader(text).parse();
}

Result<QByteArray> write(const NotedRecords& bank)
{
    QByteArray bytes;
    QString kind; // the kind of the questions written last
    for (qsizetype n = 0; n < bank.records.size(); ++n) {
        const QuestionRecord& record = bank.records.at(n);
        const BankNote note = bank.notes.value(n);
        const Result<QString> letter = recordrules::markedAnswer(record, n + 1);
        if (!letter.ok())
            return Failure{letter.error()};
        if (const QString why = uncarried(record, n + 1); !why.isEmpty())
            return Failure{why};
        if (const QString why = uncarriedNote(note, n + 1); !why.isEmpty())
            return Failure{why};
        QString text;
        if (note.kind != kind) {
            kind = note.kind;
            text += categoryLine(kind);
        }
        text += QStringLiteral("::Q%1:: %2 {\n")
                    .arg(n + 1)
                    .arg(escaped(recordrules::exportedText(record, Field::Question)));
        for (int i = 0; i < QuestionRecord::kChoiceCount; ++i) {
            text += QChar(letter.value().at(0) == QuestionRecord::letterOf(i) ? u'=' : u'~');
            text += escaped(recordrules::exportedText(record, QuestionRecord::choiceField(i)));
            text += u'\n';
        }
        if (!note.explanation.isEmpty())
            text += kGeneralFeedback + escaped(note.explanation) + u'\n';
        bytes.append(text.append(QLatin1String("}\n\n")).toUtf8());
    }
    return bytes;
}

} // namespace giftformat
