#include "exam/vertest.h"

#include "bank/TextRules.h"
#include "exam/ExamRules.h"
#include "files/RegularFile.h"
#include "platform/MessageBoxes.h"
#include "platform/Services.h"
#include "progress/Practice.h"
#include "progress/ResultsFile.h"

#include <QFileInfo>
#include <algorithm>
#include <cstdio>

namespace vertest {

// The exam's functions reach a test's fields through here; the window has the accessors only.
struct Access {
    using Fields = State::Fields;
    static Fields& of(State& test) { return test.f_; }
    static const Fields& of(const State& test) { return test.f_; }
};

namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;
using Fields = Access::Fields;

// Once the score is shown, or a test is abandoned: the test screen comes down and the bank is
// closed. A test help still up stays, with its way out.
void cleartestscreen(ExamScreen& w, Fields& s)
{
    w.setView(w.view() == View::TestHelp ? View::EndedTestHelp : View::Idle);
    s.score = 0;
    s.bankfile.close();
}

bool alreadyDrawn(const Fields& s, qint16 candidate)
{
    for (int slot = 0; slot <= s.usedcount; ++slot) {
        if (s.usedrecs[slot] == candidate)
            return true;
    }
    return false;
}

// True while some record of the bank has not been drawn yet. The bank may have been cut short
// by another program since the test started; then the draw must not go on for ever.
bool recordsLeft(const Fields& s, qint64 records)
{
    const auto drawnInBank =
        std::count_if(s.usedrecs.begin() + 1, s.usedrecs.begin() + 1 + s.usedcount,
                      [records](qint16 r) { return r <= records; });
    return drawnInBank < std::min<qint64>(records, BankFile::kMaxRecords);
}

// The test help's way back to the question it covered, as it was left.
void backtotest(ExamScreen& w)
{
    w.setEndViewWide(false);
    w.setSection(QStringLiteral("Verbal Test"));
    w.setText({});
    w.setView(View::Question);
}

// The moment a test ends with a score, before any box of its end: the test stops running and
// its line goes to the results log.
void logtest(ExamScreen& w, State& test, resultslog::Ending how)
{
    Access::of(test).testRunning = false;
    const Result<void> logged = resultslog::append(QString::fromLatin1(resultslog::kFileName),
                                                   resultslog::line(resultsentry(test, how)));
    if (!logged.ok())
        std::fprintf(stderr, "lexamo: %s\n", qPrintable(logged.error()));
    // The student sees the window, not standard error; the boxes of the end stay as they are.
    w.setLogProblem(logged.ok() ? QString()
                                : logged.error() + QStringLiteral(" This test is not among the "
                                                                  "results Lexamo keeps."));
}

// Each question shown gets the note written for the question its record held when shown, from
// the notes as they were when the test began; then the notes are let go.
void notequestions(Fields& s)
{
    if (!s.notes.valid())
        return;
    const BankNotes& notes = s.notes.get().notes;
    for (int i = 1; i <= s.quesindex; ++i) {
        AnswerEntry& a = s.answers[i];
        a.note = notes.noteFor(a.recnum, a.record);
    }
    s.notes = {};
}

} // namespace

Result<void> openbank(State& test)
{
    Fields& s = Access::of(test);
    const QString name = QString::fromLatin1(BankFile::kFileName);
    // A missing bank holds no questions; a test that is refused creates nothing.
    if (!QFileInfo::exists(name))
        return examrules::canStart(0, s.numques, s.testmins);
    if (const Result<void> opened = s.bankfile.open(name); !opened.ok())
        return Failure{opened.error() + QStringLiteral(" The test cannot start.")};
    // A test of one kind is cut to the kind's questions when it is planned.
    const qint64 records = s.onlyKind.isEmpty()
                               ? s.bankfile.recordCount()
                               : std::max<qint64>(s.bankfile.recordCount(), s.numques);
    Result<void> ready = examrules::canStart(records, s.numques, s.testmins);
    if (!ready.ok()) {
        s.bankfile.close();
        return ready;
    }
    // Notes that are missing or cannot be read leave the test without them; what is wrong with
    // them is the editor's and the progress window's to tell, not the running test's.
    s.notes = BankNotes::loadLater(BankNotes::pathFor(name));
    return ready;
}

Result<QString> planpractice(State& test)
{
    Fields& s = Access::of(test);
    const qint64 records = std::min<qint64>(s.bankfile.recordCount(), BankFile::kMaxRecords);
    // A test of one kind waits for the notes: they tell which records it may draw.
    const BankNotes none;
    const BankNotes& notes = !s.onlyKind.isEmpty() && s.notes.valid() ? s.notes.get().notes : none;
    QList<int> checks;
    QList<bool> allowed;
    for (qint64 n = 1; n <= records; ++n) {
        const Result<QuestionRecord> record = s.bankfile.read(n);
        if (!record.ok())
            return Failure{record.error()};
        checks << resultslog::recordCheck(record.value().toBytes());
        if (!s.onlyKind.isEmpty())
            allowed << (notes.noteFor(int(n), record.value()).kind == s.onlyKind);
    }
    if (!s.onlyKind.isEmpty()) {
        const qsizetype ofKind = allowed.count(true);
        if (ofKind == 0)
            return Failure{QStringLiteral("No question of the bank \"%1\" is of the kind \"%2\" "
                                          "now, so there is no practice test of it.")
                               .arg(QString::fromLatin1(BankFile::kFileName), s.onlyKind)};
        s.numques = qint16(std::min<qsizetype>(s.numques, ofKind));
    }
    const QString log = QString::fromLatin1(resultslog::kFileName);
    QString unread;
    QList<resultslog::Entry> tests;
    if (!regularfile::missing(log)) {
        const Result<resultsfile::Contents> contents = resultsfile::read(log);
        if (contents.ok())
            tests = resultsfile::entries(contents.value());
        else
            unread = contents.error();
        // A log of which no line reads (saved again by a program with other separators, say)
        // tells no more than one that cannot be opened, and is said as such.
        if (const qsizetype left = contents.ok() ? contents.value().problems.size() : 0;
            tests.isEmpty() && left > 0)
            unread = QStringLiteral("No line of the results log \"%1\" can be read: %2 left out.")
                         .arg(log, left == 1 ? QStringLiteral("1 line is")
                                             : QStringLiteral("%1 lines are").arg(left));
    }
    platform::Random& random = *platform::services().random;
    random.reseed();
    s.planned.clear();
    for (const int recnum : progress::practiceDraw(
             tests, checks, s.numques, [&random] { return random.next(); }, allowed))
        s.planned << qint16(recnum);
    return unread;
}

void runtest(State& test)
{
    Fields& s = Access::of(test);
    s.showtime = true;
    s.quesno = 1;
    s.testRunning = true;
}

void starttest(ExamScreen& w, State& test)
{
    Fields& s = Access::of(test);
    // The clock counts from the first question on.
    s.elapsed = 0;
    // The help of a test that ended under it may still be up: the new test replaces it.
    if (w.view() != View::Idle)
        backtotest(w);
    // The question view, whose menus offer nothing but quitting the test.
    w.setView(View::Question);
    w.setSection(QStringLiteral("VERBAL SECTION"));
    // The test's buttons as every question finds them: only "&Next" enabled.
    w.enableTestButtons();
    // The bank needs no opening here: openbank opened it and checked it could serve the test.
    // Nothing is answered yet, so the first answer will start the count of correct answers.
    s.answered = 0;
}

void advance(State& test)
{
    ++Access::of(test).quesno;
}

qint16 pickquestion(State& test, qint16 first)
{
    Fields& s = Access::of(test);
    // The first question of a test forgets what the last test drew and answered.
    if (first == 0) {
        s.answers.fill(AnswerEntry{});
        s.quesindex = 0;
        s.usedrecs.fill(0);
        s.usedcount = 0;
    }
    // A closed bank holds no record: nothing can be drawn, and the draw must not wait for one.
    const qint64 records = s.bankfile.isOpen() ? s.bankfile.recordCount() : 0;
    if (!recordsLeft(s, records))
        return 0;
    // The Practice Test's records were chosen when it began.
    if (s.kind == resultslog::Kind::Practice) {
        const qint16 planned = s.planned.value(s.usedcount, 0);
        if (planned < 1 || planned > records)
            return 0;
        s.usedrecs[++s.usedcount] = planned;
        return planned;
    }
    platform::Random& random = *platform::services().random;
    qint16 candidate = 0;
    do {
        // A fresh seed for every try, until a record not yet drawn comes up.
        random.reseed();
        candidate = examrules::drawCandidate(records, random.next());
    } while (alreadyDrawn(s, candidate));
    // Marked as drawn: no later question of this test repeats it.
    s.usedrecs[++s.usedcount] = candidate;
    return candidate;
}

void showquestion(ExamScreen& w, State& test, qint16 recnum, qint16 quesno)
{
    Fields& s = Access::of(test);
    if (recnum == 0) {
        endtest(w, test, End::Abandoned,
                QStringLiteral("The question bank \"%1\" holds fewer questions than the test "
                               "needs: it was changed while the test ran.")
                    .arg(QString::fromLatin1(BankFile::kFileName)));
        return;
    }
    // The question takes the next slot of the answer table.
    ++s.quesindex;
    s.answers[s.quesindex].recnum = recnum;
    s.answers[s.quesindex].shownAt = s.elapsed; // its time on screen counts from here
    // Its record, read from the bank, is kept as shown for the review and the results log.
    const Result<QuestionRecord> record = s.bankfile.read(recnum);
    if (!record.ok()) {
        endtest(w, test, End::Abandoned, record.error());
        return;
    }
    s.currec = record.value();
    s.answers[s.quesindex].record = s.currec;
    // The fields go in whole, fill spaces included; "&" shows as itself; no choice is
    // selected.
    QStringList choices;
    for (int i = 0; i < QuestionRecord::kChoiceCount; ++i)
        choices << textrules::literalCaption(textrules::beforeNul(s.currec.choice(i)));
    w.showQuestion(examrules::questionHeading(quesno),
                   textrules::toShownLineBreaks(textrules::beforeNul(s.currec.question())),
                   choices);
}

bool checkchoice(const ExamScreen& w)
{
    // A selected choice lets the answer be confirmed; without one the user is told to choose.
    if (w.selectedChoice() >= 0)
        return true;
    platform::msgBox(QStringLiteral("Chose any option before clicking next button"), Buttons::Ok,
                     Icon::Exclamation, QStringLiteral("Warning..."));
    return false;
}

void getchoice(const ExamScreen& w, State& test, qint16 first)
{
    Fields& s = Access::of(test);
    // The first answer of a test starts the count of correct answers.
    if (first == 0)
        s.correctcount = 0;
    // The letter selected goes into the question's slot.
    AnswerEntry& entry = s.answers[s.quesindex];
    const int selected = w.selectedChoice();
    entry.choice = selected < 0 ? QString() : QString(QuestionRecord::letterOf(selected));
    entry.seconds = s.elapsed - entry.shownAt;
    // Exact and case-sensitive: "C" in the bank never matches.
    entry.correct = !entry.choice.isEmpty() && entry.choice == s.currec.answer();
    if (entry.correct)
        ++s.correctcount;
    // The score so far.
    s.score = s.correctcount;
    // From here on a "&Verbal Test" moves this test on rather than starting another.
    s.answered = 1;
}

void toggletime(State& test)
{
    Fields& s = Access::of(test);
    s.showtime = !s.showtime;
}

bool tick(ExamScreen& w, State& test)
{
    Fields& s = Access::of(test);
    // A running test ends when its time is up, whether the time is shown or not.
    const bool timeUp = s.testRunning && examrules::timeIsUp(s.elapsed, s.testmins);
    if (timeUp)
        endtest(w, test, End::TimeOver);
    // The count wraps silently.
    s.elapsed = static_cast<qint32>(static_cast<quint32>(s.elapsed) + 1u);
    return timeUp;
}

void endtest(ExamScreen& w, State& test, End how, const QString& reason)
{
    Fields& s = Access::of(test);
    switch (how) {
    case End::Complete:
        s.showtime = false;
        logtest(w, test, resultslog::Ending::Complete);
        platform::msgBox(QStringLiteral("You have finished your Test. Press OK to see your scores"),
                         Buttons::Ok, Icon::None, QStringLiteral("Test Complete"));
        showscore(w, test, s.numques);
        s.quesno = 0;
        break;
    case End::TimeOver:
        // The time stays on screen, at 0 : 0 : 0, until the score is shown.
        logtest(w, test, resultslog::Ending::TimeOver);
        platform::msgBox(
            QStringLiteral("Time alloted for the test is over. Press OK to see your Result"),
            Buttons::Ok, Icon::None, QStringLiteral("Time Over"));
        showscore(w, test, s.numques);
        s.showtime = false;
        break;
    case End::Quit:
        logtest(w, test, resultslog::Ending::Quit);
        showscore(w, test, s.numques);
        s.showtime = false;
        break;
    case End::Abandoned:
        // Nothing is left to show: no score, and no line in the results log.
        s.testRunning = false;
        s.showtime = false;
        platform::msgBox(reason + QStringLiteral(" The test has ended."), Buttons::Ok,
                         Icon::Exclamation);
        cleartestscreen(w, s);
        s.quesno = 0;
        break;
    }
    s.answered = 0;
}

resultslog::Entry resultsentry(const State& test, resultslog::Ending how)
{
    const Fields& s = Access::of(test);
    resultslog::Entry entry;
    entry.when = QDateTime::currentDateTime();
    entry.ending = how;
    entry.questions = s.numques;
    entry.minutes = s.testmins;
    entry.kind = s.kind;
    // The tick that finds the time up is not counted in elapsed yet.
    const qint64 ticks = qint64(s.elapsed) + (how == resultslog::Ending::TimeOver ? 1 : 0);
    entry.seconds = std::clamp<qint64>(ticks, 0, qint64(s.testmins) * 60);
    entry.correct = s.score;
    for (int i = 1; i <= s.quesindex; ++i) {
        const AnswerEntry& a = s.answers[i];
        // The question on screen when the test ended counts its time to the end.
        const qint64 seconds = a.seconds >= 0 ? a.seconds : entry.seconds - a.shownAt;
        entry.shown.append({a.recnum, resultslog::letterOf(a.choice),
                            resultslog::letterOf(a.record.answer()),
                            resultslog::recordCheck(a.record.toBytes()),
                            int(std::clamp<qint64>(seconds, 0, entry.seconds))});
    }
    return entry;
}

void showscore(ExamScreen& w, State& test, qint16 total)
{
    Fields& s = Access::of(test);
    notequestions(s);
    // The score first, over the test screen it was earned on.
    platform::msgBox(examrules::scoreText(s.score, total), Buttons::Ok, Icon::None,
                     QStringLiteral("TEST SCORE"));
    // Then the test screen comes down.
    cleartestscreen(w, s);
    // The review is offered once, here: it cannot be had later.
    if (platform::msgBox(QStringLiteral("Do you want to review the Test you have taken now. You "
                                        "cannot review it latter."),
                         Buttons::YesNo, Icon::None, QStringLiteral("Review")) == Answer::Yes)
        showreview(w, test);
}

QString reviewtext(const State& test)
{
    const Fields& s = Access::of(test);
    QString text;
    text.reserve(s.quesindex * 400);
    for (int i = 1; i <= s.quesindex; ++i)
        text += examrules::reviewBlock(i, s.answers[i].record, s.answers[i].choice,
                                       s.answers[i].note.explanation);
    return text;
}

void showreview(ExamScreen& w, const State& s)
{
    // The review's view, with its way out and the menus it leaves; the text is built whole,
    // from the questions as they were asked, then shown at once: the bank may have been
    // replaced or cut short by another program since.
    w.setView(View::Review);
    w.setSection(QStringLiteral("Review"));
    w.setText(reviewtext(s));
}

void endreview(ExamScreen& w)
{
    // The test help goes back to the question of its running test. Once the test has ended under
    // it, it leaves for the idle window like the other views, its wide button narrowed again.
    const View view = w.view();
    if (view == View::TestHelp) {
        backtotest(w);
        return;
    }
    if (view == View::EndedTestHelp)
        w.setEndViewWide(false);
    // The view goes, its text cleared, and the window is idle again.
    w.setText({});
    w.setView(View::Idle);
}

} // namespace vertest
