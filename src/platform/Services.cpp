#include "platform/Services.h"

namespace platform {

namespace {

Services& real()
{
    static QtMessageBoxes messageBoxes;
    static ClockRandom random;
    static QtSettingsStore settings;
    static SystemRegistry registry;
    static QtProgramStarter programs;
    static QtFileDialogs fileDialogs;
    static Services all{&messageBoxes, &random, &settings, &registry, &programs, &fileDialogs};
    return all;
}

Services& current()
{
    static Services inForce = real();
    return inForce;
}

template <typename T> T* orReal(T* replacement, T* realOne)
{
    return replacement ? replacement : realOne;
}

} // namespace

const Services& services()
{
    return current();
}

void install(const Services& replacements)
{
    const Services& r = real();
    current() = Services{orReal(replacements.messageBoxes, r.messageBoxes),
                         orReal(replacements.random, r.random),
                         orReal(replacements.settings, r.settings),
                         orReal(replacements.registry, r.registry),
                         orReal(replacements.programs, r.programs),
                         orReal(replacements.fileDialogs, r.fileDialogs)};
}

} // namespace platform
