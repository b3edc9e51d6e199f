#include "files/FileLock.h"

#include "files/FileErrors.h"

#include <QElapsedTimer>
#include <QThread>
#include <cerrno>
#include <sys/file.h>

FileLock::FileLock(int fd) : fd_(fd)
{
    QElapsedTimer waited;
    waited.start();
    while (true) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            held_ = true;
            return;
        }
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK) {
            reason_ = fileerrors::reason(errno);
            return;
        }
        if (waited.elapsed() >= kWaitMs) {
            reason_ = QStringLiteral("another program has held it locked for %1 seconds")
                          .arg(kWaitMs / 1000);
            return;
        }
        QThread::msleep(10);
    }
}

FileLock::~FileLock()
{
    if (held_)
        ::flock(fd_, LOCK_UN);
}
