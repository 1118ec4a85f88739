#include "module/ClipboardFormats.h"

#include <cctype>
#include <map>
#include <mutex>

#include "module/Module.h"

namespace lumigra {

namespace {

constexpr uint32_t FirstFormat = 0xC000;
constexpr uint32_t LastFormat = 0xFFFF;

std::map<std::string, uint32_t>& formats()
{
    static auto* m = new std::map<std::string, uint32_t>;
    return *m;
}

// Names compare without regard to case, as registered format names do.
std::string folded(const std::string& name)
{
    std::string out = name;
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

uint32_t registerClipboardFormat(const std::string& name)
{
    if (name.empty())
        return 0;
    std::lock_guard guard(moduleLock());
    auto& m = formats();
    std::string key = folded(name);
    if (auto found = m.find(key); found != m.end())
        return found->second;
    uint32_t number = FirstFormat + static_cast<uint32_t>(m.size());
    if (number > LastFormat)
        return 0;
    m.emplace(key, number);
    return number;
}

std::optional<std::string> clipboardFormatMime(uint32_t format)
{
    std::lock_guard guard(moduleLock());
    for (auto& [name, number] : formats())
        if (number == format) {
            std::string mime = "application/x-";
            for (char c : name)
                mime += c == ' ' ? '-' : c;
            return mime;
        }
    return std::nullopt;
}

} // namespace lumigra
