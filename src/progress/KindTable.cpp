#include "progress/KindTable.h"

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
    for (const resultslog::Entry& test : tests) {
        const bool recent = test.when >= since;
        for (const resultslog::Question& q : test.shown) {
            const int k = kindOf(q);
            KindRow& row = rows[k >= 0 && k < kinds.size() ? k : kinds.size()];
            const int right = resultslog::missed(q) ? 0 : 1;
            row.asked += 1;
            row.right += right;
            row.recentAsked += recent ? 1 : 0;
            row.recentRight += recent ? right : 0;
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

QString percentText(int right, int asked)
{
    if (asked == 0)
        return QStringLiteral("-");
    return QStringLiteral("%1%").arg(qRound(100.0 * right / asked));
}

} // namespace progress
