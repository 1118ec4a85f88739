// raylen-cli: the reduction steps of the window program, in batch.
#include "Command.h"

#include <algorithm>
#include <iostream>
#include <string>

namespace {

void printHelp()
{
    std::cout << "raylen-cli: batch reduction of long-slit spectra\n\n"
                 "usage: raylen-cli COMMAND [ARGS]   (raylen-cli COMMAND --help for its options)\n\n"
                 "commands:\n";
    for (const auto& [name, spec] : cli::commands())
        std::cout << "  " << name << std::string(name.size() < 10 ? 10 - name.size() : 1, ' ') << spec.summary
                  << '\n';
}

bool contains(const std::vector<std::string>& list, const std::string& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        return cli::usageError("no command given", nullptr);
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printHelp();
        return cli::exitOk;
    }
    auto found = cli::commands().find(args[0]);
    if (found == cli::commands().end())
        return cli::usageError("unknown command '" + args[0] + "'", nullptr);
    const cli::CommandSpec& spec = found->second;
    cli::Arguments parsed;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            std::cout << "usage: raylen-cli " << spec.usage << "\n" << spec.summary << '\n';
            return cli::exitOk;
        }
        if (a.size() > 1 && a[0] == '-' && !(a[1] >= '0' && a[1] <= '9') && a[1] != '.') {
            std::string name = a.substr(a[1] == '-' ? 2 : 1);
            if (contains(spec.flagOptions, name)) {
                parsed.flags.push_back(name);
                continue;
            }
            if (!contains(spec.valueOptions, name))
                return cli::usageError("unknown option '" + a + "'", &spec);
            if (i + 1 >= args.size())
                return cli::usageError("option '" + a + "' needs a value", &spec);
            parsed.options.emplace(name, args[++i]);
            continue;
        }
        parsed.positional.push_back(a);
    }
    if (static_cast<int>(parsed.positional.size()) != spec.positionals)
        return cli::usageError(parsed.positional.size() < static_cast<size_t>(spec.positionals)
                                   ? "missing argument"
                                   : "too many arguments",
                               &spec);
    return spec.run(parsed);
}
