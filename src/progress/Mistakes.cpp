#include "progress/Mistakes.h"

#include <QHash>
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

Selection selectMissed(const QList<resultslog::Entry>& tests, qsizetype bankRecords)
{
    Selection chosen;
    for (const Missed& m : missedQuestions(tests)) {
        if (m.recnum > bankRecords) {
            chosen.absent.append(m.recnum);
            continue;
        }
        chosen.questions.append(m);
        chosen.times += m.times;
    }
    return chosen;
}

} // namespace progress
