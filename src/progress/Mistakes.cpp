#include "progress/Mistakes.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace progress {

QList<Missed> missedQuestions(const QList<resultslog::Entry>& tests)
{
    QHash<int, int> times;
    for (const resultslog::Entry& test : tests) {
        for (const resultslog::Question& q : test.shown) {
            if (resultslog::missed(q))
                ++times[q.recnum];
        }
    }
    QList<Missed> missed;
    missed.reserve(times.size());
    for (auto it = times.cbegin(); it != times.cend(); ++it)
        missed.append({it.key(), it.value()});
    std::sort(missed.begin(), missed.end(), [](const Missed& a, const Missed& b) {
        return a.times != b.times ? a.times > b.times : a.recnum < b.recnum;
    });
    return missed;
}

Selection selectMissed(const QList<resultslog::Entry>& tests, const QList<int>& checksNow)
{
    // A miss of a record that holds another question now is not a miss of that question.
    QList<resultslog::Entry> still = tests;
    QSet<int> changed;
    for (resultslog::Entry& test : still) {
        test.shown.removeIf([&](const resultslog::Question& q) {
            const bool other =
                q.check >= 0 && q.recnum <= checksNow.size() && checksNow[q.recnum - 1] != q.check;
            if (other && resultslog::missed(q))
                changed.insert(q.recnum);
            return other;
        });
    }
    Selection chosen;
    const QList<Missed> missed = missedQuestions(still);
    for (const Missed& m : missed)
        changed.remove(m.recnum);
    chosen.changed = changed.values();
    std::sort(chosen.changed.begin(), chosen.changed.end());
    for (const Missed& m : missed) {
        if (m.recnum > checksNow.size()) {
            chosen.absent.append(m.recnum);
            continue;
        }
        chosen.questions.append(m);
        chosen.times += m.times;
    }
    return chosen;
}

namespace {

// The records' bytes now, each read once, and whether an asking with a given check still
// shows what the record holds, each worked out once.
class RecordsNow {
public:
    RecordsNow(qsizetype records, const std::function<QByteArray(qsizetype)>& recordBytes)
        : bytes_(records + 1), read_(records + 1, false), recordBytes_(recordBytes)
    {
    }
    bool stillAsks(const resultslog::Question& q)
    {
        const qint64 key = qint64(q.recnum) << 20 | (q.check + 1);
        const auto known = still_.constFind(key);
        if (known != still_.cend())
            return known.value();
        if (!read_[q.recnum]) {
            bytes_[q.recnum] = recordBytes_(q.recnum);
            read_[q.recnum] = true;
        }
        const bool same = resultslog::stillAsked(q, bytes_[q.recnum]) != resultslog::Still::Changed;
        still_.insert(key, same);
        return same;
    }

private:
    QList<QByteArray> bytes_;
    QList<bool> read_;
    QHash<qint64, bool> still_;
    const std::function<QByteArray(qsizetype)>& recordBytes_;
};

} // namespace

Coverage coverage(const QList<resultslog::Entry>& tests, qsizetype records,
                  const std::function<QByteArray(qsizetype)>& recordBytes)
{
    // From the newest test back: the first asking found of a record is its last.
    RecordsNow now(records, recordBytes);
    QList<bool> counted(records + 1, false);
    Coverage c;
    for (auto test = tests.crbegin(); test != tests.crend(); ++test) {
        for (auto q = test->shown.crbegin(); q != test->shown.crend(); ++q) {
            if (q->recnum < 1 || q->recnum > records || counted[q->recnum] || !now.stillAsks(*q))
                continue;
            counted[q->recnum] = true;
            ++c.asked;
            c.missedLast += resultslog::missed(*q) ? 1 : 0;
        }
    }
    return c;
}

} // namespace progress
