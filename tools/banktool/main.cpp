#include "bankio/BankTool.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return banktool::run(QCoreApplication::arguments().mid(1), out, err);
}
