#include "shell/gui/Version.h"

#include "platform/Format.h"

namespace raylen {

std::string versionCaption()
{
    return std::string(appTitle) + " Ver. " + platform::Format(versionMajor, "0") + "." +
           platform::Format(versionMinor, "0") + platform::Format(versionRevision, "#");
}

std::string aboutVersionText()
{
    return std::string(appTitle) + "  Version " + platform::Format(versionMajor, "0") + "." +
           platform::Format(versionMinor, "0") + platform::Format(versionRevision, "0");
}

} // namespace raylen
