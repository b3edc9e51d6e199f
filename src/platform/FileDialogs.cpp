#include "platform/FileDialogs.h"

#include "platform/MessageBoxes.h"
#include "platform/Services.h"

#include <QFileDialog>
#include <QPointer>
#include <QRegularExpression>

namespace platform {

namespace {

// The ending of a filter's first pattern, "csv" for "CSV files (*.csv)"; none for "*".
QString firstEnding(const QString& filter)
{
    static const QRegularExpression pattern(QStringLiteral("\\(\\*\\.([^ )]+)"));
    return pattern.match(filter).captured(1);
}

} // namespace

ChosenFiles QtFileDialogs::choose(const FileDialog& dialog)
{
    // Held by a guard: should the owner go while the dialog is open, the dialog goes with it.
    QPointer<QFileDialog> shown = new QFileDialog(boxOwner(), dialog.title);
    shown->setNameFilters(dialog.filters);
    if (dialog.access == FileAccess::SaveFile) {
        shown->setAcceptMode(QFileDialog::AcceptSave);
        shown->setFileMode(QFileDialog::AnyFile);
        shown->selectFile(dialog.fileName);
        shown->setDefaultSuffix(firstEnding(dialog.filters.value(0)));
        QObject::connect(shown, &QFileDialog::filterSelected, shown,
                         [shown](const QString& f) { shown->setDefaultSuffix(firstEnding(f)); });
    } else {
        shown->setFileMode(QFileDialog::ExistingFiles);
    }
    const bool accepted = shown->exec() == QDialog::Accepted;
    if (!shown)
        return {};
    ChosenFiles chosen{accepted ? shown->selectedFiles() : QStringList(),
                       shown->selectedNameFilter()};
    delete shown;
    return chosen;
}

ChosenFiles chooseFiles(const FileDialog& dialog)
{
    return services().fileDialogs->choose(dialog);
}

} // namespace platform
