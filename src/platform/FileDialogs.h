#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// What a file dialog asks for: files to read (one or several), or a file to write.
enum class FileAccess { OpenFiles, SaveFile };

struct FileDialog {
    FileAccess access = FileAccess::OpenFiles;
    QString title;
    // Filters as the dialog lists them, "CSV files (*.csv)"; the first is chosen at first.
    QStringList filters;
    // For a file to write: the name offered. A filter chosen without an ending typed gives the
    // file the ending of the filter's first pattern.
    QString fileName;

    bool operator==(const FileDialog&) const = default;
};

// What the user chose: the files (absolute paths; none when the dialog was cancelled) and the
// filter in force when it was closed.
struct ChosenFiles {
    QStringList files;
    QString filter;

    bool isEmpty() const { return files.isEmpty(); }
};

// Shows modal file dialogs and gives what was chosen in them.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual ChosenFiles choose(const FileDialog& dialog) = 0;
};

// Real file dialogs (Qt's, or the desktop's own), modal over boxOwner().
class QtFileDialogs final : public FileDialogs {
public:
    ChosenFiles choose(const FileDialog& dialog) override;
};

// Shows a file dialog through the installed seam.
ChosenFiles chooseFiles(const FileDialog& dialog);

} // namespace platform
