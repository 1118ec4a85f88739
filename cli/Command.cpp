#include "Command.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace cli {

namespace {

std::map<std::string, CommandSpec>& registry()
{
    static std::map<std::string, CommandSpec> table;
    return table;
}

bool parseLong(const std::string& text, long& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text.c_str(), &end, 10);
    return errno == 0 && end != text.c_str() && *end == '\0';
}

// Splits at the separator that is not a leading sign ("-5:-1" → "-5", "-1").
bool split(const std::string& text, char separator, std::string& a, std::string& b)
{
    size_t at = text.find(separator, 1);
    if (at == std::string::npos)
        return false;
    a = text.substr(0, at);
    b = text.substr(at + 1);
    return true;
}

} // namespace

bool parseDouble(const std::string& text, double& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return errno == 0 && end != text.c_str() && *end == '\0';
}

std::optional<std::string> Arguments::option(const std::string& name) const
{
    auto range = options.equal_range(name);
    if (range.first == range.second)
        return std::nullopt;
    auto last = range.second;
    --last;
    return last->second;
}

std::vector<std::string> Arguments::all(const std::string& name) const
{
    std::vector<std::string> values;
    auto range = options.equal_range(name);
    for (auto it = range.first; it != range.second; ++it)
        values.push_back(it->second);
    return values;
}

bool Arguments::flag(const std::string& name) const
{
    for (const std::string& f : flags)
        if (f == name)
            return true;
    return false;
}

Registration::Registration(CommandSpec spec)
{
    std::string name = spec.name;
    registry().emplace(name, std::move(spec));
}

const std::map<std::string, CommandSpec>& commands() { return registry(); }

int fail(const std::string& message)
{
    std::cerr << message << '\n';
    return exitFailure;
}

int usageError(const std::string& problem, const CommandSpec* spec)
{
    if (!problem.empty())
        std::cerr << "raylen-cli: " << problem << '\n';
    if (spec != nullptr) {
        std::cerr << "usage: raylen-cli " << spec->usage << '\n';
    } else {
        std::cerr << "usage: raylen-cli COMMAND [ARGS] (raylen-cli --help lists the commands)\n";
    }
    return exitUsage;
}

bool parseIntRange(const std::string& text, long& a, long& b)
{
    std::string first, second;
    return split(text, ':', first, second) && parseLong(first, a) && parseLong(second, b);
}

bool parseRealRange(const std::string& text, double& a, double& b)
{
    std::string first, second;
    return split(text, ':', first, second) && parseDouble(first, a) && parseDouble(second, b);
}

bool parseRealPair(const std::string& text, double& a, double& b)
{
    std::string first, second;
    return split(text, ',', first, second) && parseDouble(first, a) && parseDouble(second, b);
}

} // namespace cli
