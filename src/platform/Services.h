#pragma once

#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"
#include "platform/ProgramStarter.h"
#include "platform/Random.h"
#include "platform/Registry.h"
#include "platform/SettingsStore.h"

namespace platform {

// The program's ways out to the operating system. Each points at the real implementation
// until something else is installed (tests install their doubles).
struct Services {
    MessageBoxes* messageBoxes = nullptr;
    Random* random = nullptr;
    SettingsStore* settings = nullptr;
    Registry* registry = nullptr;
    ProgramStarter* programs = nullptr;
    FileDialogs* fileDialogs = nullptr;
};

// The services in force.
const Services& services();
// Installs replacements; a null member restores that real implementation.
void install(const Services& replacements);

} // namespace platform
