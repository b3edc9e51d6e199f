#pragma once

#include <QString>

// An exclusive advisory lock (flock) on an open file, held while the object lives. Every writer
// of the question bank and of the results log takes it for the moment of its write, never while
// a window merely has the file open, so a writer waits only for another one's write. It waits
// at most kWaitMs: a file locked for longer is refused, never waited on for ever.
class FileLock {
public:
    static constexpr int kWaitMs = 2000;

    explicit FileLock(int fd);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool held() const { return held_; }
    // Why the lock could not be taken; empty when it is held.
    QString reason() const { return reason_; }

private:
    int fd_ = -1;
    bool held_ = false;
    QString reason_;
};
