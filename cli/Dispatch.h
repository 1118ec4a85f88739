#pragma once
// Runs one command line (the words after "raylen-cli"): help, usage
// checks, then the command. Used by main and by batch for each of its lines.
#include "Command.h"

#include <string>
#include <vector>

namespace cli {

int dispatch(const std::vector<std::string>& args);

} // namespace cli
