#include "app/frmImport.h"

#include "bank/BankFile.h"
#include "base/Words.h"
#include "platform/MessageBoxes.h"
#include "questionfiles/BankFiles.h"
#include "questionfiles/Importer.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* captionFor(QWidget* buddy, const char* name)
{
    auto* label = new QLabel;
    label->setObjectName(QString::fromLatin1(name));
    label->setBuddy(buddy);
    return label;
}

// A list of problems, one a row, to read and select but not to change.
QListWidget* problemList(const char* name, const QString& accessibleName)
{
    auto* list = new QListWidget;
    list->setObjectName(QString::fromLatin1(name));
    list->setAccessibleName(accessibleName);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A problem reads whole, over as many lines as it takes.
    list->setWordWrap(true);
    list->setResizeMode(QListView::Adjust);
    list->setLayoutMode(QListView::Batched); // thousands of rows keep the window responsive
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setAlternatingRowColors(true); // where one problem ends and the next begins
    return list;
}

// The rows of a list, each with its whole text as its tip, for a row wider than the list.
void fill(QListWidget* list, const QStringList& rows)
{
    list->addItems(rows);
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setToolTip(list->item(i)->text());
}

// The questions of the file at path, after kept records. A file of an ending no format has is
// refused here, in the window's words: its reader would ask for the format by name, as
// lexamo-bank takes it.
questionfiles::FileImport importOne(const QString& path, qint64 kept)
{
    if (questionfiles::formatNamed(QFileInfo(path).suffix()))
        return questionfiles::importFile(path, std::nullopt, false, kept);
    questionfiles::FileImport refused;
    refused.name = path;
    refused.refused.append({0, QStringLiteral("the format cannot be told from the file's ending: "
                                              "Lexamo reads %1")
                                   .arg(questionfiles::formatEndings())});
    return refused;
}

} // namespace

frmImport::frmImport(const QString& bankPath, const QStringList& files, QWidget* owner)
    : QDialog(owner), bankPath_(bankPath)
{
    setObjectName(QStringLiteral("frmImport"));
    setWindowTitle(QStringLiteral("Import Questions"));
    readFiles(files);
    buildControls();
    showFindings();
}

void frmImport::readFiles(const QStringList& files)
{
    // The bank's questions come first: a question past the last record a bank holds is named.
    BankFile bank;
    bankMissing_ = !QFileInfo::exists(bankPath_);
    const qint64 kept = bank.openToRead(bankPath_).ok() ? bank.recordCount() : 0;
    bank.close();
    for (const QString& path : files) {
        const QString name = QFileInfo(path).fileName();
        const questionfiles::FileImport file = importOne(path, kept + imported_.records.size());
        imported_.records += file.records.records;
        imported_.notes += file.records.notes;
        for (const ParseError& problem : file.leftOut)
            leftOut_.append(questionfiles::located(name, problem));
        for (const ParseError& change : file.changed)
            kindsOff_.append(questionfiles::located(name, change));
        for (const ParseError& problem : file.refused)
            refused_.append(questionfiles::located(name, problem));
        refusedFiles_ += file.isRefused() ? 1 : 0;
    }
}

void frmImport::buildControls()
{
    lblsummary = new QLabel;
    lblsummary->setObjectName(QStringLiteral("lblsummary"));
    lblsummary->setTextFormat(Qt::PlainText);
    lblsummary->setWordWrap(true);
    lstleftout = problemList("lstleftout", QStringLiteral("Questions left out"));
    lblleftout = captionFor(lstleftout, "lblleftout");
    lstkinds = problemList("lstkinds", QStringLiteral("Kinds left off"));
    lblkinds = captionFor(lstkinds, "lblkinds");
    lstrefused = problemList("lstrefused", QStringLiteral("Files refused whole"));
    lblrefused = captionFor(lstrefused, "lblrefused");
    cmdadd = new QPushButton(QStringLiteral("&Add to Bank"));
    cmdadd->setObjectName(QStringLiteral("cmdadd"));
    cmdcancel = new QPushButton(QStringLiteral("Cancel"));
    cmdcancel->setObjectName(QStringLiteral("cmdcancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdadd);
    buttons->addWidget(cmdcancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblsummary);
    layout->addWidget(lblleftout);
    layout->addWidget(lstleftout, 1);
    layout->addWidget(lblkinds);
    layout->addWidget(lstkinds, 1);
    layout->addWidget(lblrefused);
    layout->addWidget(lstrefused, 1);
    layout->addLayout(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 80);

    connect(cmdadd, &QAbstractButton::clicked, this, &frmImport::cmdadd_Click);
    connect(cmdcancel, &QAbstractButton::clicked, this, &frmImport::cmdcancel_Click);
}

void frmImport::showFindings()
{
    const qsizetype count = imported_.records.size();
    QString summary = count == 0 ? QStringLiteral("No question can be added to the bank.")
                                 : QStringLiteral("%1 will be added to the bank.")
                                       .arg(counted(count, QLatin1StringView("question")));
    if (count > 0 && bankMissing_)
        summary += QStringLiteral(" There is no bank yet: a new one, %1, will hold them.")
                       .arg(QFileInfo(bankPath_).fileName());
    lblsummary->setText(summary);
    lblleftout->setText(QStringLiteral("&Left out: %1")
                            .arg(counted(leftOut_.size(), QLatin1StringView("question"))));
    lblrefused->setText(QStringLiteral("&Refused whole: %1")
                            .arg(counted(refusedFiles_, QLatin1StringView("file"))));
    lblkinds->setText(QStringLiteral("&Kinds left off: %1")
                          .arg(counted(kindsOff_.size(), QLatin1StringView("kind"))));
    fill(lstleftout, leftOut_);
    fill(lstkinds, kindsOff_);
    fill(lstrefused, refused_);
    for (QWidget* part : {static_cast<QWidget*>(lblleftout), static_cast<QWidget*>(lstleftout)})
        part->setVisible(!leftOut_.isEmpty());
    for (QWidget* part : {static_cast<QWidget*>(lblkinds), static_cast<QWidget*>(lstkinds)})
        part->setVisible(!kindsOff_.isEmpty());
    for (QWidget* part : {static_cast<QWidget*>(lblrefused), static_cast<QWidget*>(lstrefused)})
        part->setVisible(!refused_.isEmpty());
    // Return adds what can be added, or else closes the window.
    cmdadd->setEnabled(count > 0);
    QPushButton* byDefault = count > 0 ? cmdadd : cmdcancel;
    byDefault->setDefault(true);
    byDefault->setFocus();
}

void frmImport::cmdadd_Click()
{
    // Added under the bank's lock, after whatever the bank holds by then; a bank still missing
    // is made.
    const Result<bankfiles::Written> written = bankfiles::appendRecords(bankPath_, imported_);
    if (!written.ok()) {
        platform::msgBox(
            QStringLiteral("The questions could not be added. %1").arg(written.error()),
            platform::Buttons::Ok, platform::Icon::Exclamation);
        return;
    }
    const qsizetype count = imported_.records.size();
    added_ = imported_;
    if (!written.value().notesProblem.isEmpty())
        added_.notes.clear();
    firstAdded_ = written.value().total - count + 1;
    const QString done = QStringLiteral("%1 %2 added to the bank; it now holds %3")
                             .arg(counted(count, QLatin1StringView("question")))
                             .arg(count == 1 ? QStringLiteral("was") : QStringLiteral("were"))
                             .arg(written.value().total);
    if (written.value().notesProblem.isEmpty())
        platform::msgBox(done + u'.');
    else
        platform::msgBox(QStringLiteral("%1, but without their kinds and explanations. %2")
                             .arg(done, written.value().notesProblem),
                         platform::Buttons::Ok, platform::Icon::Exclamation);
    accept();
}

void frmImport::cmdcancel_Click()
{
    reject();
}
