#include "questionfiles/GiftFormat.h"

#include "questionfiles/HtmlText.h"
#include "questionfiles/RecordRules.h"
#include "questionfiles/TextInput.h"

#include <QRegularExpression>

#include <algorithm>
#include <optional>

using Field = QuestionRecord::Field;

namespace giftformat {

namespace {

const QString kEscaped = QStringLiteral("~=#{}:");

bool isCommentLine(QStringView line)
{
    const QStringView t = line.trimmed();
    return t.startsWith(QLatin1String("//")) ||
           t.startsWith(QLatin1String("$CATEGORY:"), Qt::CaseInsensitive);
}

const QLatin1String kCategory("$CATEGORY:");
const QLatin1String kGeneralFeedback("####");
// Where the answers stood in a question of the missing-word form.
const QLatin1String kBlank("_____");

// The kind a line "$CATEGORY: top/antonym" gives, the last level of the category ("antonym");
// nothing when the line is no category.
std::optional<QString> categoryKind(QStringView line)
{
    const QStringView t = line.trimmed();
    if (!t.startsWith(kCategory, Qt::CaseInsensitive))
        return std::nullopt;
    return t.mid(kCategory.size()).split(u'/').last().trimmed().toString();
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
    // Takes the text and drops its comment lines where it stands (each kept line moves back over
    // those dropped before it), so that a large file's text is held once.
    explicit Reader(QString text) : src_(std::move(text))
    {
        const qsizetype size = src_.size();
        QChar* const data = src_.data();
        qsizetype kept = 0;
        int number = 0;
        for (qsizetype start = 0; start <= size;) {
            qsizetype end = src_.indexOf(u'\n', start);
            const bool last = end < 0;
            if (last)
                end = size;
            QStringView line(data + start, end - start);
            if (line.endsWith(u'\r'))
                line.chop(1);
            ++number;
            const qsizetype from = start;
            start = end + 1;
            if (const std::optional<QString> kind = categoryKind(line)) {
                categoryStarts_.append(kept);
                categories_.append({*kind, number});
            }
            if (isCommentLine(line))
                continue;
            starts_.append(kept);
            numbers_.append(number);
            std::copy(data + from, data + from + line.size(), data + kept);
            kept += line.size();
            if (!last)
                data[kept++] = u'\n';
        }
        src_.truncate(kept);
        lastLine_ = number;
    }

    ParsedQuestions parse()
    {
        ParsedFile file;
        // Room for a question at each brace, at most a full bank's: the list never grows by
        // copying itself.
        file.questions.reserve(std::min(src_.count(u'{'), kMostQuestions));
        QList<ParseError> broken;
        for (skipSpace(); pos_ < src_.size() && file.questions.size() < kMostQuestions;
             skipSpace()) {
            ParsedQuestion q;
            ParseError problem;
            switch (readQuestion(&q, &problem)) {
            case Outcome::Read:
                file.questions.append(q);
                break;
            case Outcome::LeftOut:
                file.leftOut.append(problem);
                break;
            case Outcome::Broken:
                broken.append(problem);
                skipToBlankLine();
                break;
            }
        }
        if (!broken.isEmpty())
            return Failure{broken};
        return file;
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

    // What became of a question: read, left out (a bank question cannot hold it) or broken (the
    // file's syntax does not hold there).
    enum class Outcome { Read, LeftOut, Broken };

    static Outcome leftOut(ParseError* problem, int line, const QString& what)
    {
        *problem = {line, what};
        return Outcome::LeftOut;
    }
    static Outcome broken(ParseError* problem, int line, const QString& what)
    {
        *problem = {line, what};
        return Outcome::Broken;
    }

    void skipToBlankLine()
    {
        while (pos_ < src_.size() && !atBlankLine())
            ++pos_;
    }

    // The text format a question may name after its title: [html], [markdown], [plain] or
    // [moodle]. Only HTML is read differently; the others hold plain text.
    bool readFormat()
    {
        qsizetype p = pos_;
        while (at(p) == u' ' || at(p) == u'\t')
            ++p;
        if (at(p) != u'[')
            return false;
        const qsizetype close = QStringView(src_).mid(p, 10).indexOf(u']') + p;
        if (close < p)
            return false;
        const QString name = src_.mid(p + 1, close - p - 1).toLower();
        static const QStringList kFormats = {QStringLiteral("html"), QStringLiteral("markdown"),
                                             QStringLiteral("plain"), QStringLiteral("moodle")};
        if (!kFormats.contains(name))
            return false;
        pos_ = close + 1;
        return name == kFormats.first();
    }

    // A piece of the file as the question's text: unescaped, and as plain text when it is HTML.
    static QString textOf(const QString& raw, bool html)
    {
        const QString text = unescaped(raw);
        return html ? htmltext::plainText(text) : text;
    }

    Outcome readQuestion(ParsedQuestion* q, ParseError* problem)
    {
        const int startLine = line();
        if (src_.mid(pos_, 2) == QLatin1String("::") && !skipTitle())
            return broken(problem, startLine, QStringLiteral("the title's closing :: is missing"));
        const bool html = readFormat();
        const qsizetype start = pos_;
        q->kind = kindAt(start);
        if (!scanTo(QStringLiteral("{}"), true))
            return leftOut(problem, startLine,
                           QStringLiteral("a description (text with no answers)"));
        if (at(pos_) == u'}')
            return broken(problem, line(), QStringLiteral("a } that no { opened"));
        const QString before = src_.mid(start, pos_ - start);
        const int braceLine = line();
        const qsizetype open = pos_++;
        if (!scanTo(QStringLiteral("}"), false))
            return broken(problem, braceLine, QStringLiteral("the { opened here is never closed"));
        const qsizetype close = pos_;
        // What follows the answers on their line makes the missing-word form: the answers stand
        // in a blank in the question.
        pos_ = close + 1;
        const qsizetype afterStart = pos_;
        while (pos_ < src_.size() && src_.at(pos_) != u'\n' && src_.at(pos_) != u'{')
            pos_ += src_.at(pos_) == u'\\' ? 2 : 1;
        pos_ = std::min(pos_, src_.size());
        const qsizetype afterEnd = pos_;
        if (at(pos_) == u'{') {
            skipToBlankLine();
            return leftOut(problem, startLine,
                           QStringLiteral("two sets of answers { }, which a bank question cannot "
                                          "hold"));
        }
        const QString after = src_.mid(afterStart, afterEnd - afterStart);
        const Outcome answers = readAnswers(q, problem, open, close, html, startLine);
        if (answers != Outcome::Read)
            return answers;
        q->question = {questionText(before, after, html), startLine};
        return Outcome::Read;
    }

    // The question's text around its answers: a blank "_____" where they stood when text follows
    // them on their line.
    static QString questionText(const QString& before, const QString& after, bool html)
    {
        const QString head = textOf(before, html);
        const QString tail = textOf(after, html);
        if (tail.isEmpty())
            return head;
        QString text = head;
        if (!head.isEmpty())
            text += before.back().isSpace() ? QStringLiteral(" ") : QString();
        text += kBlank;
        return text + (after.front().isSpace() ? QStringLiteral(" ") : QString()) + tail;
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

    // One answer as written: its marker, its weight when it has one, its text and line.
    struct Answer {
        QChar marker;
        std::optional<double> weight;
        QString weightText;
        SourceText text;
    };

    // Reads the answers between the braces at open and close: one right (= or %100%) and four
    // wrong (~ or %0%), and the general feedback "####text" as the explanation. Any other kind
    // of question, and a multiple-choice question a bank cannot hold, is left out; an answer
    // that begins with neither = nor ~ breaks the file's syntax.
    Outcome readAnswers(ParsedQuestion* q, ParseError* problem, qsizetype open, qsizetype close,
                        bool html, int startLine)
    {
        const QString block = src_.mid(open + 1, close - open - 1);
        static const QRegularExpression trueFalse(
            QStringLiteral("^\\s*(T|TRUE|F|FALSE)\\s*(#.*)?$"),
            QRegularExpression::CaseInsensitiveOption |
                QRegularExpression::DotMatchesEverythingOption);
        const QString trimmed = block.trimmed();
        const qsizetype end = pos_;
        if (trimmed.isEmpty())
            return leftOut(problem, startLine, QStringLiteral("an essay question"));
        if (trimmed.startsWith(u'#') && !trimmed.startsWith(kGeneralFeedback))
            return leftOut(problem, startLine, QStringLiteral("a numerical question"));
        if (trueFalse.match(block).hasMatch())
            return leftOut(problem, startLine, QStringLiteral("a true/false question"));
        QList<Answer> answers;
        for (pos_ = open + 1, skipSpace(); pos_ < close; skipSpace()) {
            if (atGeneralFeedback()) {
                readExplanation(&q->explanation, close, html);
                continue;
            }
            const QChar marker = src_.at(pos_);
            if (marker != u'=' && marker != u'~') {
                const int where = line();
                pos_ = end;
                return broken(problem, where,
                              QStringLiteral("an answer must begin with = (the right one) or ~ "
                                             "(a wrong one)"));
            }
            answers.append(readAnswer(close, html));
        }
        pos_ = end;
        return checkAnswers(q, problem, answers, startLine);
    }

    Outcome checkAnswers(ParsedQuestion* q, ParseError* problem, const QList<Answer>& answers,
                         int startLine)
    {
        const bool anyWrong = std::any_of(answers.cbegin(), answers.cend(),
                                          [](const Answer& a) { return a.marker == u'~'; });
        const bool matching = std::any_of(answers.cbegin(), answers.cend(), [](const Answer& a) {
            return a.text.text.contains(QLatin1String("->"));
        });
        if (answers.isEmpty())
            return leftOut(problem, startLine, QStringLiteral("an essay question"));
        if (!anyWrong && matching)
            return leftOut(problem, startLine, QStringLiteral("a matching question"));
        if (!anyWrong)
            return leftOut(problem, startLine, QStringLiteral("a short-answer question"));
        int right = 0;
        int rightIndex = 0;
        for (qsizetype i = 0; i < answers.size(); ++i) {
            const Answer& a = answers.at(i);
            if (a.weight && *a.weight != 100 && *a.weight != 0) {
                return leftOut(problem, a.text.line,
                               QStringLiteral("an answer weighted %1: partial credit, which a bank "
                                              "question cannot hold")
                                   .arg(a.weightText));
            }
            if (a.weight ? *a.weight == 100 : a.marker == u'=') {
                ++right;
                rightIndex = int(i);
            }
        }
        if (right != 1) {
            return leftOut(
                problem, startLine,
                right == 0
                    ? QStringLiteral("no answer is right")
                    : QStringLiteral("%1 right answers; a bank question has one").arg(right));
        }
        if (answers.size() != QuestionRecord::kChoiceCount) {
            return leftOut(
                problem, startLine,
                QStringLiteral("%1 choices; a bank question has five").arg(answers.size()));
        }
        for (int i = 0; i < QuestionRecord::kChoiceCount; ++i)
            q->choices[i] = answers.at(i).text;
        q->answer = {QString(QuestionRecord::letterOf(rightIndex)),
                     answers.at(rightIndex).text.line};
        return Outcome::Read;
    }

    // The general feedback from its "####" to the end of the answers.
    void readExplanation(SourceText* explanation, qsizetype close, bool html)
    {
        explanation->line = line();
        pos_ += kGeneralFeedback.size();
        const qsizetype start = pos_;
        pos_ = close;
        explanation->text = textOf(src_.mid(start, pos_ - start), html);
    }

    // One answer from its = or ~ to the next one, the general feedback or the end of the
    // answers; its weight "%n%" is taken off its text, and its feedback "#text" dropped.
    Answer readAnswer(qsizetype close, bool html)
    {
        static const QRegularExpression weight(QStringLiteral("^%(-?\\d+(\\.\\d+)?)%"));
        Answer answer;
        answer.marker = src_.at(pos_);
        answer.text.line = line();
        const qsizetype start = ++pos_;
        scanTo(QStringLiteral("=~}#"), false);
        pos_ = std::min(pos_, close);
        QString raw = src_.mid(start, pos_ - start).trimmed();
        while (at(pos_) == u'#' && pos_ < close && !atGeneralFeedback()) {
            ++pos_;
            scanTo(QStringLiteral("=~}#"), false);
            pos_ = std::min(pos_, close);
        }
        if (const QRegularExpressionMatch m = weight.match(raw); m.hasMatch()) {
            answer.weight = m.captured(1).toDouble();
            answer.weightText = m.captured(0);
            raw = raw.mid(m.capturedLength());
        }
        answer.text.text = textOf(raw, html);
        return answer;
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
    static const QRegularExpression formatMarker(
        QStringLiteral("^\\[(html|markdown|plain|moodle)\\]"),
        QRegularExpression::CaseInsensitiveOption);
    for (int f = 0; f < static_cast<int>(Field::Answer); ++f) {
        const QString text = recordrules::exportedText(record, static_cast<Field>(f));
        if (recordrules::hasBlankAtAnEnd(text))
            return recordrules::blankAtAnEnd(n, static_cast<Field>(f), QStringLiteral("GIFT"));
        if (f == 0 && formatMarker.match(text).hasMatch())
            return QStringLiteral("record %1: the question begins like a text format ([html], "
                                  "[markdown], [plain] or [moodle]), which GIFT would read as one; "
                                  "CSV carries it")
                .arg(n);
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

ParsedQuestions parse(QString text)
{
    // Made apart from parse(): the text taken goes when the reader is made, not after parsing.
    Reader reader(std::move(text));
    return reader.parse();
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
