#pragma once

#include <QString>

namespace platform {

// Starts another program by path, without waiting for it.
class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    // False when the path cannot be started.
    virtual bool start(const QString& path) = 0;
};

class QtProgramStarter final : public ProgramStarter {
public:
    bool start(const QString& path) override;
};

} // namespace platform
