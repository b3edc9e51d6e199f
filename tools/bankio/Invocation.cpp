#include "bankio/Invocation.h"

#include "bankio/HistoryCommand.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace banktool {

namespace {

Format formatNamed(const QString& name)
{
    const QString n = name.toLower();
    if (n == QLatin1String("csv"))
        return Format::Csv;
    if (n == QLatin1String("aiken") || n == QLatin1String("txt"))
        return Format::Aiken;
    if (n == QLatin1String("gift"))
        return Format::Gift;
    return Format::Unknown;
}

// Ok when the command takes every option given and --format names a format.
Result<void> checkOptions(const Invocation& call, const QCommandLineParser& parser)
{
    const QStringList allowed =
        call.command == QLatin1String("import")   ? QStringList{"output", "format", "cut", "append"}
        : call.command == QLatin1String("export") ? QStringList{"output", "format", "flatten"}
                                                  : resultsOptions(call.command);
    for (const QString& name : parser.optionNames()) {
        const QString option = name == QLatin1String("o") ? QStringLiteral("output") : name;
        if (!allowed.contains(option)) {
            const QString dashes = name.size() > 1 ? QStringLiteral("--") : QStringLiteral("-");
            return Failure{QStringLiteral("%1 does not take %2").arg(call.command, dashes + name)};
        }
    }
    if (parser.isSet(QStringLiteral("format")) && call.format == Format::Unknown)
        return Failure{QStringLiteral("--format is csv, aiken or gift")};
    return {};
}

// Ok when the command is known and has the files and options it needs.
Result<void> checkUsage(const Invocation& call, const QCommandLineParser& parser)
{
    if (isResultsCommand(call.command)) {
        const Result<void> usage = checkResultsUsage(call);
        return usage.ok() ? checkOptions(call, parser) : usage;
    }
    const QStringList known = {QStringLiteral("import"), QStringLiteral("export"),
                               QStringLiteral("list"), QStringLiteral("check")};
    if (!known.contains(call.command))
        return Failure{QStringLiteral("unknown command \"%1\"").arg(call.command)};
    const bool importing = call.command == QLatin1String("import");
    if (call.files.isEmpty() || (!importing && call.files.size() > 1)) {
        return Failure{QStringLiteral("%1 takes %2")
                           .arg(call.command,
                                importing ? QStringLiteral("files") : QStringLiteral("one bank"))};
    }
    const bool writes = importing || call.command == QLatin1String("export");
    if (writes && call.output.isEmpty())
        return Failure{QStringLiteral("%1 needs -o and the file to write").arg(call.command)};
    return checkOptions(call, parser);
}

} // namespace

Result<Invocation> parseInvocation(const QStringList& arguments)
{
    Invocation call;
    QCommandLineParser parser;
    parser.addOptions({{{"o", "output"}, "", "file"},
                       {"format", "", "format"},
                       {"cut", ""},
                       {"append", ""},
                       {"flatten", ""},
                       {"plot", "", "file"},
                       {"last", "", "tests"},
                       {{"h", "help"}, ""},
                       {"version", ""}});
    if (!parser.parse(QStringList{QStringLiteral("lexamo-bank")} + arguments))
        return Failure{parser.errorText()};
    call.help = parser.isSet(QStringLiteral("help"));
    call.version = parser.isSet(QStringLiteral("version"));
    const QStringList positional = parser.positionalArguments();
    if (call.help || call.version)
        return call;
    if (positional.isEmpty())
        return Failure{QStringLiteral("no command given")};
    call.command = positional.first();
    call.files = positional.mid(1);
    call.output = parser.value(QStringLiteral("output"));
    call.format = formatNamed(parser.value(QStringLiteral("format")));
    call.cut = parser.isSet(QStringLiteral("cut"));
    call.append = parser.isSet(QStringLiteral("append"));
    call.flatten = parser.isSet(QStringLiteral("flatten"));
    call.plot = parser.value(QStringLiteral("plot"));
    call.last = lastTests(parser.value(QStringLiteral("last")));
    if (const Result<void> usage = checkUsage(call, parser); !usage.ok())
        return Failure{usage.error()};
    return call;
}

Format formatOf(const QString& path, const Invocation& call)
{
    return call.format != Format::Unknown ? call.format : formatNamed(QFileInfo(path).suffix());
}

} // namespace banktool
