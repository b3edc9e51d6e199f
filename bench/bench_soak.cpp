// Soak: 1000 whole tests with their review, and 1000 openings of the editor, each in one
// process. After every cycle the resident memory (from /proc/self/statm) and the open
// descriptors (entries of /proc/self/fd) are taken; the counters give them after the first and
// the last cycle and the growth per cycle between them, which should stay near zero.
#include "app/frmMain.h"
#include "editor/frmverques.h"
#include "platform/Services.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include "BenchSupport.h"

namespace {

constexpr int kCycles = 1000;

void ensureBank()
{
    static const bool written = (benchsupport::writeFullBank(), true);
    (void)written;
}

double residentKiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / 1024 : -1;
}

double openDescriptors()
{
    return double(QDir(QStringLiteral("/proc/self/fd"))
                      .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                      .size());
}

// Memory and descriptors after the first and the last cycle.
class Gauge {
public:
    void afterCycle()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        last_ = {residentKiB(), openDescriptors()};
        if (cycles_++ == 0)
            first_ = last_;
    }
    void report(benchmark::State& state) const
    {
        const double between = cycles_ > 1 ? cycles_ - 1 : 1;
        state.counters["rss_kib_first"] = first_.rss;
        state.counters["rss_kib_last"] = last_.rss;
        state.counters["rss_kib_per_cycle"] = (last_.rss - first_.rss) / between;
        state.counters["fds_first"] = first_.fds;
        state.counters["fds_last"] = last_.fds;
        state.counters["fds_per_cycle"] = (last_.fds - first_.fds) / between;
    }

private:
    struct Sample {
        double rss = 0;
        double fds = 0;
    };
    Sample first_;
    Sample last_;
    int cycles_ = 0;
};

// Answers every box at once: Yes to start and to the review, OK to the rest.
class InstantBoxes final : public platform::MessageBoxes {
public:
    platform::Answer show(const platform::MessageBox& box) override
    {
        return box.buttons == platform::Buttons::YesNo ? platform::Answer::Yes
                                                       : platform::Answer::Ok;
    }
};

void BM_SoakWholeTestsWithReview(benchmark::State& state)
{
    ensureBank();
    InstantBoxes boxes;
    platform::install({&boxes});
    benchsupport::writeFile(QStringLiteral("options"), "15\r\n15\r\n");
    frmMain w;
    w.Form_Load();
    w.findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
    auto* optb = w.findChild<QRadioButton*>(QStringLiteral("optb"));
    auto* cmdendreview = w.findChild<QPushButton*>(QStringLiteral("cmdendreview"));
    Gauge gauge;
    for (auto _ : state) {
        w.mnuFileVer_Click();
        for (int i = 0; i < 15; ++i) {
            optb->setChecked(true);
            w.cmdnext_Click();
            w.cmdanswer_Click();
        }
        w.cmdendreview_Click();
        gauge.afterCycle();
    }
    if (cmdendreview->isVisible())
        state.SkipWithError("the review did not end");
    gauge.report(state);
    platform::install({});
}
BENCHMARK(BM_SoakWholeTestsWithReview)->Iterations(kCycles)->Unit(benchmark::kMillisecond);

// As Tools > Add opens it: created (its load step runs), shown, loaded once more, closed.
void BM_SoakEditorOpenings(benchmark::State& state)
{
    ensureBank();
    Gauge gauge;
    EditorState kept; // as the main window keeps it from one opening to the next
    for (auto _ : state) {
        auto* editor = new frmverques(kept);
        editor->show();
        editor->Form_Load();
        editor->close();
        editor->deleteLater();
        gauge.afterCycle();
    }
    gauge.report(state);
}
BENCHMARK(BM_SoakEditorOpenings)->Iterations(kCycles)->Unit(benchmark::kMillisecond);

} // namespace
