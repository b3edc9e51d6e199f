#include "bankio/Invocation.h"

#include "bankio/CommandTable.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace banktool {

namespace {

// The number --last gives: 0 when not given, -1 when it is not a whole number above 0.
int lastTests(const QString& value)
{
    if (value.isNull())
        return 0;
    bool ok = false;
    const int n = value.toInt(&ok);
    return ok && n > 0 && !value.startsWith(u'+') ? n : -1;
}

// Ok when the command takes every option given and --format names a format.
Result<void> checkOptions(const Invocation& call, const QCommandLineParser& parser)
{
    const Command& command = *call.command;
    for (const QString& name : parser.optionNames()) {
        if (!takes(command, name)) {
            const QString dashes = name.size() > 1 ? QStringLiteral("--") : QStringLiteral("-");
            return Failure{QStringLiteral("%1 does not take %2").arg(command.name, dashes + name)};
        }
    }
    if (parser.isSet(QStringLiteral("format")) && !call.format)
        return Failure{QStringLiteral("--format is %1")
                           .arg(formatNames(QStringLiteral(", "), QStringLiteral(" or ")))};
    return {};
}

// Ok when the command has the files and options it needs.
Result<void> checkUsage(const Invocation& call, const QCommandLineParser& parser)
{
    const Command& command = *call.command;
    const qsizetype files = call.files.size();
    if (files < command.fewestFiles || (command.mostFiles >= 0 && files > command.mostFiles))
        return Failure{QStringLiteral("%1 takes %2").arg(command.name, command.files)};
    if (!command.writes.isEmpty() && call.output.isEmpty())
        return Failure{
            QStringLiteral("%1 needs -o and %2 to write").arg(command.name, command.writes)};
    if (command.check) {
        if (Result<void> checked = command.check(call); !checked.ok())
            return checked;
    }
    return checkOptions(call, parser);
}

} // namespace

Result<Invocation> parseInvocation(const QStringList& arguments)
{
    Invocation call;
    QCommandLineParser parser;
    for (const Option& option : options()) {
        const QStringList names = option.letter.isEmpty() ? QStringList{option.name}
                                                          : QStringList{option.letter, option.name};
        parser.addOption(QCommandLineOption(names, QString(), option.value));
    }
    parser.addOptions({{{"h", "help"}, ""}, {"version", ""}});
    if (!parser.parse(QStringList{QStringLiteral("lexamo-bank")} + arguments))
        return Failure{parser.errorText()};
    call.help = parser.isSet(QStringLiteral("help"));
    call.version = parser.isSet(QStringLiteral("version"));
    const QStringList positional = parser.positionalArguments();
    if (call.help || call.version)
        return call;
    if (positional.isEmpty())
        return Failure{QStringLiteral("no command given")};
    call.command = commandNamed(positional.first());
    if (!call.command)
        return Failure{QStringLiteral("unknown command \"%1\"").arg(positional.first())};
    call.files = positional.mid(1);
    call.output = parser.value(QStringLiteral("output"));
    call.format = formatNamed(parser.value(QStringLiteral("format")));
    call.cut = parser.isSet(QStringLiteral("cut"));
    call.strict = parser.isSet(QStringLiteral("strict"));
    call.append = parser.isSet(QStringLiteral("append"));
    call.flatten = parser.isSet(QStringLiteral("flatten"));
    call.plot = parser.value(QStringLiteral("plot"));
    call.kinds = parser.value(QStringLiteral("kinds"));
    call.last = lastTests(parser.value(QStringLiteral("last")));
    if (const Result<void> usage = checkUsage(call, parser); !usage.ok())
        return Failure{usage.error()};
    return call;
}

std::optional<Format> formatOf(const QString& path, const Invocation& call)
{
    return call.format ? call.format : formatNamed(QFileInfo(path).suffix());
}

} // namespace banktool
