#include "bank/BankNotes.h"

#include "bank/BankFile.h"
#include "files/CsvRows.h"
#include "files/FileErrors.h"
#include "files/FileLock.h"
#include "files/RegularFile.h"
#include "files/SafeWrite.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

namespace {

const QStringList kColumns = {QStringLiteral("record"), QStringLiteral("check"),
                              QStringLiteral("kind"), QStringLiteral("explanation")};

// Characters as a reader counts them: a pair of surrogates is one.
qsizetype characters(QStringView text)
{
    qsizetype n = 0;
    for (const QChar c : text)
        n += c.isLowSurrogate() ? 0 : 1;
    return n;
}

bool isHeader(const CsvRows::Row& row)
{
    QStringList names;
    for (const QString& field : row.fields)
        names.append(field.trimmed().toLower());
    return names == kColumns;
}

bool isBlank(const CsvRows::Row& row)
{
    return row.fields.size() == 1 && row.fields.first().trimmed().isEmpty();
}

// A row's record number, 1 to the bank's last, or 0.
qint64 recordOf(const QString& field)
{
    bool ok = false;
    const qint64 n = field.trimmed().toLongLong(&ok);
    return ok && n >= 1 && n <= BankFile::kMaxRecords ? n : 0;
}

// A row's check, four hex digits, or -1.
int checkOf(const QString& field)
{
    const QString text = field.trimmed();
    bool ok = false;
    const int check = text.toInt(&ok, 16);
    return ok && text.size() == 4 && !text.startsWith(u'+') && !text.startsWith(u'-') ? check : -1;
}

// The note of one row, or the reason it cannot be read.
QString readRow(const CsvRows::Row& row, qint64* n, BankNotes::Row* read)
{
    if (row.fields.size() < 3 || row.fields.size() > 4)
        return QStringLiteral("it has %1 columns; a note has %2 (%3)")
            .arg(row.fields.size())
            .arg(kColumns.size())
            .arg(kColumns.join(u','));
    *n = recordOf(row.fields.at(0));
    if (*n == 0)
        return QStringLiteral("\"%1\" is not a record number from 1 to %2")
            .arg(row.fields.at(0))
            .arg(BankFile::kMaxRecords);
    read->check = checkOf(row.fields.at(1));
    if (read->check < 0)
        return QStringLiteral("\"%1\" is not a check of four hex digits").arg(row.fields.at(1));
    read->note.kind = row.fields.at(2);
    if (row.fields.size() == 4)
        read->note.explanation = row.fields.at(3);
    if (const QString problem = BankNotes::kindProblem(read->note.kind); !problem.isEmpty())
        return problem;
    return BankNotes::explanationProblem(read->note.explanation);
}

// The lines that could not be read, in one sentence's tail: the first few, and how many more.
QString describe(const QList<BankNotes::Problem>& problems)
{
    constexpr qsizetype kNamed = 3;
    QStringList parts;
    for (qsizetype i = 0; i < problems.size() && i < kNamed; ++i) {
        const BankNotes::Problem& p = problems.at(i);
        parts.append(p.line > 0 ? QStringLiteral("line %1: %2").arg(p.line).arg(p.what) : p.what);
    }
    if (problems.size() > kNamed)
        parts.append(QStringLiteral("and %1 more").arg(problems.size() - kNamed));
    return parts.join(QStringLiteral("; "));
}

} // namespace

namespace {

// The notes of the file at path, open as fd (or -1 with errno set when it could not be opened).
BankNotes::Loaded loadOpened(int fd, const QString& path)
{
    const Result<QByteArray> bytes = fd < 0 ? Result<QByteArray>(Failure{fileerrors::reason(errno)})
                                            : regularfile::readWhole(fd, BankNotes::kMaxBytes);
    const QString name = QFileInfo(path).fileName();
    if (!bytes.ok())
        return {{},
                QStringLiteral("Cannot read the notes of the question bank, \"%1\": %2. "
                               "Questions show without their kinds and explanations.")
                    .arg(name, bytes.error()),
                true};
    QList<BankNotes::Problem> problems;
    BankNotes::Loaded loaded{BankNotes::fromBytes(bytes.value(), &problems), {}};
    if (!problems.isEmpty())
        loaded.warning = QStringLiteral("Some notes of the question bank, in \"%1\", cannot be "
                                        "read and are left out: %2.")
                             .arg(name, describe(problems));
    return loaded;
}

int openNotes(const QString& path)
{
    return ::open(QFile::encodeName(path).constData(),
                  O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

} // namespace

BankNotes::Loaded BankNotes::load(const QString& path)
{
    if (regularfile::missing(path))
        return {};
    const int fd = openNotes(path);
    Loaded loaded = loadOpened(fd, path);
    if (fd >= 0)
        ::close(fd);
    return loaded;
}

std::shared_future<BankNotes::Loaded> BankNotes::loadLater(const QString& path)
{
    const int fd = regularfile::missing(path) ? -2 : openNotes(path);
    if (fd >= 0) {
        try {
            return std::async(std::launch::async, [fd, path] {
                Loaded loaded = loadOpened(fd, path);
                ::close(fd);
                return loaded;
            });
        } catch (const std::system_error&) { // no thread to be had: read here and now
        }
    }
    std::promise<Loaded> now;
    if (fd == -2) {
        now.set_value({});
    } else {
        now.set_value(loadOpened(fd, path));
        if (fd >= 0)
            ::close(fd);
    }
    return now.get_future().share();
}

Result<void> BankNotes::save(const QString& path) const
{
    return safewrite::writeWhole(path, toBytes());
}

Result<void> BankNotes::update(int bankFd, const QString& bankPath,
                               const std::function<void(BankNotes&)>& change)
{
    const QString path = pathFor(bankPath);
    const FileLock lock(bankFd);
    if (!lock.held())
        return Failure{fileerrors::cannotWrite(path, lock.reason())};
    const Loaded before = load(path);
    if (before.unreadable)
        return Failure{fileerrors::cannotWrite(
            path, QStringLiteral("it cannot be read, and writing it would lose its notes"))};
    BankNotes notes = before.notes;
    change(notes);
    if (notes == before.notes && before.warning.isEmpty())
        return {};
    return notes.save(path);
}

QString BankNotes::pathFor(const QString& bankPath)
{
    const QFileInfo bank(bankPath);
    const QString name =
        bank.completeBaseName().isEmpty() ? bank.fileName() : bank.completeBaseName();
    const QString notes = name + QStringLiteral(".notes.csv");
    return bank.path() == u'.' && !bankPath.startsWith(QStringLiteral("./"))
               ? notes
               : bank.path() + u'/' + notes;
}

BankNotes BankNotes::fromBytes(QByteArrayView bytes, QList<Problem>* problems)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        problems->append({0, QStringLiteral("it is not UTF-8 text; what cannot be read shows as "
                                            "\uFFFD")});
    BankNotes notes;
    QList<int> lineOf(BankFile::kMaxRecords + 1, 0); // by record number, the line of its note
    CsvRows rows(text);
    bool first = true;
    while (!rows.atEnd()) {
        CsvRows::Row row;
        CsvRows::Problem problem;
        if (!rows.next(&row, &problem)) {
            problems->append({problem.line, problem.what});
            continue;
        }
        if (isBlank(row) || (first && isHeader(row))) {
            first = first && isBlank(row);
            continue;
        }
        first = false;
        qint64 n = 0;
        Row read;
        if (const QString why = readRow(row, &n, &read); !why.isEmpty()) {
            problems->append({row.line, why});
        } else if (lineOf.at(n) > 0) {
            problems->append({row.line, QStringLiteral("record %1 has a note already, on line %2")
                                            .arg(n)
                                            .arg(lineOf.at(n))});
        } else if (!read.note.isEmpty()) {
            lineOf[n] = row.line;
            notes.rows_.insert(n, read);
        }
    }
    return notes;
}

QByteArray BankNotes::toBytes() const
{
    QString text = kColumns.join(u',') + QStringLiteral("\r\n");
    for (auto it = rows_.cbegin(); it != rows_.cend(); ++it) {
        text += QString::number(it.key()) + u',' +
                QStringLiteral("%1").arg(it->check, 4, 16, QLatin1Char('0')) + u',' +
                csvField(it->note.kind) + u',' + csvField(it->note.explanation) +
                QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

BankNote BankNotes::noteFor(qint64 n, const QuestionRecord& record) const
{
    const auto it = rows_.constFind(n);
    if (it == rows_.cend() || it->check != record.check())
        return {};
    return it->note;
}

void BankNotes::setNote(qint64 n, const QuestionRecord& record, const BankNote& note)
{
    if (note.isEmpty())
        rows_.remove(n);
    else
        rows_.insert(n, Row{record.check(), note});
}

bool BankNotes::isStale(qint64 n, const QuestionRecord& record) const
{
    const auto it = rows_.constFind(n);
    return it != rows_.cend() && it->check != record.check();
}

QStringList BankNotes::kinds() const
{
    QSet<QString> seen;
    QStringList kinds;
    for (const Row& row : rows_) {
        if (!row.note.kind.isEmpty() && !seen.contains(row.note.kind)) {
            seen.insert(row.note.kind);
            kinds.append(row.note.kind);
        }
    }
    std::sort(kinds.begin(), kinds.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    return kinds;
}

QString BankNotes::kindProblem(const QString& kind)
{
    if (kind.contains(u'\n') || kind.contains(u'\r'))
        return QStringLiteral("the kind is more than one line");
    if (const qsizetype n = kind.size() > kMaxKind ? characters(kind) : 0; n > kMaxKind)
        return QStringLiteral("the kind is %1 characters; a kind holds %2").arg(n).arg(kMaxKind);
    return {};
}

QString BankNotes::explanationProblem(const QString& explanation)
{
    // A text no longer in UTF-16 units than the bound holds no more characters either.
    if (const qsizetype n = explanation.size() > kMaxExplanation ? characters(explanation) : 0;
        n > kMaxExplanation)
        return QStringLiteral("the explanation is %1 characters; an explanation holds %2")
            .arg(n)
            .arg(kMaxExplanation);
    return {};
}
