#pragma once
// raylen-cli commands register themselves by name; main dispatches.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace cli {

// Exit codes: 0 success, 1 a failure with the system's message, 2 wrong usage.
enum Exit : int { exitOk = 0, exitFailure = 1, exitUsage = 2 };

// Parsed arguments: positionals in order, options by name ("--dark" → "dark").
// Options named in `repeatable` may be given more than once.
struct Arguments {
    std::vector<std::string> positional;
    std::multimap<std::string, std::string> options;
    std::vector<std::string> flags;

    std::optional<std::string> option(const std::string& name) const;
    std::vector<std::string> all(const std::string& name) const;
    bool flag(const std::string& name) const;
};

struct CommandSpec {
    std::string name;
    std::string usage;                // one line after "raylen-cli "
    std::string summary;
    std::vector<std::string> valueOptions; // options taking a value ("o" stands for -o)
    std::vector<std::string> flagOptions;  // options without a value
    int positionals = 1; // below 0: at least that many
    std::function<int(const Arguments&)> run;
    // Files written besides -o (a name derived from it or from the input).
    std::function<std::vector<std::string>(const Arguments&)> derivedOutputs = nullptr;
    // `positionals` is then the least number: the command takes a list.
    bool positionalList = false;
};

// Registers a command; used by a static object in each command's file.
struct Registration {
    explicit Registration(CommandSpec spec);
};

const std::map<std::string, CommandSpec>& commands();

// Prints the system's message on standard error and returns exitFailure.
int fail(const std::string& message);
// Prints the usage of a command (or of everything) and returns exitUsage.
int usageError(const std::string& problem, const CommandSpec* spec);

// Refuses, before anything is read, an output that is one of the inputs
// (the positionals and the input options), by device and inode, so that no
// run rewrites its own input. Empty when the outputs are all other files.
std::string checkOutputsAreNotInputs(const CommandSpec& spec, const Arguments& args);

// One finite real number filling the whole text; false when malformed.
bool parseDouble(const std::string& text, double& value);
// "A:B" as two integers / two reals; false when malformed.
bool parseIntRange(const std::string& text, long& a, long& b);
bool parseRealRange(const std::string& text, double& a, double& b);
bool parseRealPair(const std::string& text, double& a, double& b);

} // namespace cli
