#include "bankio/BankTool.h"

#include "bankio/BankCommands.h"
#include "bankio/HistoryCommand.h"
#include "bankio/Invocation.h"
#include "bankio/MistakesCommand.h"

namespace banktool {

int run(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    const Result<Invocation> parsed = parseInvocation(arguments);
    if (!parsed.ok()) {
        err << "lexamo-bank: " << parsed.error() << "\nTry \"lexamo-bank --help\".\n";
        return WrongUsage;
    }
    const Invocation& call = parsed.value();
    if (call.help) {
        out << helpText();
        return Done;
    }
    if (call.version) {
        out << versionText();
        return Done;
    }
    if (call.command == QLatin1String("import"))
        return importCommand(call, out, err);
    if (call.command == QLatin1String("export"))
        return exportCommand(call, out, err);
    if (call.command == QLatin1String("list"))
        return listCommand(call, out, err);
    if (call.command == QLatin1String("history"))
        return historyCommand(call, out, err);
    if (call.command == QLatin1String("mistakes"))
        return mistakesCommand(call, out, err);
    return checkCommand(call, out, err);
}

QString helpText()
{
    return QStringLiteral(R"(Usage: lexamo-bank COMMAND ...
       lexamo-bank --help | --version

Builds, exports, lists and checks Lexamo question banks such as verbal.zep: records of 576
bytes holding a question of up to 200 characters, five choices of up to 75 and the answer.

Commands:
  import FILE... -o BANK [--format csv|aiken|gift] [--cut] [--append]
      Reads the questions of every FILE and writes them to BANK, replacing it, or with
      --append adding them in place after its last record. A text longer than its field is
      refused unless --cut cuts it to fit. At the first problem, or when a file holds no
      question, nothing is written. FILE - reads standard input (give --format).
  export BANK -o FILE [--format csv|aiken|gift] [--flatten]
      Writes the bank's questions to FILE; -o - writes them to standard output (give
      --format). Aiken holds each text on one line: a text with line breaks is refused
      unless --flatten joins its lines with spaces. A text that Aiken or GIFT cannot carry
      exactly (a blank at either end) is refused, naming its record; CSV carries every text
      that check passes.
  list BANK
      Prints each record's number, its answer and the first line of its question.
  check BANK
      Reports answers other than a to e, empty questions and choices, questions that stand
      twice, records past 32767 and a piece shorter than a record at the end.
  history [LOG] [--plot FILE.svg|FILE.png]
      Prints the tests of Lexamo's results log LOG (results.csv when not given): date, how
      each ended, score and time used, then the tests taken, the average and best percent of
      the last 10 and of all, and the trend. A line that cannot be read is reported and
      skipped. --plot draws the percent of each test over time with a moving average.
  mistakes LOG BANK -o NEWBANK [--last N]
      Writes to NEWBANK the questions of BANK that the tests in LOG (or its last N tests)
      answered wrongly or left unanswered, each once, the most often missed first. A record
      number that BANK does not hold is skipped with a warning; a line of LOG that cannot be
      read stops it.

Formats, told by the file's ending or given by --format for every file:
  .csv   a header row question,a,b,c,d,e,answer, then a row per question (RFC 4180)
  .txt   Aiken: the question on one line, "A. text" to "E. text", "ANSWER: X", a blank line
  .gift  GIFT: ::title:: question { =right ~wrong ~wrong ~wrong ~wrong }
The files are UTF-8; the bank holds Windows-1252. A bank holds at most 32767 records.
Texts may hold tabs and line breaks (LF or CR LF), no other control characters.
Only regular files are read and written: a device, pipe or socket is refused, and so is an
output that is one of the command's own inputs.

Exit status: 0 done, 1 bad input or problems found (nothing written), 2 wrong usage.

Report bugs to: )") +
           QStringLiteral(LEXAMO_CONTACT "\n");
}

QString versionText()
{
    return QStringLiteral("lexamo-bank " LEXAMO_VERSION "\n"
                          "Copyright (C) 2026 The Lexamo developers\n"
                          "License MIT: <https://opensource.org/licenses/MIT>.\n"
                          "This is free software: you are free to change and redistribute it.\n"
                          "There is NO WARRANTY, to the extent permitted by law.\n");
}

} // namespace banktool
