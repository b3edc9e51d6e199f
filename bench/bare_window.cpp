// The yardstick of Lexamo's start: a bare main window with a menu bar of three menus, shown
// maximized, that quits as soon as its event loop runs.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare"));
    const char* const menus[][3] = {{"&File", "&Open", "E&xit"},
                                    {"&Tools", "&Options", "&Add"},
                                    {"&Help", "&Contents", "&About"}};
    for (const auto& menu : menus) {
        QMenu* m = window.menuBar()->addMenu(QString::fromLatin1(menu[0]));
        m->addAction(QString::fromLatin1(menu[1]));
        m->addAction(QString::fromLatin1(menu[2]));
    }
    window.showMaximized();
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return QApplication::exec();
}
