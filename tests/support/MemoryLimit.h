#pragma once

#include <QFile>
#include <algorithm>
#include <sys/resource.h>

#if defined(__SANITIZE_ADDRESS__)
#define LEXAMO_UNDER_ASAN
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LEXAMO_UNDER_ASAN
#endif
#endif

// While it lives, the process may take at most `extra` bytes of address space beyond what it
// has now, so that a read that would run on until memory is gone fails fast instead of taking
// the machine with it. Under AddressSanitizer, which reserves terabytes of shadow memory, it
// does nothing: the sanitizer's own allocator limit serves there.
class MemoryLimit {
public:
    explicit MemoryLimit(rlim_t extra)
    {
#ifndef LEXAMO_UNDER_ASAN
        apply(extra);
#else
        static_cast<void>(extra);
#endif
    }
    ~MemoryLimit()
    {
        if (applied_)
            setrlimit(RLIMIT_AS, &before_);
    }
    MemoryLimit(const MemoryLimit&) = delete;
    MemoryLimit& operator=(const MemoryLimit&) = delete;

private:
    void apply(rlim_t extra)
    {
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.open(QIODevice::ReadOnly) || getrlimit(RLIMIT_AS, &before_) != 0)
            return;
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (!line.startsWith("VmSize:"))
                continue;
            const rlim_t now = line.mid(7).trimmed().split(' ').value(0).toULongLong() * 1024;
            rlimit limit = before_;
            limit.rlim_cur = std::min<rlim_t>(now + extra, before_.rlim_max);
            applied_ = setrlimit(RLIMIT_AS, &limit) == 0;
        }
    }

    rlimit before_{};
    bool applied_ = false;
};
