#include "app/frmMain.h"

#include "app/frmImport.h"
#include "bank/BankFile.h"
#include "editor/frmverques.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"
#include "progress/frmProgress.h"
#include "questionfiles/Formats.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>

// The main window's handler of Tools > Import Questions: question files from elsewhere added to
// the bank Lexamo works on.

using questionfiles::Format;
using questionfiles::FormatRow;

namespace {

QString bankPath()
{
    return QString::fromLatin1(BankFile::kFileName);
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
