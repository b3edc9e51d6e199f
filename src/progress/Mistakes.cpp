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

} // namespace progress
