#include "progress/KindTable.h"

#include <QHash>

#include <algorithm>

namespace progress {

namespace {

double ratio(int right, int asked)
{
    return asked == 0 ? 0 : double(right) / asked;
}

} // namespace

QString noKindName()
{
    return QStringLiteral("(no kind)");
}

QList<KindRow> kindRows(const QList<resultslog::Entry>& tests, const QDateTime& since,
                        const QStringList& kinds,
                        const std::function<int(const resultslog::Question&)>& kindOf)
{
    // One row a kind, the last one for the questions without a kind.
    QList<KindRow> rows(kinds.size() + 1);
    for (qsizetype k = 0; k < kinds.size(); ++k)
        rows[k].kind = kinds[k];
    rows.last().kind = noKindName();
    rows.last().noKind = true;
    // Local times compared by their date and time, as the log keeps them: comparing the
    // QDateTimes would look the time zone up for every test.
    const QDate sinceDate = since.date();
    const QTime sinceTime = since.time();
    for (const resultslog::Entry& test : tests) {
        const QDate date = test.when.date();
        const bool recent =
            date > sinceDate || (date == sinceDate && test.when.time() >= sinceTime);
        for (const resultslog::Question& q : test.shown) {
            const int k = kindOf(q);
            KindRow& row = rows[k >= 0 && k < kinds.size() ? k : kinds.size()];
            const int right = resultslog::missed(q) ? 0 : 1;
            row.asked += 1;
            row.right += right;
            row.recentAsked += recent ? 1 : 0;
            row.recentRight += recent ? right : 0;
            row.timeSum += std::max(q.time, 0);
            row.timed += q.time >= 0 ? 1 : 0;
        }
    }
    const KindRow none = rows.takeLast();
    rows.removeIf([](const KindRow& row) { return row.asked == 0; });
    std::stable_sort(rows.begin(), rows.end(), [](const KindRow& a, const KindRow& b) {
        const double ra = ratio(a.right, a.asked);
        const double rb = ratio(b.right, b.asked);
        return ra != rb ? ra < rb : QString::compare(a.kind, b.kind, Qt::CaseInsensitive) < 0;
    });
    if (none.asked > 0)
        rows.append(none);
    return rows;
}

QList<KindRow> kindRowsOfBank(const QList<resultslog::Entry>& tests, const QDateTime& since,
                              qint64 records,
                              const std::function<std::optional<QuestionRecord>(qint64)>& recordAt,
                              const BankNotes& notes)
{
    const QStringList kinds = notes.kinds();
    QHash<QString, int> index;
    for (qsizetype k = 0; k < kinds.size(); ++k)
        index.insert(kinds[k], int(k));
    struct Known {
        bool read = false;
        int check = -1;
        int kind = -1;
    };
    QList<Known> known(qsizetype(std::max<qint64>(0, records)) + 1);
    const auto kindOf = [&](const resultslog::Question& q) {
        if (q.recnum < 1 || q.recnum >= known.size())
            return -1;
        Known& k = known[q.recnum];
        if (!k.read) {
            k.read = true;
            if (const std::optional<QuestionRecord> record = recordAt(q.recnum)) {
                k.check = record->check();
                k.kind = index.value(notes.noteFor(q.recnum, *record).kind, -1);
            }
        }
        const bool same = k.check >= 0 && (q.check < 0 || q.check == k.check);
        return same ? k.kind : -1;
    };
    return kindRows(tests, since, kinds, kindOf);
}

QStringList kindCells(const KindRow& row)
{
    return {row.kind,
            QString::number(row.asked),
            QString::number(row.right),
            percentText(row.right, row.asked),
            QString::number(row.recentAsked),
            QString::number(row.recentRight),
            percentText(row.recentRight, row.recentAsked),
            paceText(row)};
}

QString kindLines(const QList<KindRow>& rows)
{
    const QStringList headings{QStringLiteral("Kind"),    QStringLiteral("Asked"),
                               QStringLiteral("Right"),   QStringLiteral("%"),
                               QStringLiteral("30 days"), QStringLiteral("Right"),
                               QStringLiteral("%"),       QStringLiteral("s/q")};
    QList<QStringList> lines{headings};
    for (const KindRow& row : rows)
        lines.append(kindCells(row));
    QList<qsizetype> widths(headings.size(), 0);
    for (const QStringList& line : lines) {
        for (qsizetype c = 0; c < line.size(); ++c)
            widths[c] = std::max(widths[c], line[c].size());
    }
    QString text;
    for (const QStringList& line : lines) {
        // The kind on the left, the numbers on the right of their columns.
        QString out = line[0].leftJustified(widths[0]);
        for (qsizetype c = 1; c < line.size(); ++c)
            out += QStringLiteral("  ") + line[c].rightJustified(widths[c]);
        text += out + u'\n';
    }
    return text;
}

QString paceText(const KindRow& row)
{
    return row.timed == 0 ? QStringLiteral("-")
                          : QString::number(qRound64(double(row.timeSum) / row.timed));
}

QString percentText(int right, int asked)
{
    if (asked == 0)
        return QStringLiteral("-");
    return QStringLiteral("%1%").arg(qRound(100.0 * right / asked));
}

} // namespace progress
