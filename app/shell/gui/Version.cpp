#include "shell/gui/Version.h"

#include "platform/Format.h"

namespace raylen {

// Appended piece by piece: GCC 12 misreads the chained operator+ of these
// strings as out of bounds.
namespace {
std::string versionText(const char* label, const char* revisionFormat)
{
    std::string text = appTitle;
    text.append(label);
    text.append(platform::Format(versionMajor, "0"));
    text.push_back('.');
    text.append(platform::Format(versionMinor, "0"));
    text.append(platform::Format(versionRevision, revisionFormat));
    return text;
}
} // namespace

std::string versionCaption() { return versionText(" Ver. ", "#"); }

std::string aboutVersionText() { return versionText("  Version ", "0"); }

} // namespace raylen
