#include "bankio/BankTool.h"

#include "bankio/CommandTable.h"
#include "bankio/Invocation.h"
#include "questionfiles/Formats.h"

#include "bank/BankFile.h"
#include "bank/QuestionRecord.h"
#include "files/FileErrors.h"

#include <cerrno>

namespace banktool {

namespace {

// Output that could not all be written (a full disk, a file size limit, a closed pipe) is a
// failure to tell, not a success with its end cut off. A command that failed has said why.
int finished(int status, QTextStream& out, QTextStream& err)
{
    out.flush();
    if (out.status() == QTextStream::Ok || (status != Done && status != SomeLeftOut))
        return status;
    err << QStringLiteral("Cannot write standard output: %1.\n").arg(fileerrors::reason(errno));
    return Failed;
}

} // namespace

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
        return finished(Done, out, err);
    }
    if (call.version) {
        out << versionText();
        return finished(Done, out, err);
    }
    return finished(call.command->run(call, out, err), out, err);
}

QString helpText()
{
    QString text =
        QStringLiteral("Usage: lexamo-bank COMMAND ...\n"
                       "       lexamo-bank --help | --version\n"
                       "\n"
                       "Builds, exports, lists and checks Lexamo question banks such as "
                       "verbal.zep: records of %1\n"
                       "bytes holding a question of up to %2 characters, five choices of "
                       "up to %3 and the answer.\n"
                       "\n"
                       "Commands:\n")
            .arg(QuestionRecord::kSize)
            .arg(QuestionRecord::kQuestionWidth)
            .arg(QuestionRecord::kChoiceWidth);
    for (const Command& command : commands())
        text += commandHelp(command);
    text += QStringLiteral("\nFormats, told by the file's ending or given by --format for every "
                           "file:\n");
    for (const FormatRow& format : formats())
        text += QStringLiteral("  %1%2\n")
                    .arg(u'.' + QLatin1String(format.ending), -7)
                    .arg(QLatin1String(format.help));
    return text +
           QStringLiteral("The files are UTF-8; the bank holds Windows-1252. A bank holds at most "
                          "%1 records.\n")
               .arg(BankFile::kMaxRecords) +
           QStringLiteral(
               R"(Texts may hold tabs and line breaks (LF or CR LF), no other control characters.
Only regular files are read and written: a device, pipe or socket is refused, and so is an
output that is one of the command's own inputs.

Exit status: 0 done, 1 bad input or problems found (nothing written), 2 wrong usage,
3 imported, with questions a bank cannot hold left out.

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
