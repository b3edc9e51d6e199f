#include "bankio/BankTool.h"
#include "bankio/CommandTable.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <csignal>
#include <cstdio>
#include <memory>

namespace {

// The offscreen platform's notes on the desktop session it does not need stay unsaid.
void quietPlatform(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg || type == QtCriticalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

// Only a plot needs fonts, and so a QGuiApplication; it draws on the offscreen platform, so
// that no display is needed.
std::unique_ptr<QCoreApplication> application(int& argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (banktool::drawsPictures(argv[i])) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            const QtMessageHandler before = qInstallMessageHandler(quietPlatform);
            auto app = std::make_unique<QGuiApplication>(argc, argv);
            qInstallMessageHandler(before);
            return app;
        }
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace

int main(int argc, char* argv[])
{
    // Past a file size limit a write then fails with "File too large" instead of killing the
    // tool without a word.
    std::signal(SIGXFSZ, SIG_IGN);
    const std::unique_ptr<QCoreApplication> app = application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return banktool::run(QCoreApplication::arguments().mid(1), out, err);
}
