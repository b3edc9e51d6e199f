#include "bankio/CommandTable.h"

#include "bankio/BankCommands.h"
#include "bankio/HistoryCommand.h"
#include "bankio/MistakesCommand.h"
#include "questionfiles/Formats.h"

#include "bank/BankFile.h"

#include <QByteArrayView>

namespace banktool {

const QList<Option>& options()
{
    static const QList<Option> table = {
        {QStringLiteral("output"), QStringLiteral("o"), QStringLiteral("FILE")},
        {QStringLiteral("format"), {}, formatNames(QStringLiteral("|"), QStringLiteral("|"))},
        {QStringLiteral("cut"), {}, {}},
        {QStringLiteral("strict"), {}, {}},
        {QStringLiteral("append"), {}, {}},
        {QStringLiteral("flatten"), {}, {}},
        {QStringLiteral("plot"), {}, QStringLiteral("FILE.svg|FILE.png"), true},
        {QStringLiteral("last"), {}, QStringLiteral("N")},
        {QStringLiteral("kinds"), {}, QStringLiteral("BANK")},
    };
    return table;
}

bool drawsPictures(const char* argument)
{
    for (const Option& option : options()) {
        if (option.drawsPictures &&
            QByteArrayView(argument).startsWith(QByteArray("--") + option.name.toLatin1()))
            return true;
    }
    return false;
}

const QList<Command>& commands()
{
    static const QList<Command> table = {
        {QStringLiteral("import"),
         1,
         -1,
         QStringLiteral("files"),
         QStringLiteral("FILE..."),
         QStringLiteral("the file"),
         QStringLiteral("BANK"),
         {QStringLiteral("format"), QStringLiteral("cut"), QStringLiteral("append"),
          QStringLiteral("strict")},
         nullptr,
         importCommand,
         QStringLiteral(
             "Reads the questions of every FILE and writes them to BANK, replacing it, or with\n"
             "--append adding them in place after its last record. A question a bank cannot\n"
             "hold (true/false, matching, short answer, numeric, essay, other than five choices,\n"
             "several right answers, a text longer than its field) is left out and named with\n"
             "its line; --strict refuses the import instead. --cut cuts a long text to fit and\n"
             "lists each text it cut. A file whose syntax is broken, or an import that keeps no\n"
             "question, writes nothing. FILE - reads standard input (give --format). Kinds and\n"
             "explanations go to the bank's notes file, BANK.notes.csv beside it.")},
        {QStringLiteral("export"),
         1,
         1,
         QStringLiteral("one bank"),
         QStringLiteral("BANK"),
         QStringLiteral("the file"),
         QStringLiteral("FILE"),
         {QStringLiteral("format"), QStringLiteral("flatten")},
         nullptr,
         exportCommand,
         QStringLiteral(
             "Writes the bank's questions to FILE; -o - writes them to standard output (give\n"
             "--format). Aiken holds each text on one line: a text with line breaks is refused\n"
             "unless --flatten joins its lines with spaces. A text that Aiken or GIFT cannot "
             "carry\n"
             "exactly (a blank at either end) is refused, naming its record; CSV carries every "
             "text\n"
             "that check passes. CSV and GIFT carry the kinds and explanations of the bank's "
             "notes\n"
             "file; Aiken holds neither.")},
        {QStringLiteral("list"),
         1,
         1,
         QStringLiteral("one bank"),
         QStringLiteral("BANK"),
         {},
         {},
         {},
         nullptr,
         listCommand,
         QStringLiteral(
             "Prints each record's number, its answer, its kind (when the questions have kinds) "
             "and\n"
             "the first line of its question.")},
        {QStringLiteral("check"),
         1,
         1,
         QStringLiteral("one bank"),
         QStringLiteral("BANK"),
         {},
         {},
         {},
         nullptr,
         checkCommand,
         QStringLiteral("Reports answers other than a to e, empty questions and choices, questions "
                        "that stand\n"
                        "twice, records past %1 and a piece shorter than a record at the end; in "
                        "the\n"
                        "notes file, rows that cannot be read, stale notes and notes of records "
                        "the bank\n"
                        "does not have.")
             .arg(BankFile::kMaxRecords)},
        {QStringLiteral("history"),
         0,
         1,
         QStringLiteral("one results log"),
         QStringLiteral("[LOG]"),
         {},
         {},
         {QStringLiteral("plot"), QStringLiteral("kinds")},
         checkHistoryUsage,
         historyCommand,
         QStringLiteral(
             "Prints the tests of Lexamo's results log LOG (results.csv when not given): date, "
             "kind\n"
             "of test, how each ended, score, time used and, where the log keeps them, the "
             "seconds a\n"
             "question took on average (s/q); then the tests taken, the average and best percent "
             "of\n"
             "the last 10 and of all, and the trend. A line that cannot be read is reported and\n"
             "skipped. --plot draws the percent of each test over time with a moving average.\n"
             "--kinds adds, by the kinds that BANK's notes give its questions, the questions "
             "asked\n"
             "and answered right over all tests and over the last 30 days, weakest first, and "
             "the\n"
             "seconds a question of each kind took on average.")},
        {QStringLiteral("mistakes"),
         2,
         2,
         QStringLiteral("a results log and a bank"),
         QStringLiteral("LOG BANK"),
         QStringLiteral("the bank"),
         QStringLiteral("NEWBANK"),
         {QStringLiteral("last")},
         checkMistakesUsage,
         mistakesCommand,
         QStringLiteral(
             "Writes to NEWBANK the questions of BANK that the tests in LOG (or its last N tests)\n"
             "answered wrongly or left unanswered, each once, the most often missed first. A "
             "record\n"
             "number that BANK does not hold is skipped with a warning; a line of LOG that cannot "
             "be\n"
             "read stops it.")},
    };
    return table;
}

const Command* commandNamed(const QString& name)
{
    for (const Command& command : commands()) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

bool takes(const Command& command, const QString& option)
{
    for (const Option& o : options()) {
        if (option != o.name && option != o.letter)
            continue;
        return o.name == QLatin1String("output") ? !command.writes.isEmpty()
                                                 : command.options.contains(o.name);
    }
    return false;
}

QString commandHelp(const Command& command)
{
    QString usage = QStringLiteral("  ") + command.name;
    if (!command.filesHelp.isEmpty())
        usage += u' ' + command.filesHelp;
    if (!command.writes.isEmpty())
        usage += QStringLiteral(" -o ") + command.outputHelp;
    for (const QString& name : command.options) {
        for (const Option& option : options()) {
            if (option.name != name)
                continue;
            usage += QStringLiteral(" [--") + name;
            if (!option.value.isEmpty())
                usage += u' ' + option.value;
            usage += u']';
        }
    }
    usage += u'\n';
    for (const QString& line : command.help.split(u'\n'))
        usage += QStringLiteral("      ") + line + u'\n';
    return usage;
}

} // namespace banktool
