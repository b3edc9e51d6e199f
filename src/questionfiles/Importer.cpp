#include "questionfiles/Importer.h"

#include "base/Words.h"
#include "questionfiles/FileChecks.h"
#include "questionfiles/RecordRules.h"
#include "questionfiles/TextInput.h"

#include "bank/BankNotes.h"
#include "bank/TextRules.h"
#include "files/FileErrors.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cerrno>

namespace questionfiles {

namespace {

QString shownName(const QString& path)
{
    return filechecks::isStandardStream(path) ? QStringLiteral("standard input") : path;
}

// Opens a file to import ("-" is standard input) once it is known to be a regular file of a
// size a bank's questions could take up; the reason, naming the file, when it is not. A file
// that cannot be opened is left closed, for the read to tell why.
Result<void> openInput(const QString& path, QFile* file)
{
    if (filechecks::isStandardStream(path)) {
        static_cast<void>(file->open(stdin, QIODevice::ReadOnly));
        return {};
    }
    if (Result<void> readable = filechecks::checkInput(path, textinput::kMaxFileBytes);
        !readable.ok())
        return readable;
    file->setFileName(path);
    static_cast<void>(file->open(QIODevice::ReadOnly));
    return {};
}

// The bytes of one file to import, read in pieces: no more is held than the file has, and
// reading stops past the bound even when the file grows or standard input never ends.
Result<QByteArray> readInput(const QString& path)
{
    QFile file;
    if (const Result<void> opened = openInput(path, &file); !opened.ok())
        return Failure{opened.error()};
    QByteArray bytes;
    for (QByteArray piece; file.isOpen() && bytes.size() <= textinput::kMaxFileBytes;) {
        piece = file.read(64 * 1024);
        if (piece.isEmpty())
            break;
        bytes.append(piece);
    }
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        return Failure{QStringLiteral("%1: cannot be read: %2")
                           .arg(shownName(path), fileerrors::reason(file, errno))};
    }
    if (bytes.size() > textinput::kMaxFileBytes) {
        return Failure{QStringLiteral("%1: more than %2 bytes, more than the questions of a full "
                                      "bank could take up")
                           .arg(shownName(path))
                           .arg(textinput::kMaxFileBytes)};
    }
    return bytes;
}

// Why a file that was read without a fault gave no question.
QString whyNoQuestion(bool blank, Format format)
{
    if (blank)
        return QStringLiteral("the file is empty");
    return QLatin1String(formatRow(format).noQuestion);
}

// The questions that stand alike in the bank only because one of them was cut: each after the
// first of its kind is named, with the line of that first one.
QList<ParseError> alikeOnceCut(const QList<QuestionRecord>& records, const QList<int>& lines,
                               const QList<bool>& wasCut)
{
    QHash<QString, qsizetype> first; // a folded question and the first record that has it
    QList<ParseError> alike;
    for (qsizetype i = 0; i < records.size(); ++i) {
        const QString folded = recordrules::foldedQuestion(records.at(i).question());
        const auto found = first.constFind(folded);
        if (found == first.cend()) {
            first.insert(folded, i);
            continue;
        }
        if (wasCut.at(i) || wasCut.at(*found)) {
            alike.append({lines.at(i), QStringLiteral("the question is the same as that of line "
                                                      "%1 once cut")
                                           .arg(lines.at(*found))});
        }
    }
    return alike;
}

// The note of a question; a kind that a note cannot hold is left off, and said in changed once
// for the line that gives it (a category gives the kind of many questions). An explanation too
// long leaves the question out.
Result<BankNote, ParseError> noteOf(const ParsedQuestion& q, QSet<int>* saidLines,
                                    QList<ParseError>* changed)
{
    const QString why = BankNotes::kindProblem(q.kind.text);
    if (why.isEmpty())
        return recordrules::toNote(q);
    ParsedQuestion kindless = q;
    kindless.kind = SourceText();
    const Result<BankNote, ParseError> note = recordrules::toNote(kindless);
    if (note.ok() && !saidLines->contains(q.kind.line)) {
        saidLines->insert(q.kind.line);
        changed->append({q.kind.line,
                         QStringLiteral("%1: its questions are imported without a kind").arg(why)});
    }
    return note;
}

FileImport refusedFile(const QString& name, const QString& what, int line = 0)
{
    FileImport refused;
    refused.name = name;
    refused.refused.append({line, what});
    return refused;
}

// The import of a file's bytes in a format; with none (a .txt file), in GIFT or Aiken as the
// decoded text tells.
FileImport importAs(const QByteArray& bytes, std::optional<Format> formatGiven, bool cut,
                    qint64 kept, const QString& name)
{
    FileImport file;
    file.name = name;
    Result<QString, ParseError> text = textinput::decodeUtf8(bytes);
    if (!text.ok()) {
        file.refused.append(text.error());
        return file;
    }
    const Format format = formatGiven ? *formatGiven : textFormatOf(text.value());
    const bool blank = std::all_of(text.value().cbegin(), text.value().cend(),
                                   [](QChar c) { return c.isSpace(); });
    const ParsedQuestions parsed = formatRow(format).parse(std::move(text).value());
    if (!parsed.ok()) {
        file.refused = parsed.error();
        return file;
    }
    const ParsedFile& read = parsed.value();
    if (read.questions.isEmpty() && read.leftOut.isEmpty()) {
        file.refused.append(
            {0, QStringLiteral("no question found: %1").arg(whyNoQuestion(blank, format))});
        return file;
    }
    file.leftOut = read.leftOut;
    QList<int> lines; // of the records kept, for naming questions alike once cut
    QList<bool> wasCut;
    QSet<int> kindsLeftOff; // the lines of the kinds said to be left off
    for (const ParsedQuestion& q : read.questions) {
        if (kept + file.records.records.size() >= BankFile::kMaxRecords) {
            file.refused.append(
                {q.question.line, QStringLiteral("this question would be record %1, but a bank "
                                                 "holds at most %2")
                                      .arg(kept + file.records.records.size() + 1)
                                      .arg(BankFile::kMaxRecords)});
            file.records = NotedRecords();
            return file;
        }
        QList<ParseError> cuts;
        const Result<QuestionRecord, ParseError> record = recordrules::toRecord(q, cut, &cuts);
        if (!record.ok()) {
            file.leftOut.append(record.error());
            continue;
        }
        const Result<BankNote, ParseError> note = noteOf(q, &kindsLeftOff, &file.changed);
        if (!note.ok()) {
            file.leftOut.append(note.error());
            continue;
        }
        file.changed += cuts;
        file.records.records.append(record.value());
        file.records.notes.append(note.value());
        lines.append(q.question.line);
        wasCut.append(textrules::toStoredLineBreaks(q.question.text).size() >
                      QuestionRecord::kQuestionWidth);
    }
    if (cut)
        file.changed += alikeOnceCut(file.records.records, lines, wasCut);
    const auto byLine = [](const ParseError& a, const ParseError& b) { return a.line < b.line; };
    std::stable_sort(file.leftOut.begin(), file.leftOut.end(), byLine);
    std::stable_sort(file.changed.begin(), file.changed.end(), byLine);
    return file;
}

} // namespace

FileImport importBytes(const QByteArray& bytes, Format format, bool cut, qint64 kept,
                       const QString& name)
{
    return importAs(bytes, format, cut, kept, name);
}

Format textFormatOf(const QString& text)
{
    static const QRegularExpression gift(
        QStringLiteral("^[ \\t]*(::|\\$CATEGORY:|//)|\\{[^{}]*\\}"),
        QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression aiken(QStringLiteral("^[ \\t]*ANSWER[ \\t]*:"),
                                          QRegularExpression::MultilineOption |
                                              QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch g = gift.match(text);
    const QRegularExpressionMatch a = aiken.match(text);
    if (g.hasMatch() && (!a.hasMatch() || g.capturedStart() < a.capturedStart()))
        return Format::Gift;
    return Format::Aiken;
}

FileImport importFile(const QString& path, std::optional<Format> format, bool cut, qint64 kept)
{
    const QString name = shownName(path);
    const std::optional<Format> told = format ? format : formatNamed(QFileInfo(path).suffix());
    if (!told) {
        return refusedFile(name, untoldFormat());
    }
    const Result<QByteArray> bytes = readInput(path);
    if (!bytes.ok())
        return refusedFile(name, bytes.error(), -1); // the message names the file
    // A .txt file is GIFT or Aiken, as its text tells, unless --format said which.
    const bool byText = !format && *told == Format::Aiken;
    return importAs(bytes.value(), byText ? std::nullopt : told, cut, kept, name);
}

QString located(const QString& file, const ParseError& problem)
{
    if (problem.line < 0) // the message names the file itself
        return problem.what;
    return problem.line > 0
               ? QStringLiteral("%1:%2: %3").arg(file).arg(problem.line).arg(problem.what)
               : QStringLiteral("%1: %2").arg(file, problem.what);
}

QString importSummary(qsizetype imported, qsizetype leftOut)
{
    return QStringLiteral("%1 imported, %2 left out")
        .arg(counted(imported, QLatin1StringView("question")))
        .arg(leftOut);
}

} // namespace questionfiles
