#include "Command.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cmath>
#include <iostream>
#include <sys/stat.h>

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
    // No option takes NaN or an infinity ("nan", "inf" are what strtod reads).
    return errno == 0 && end != text.c_str() && *end == '\0' && std::isfinite(value);
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

namespace {

// Options that name files a command reads.
const char* const inputOptions[] = {"dark", "flat",     "ref",      "dip",        "sns",
                                    "table", "overlay", "from", "from-lamp", "standard", "extinction"};

bool sameFile(const struct stat& a, const std::string& path)
{
    struct stat b {};
    return ::stat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

std::string checkOutputsAreNotInputs(const CommandSpec& spec, const Arguments& args)
{
    std::vector<std::string> outputs = spec.derivedOutputs ? spec.derivedOutputs(args) : std::vector<std::string>{};
    if (auto o = args.option("o"))
        outputs.push_back(*o);
    std::vector<std::string> inputs = args.positional;
    for (const char* option : inputOptions)
        for (const std::string& value : args.all(option))
            inputs.push_back(value);
    for (const std::string& output : outputs) {
        struct stat info {};
        if (::stat(output.c_str(), &info) != 0)
            continue;
        for (const std::string& input : inputs)
            if (sameFile(info, input))
                return "入力ﾌｧｲﾙと同じﾌｧｲﾙには書き込めません: " + output;
    }
    return {};
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
