#pragma once

#include "platform/ProgramStarter.h"

#include <QStringList>

// Records the programs it is asked to start; fails every start when told to, and, like the real
// one, an empty path.
class FakeProgramStarter final : public platform::ProgramStarter {
public:
    bool start(const QString& path) override
    {
        started.append(path);
        return !failing && !path.isEmpty();
    }

    QStringList started;
    bool failing = false;
};
