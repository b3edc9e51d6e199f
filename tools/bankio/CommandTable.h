#pragma once

#include "base/Result.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>

// lexamo-bank's commands and options, one row each: the command line is checked against them
// and --help is made from them.
namespace banktool {

struct Invocation;

// An option: --name, or -letter where it has one; value names its value in --help, and is empty
// for an option that takes none.
struct Option {
    QString name;
    QString letter;
    QString value;
    bool drawsPictures = false; // needs fonts, and so a QGuiApplication
};
const QList<Option>& options();
// True when the argument gives an option that draws a picture.
bool drawsPictures(const char* argument);

struct Command {
    QString name;
    // How many files it takes (most < 0: any number), and how its usage error and --help say
    // them: "import takes files", "import FILE...".
    int fewestFiles = 0;
    int mostFiles = 0;
    QString files;
    QString filesHelp;
    // What it writes to the file that -o names, as in "mistakes needs -o and the bank to write",
    // and how --help names that file; empty for a command that writes nothing and takes no -o.
    QString writes;
    QString outputHelp;
    // The options it takes besides -o, in the order --help shows them.
    QStringList options;
    // What more its command line must be (its options' values); null when nothing more.
    Result<void> (*check)(const Invocation& call) = nullptr;
    int (*run)(const Invocation& call, QTextStream& out, QTextStream& err) = nullptr;
    QString help; // the lines under its usage in --help
};
const QList<Command>& commands();
// The command of that name; null for none.
const Command* commandNamed(const QString& name);
// True when the command takes the option of that name or letter (-o when it writes).
bool takes(const Command& command, const QString& option);

// The command's usage line and the lines under it, as --help shows them.
QString commandHelp(const Command& command);

} // namespace banktool
