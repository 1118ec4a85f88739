#pragma once
// First start of an installed program: the chart component is entered in
// the user's component registry, pointing at the installed library. A
// program run from its build folder finds the component beside itself and
// registers nothing, so that several builds never point at each other.
#include <string>

namespace raylen {

// Registers the component when it is not beside the program and the
// registry has no entry for it (or one whose library is gone). Returns the
// failure, empty when registered or nothing was needed.
std::string registerInstalledComponent();

} // namespace raylen
