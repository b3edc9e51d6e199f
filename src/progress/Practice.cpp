#include "progress/Practice.h"

#include <algorithm>
#include <tuple>

namespace progress {

namespace {

// What the log says of one record.
struct Need {
    int recnum = 0;
    int misses = 0;
    qsizetype lastAsked = -1; // the test that asked it last, in the log's order; -1 for never
    bool lastMissed = false;
    float tie = 0;
    // 0: missed the last time; 1: never asked; 2: the rest.
    int group() const { return lastAsked < 0 ? 1 : (lastMissed ? 0 : 2); }
};

} // namespace

QList<int> practiceDraw(const QList<resultslog::Entry>& tests, const QList<int>& checksNow,
                        int count, const std::function<float()>& uniform,
                        const QList<bool>& allowed)
{
    QList<Need> needs(checksNow.size());
    for (qsizetype i = 0; i < needs.size(); ++i) {
        needs[i].recnum = int(i + 1);
        needs[i].tie = uniform();
    }
    for (qsizetype t = 0; t < tests.size(); ++t) {
        for (const resultslog::Question& q : tests[t].shown) {
            if (q.recnum < 1 || q.recnum > needs.size())
                continue;
            if (q.check >= 0 && q.check != checksNow[q.recnum - 1])
                continue; // the record held another question then
            Need& need = needs[q.recnum - 1];
            const bool missed = resultslog::missed(q);
            need.misses += missed ? 1 : 0;
            need.lastAsked = t;
            need.lastMissed = missed;
        }
    }
    if (!allowed.isEmpty())
        needs.removeIf([&allowed](const Need& n) {
            return n.recnum > allowed.size() || !allowed[n.recnum - 1];
        });
    const auto key = [](const Need& n) {
        // Within the first group the most missed come first; within the last the oldest.
        const qsizetype within = n.group() == 0 ? -n.misses : (n.group() == 2 ? n.lastAsked : 0);
        return std::make_tuple(n.group(), within, n.tie);
    };
    std::sort(needs.begin(), needs.end(),
              [&](const Need& a, const Need& b) { return key(a) < key(b); });
    QList<int> chosen;
    for (qsizetype i = 0; i < std::min<qsizetype>(count, needs.size()); ++i)
        chosen << needs[i].recnum;
    // Shown in random order, so that the order gives nothing away.
    for (qsizetype i = chosen.size() - 1; i > 0; --i) {
        const qsizetype j = std::min<qsizetype>(i, qsizetype(uniform() * float(i + 1)));
        std::swap(chosen[i], chosen[j]);
    }
    return chosen;
}

} // namespace progress
