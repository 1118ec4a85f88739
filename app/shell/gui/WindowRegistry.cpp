#include "shell/gui/WindowRegistry.h"

namespace raylen {

namespace {
WindowRegistry* installed = nullptr;

WindowRegistry& emptyRegistry()
{
    static WindowRegistry registry;
    return registry;
}
} // namespace

WindowRegistry& windowRegistry() { return installed != nullptr ? *installed : emptyRegistry(); }

RegistryInstallation::RegistryInstallation(WindowRegistry& registry) : previous_(installed) { installed = &registry; }

RegistryInstallation::~RegistryInstallation() { installed = previous_; }

} // namespace raylen
