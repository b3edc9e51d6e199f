#include "app/Launch.h"

#include "app/UserFolder.h"
#include "platform/MessageBoxes.h"

#include <QCoreApplication>
#include <QDir>
#include <QList>
#include <cstdio>
#include <cstdlib>

namespace startup {

namespace {

struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};

QtMessageHandler& previousHandler()
{
    static QtMessageHandler handler = nullptr;
    return handler;
}

QList<HeldMessage>& heldMessages()
{
    static QList<HeldMessage> messages;
    return messages;
}

void writeLine(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

void holdMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg && text.contains(QLatin1String("platform plugin"))) {
        fail(unreachableDisplayMessage(qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY")));
        std::_Exit(1);
    }
    if (type == QtFatalMsg) {
        if (previousHandler())
            previousHandler()(type, context, text); // Qt aborts when this returns
        else
            writeLine(stderr, text + QLatin1Char('\n'));
        return;
    }
    heldMessages().append({type, QByteArray(context.category), text});
}

} // namespace

QStringList argumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

int answer(const Request& request)
{
    switch (request.action) {
    case Action::Help:
        writeLine(stdout, helpText());
        return 0;
    case Action::Version:
        writeLine(stdout, versionText());
        return 0;
    case Action::WrongUsage:
        writeLine(stderr, request.problem + QLatin1Char('\n'));
        return 2;
    case Action::Run:
        break;
    }
    return 0;
}

int fail(const QString& line)
{
    writeLine(stderr, line + QLatin1Char('\n'));
    return 1;
}

DisplayGuard::DisplayGuard()
{
    previousHandler() = qInstallMessageHandler(holdMessage);
}

DisplayGuard::~DisplayGuard()
{
    qInstallMessageHandler(previousHandler());
    for (const HeldMessage& message : std::as_const(heldMessages())) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
        qt_message_output(message.type, context, message.text);
    }
    heldMessages().clear();
}

bool enterUserFolder()
{
    const QString folder = userfolder::location();
    QString problem = userfolder::prepare(
                          folder, userfolder::sampleFolders(QCoreApplication::applicationDirPath()))
                          .error();
    if (problem.isEmpty() && !QDir::setCurrent(folder))
        problem = QStringLiteral("Lexamo cannot work in its folder %1.").arg(folder);
    if (problem.isEmpty())
        return true;
    fail(QStringLiteral("lexamo: ") + problem);
    platform::msgBox(problem, platform::Buttons::Ok, platform::Icon::Exclamation);
    return false;
}

} // namespace startup
