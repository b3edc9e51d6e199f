#include "support/TestEnvironment.h"

#include "platform/Services.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QWidget>

TestEnvironment::TestEnvironment()
    : settings(dir.path() + QStringLiteral("/.settings")), previousFolder_(QDir::currentPath())
{
    QDir::setCurrent(dir.path());
    platform::install({&boxes, &random, &settings, &registry, &programs, &files});
}

TestEnvironment::~TestEnvironment()
{
    platform::install({});
    QDir::setCurrent(previousFolder_);
}

QString TestEnvironment::path(const QString& name) const
{
    return dir.filePath(name);
}

void TestEnvironment::write(const QString& name, const QByteArray& bytes) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the test file %s", qPrintable(name));
}

QByteArray TestEnvironment::read(const QString& name) const
{
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool TestEnvironment::exists(const QString& name) const
{
    return QFile::exists(path(name));
}

QAction* findAction(QWidget* window, const char* name)
{
    return window ? window->findChild<QAction*>(QString::fromLatin1(name)) : nullptr;
}

bool trigger(QWidget* window, const char* name)
{
    QAction* action = findAction(window, name);
    if (!action || !action->isEnabled())
        return false;
    action->trigger();
    return true;
}

QStringList openTopLevelWindows()
{
    QStringList names;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isWindow() && widget->isVisible())
            names.append(widget->objectName().isEmpty()
                             ? QString::fromLatin1(widget->metaObject()->className())
                             : widget->objectName());
    }
    return names;
}

void beginTest(std::unique_ptr<TestEnvironment>& env)
{
    env.reset();
    env = std::make_unique<TestEnvironment>();
}

void finishTest(std::unique_ptr<TestEnvironment>& env)
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QStringLiteral("frmMain"))
            window->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QStringList left = openTopLevelWindows();
    const int unexpected = env->boxes.unexpected;
    const qsizetype unanswered = env->boxes.unanswered();
    const int unexpectedDialogs = env->files.unexpected;
    const qsizetype unansweredDialogs = env->files.unanswered();
    env.reset();
    QCOMPARE(left, QStringList());
    QCOMPARE(unexpected, 0);
    QCOMPARE(unanswered, 0);
    QCOMPARE(unexpectedDialogs, 0);
    QCOMPARE(unansweredDialogs, 0);
}
