// Preloaded into a Qt program (LD_PRELOAD), this makes it quit at the first turn of its event
// loop: it stands in for QApplication::exec(), asks for the quit and then runs Qt's own loop.
// The program itself runs unchanged up to that point, its windows shown.
#include <QApplication>
#include <QTimer>
#include <dlfcn.h>

int QApplication::exec()
{
    using Exec = int (*)();
    static const auto qtExec = reinterpret_cast<Exec>(dlsym(RTLD_NEXT, "_ZN12QApplication4execEv"));
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    return qtExec();
}
