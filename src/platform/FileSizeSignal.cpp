#include "platform/FileSizeSignal.h"

#include <csignal>

namespace platform {

void ignoreFileSizeSignal()
{
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

} // namespace platform
