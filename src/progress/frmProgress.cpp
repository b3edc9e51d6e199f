#include "progress/frmProgress.h"

#include "base/Words.h"

#include "bank/BankFile.h"
#include "bank/TextRules.h"
#include "files/RegularFile.h"
#include "files/SafeWrite.h"
#include "platform/AppInfo.h"
#include "platform/Forms.h"
#include "platform/MessageBoxes.h"
#include "progress/HistoryPlot.h"
#include "progress/KindTable.h"
#include "progress/Mistakes.h"
#include "progress/PlotView.h"
#include "progress/ResultsFile.h"
#include "progress/Statistics.h"
#include "progress/TestTableModel.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <limits>

namespace {

const QString kNoTests = QStringLiteral("No tests yet. Take one with File > Verbal Test.");

// The choices of the plot's period: a caption and the days it reaches back, 0 for all.
struct Period {
    const char* caption;
    int days;
};
constexpr Period kPeriods[] = {
    {"Last 30 days", 30}, {"Last 90 days", 90}, {"Last year", 365}, {"All tests", 0}};

enum QuestionColumn { Number, Question, Kind, Chosen, Correct, Mark, Seconds };

void warn(const QString& text)
{
    platform::msgBox(text, platform::Buttons::Ok, platform::Icon::Exclamation);
}

QLabel* captionFor(const QString& caption, QWidget* buddy)
{
    auto* label = new QLabel(caption);
    label->setBuddy(buddy);
    return label;
}

// A part of the window's splitter: a caption over the view it names.
QWidget* stacked(QLabel* caption, QWidget* view)
{
    auto* part = new QWidget;
    auto* layout = new QVBoxLayout(part);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(caption);
    layout->addWidget(view, 1);
    return part;
}

// A field of a record on one row: up to its first zero character, spaces and line breaks as
// single spaces.
QString oneLine(const QString& field)
{
    return textrules::shownField(field).replace(QStringLiteral("\r\n"), QStringLiteral(" "));
}

QString choiceText(QChar letter, const QuestionRecord* record)
{
    if (letter.isNull())
        return QStringLiteral("none");
    const int index = letter.unicode() - u'a';
    if (!record || index < 0 || index >= QuestionRecord::kChoiceCount)
        return QString(letter);
    return QStringLiteral("%1) %2").arg(letter, oneLine(record->choice(index)));
}

QString markOf(const resultslog::Question& q)
{
    if (q.chosen.isNull())
        return QStringLiteral("not answered");
    return resultslog::missed(q) ? QStringLiteral("wrong") : QStringLiteral("right");
}

// A field of a record on lines of its own, line breaks as the view shows them.
QString onLines(const QString& field)
{
    return textrules::toShownLineBreaks(textrules::shownField(field));
}

// What the bank says of a test's question: the record that still holds it, or why it is not
// shown.
struct Asked {
    std::optional<QuestionRecord> record;
    QString why;
};

Asked lookUp(BankFile& bank, const QString& bankError, const resultslog::Question& q)
{
    if (!bankError.isEmpty())
        return {std::nullopt, bankError};
    if (q.recnum < 1 || q.recnum > bank.recordCount())
        return {std::nullopt,
                QStringLiteral("Record %1 is no longer in the bank; its question is not shown.")
                    .arg(q.recnum)};
    const Result<QuestionRecord> record = bank.read(q.recnum);
    if (!record.ok())
        return {std::nullopt, record.error()};
    if (resultslog::stillAsked(q, record.value().toBytes()) == resultslog::Still::Changed)
        return {std::nullopt,
                QStringLiteral("Record %1 has changed since this test; its question is not shown.")
                    .arg(q.recnum)};
    return {record.value(), {}};
}

// Question number of a test shown whole: its text, its five choices, the choice made, the
// correct one, and its kind and explanation when it has them. Without its record, why not.
QString wholeQuestion(int number, const resultslog::Question& q, const Asked& asked,
                      const BankNote& note)
{
    const QuestionRecord* record = asked.record ? &*asked.record : nullptr;
    QString text = QStringLiteral("Question %1\n").arg(number);
    text += record ? onLines(record->question()) : asked.why;
    text += u'\n';
    for (int i = 0; record && i < QuestionRecord::kChoiceCount; ++i)
        text += (i == 0 ? QStringLiteral("\n") : QString()) +
                choiceText(QuestionRecord::letterOf(i), record) + u'\n';
    text += QStringLiteral("\nYour choice: %1\nCorrect choice: %2\nResult: %3\n")
                .arg(choiceText(q.chosen, record), choiceText(q.answer, record), markOf(q));
    if (q.time >= 0)
        text += QStringLiteral("Time: %1 s\n").arg(q.time);
    if (!note.kind.isEmpty())
        text += QStringLiteral("Kind: ") + note.kind + u'\n';
    if (!note.explanation.isEmpty())
        text += QStringLiteral("\nExplanation:\n") + textrules::toShownLineBreaks(note.explanation);
    return text;
}

} // namespace

frmProgress::frmProgress(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(appinfo::title() + QStringLiteral(" - Progress"));
    setWindowIcon(forms::programIcon());
    forms::announceAsWindow(this);
    buildControls();
    connectHandlers();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize room = screen ? screen->availableGeometry().size() : QSize(1024, 768);
    resize(QSize(960, 800).boundedTo(room * 9 / 10));
}

frmProgress::~frmProgress() = default;

void frmProgress::buildControls()
{
    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(summaryPart());
    auto* tests = new QSplitter(Qt::Horizontal);
    tests->setChildrenCollapsible(false);
    tests->addWidget(testsPart());
    tests->addWidget(kindsPart());
    tests->setStretchFactor(0, 3);
    tests->setStretchFactor(1, 2);
    splitter->addWidget(tests);
    splitter->addWidget(questionsPart());
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setStretchFactor(2, 2);

    lblnote = new QLabel;
    lblnote->setObjectName(QStringLiteral("lblnote"));
    lblnote->setWordWrap(true);
    lblnote->hide();
    cmdsaveplot = new QPushButton(QStringLiteral("Save &Plot..."));
    cmdsaveplot->setObjectName(QStringLiteral("cmdsaveplot"));
    cmdclose = new QPushButton(QStringLiteral("&Close"));
    cmdclose->setObjectName(QStringLiteral("cmdclose"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblnote, 1);
    buttons->addStretch(); // the buttons keep their own width when there is no note
    buttons->addWidget(cmdsaveplot);
    buttons->addWidget(cmdclose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);
    for (auto [from, to] : {std::pair<QWidget*, QWidget*>{lblsummary, cboperiod},
                            {cboperiod, picplot},
                            {picplot, grdtests},
                            {grdtests, grdkinds},
                            {grdkinds, cmdpractise},
                            {cmdpractise, lstquestions},
                            {lstquestions, txtquestion},
                            {txtquestion, cmdsaveplot},
                            {cmdsaveplot, cmdclose}})
        setTabOrder(from, to);
}

QWidget* frmProgress::summaryPart()
{
    lblsummary = new QLabel;
    lblsummary->setObjectName(QStringLiteral("lblsummary"));
    lblsummary->setTextFormat(Qt::PlainText);
    lblsummary->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Selectable, so that Tab reaches it and a screen reader reads it.
    lblsummary->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    lblsummary->setFocusPolicy(Qt::StrongFocus);

    cboperiod = new QComboBox;
    cboperiod->setObjectName(QStringLiteral("cboperiod"));
    for (const Period& period : kPeriods)
        cboperiod->addItem(QString::fromLatin1(period.caption), period.days);
    cboperiod->setCurrentIndex(cboperiod->count() - 1);
    lblperiod = captionFor(QStringLiteral("Plot peri&od:"), cboperiod);
    lblperiod->setObjectName(QStringLiteral("lblperiod"));
    picplot = new PlotView;
    picplot->setObjectName(QStringLiteral("picplot"));
    picplot->setAccessibleName(QStringLiteral("Plot of the percent correct over time"));

    auto* period = new QHBoxLayout;
    period->addWidget(lblperiod);
    period->addWidget(cboperiod);
    period->addStretch(1);
    auto* plot = new QVBoxLayout;
    plot->addLayout(period);
    plot->addWidget(picplot, 1);
    auto* part = new QWidget;
    auto* layout = new QHBoxLayout(part);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lblsummary, 0);
    layout->addLayout(plot, 1);
    return part;
}

QWidget* frmProgress::testsPart()
{
    model_ = new TestTableModel(this);
    grdtests = new QTableView;
    grdtests->setObjectName(QStringLiteral("grdtests"));
    grdtests->setAccessibleName(QStringLiteral("Tests taken, newest first"));
    grdtests->setModel(model_);
    grdtests->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdtests->setSelectionMode(QAbstractItemView::SingleSelection);
    grdtests->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdtests->setTabKeyNavigation(false);
    grdtests->setWordWrap(false);
    grdtests->setAlternatingRowColors(true);
    grdtests->verticalHeader()->hide();
    grdtests->horizontalHeader()->setStretchLastSection(true); // the table fills its width
    // Fixed sizes: a log of 100,000 tests is never measured row by row.
    grdtests->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdtests->verticalHeader()->setDefaultSectionSize(grdtests->fontMetrics().height() + 6);
    const char* const widest[] = {"2026-12-07 18:04", "practice",    "time-over", "50/50", "100%",
                                  "Time used",        "s a question"};
    for (int column = 0; column < TestTableModel::ColumnCount; ++column)
        grdtests->setColumnWidth(
            column,
            grdtests->fontMetrics().horizontalAdvance(QString::fromLatin1(widest[column])) + 24);
    lbltests = captionFor(QStringLiteral("&Tests:"), grdtests);
    lbltests->setObjectName(QStringLiteral("lbltests"));

    return stacked(lbltests, grdtests);
}

QWidget* frmProgress::kindsPart()
{
    grdkinds = new QTableWidget(0, 8);
    grdkinds->setObjectName(QStringLiteral("grdkinds"));
    grdkinds->setAccessibleName(QStringLiteral("Questions asked and answered right, by kind"));
    grdkinds->setHorizontalHeaderLabels(
        {QStringLiteral("Kind"), QStringLiteral("Asked"), QStringLiteral("Right"),
         QStringLiteral("Percent"), QStringLiteral("Asked, 30 days"),
         QStringLiteral("Right, 30 days"), QStringLiteral("Percent, 30 days"),
         QStringLiteral("s a question")});
    grdkinds->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdkinds->setSelectionMode(QAbstractItemView::SingleSelection);
    grdkinds->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdkinds->setTabKeyNavigation(false);
    grdkinds->setWordWrap(false);
    grdkinds->verticalHeader()->hide();
    grdkinds->verticalHeader()->setDefaultSectionSize(grdkinds->fontMetrics().height() + 6);
    grdkinds->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lblkinds = captionFor(QStringLiteral("&Kinds, weakest first:"), grdkinds);
    lblkinds->setObjectName(QStringLiteral("lblkinds"));
    cmdpractise = new QPushButton(QStringLiteral("P&ractise This Kind"));
    cmdpractise->setObjectName(QStringLiteral("cmdpractise"));
    cmdpractise->setEnabled(false);
    QWidget* part = stacked(lblkinds, grdkinds);
    auto* button = new QHBoxLayout;
    button->addStretch(1);
    button->addWidget(cmdpractise);
    static_cast<QVBoxLayout*>(part->layout())->addLayout(button);
    return part;
}

QWidget* frmProgress::questionsPart()
{
    lstquestions = new QTreeWidget;
    lstquestions->setObjectName(QStringLiteral("lstquestions"));
    lstquestions->setAccessibleName(QStringLiteral("Questions of the selected test"));
    lstquestions->setRootIsDecorated(false);
    lstquestions->setUniformRowHeights(true);
    lstquestions->setAlternatingRowColors(true);
    lstquestions->setHeaderLabels({QStringLiteral("No."), QStringLiteral("Question"),
                                   QStringLiteral("Kind"), QStringLiteral("Your choice"),
                                   QStringLiteral("Correct choice"), QStringLiteral("Result"),
                                   QStringLiteral("Time")});
    // At most 50 rows: measuring them costs nothing.
    QHeaderView* header = lstquestions->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(Question, QHeaderView::Stretch);
    lblquestions = captionFor(QStringLiteral("&Questions of the selected test:"), lstquestions);
    lblquestions->setObjectName(QStringLiteral("lblquestions"));

    txtquestion = new QPlainTextEdit;
    txtquestion->setObjectName(QStringLiteral("txtquestion"));
    txtquestion->setAccessibleName(QStringLiteral("The selected question, whole"));
    txtquestion->setReadOnly(true);
    txtquestion->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtquestion->setTabChangesFocus(true);
    lblquestion = captionFor(QStringLiteral("&Selected question:"), txtquestion);
    lblquestion->setObjectName(QStringLiteral("lblquestion"));

    auto* beside = new QSplitter(Qt::Horizontal);
    beside->setChildrenCollapsible(false);
    beside->addWidget(stacked(lblquestions, lstquestions));
    beside->addWidget(stacked(lblquestion, txtquestion));
    beside->setStretchFactor(0, 3);
    beside->setStretchFactor(1, 2);
    return beside;
}

void frmProgress::connectHandlers()
{
    connect(cboperiod, &QComboBox::currentIndexChanged, this, &frmProgress::cboperiod_Click);
    connect(grdtests->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &frmProgress::grdtests_SelChange);
    connect(lstquestions, &QTreeWidget::currentItemChanged, this,
            &frmProgress::lstquestions_SelChange);
    connect(grdkinds, &QTableWidget::currentCellChanged, this, &frmProgress::grdkinds_SelChange);
    connect(grdkinds, &QTableWidget::cellActivated, this, &frmProgress::cmdpractise_Click);
    connect(cmdpractise, &QAbstractButton::clicked, this, &frmProgress::cmdpractise_Click);
    connect(cmdsaveplot, &QAbstractButton::clicked, this, &frmProgress::cmdsaveplot_Click);
    connect(cmdclose, &QAbstractButton::clicked, this, &frmProgress::cmdclose_Click);
}

void frmProgress::Form_Load()
{
    reload();
}

void frmProgress::reload()
{
    // The notes are read in the background while the log is read whole.
    notes_ = BankNotes::loadLater(BankNotes::pathFor(QString::fromLatin1(BankFile::kFileName)));
    notesTold_ = false;
    readLog();
    // The summary, the plot of the period chosen and the table.
    // The summary's columns line up in a fixed font; what to do without tests reads as the
    // rest of the window does.
    lblsummary->setFont(tests_.isEmpty() ? font()
                                         : QFontDatabase::systemFont(QFontDatabase::FixedFont));
    lblsummary->setText(summaryText());
    picplot->setAccessibleDescription(lblsummary->text());
    showPlot();
    model_->setTests(tests_);
    showKinds();
    // The newest test and its questions are shown.
    lstquestions->clear();
    txtquestion->clear();
    if (!tests_.isEmpty())
        grdtests->setCurrentIndex(model_->index(0, 0));
    // A log that cannot be read is told, over the window that says so.
    if (!logError_.isEmpty())
        warn(logError_);
}

void frmProgress::readLog()
{
    const QString name = QString::fromLatin1(resultslog::kFileName);
    tests_.clear();
    logError_.clear();
    lblnote->hide();
    // No log yet: no test has ended since Lexamo began to keep one.
    if (regularfile::missing(name))
        return;
    const Result<resultsfile::Contents> log = resultsfile::read(name);
    if (!log.ok()) {
        logError_ = log.error();
        return;
    }
    tests_ = resultsfile::entries(log.value());
    const qsizetype problems = log.value().problems.size();
    if (problems == 0)
        return;
    lblnote->setText(
        problems == 1 ? QStringLiteral("1 line of %1 could not be read and is left out.").arg(name)
                      : QStringLiteral("%1 lines of %2 could not be read and are left out.")
                            .arg(problems)
                            .arg(name));
    lblnote->show();
}

QString frmProgress::summaryText() const
{
    if (!logError_.isEmpty())
        return logError_;
    if (tests_.isEmpty())
        return kNoTests;
    QString text = progress::summaryLines(progress::summary(tests_));
    text += QStringLiteral("Days:    tests on %1 of the last %2\n")
                .arg(progress::daysPractised(tests_, QDate::currentDate()))
                .arg(progress::kPractiseDays);
    BankFile bank;
    const Result<void> opened = bank.openToRead();
    if (!opened.ok())
        return text + QStringLiteral("Bank:    ") + opened.error();
    const qsizetype records = bank.recordCount();
    const progress::Coverage asked = progress::coverage(tests_, records, [&bank](qsizetype n) {
        return bank.read(n).valueOr(QuestionRecord()).toBytes();
    });
    return text + QStringLiteral("Bank:    %1 of its %2 asked, %3 missed the last time")
                      .arg(asked.asked)
                      .arg(counted(records, QLatin1StringView("question")))
                      .arg(asked.missedLast);
}

void frmProgress::showKinds()
{
    // The kind selected stays selected when the log is read again.
    const QTableWidgetItem* current = grdkinds->item(grdkinds->currentRow(), 0);
    const QString selected = current ? current->text() : QString();
    grdkinds->setRowCount(0);
    if (tests_.isEmpty())
        return;
    BankFile bank;
    const bool opened = bank.openToRead().ok();
    const QList<progress::KindRow> rows = progress::kindRowsOfBank(
        tests_, QDateTime::currentDateTime().addDays(-progress::kPractiseDays),
        opened ? bank.recordCount() : 0,
        [&bank](qint64 n) {
            Result<QuestionRecord> record = bank.read(n);
            return record.ok() ? std::optional(std::move(record).value()) : std::nullopt;
        },
        notes());
    grdkinds->setRowCount(int(rows.size()));
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const progress::KindRow& row = rows[r];
        const QStringList cells = progress::kindCells(row);
        for (qsizetype c = 0; c < cells.size(); ++c)
            grdkinds->setItem(int(r), int(c), new QTableWidgetItem(cells[c]));
        // The row of the questions without a kind has none to practise.
        if (!row.noKind)
            grdkinds->item(int(r), 0)->setData(Qt::UserRole, row.kind);
        if (row.kind == selected)
            grdkinds->setCurrentCell(int(r), 0);
    }
    grdkinds_SelChange();
}

void frmProgress::showPlot()
{
    const int days = cboperiod->currentData().toInt();
    const QDateTime from = QDateTime::currentDateTime().addDays(-days);
    // All tests share the log's list; a period takes a copy of its own.
    plotted_ = days == 0 ? tests_ : QList<resultslog::Entry>();
    for (qsizetype i = 0; days > 0 && i < tests_.size(); ++i) {
        if (tests_[i].when >= from)
            plotted_.append(tests_[i]);
    }
    const QString none =
        tests_.isEmpty()
            ? QString()
            : QStringLiteral("No tests in the %1.").arg(cboperiod->currentText().toLower());
    picplot->setTests(plotted_, none);
    cmdsaveplot->setEnabled(!plotted_.isEmpty());
}

void frmProgress::cboperiod_Click()
{
    showPlot();
}

void frmProgress::grdtests_SelChange()
{
    const QModelIndex current = grdtests->currentIndex();
    if (current.isValid())
        showQuestions(model_->test(current.row()));
    else
        lstquestions->clear();
}

void frmProgress::lstquestions_SelChange()
{
    const QTreeWidgetItem* current = lstquestions->currentItem();
    txtquestion->setPlainText(current ? current->data(Number, Qt::UserRole).toString() : QString());
}

void frmProgress::setPractiseAllowed(bool allowed)
{
    practiseAllowed_ = allowed;
    grdkinds_SelChange();
}

void frmProgress::grdkinds_SelChange()
{
    const QTableWidgetItem* kind = grdkinds->item(grdkinds->currentRow(), 0);
    cmdpractise->setEnabled(practiseAllowed_ && kind &&
                            !kind->data(Qt::UserRole).toString().isEmpty());
}

void frmProgress::cmdpractise_Click()
{
    const QTableWidgetItem* kind = grdkinds->item(grdkinds->currentRow(), 0);
    if (!cmdpractise->isEnabled() || !kind)
        return;
    Q_EMIT practiseKindAsked(kind->data(Qt::UserRole).toString());
}

const BankNotes& frmProgress::notes()
{
    // Notes that cannot be read leave the questions without kinds and explanations, and the
    // window says why once, below the rest.
    const BankNotes::Loaded& loaded = notes_.get();
    if (!notesTold_ && !loaded.warning.isEmpty()) {
        notesTold_ = true;
        lblnote->setText(lblnote->isHidden() ? loaded.warning
                                             : lblnote->text() + u'\n' + loaded.warning);
        lblnote->show();
    }
    return loaded.notes;
}

void frmProgress::showQuestions(const resultslog::Entry& test)
{
    BankFile bank;
    const Result<void> opened = bank.openToRead();
    // The three slowest questions of a test of four or more with their times, those above the
    // test's average, are marked.
    QList<int> times;
    for (const resultslog::Question& q : test.shown) {
        if (q.time >= 0)
            times.append(q.time);
    }
    std::sort(times.begin(), times.end(), std::greater<>());
    const double average = progress::averageTime(test);
    const int slow = times.size() >= 4 ? times[2] : std::numeric_limits<int>::max();
    QList<QTreeWidgetItem*> rows;
    for (qsizetype i = 0; i < test.shown.size(); ++i) {
        const resultslog::Question& q = test.shown[i];
        const Asked asked = lookUp(bank, opened.error(), q);
        const QuestionRecord* record = asked.record ? &*asked.record : nullptr;
        // A note is shown only with the question it was written for.
        const BankNote note = record ? notes().noteFor(q.recnum, *record) : BankNote();
        auto* row = new QTreeWidgetItem;
        row->setText(Number, QString::number(i + 1));
        row->setData(Number, Qt::UserRole, wholeQuestion(int(i + 1), q, asked, note));
        row->setText(Question, record ? oneLine(record->question()) : asked.why);
        row->setToolTip(Question, row->text(Question));
        row->setText(Kind, note.kind);
        row->setText(Chosen, choiceText(q.chosen, record));
        row->setText(Correct, choiceText(q.answer, record));
        row->setText(Mark, markOf(q));
        if (q.time >= 0) {
            const bool slowest = q.time >= slow && q.time > average;
            row->setText(Seconds, slowest ? QStringLiteral("%1 s (slow)").arg(q.time)
                                          : QStringLiteral("%1 s").arg(q.time));
            QFont font = row->font(Seconds);
            font.setBold(slowest);
            row->setFont(Seconds, font);
        }
        rows.append(row);
    }
    bank.close();
    lstquestions->clear();
    lstquestions->addTopLevelItems(rows);
    if (rows.isEmpty())
        txtquestion->clear();
    else
        lstquestions->setCurrentItem(rows.first());
}

void frmProgress::cmdsaveplot_Click()
{
    // Held by a guard: should this window go while the dialog is open, the dialog goes with it.
    QPointer<QFileDialog> dialog =
        new QFileDialog(this, QStringLiteral("Save Plot"), QStringLiteral("progress.png"),
                        QStringLiteral("PNG picture (*.png);;SVG picture (*.svg)"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(QStringLiteral("png"));
    connect(dialog, &QFileDialog::filterSelected, dialog, [dialog](const QString& filter) {
        dialog->setDefaultSuffix(filter.contains(QStringLiteral("svg")) ? QStringLiteral("svg")
                                                                        : QStringLiteral("png"));
    });
    const bool accepted = dialog->exec() == QDialog::Accepted;
    if (!dialog)
        return;
    const QStringList chosen = dialog->selectedFiles();
    delete dialog;
    if (!accepted || chosen.isEmpty())
        return;
    const QString path = chosen.first();
    if (!historyplot::pictureFor(path)) {
        warn(QStringLiteral("A plot is saved as a PNG or SVG picture: give a name ending in .png "
                            "or .svg."));
        return;
    }
    const Result<QByteArray> picture = historyplot::picture(plotted_, path);
    const Result<void> saved = picture.ok() ? safewrite::writeWhole(path, picture.value())
                                            : Result<void>(Failure{picture.error()});
    if (!saved.ok())
        warn(saved.error() + QStringLiteral(" The plot is not saved."));
}

void frmProgress::keyPressEvent(QKeyEvent* event)
{
    // Esc that no part of the window took for its own (an open list closes itself) closes it.
    if (event->matches(QKeySequence::Cancel)) {
        cmdclose_Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmProgress::cmdclose_Click()
{
    close();
}
