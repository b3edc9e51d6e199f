#include "bankio/BankTool.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>

int main(int argc, char* argv[])
{
    // Past a file size limit a write then fails with "File too large" instead of killing the
    // tool without a word.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return banktool::run(QCoreApplication::arguments().mid(1), out, err);
}
