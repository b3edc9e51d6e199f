// How long the main window takes to show a help file and the review of a 50-question test: the
// texts are built once and set once, so the time grows in proportion to the file's size.

#include "app/HelpText.h"
#include "app/frmMain.h"
#include "bank/BankFile.h"
#include "bank/BankNotes.h"
#include "exam/vertest.h"
#include "platform/MessageBoxes.h"
#include "platform/Services.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include "BenchSupport.h"

namespace {

using benchsupport::writeFile;

// Lines like those of a help text: indented, of mixed length, ended by CR LF.
QByteArray helpBytes(qint64 size)
{
    QByteArray bytes;
    bytes.reserve(size + 128);
    for (int n = 0; bytes.size() < size; ++n)
        bytes += QByteArray(n % 4, ' ') + "Line " + QByteArray::number(n) +
                 " of the help: press \"Time\" to hide the clock; caf\xe9." +
                 QByteArray(n % 40, 'x') + "  \r\n";
    return bytes;
}

// The window as a user has it: shown, its timer left out.
struct Window {
    Window()
    {
        w.Form_Load();
        w.findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
        w.show();
    }
    frmMain w;
};

void BM_HelpTextFromBytes(benchmark::State& st)
{
    const QByteArray bytes = helpBytes(st.range(0) << 20);
    for (auto _ : st)
        benchmark::DoNotOptimize(helptext::shownText(bytes));
    st.SetBytesProcessed(st.iterations() * bytes.size());
}
BENCHMARK(BM_HelpTextFromBytes)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);

void BM_ShowContentsHelp(benchmark::State& st)
{
    const QByteArray bytes = helpBytes(st.range(0) << 20);
    writeFile(QStringLiteral("Readme.txt"), bytes);
    Window window;
    for (auto _ : st) {
        window.w.mnuHelpContents_Click();
        QCoreApplication::processEvents(); // the text box lays out and paints what it shows
        st.PauseTiming();
        window.w.cmdendreview_Click();
        st.ResumeTiming();
    }
    st.SetBytesProcessed(st.iterations() * bytes.size());
}
BENCHMARK(BM_ShowContentsHelp)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);

// range(0) is 1 when every question has a note, its explanation 1,000 characters long.
void BM_ReviewOfFiftyQuestions(benchmark::State& st)
{
    {
        BankFile bank;
        static_cast<void>(bank.open());
        BankNotes notes;
        for (int n = 1; n <= 50; ++n) {
            QuestionRecord record;
            record.setQuestion(QString(180, u'q') + QStringLiteral(" %1?").arg(n));
            for (int i = 0; i < QuestionRecord::kChoiceCount; ++i)
                record.setChoice(i, QString(70, QChar(u'a' + i)));
            record.setAnswer(QStringLiteral("b"));
            static_cast<void>(bank.write(n, record));
            notes.setNote(n, record,
                          {QStringLiteral("antonym"), QString(BankNotes::kMaxExplanation, u'x')});
        }
        const QString path = BankNotes::pathFor(QString::fromLatin1(BankFile::kFileName));
        QFile::remove(path);
        if (st.range(0) == 1)
            writeFile(path, notes.toBytes());
    }
    // A test of the fifty questions, last to first, each answered "c", as the window asks them.
    Window window;
    vertest::State s(50, 15);
    if (!vertest::openbank(s).ok())
        st.SkipWithError("the bank cannot serve the test");
    auto* optc = window.w.findChild<QRadioButton*>(QStringLiteral("optc"));
    for (qint16 i = 1; i <= 50; ++i) {
        vertest::showquestion(window.w, s, qint16(51 - i), i);
        optc->setChecked(true);
        vertest::getchoice(window.w, s, i == 1 ? 0 : 1);
    }
    // The score gives the questions their notes; its boxes answered at once, the review declined.
    struct Declined final : platform::MessageBoxes {
        platform::Answer show(const platform::MessageBox&) override { return platform::Answer::No; }
    } declined;
    platform::install({&declined});
    vertest::showscore(window.w, s, 50);
    platform::install({});
    for (auto _ : st) {
        vertest::showreview(window.w, s);
        QCoreApplication::processEvents();
        st.PauseTiming();
        window.w.cmdendreview_Click();
        st.ResumeTiming();
    }
}
BENCHMARK(BM_ReviewOfFiftyQuestions)
    ->ArgName("notes")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

} // namespace
