#include "questionfiles/MoodleXmlFormat.h"

#include "base/Words.h"
#include "questionfiles/HtmlText.h"
#include "questionfiles/RecordRules.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <optional>

using Field = QuestionRecord::Field;

namespace moodlexml {

namespace {

const QLatin1StringView kDoctype("a DOCTYPE declaration, which a Moodle XML file does not have");
// The category every question of an export without a kind stands in, and the start of the
// path of the others'.
const QLatin1StringView kTop("$course$/top");

// A control character no text of an import may hold, tab and the line breaks aside.
bool isControl(char16_t c)
{
    return (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || (c >= 0x7F && c <= 0x9F);
}

QString hex(char16_t c)
{
    return QString::number(c, 16).toUpper().rightJustified(4, u'0');
}

// The line breaks of a text read from XML as LF alone: XML reads a CR LF of the file as LF,
// but a character reference can still give a CR.
QString withLineFeeds(QString text)
{
    text.replace(QLatin1StringView("\r\n"), QLatin1StringView("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

// A text as its format attribute says it is written: plain text and Markdown as they stand,
// HTML (the format Moodle takes when none is given) and Moodle's auto-format as the text they
// show.
bool isPlain(const QString& format)
{
    return format == QLatin1StringView("plain_text") || format == QLatin1StringView("markdown");
}

QString shownText(const QString& raw, const QString& format)
{
    return withLineFeeds(isPlain(format) ? raw.trimmed() : htmltext::plainText(raw));
}

// What a question of another type than multichoice is, as the list of those left out says.
QString questionOfType(const QString& type)
{
    static const QList<std::pair<QLatin1StringView, QLatin1StringView>> kTypes = {
        {QLatin1StringView("truefalse"), QLatin1StringView("a true/false question")},
        {QLatin1StringView("shortanswer"), QLatin1StringView("a short-answer question")},
        {QLatin1StringView("numerical"), QLatin1StringView("a numerical question")},
        {QLatin1StringView("matching"), QLatin1StringView("a matching question")},
        {QLatin1StringView("essay"), QLatin1StringView("an essay question")},
        {QLatin1StringView("description"), QLatin1StringView("a description")},
        {QLatin1StringView("cloze"), QLatin1StringView("an embedded-answers (cloze) question")},
        {QLatin1StringView("multianswer"),
         QLatin1StringView("an embedded-answers (cloze) question")},
        {QLatin1StringView("calculated"), QLatin1StringView("a calculated question")},
        {QLatin1StringView("calculatedsimple"), QLatin1StringView("a calculated question")},
        {QLatin1StringView("calculatedmulti"), QLatin1StringView("a calculated question")},
    };
    for (const auto& [name, what] : kTypes) {
        if (type == name)
            return what;
    }
    return type.isEmpty() ? QStringLiteral("a question without a type")
                          : QStringLiteral("a question of type \"%1\"").arg(type);
}

// The levels of a category path: a lone slash parts two levels, and a run of slashes is a
// level's own, half as many (rounded up): "//" is one slash, as Moodle writes and reads them.
// Each level is trimmed; empty ones are dropped.
QStringList levelsOf(const QString& path)
{
    QStringList levels;
    QString level;
    for (qsizetype i = 0; i < path.size();) {
        if (path.at(i) != u'/') {
            level.append(path.at(i++));
            continue;
        }
        qsizetype run = 0;
        while (i < path.size() && path.at(i) == u'/') {
            ++run;
            ++i;
        }
        if (run > 1) {
            level.append(QString(run / 2 + run % 2, u'/'));
            continue;
        }
        levels.append(level.trimmed());
        level.clear();
    }
    levels.append(level.trimmed());
    levels.removeAll(QString());
    return levels;
}

// The kind a category path gives: its last level, once the context ("$course$", "$system$"...)
// and the "top" every context's categories stand under are set aside; none for the top alone.
QString kindOf(const QString& path)
{
    QStringList levels = levelsOf(path);
    const auto isContext = [](const QString& level) {
        return level.size() > 1 && level.startsWith(u'$') && level.endsWith(u'$');
    };
    if (!levels.isEmpty() && isContext(levels.first()))
        levels.removeFirst();
    if (!levels.isEmpty() && levels.first() == QLatin1StringView("top"))
        levels.removeFirst();
    return levels.isEmpty() ? QString() : levels.last();
}

// A text of a question as an element of the file holds it: its format attribute, its <text>
// child as written, and the line where the element starts.
struct XmlText {
    QString format;
    QString raw;
    int line = 0;

    QString shown() const { return shownText(raw, format); }
    bool showsPicture() const { return !isPlain(format) && htmltext::showsPicture(raw); }
};

struct Answer {
    XmlText text;
    QString fraction;
};

// A multichoice question as the file gives it, before it is known to fit a bank question.
struct Multichoice {
    XmlText question;
    XmlText explanation;
    QString single;
    QList<Answer> answers;
};

// An answer's fraction that a bank question cannot hold: partial credit, or no number at all.
std::optional<QString> unheldFraction(const QList<Answer>& answers)
{
    for (const Answer& answer : answers) {
        bool ok = false;
        const double value = answer.fraction.toDouble(&ok);
        if (!ok)
            return QStringLiteral("an answer's fraction \"%1\" is no number").arg(answer.fraction);
        if (value != 0 && value != 100)
            return QStringLiteral("an answer worth %1%: partial credit, which a bank question "
                                  "cannot hold")
                .arg(QString::number(value, 'g', 7));
    }
    return std::nullopt;
}

// Why a multichoice question cannot be a bank question; nothing when it can.
std::optional<QString> unheld(const Multichoice& q)
{
    const QString single = q.single.trimmed().toLower();
    if (single == QLatin1StringView("false") || single == QLatin1StringView("0"))
        return QStringLiteral("a multiple-choice question with several right answers");
    if (q.answers.size() != QuestionRecord::kChoiceCount)
        return QStringLiteral("%1; a bank question has five")
            .arg(counted(q.answers.size(), QLatin1StringView("choice")));
    if (const std::optional<QString> fraction = unheldFraction(q.answers))
        return fraction;
    const auto right = std::count_if(q.answers.cbegin(), q.answers.cend(),
                                     [](const Answer& a) { return a.fraction.toDouble() == 100; });
    if (right == 0)
        return QStringLiteral("no answer is right");
    if (right > 1)
        return QStringLiteral("%1 answers are right; a bank question has one").arg(right);
    if (q.question.showsPicture())
        return QStringLiteral("the question shows a picture, which a bank question cannot");
    if (std::any_of(q.answers.cbegin(), q.answers.cend(),
                    [](const Answer& a) { return a.text.showsPicture(); }))
        return QStringLiteral("a choice shows a picture, which a bank question cannot");
    return std::nullopt;
}

ParsedQuestion bankQuestion(const Multichoice& q, const SourceText& kind)
{
    ParsedQuestion parsed;
    parsed.question = {q.question.shown(), q.question.line};
    for (int i = 0; i < QuestionRecord::kChoiceCount; ++i) {
        const Answer& answer = q.answers.at(i);
        parsed.choices[size_t(i)] = {answer.text.shown(), answer.text.line};
        if (answer.fraction.toDouble() == 100)
            parsed.answer = {QString(QuestionRecord::letterOf(i)), answer.text.line};
    }
    parsed.kind = kind;
    if (q.explanation.line > 0)
        parsed.explanation = {q.explanation.shown(), q.explanation.line};
    return parsed;
}

// Reads a file token by token, and never reads on past a DOCTYPE declaration or an entity
// reference: no entity is expanded and no other file is read.
class Reader {
public:
    explicit Reader(const QString& text) : text_(text) {}

    ParsedQuestions parse()
    {
        while (next()) {
            if (xml_.tokenType() != QXmlStreamReader::StartElement)
                continue;
            if (xml_.name() != QLatin1StringView("quiz")) {
                refuse(QStringLiteral("the root element is <%1>; a Moodle XML file's is <quiz>")
                           .arg(xml_.name()));
                break;
            }
            if (!readQuiz())
                break;
        }
        if (!refusal_ && xml_.hasError())
            refuse(QStringLiteral("the XML is not well formed: %1").arg(xml_.errorString()));
        if (refusal_)
            return Failure{QList<ParseError>{*refusal_}};
        return file_;
    }

private:
    int line() const { return int(xml_.lineNumber()); }

    void refuse(const QString& what, int at = 0)
    {
        if (!refusal_)
            refusal_ = ParseError{at > 0 ? at : line(), what};
    }

    // A control character, which the file's text cannot hold as it stands, may come from a
    // character reference: the file is refused as it would be for the character itself.
    void refuseControl(QStringView text)
    {
        const auto c = std::find_if(text.cbegin(), text.cend(),
                                    [](QChar c) { return isControl(c.unicode()); });
        if (c != text.cend())
            refuse(QStringLiteral("a character reference gives the control character U+%1, "
                                  "which is not allowed in a text")
                       .arg(hex(c->unicode())));
    }

    // The next token; false at the end of the file, at a fault, and at what refuses the file.
    bool next()
    {
        QXmlStreamReader::TokenType token = xml_.readNext();
        while (token == QXmlStreamReader::Invalid &&
               xml_.error() == QXmlStreamReader::PrematureEndOfDocumentError && feed())
            token = xml_.readNext();
        if (token == QXmlStreamReader::DTD) // named at its first line, not its last
            refuse(kDoctype, line() - int(xml_.text().trimmed().count(u'\n')));
        else if (token == QXmlStreamReader::EntityReference)
            refuse(QStringLiteral("the entity &%1; is not one of XML's own").arg(xml_.name()));
        else if (token == QXmlStreamReader::Characters)
            refuseControl(xml_.text());
        return !refusal_ && !xml_.hasError() && token != QXmlStreamReader::EndDocument &&
               token != QXmlStreamReader::Invalid;
    }

    // Reads on to the end of the element just begun; text, when given, gets the characters it
    // holds, those of its child elements included. False when the file ends first.
    bool readElement(QString* text = nullptr)
    {
        for (int depth = 1; next();) {
            if (xml_.tokenType() == QXmlStreamReader::StartElement)
                ++depth;
            else if (xml_.tokenType() == QXmlStreamReader::EndElement && --depth == 0)
                return true;
            else if (text && xml_.tokenType() == QXmlStreamReader::Characters)
                text->append(xml_.text());
        }
        return false;
    }

    // The children of the element just begun, each given to child at its start tag (which
    // reads it to its end); false when the file ends first.
    template <typename Child> bool readChildren(Child child)
    {
        while (next()) {
            if (xml_.tokenType() == QXmlStreamReader::EndElement)
                return true;
            if (xml_.tokenType() == QXmlStreamReader::StartElement && !child())
                return false;
        }
        return false;
    }

    // An element that holds a text in a <text> child: <questiontext>, <generalfeedback>, <answer>.
    bool readText(XmlText* text)
    {
        text->format = xml_.attributes().value(QLatin1StringView("format")).toString();
        text->line = line();
        return readChildren([&] {
            return readElement(xml_.name() == QLatin1StringView("text") ? &text->raw : nullptr);
        });
    }

    // The questions up to </quiz>, or to the last one a parse gives.
    bool readQuiz()
    {
        return readChildren([&] {
            if (xml_.name() != QLatin1StringView("question"))
                return readElement();
            if (!readQuestion())
                return false;
            return file_.questions.size() < kMostQuestions;
        });
    }

    bool readQuestion()
    {
        const int start = line();
        const QString type = xml_.attributes().value(QLatin1StringView("type")).toString();
        if (type == QLatin1StringView("category"))
            return readCategory(start);
        if (type != QLatin1StringView("multichoice")) {
            file_.leftOut.append({start, questionOfType(type)});
            return readElement();
        }
        Multichoice q;
        q.question.line = start; // a question without its text is named at its start
        const bool read = readChildren([&] {
            const QStringView name = xml_.name();
            if (name == QLatin1StringView("questiontext"))
                return readText(&q.question);
            if (name == QLatin1StringView("generalfeedback"))
                return readText(&q.explanation);
            if (name == QLatin1StringView("single"))
                return readElement(&q.single);
            if (name == QLatin1StringView("answer")) {
                Answer answer;
                // Moodle takes an answer without a fraction for a wrong one.
                answer.fraction =
                    xml_.attributes().value(QLatin1StringView("fraction")).toString().trimmed();
                if (answer.fraction.isEmpty())
                    answer.fraction = QStringLiteral("0");
                q.answers.append(answer);
                return readText(&q.answers.last().text);
            }
            return readElement();
        });
        if (!read)
            return false;
        if (const std::optional<QString> why = unheld(q))
            file_.leftOut.append({start, *why});
        else
            file_.questions.append(bankQuestion(q, kind_));
        return true;
    }

    // A category pseudo-question: its path in <category><text>, or in <category> alone, as
    // older files have it.
    bool readCategory(int start)
    {
        QString path;
        const bool read = readChildren([&] {
            return readElement(xml_.name() == QLatin1StringView("category") ? &path : nullptr);
        });
        const QString kind = withLineFeeds(kindOf(path));
        kind_ = {kind, kind.isEmpty() ? 0 : start};
        return read;
    }

    // Gives the reader the next piece of the text; false when it has had the whole. Read in
    // pieces, the text is never held a second time in whole.
    bool feed()
    {
        constexpr qsizetype kPiece = 256 * 1024;
        if (fed_ >= text_.size())
            return false;
        qsizetype end = std::min(fed_ + kPiece, text_.size());
        if (end < text_.size() && text_.at(end - 1).isHighSurrogate())
            ++end; // a surrogate pair stays whole
        xml_.addData(QStringView(text_).sliced(fed_, end - fed_).toString());
        fed_ = end;
        return true;
    }

    const QString& text_;
    qsizetype fed_ = 0; // how much of the text the reader has had
    QXmlStreamReader xml_;
    ParsedFile file_;
    SourceText kind_; // the kind the last category gave
    std::optional<ParseError> refusal_;
};

// Why a text cannot be written to be read back (a control character other than tab and the
// line breaks, a noncharacter XML cannot hold, half a surrogate pair): said as the end of a
// sentence; empty when it can.
QString unwritable(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        const bool control = isControl(c);
        bool lone = false;
        if (QChar::isHighSurrogate(c))
            lone = i + 1 == text.size() || !text.at(i + 1).isLowSurrogate();
        else if (QChar::isLowSurrogate(c))
            lone = i == 0 || !text.at(i - 1).isHighSurrogate();
        if (control || lone || c == 0xFFFE || c == 0xFFFF)
            return QStringLiteral("holds U+%1 at character %2, which an import does not take")
                .arg(hex(c))
                .arg(i + 1);
    }
    return {};
}

// A blank or a line break at either end, which the reader trims.
bool hasSpaceAtAnEnd(const QString& text)
{
    return !text.isEmpty() && (text.front().isSpace() || text.back().isSpace());
}

// Why Moodle XML cannot carry a field of record n exactly; empty when it can.
QString uncarried(const QuestionRecord& record, qsizetype n)
{
    for (int i = 0; i < static_cast<int>(Field::Answer); ++i) {
        const Field f = static_cast<Field>(i);
        const QString text = recordrules::exportedText(record, f);
        if (const QString why = recordrules::uncarried(text); !why.isEmpty())
            return QStringLiteral("record %1: %2 %3").arg(n).arg(recordrules::fieldName(f), why);
        if (recordrules::hasBlankAtAnEnd(text))
            return recordrules::blankAtAnEnd(n, f, QStringLiteral("Moodle XML"));
        if (hasSpaceAtAnEnd(text))
            return QStringLiteral("record %1: %2 begins or ends with a line break, which Moodle "
                                  "XML cannot carry; CSV carries it")
                .arg(n)
                .arg(recordrules::fieldName(f));
    }
    return {};
}

// Why Moodle XML cannot carry the note of record n exactly; empty when it can.
QString uncarriedNote(const BankNote& note, qsizetype n)
{
    if (note.kind.startsWith(u'/'))
        return QStringLiteral("record %1: its kind \"%2\" begins with a slash, which a Moodle "
                              "category cannot carry; CSV carries it")
            .arg(n)
            .arg(note.kind);
    const std::pair<QLatin1StringView, const QString*> texts[] = {
        {QLatin1StringView("kind"), &note.kind},
        {QLatin1StringView("explanation"), &note.explanation}};
    for (const auto& [name, text] : texts) {
        if (const QString why = unwritable(*text); !why.isEmpty())
            return QStringLiteral("record %1: its %2 %3").arg(n).arg(name, why);
        if (hasSpaceAtAnEnd(*text))
            return QStringLiteral("record %1: its %2 begins or ends with a blank or a line "
                                  "break, which Moodle XML cannot carry; CSV carries it")
                .arg(n)
                .arg(name);
    }
    return {};
}

// A text element <name format="plain_text"><text>...</text></name>.
void writeText(QXmlStreamWriter* xml, QLatin1StringView name, const QString& text)
{
    xml->writeStartElement(name);
    xml->writeAttribute(QLatin1StringView("format"), QLatin1StringView("plain_text"));
    xml->writeTextElement(QLatin1StringView("text"), withLineFeeds(text));
    xml->writeEndElement();
}

void writeCategory(QXmlStreamWriter* xml, const QString& kind)
{
    xml->writeStartElement(QLatin1StringView("question"));
    xml->writeAttribute(QLatin1StringView("type"), QLatin1StringView("category"));
    xml->writeStartElement(QLatin1StringView("category"));
    const QString path = kind.isEmpty()
                             ? QString(kTop)
                             : kTop + u'/' + QString(kind).replace(u'/', QStringLiteral("//"));
    xml->writeTextElement(QLatin1StringView("text"), path);
    xml->writeEndElement();
    xml->writeEndElement();
}

void writeQuestion(QXmlStreamWriter* xml, const QuestionRecord& record, const BankNote& note,
                   qsizetype n, const QString& letter)
{
    xml->writeStartElement(QLatin1StringView("question"));
    xml->writeAttribute(QLatin1StringView("type"), QLatin1StringView("multichoice"));
    xml->writeStartElement(QLatin1StringView("name"));
    xml->writeTextElement(QLatin1StringView("text"), QStringLiteral("Q%1").arg(n));
    xml->writeEndElement();
    writeText(xml, QLatin1StringView("questiontext"),
              recordrules::exportedText(record, Field::Question));
    if (!note.explanation.isEmpty())
        writeText(xml, QLatin1StringView("generalfeedback"), note.explanation);
    const std::pair<const char*, const char*> settings[] = {
        {"defaultgrade", "1"}, {"penalty", "0.3333333"},    {"hidden", "0"},
        {"single", "true"},    {"shuffleanswers", "false"}, {"answernumbering", "ABCD"}};
    for (const auto& [name, value] : settings)
        xml->writeTextElement(QLatin1StringView(name), QLatin1StringView(value));
    for (int i = 0; i < QuestionRecord::kChoiceCount; ++i) {
        xml->writeStartElement(QLatin1StringView("answer"));
        xml->writeAttribute(QLatin1StringView("fraction"),
                            letter.at(0) == QuestionRecord::letterOf(i) ? QLatin1StringView("100")
                                                                        : QLatin1StringView("0"));
        xml->writeAttribute(QLatin1StringView("format"), QLatin1StringView("plain_text"));
        xml->writeTextElement(
            QLatin1StringView("text"),
            withLineFeeds(recordrules::exportedText(record, QuestionRecord::choiceField(i))));
        writeText(xml, QLatin1StringView("feedback"), QString());
        xml->writeEndElement();
    }
    xml->writeEndElement();
}

} // namespace

ParsedQuestions parse(QString text)
{
    if (text.trimmed().isEmpty())
        return ParsedFile();
    return Reader(text).parse();
}

Result<QByteArray> write(const NotedRecords& bank)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(-1); // a tab a level: a smaller file, read sooner
    xml.writeStartDocument();
    xml.writeStartElement(QLatin1StringView("quiz"));
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
        if (note.kind != kind) {
            kind = note.kind;
            writeCategory(&xml, kind);
        }
        writeQuestion(&xml, record, note, n + 1, letter.value());
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}

} // namespace moodlexml
