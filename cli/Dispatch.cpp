#include "Dispatch.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <string>

namespace cli {

namespace {

void printHelp()
{
    std::cout << "raylen-cli: batch reduction of long-slit spectra\n\n"
                 "usage: raylen-cli COMMAND [ARGS]   (raylen-cli COMMAND --help for its options)\n\n"
                 "commands:\n";
    for (const auto& [name, spec] : commands())
        std::cout << "  " << name << std::string(name.size() < 10 ? 10 - name.size() : 1, ' ') << spec.summary
                  << '\n';
}

bool contains(const std::vector<std::string>& list, const std::string& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

} // namespace

int dispatch(const std::vector<std::string>& args)
{
    if (args.empty())
        return usageError("no command given", nullptr);
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printHelp();
        return exitOk;
    }
    auto found = commands().find(args[0]);
    if (found == commands().end())
        return usageError("unknown command '" + args[0] + "'", nullptr);
    const CommandSpec& spec = found->second;
    Arguments parsed;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            std::cout << "usage: raylen-cli " << spec.usage << "\n" << spec.summary << '\n';
            return exitOk;
        }
        if (a.size() > 1 && a[0] == '-' && !(a[1] >= '0' && a[1] <= '9') && a[1] != '.') {
            std::string name = a.substr(a[1] == '-' ? 2 : 1);
            if (contains(spec.flagOptions, name)) {
                parsed.flags.push_back(name);
                continue;
            }
            if (!contains(spec.valueOptions, name))
                return usageError("unknown option '" + a + "'", &spec);
            if (i + 1 >= args.size())
                return usageError("option '" + a + "' needs a value", &spec);
            parsed.options.emplace(name, args[++i]);
            continue;
        }
        parsed.positional.push_back(a);
    }
    // A negative count takes that many or more (coadd's list of spectra);
    // a list command takes its count or more.
    const int given = static_cast<int>(parsed.positional.size());
    const int needed = std::abs(spec.positionals);
    if (given < needed || (spec.positionals >= 0 && given > needed && !spec.positionalList))
        return usageError(given < needed
                                   ? "missing argument"
                                   : "too many arguments",
                               &spec);
    if (std::string refused = checkOutputsAreNotInputs(spec, parsed); !refused.empty())
        return fail(refused);
    return spec.run(parsed);
}


} // namespace cli
