#include "app/frmMain.h"

#include "app/frmImport.h"
#include "bank/BankFile.h"
#include "bank/BankNotes.h"
#include "base/Words.h"
#include "editor/frmverques.h"
#include "files/RegularFile.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"
#include "progress/frmProgress.h"
#include "questionfiles/BankFiles.h"
#include "questionfiles/Formats.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>

// The main window's handlers of Tools > Import Questions and Export Questions: question files
// from elsewhere added to the bank Lexamo works on, and the bank written as such a file.

using questionfiles::Format;
using questionfiles::FormatRow;

namespace {

QString bankPath()
{
    return QString::fromLatin1(BankFile::kFileName);
}

void warn(const QString& text)
{
    platform::msgBox(text, platform::Buttons::Ok, platform::Icon::Exclamation);
}

// "CSV files (*.csv)". Learning platforms give their GIFT exports the ending .txt, so a GIFT
// file to read may end in either.
QString filterOf(const FormatRow& row, bool reading)
{
    QString patterns = QStringLiteral("*.") + QLatin1String(row.ending);
    if (reading && row.format == Format::Gift)
        patterns += QStringLiteral(" *.txt");
    return QStringLiteral("%1 files (%2)").arg(QLatin1String(row.title), patterns);
}

QStringList importFilters()
{
    QStringList endings;
    QStringList filters;
    for (const FormatRow& row : questionfiles::formats()) {
        const QString ending = QStringLiteral("*.") + QLatin1String(row.ending);
        if (!endings.contains(ending))
            endings.append(ending);
        filters.append(filterOf(row, true));
    }
    return QStringList{QStringLiteral("Question files (%1)").arg(endings.join(u' '))} + filters +
           QStringList{QStringLiteral("All files (*)")};
}

QStringList exportFilters()
{
    QStringList filters;
    for (const FormatRow& row : questionfiles::formats())
        filters.append(filterOf(row, false));
    return filters;
}

struct ExportTarget {
    QString path;
    Format format;
};

// The file's ending tells the format; a file of another ending is written in the format of the
// filter chosen, and a name without an ending gets the format's.
ExportTarget exportTarget(const platform::ChosenFiles& chosen)
{
    QString path = chosen.files.first();
    const QString ending = QFileInfo(path).suffix();
    if (const std::optional<Format> told = questionfiles::formatNamed(ending))
        return {path, *told};
    const FormatRow* filtered = &questionfiles::formats().front();
    for (const FormatRow& row : questionfiles::formats()) {
        if (chosen.filter == filterOf(row, false))
            filtered = &row;
    }
    if (ending.isEmpty())
        path += u'.' + QLatin1String(filtered->ending);
    return {path, filtered->format};
}

// What an export wrote: the number of questions, and what the user should know of the file
// beside it (notes left out, or a notes file that could not be read whole).
struct Exported {
    qsizetype count = 0;
    QString told;
};

// The bank's records with their notes, as an export writes them; notesWarning gets why a notes
// file could not be read whole.
Result<NotedRecords> bankToExport(QString* notesWarning)
{
    const Result<bankfiles::BankContents> read = bankfiles::readBank(bankPath());
    if (!read.ok())
        return Failure{read.error()};
    const QList<QuestionRecord>& records = read.value().records;
    if (const qint64 past = read.value().recordsPast; past > 0) {
        return Failure{QStringLiteral("The bank holds %1 records, more than the %2 a bank can "
                                      "hold: the file could not be imported again.")
                           .arg(records.size() + past)
                           .arg(BankFile::kMaxRecords)};
    }
    return NotedRecords{records, bankfiles::notesOf(bankPath(), records, notesWarning)};
}

// Writes the bank's records with their notes to the target, or leaves it as it was and says
// why.
Result<Exported> exportBank(const ExportTarget& target)
{
    for (const QString& own : {bankPath(), BankNotes::pathFor(bankPath())}) {
        if (regularfile::sameFile(own, target.path))
            return Failure{QStringLiteral("%1 is a file of the bank itself: choose another file.")
                               .arg(QDir::toNativeSeparators(target.path))};
    }
    QString notesWarning;
    const Result<NotedRecords> noted = bankToExport(&notesWarning);
    if (!noted.ok())
        return Failure{noted.error()};
    const FormatRow& row = questionfiles::formatRow(target.format);
    // A format that holds a text on one line gets its line breaks as spaces.
    const Result<QByteArray> bytes =
        questionfiles::exportRecords(noted.value(), target.format, true);
    if (!bytes.ok())
        return Failure{QStringLiteral("The bank cannot be exported as %1: %2.")
                           .arg(QLatin1String(row.title), bytes.error())};
    if (const Result<void> written = bankfiles::writeFile(target.path, bytes.value());
        !written.ok())
        return Failure{written.error()};
    Exported done{noted.value().records.size(), {}};
    if (noted.value().hasNotes() && !row.carriesNotes)
        done.told += QStringLiteral(" The kinds and explanations are left out: %1 files hold "
                                    "neither.")
                         .arg(QLatin1String(row.title));
    if (!notesWarning.isEmpty())
        done.told += u' ' + notesWarning;
    return done;
}

} // namespace

void frmMain::mnuImport_Click()
{
    const platform::ChosenFiles chosen = platform::chooseFiles(
        {platform::FileAccess::OpenFiles, QStringLiteral("Import Questions"), importFilters(), {}});
    if (chosen.isEmpty())
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    // Held by a guard: should the main window go while the import window is open, that goes too.
    QPointer<frmImport> window = new frmImport(bankPath(), chosen.files, this);
    QGuiApplication::restoreOverrideCursor();
    const bool added = window->exec() == QDialog::Accepted;
    if (!window)
        return;
    // The open windows that show the bank reach the questions added.
    if (added && editor)
        editor->recordsAdded(window->firstAdded(), window->added().records, window->added().notes);
    if (added && progress)
        progress->reload();
    delete window;
}

void frmMain::mnuExport_Click()
{
    // A bank without questions has nothing to export: said before a file is asked for.
    BankFile bank;
    if (const Result<void> opened = bank.openToRead(bankPath()); !opened.ok()) {
        warn(opened.error());
        return;
    }
    const bool empty = bank.recordCount() == 0;
    bank.close();
    if (empty) {
        warn(QStringLiteral("The question bank holds no question to export."));
        return;
    }
    const platform::ChosenFiles chosen =
        platform::chooseFiles({platform::FileAccess::SaveFile, QStringLiteral("Export Questions"),
                               exportFilters(), QStringLiteral("verbal.csv")});
    if (chosen.isEmpty())
        return;
    const ExportTarget target = exportTarget(chosen);
    const Result<Exported> exported = exportBank(target);
    if (!exported.ok()) {
        warn(exported.error() + QStringLiteral(" Nothing was exported."));
        return;
    }
    const qsizetype written = exported.value().count;
    platform::msgBox(QStringLiteral("%1 %2 exported to %3.%4")
                         .arg(counted(written, QLatin1StringView("question")),
                              written == 1 ? QStringLiteral("was") : QStringLiteral("were"),
                              QDir::toNativeSeparators(target.path), exported.value().told));
}
