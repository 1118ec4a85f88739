#pragma once
// The program's title and version, as the captions show them.
#include <string>

namespace raylen {

constexpr const char* appTitle = "Raylen";
constexpr int versionMajor = 0;
constexpr int versionMinor = 9;
constexpr int versionRevision = 0;

// "Raylen Ver. 0.9": the revision is formatted "#", so 0 adds nothing.
std::string versionCaption();
// "Raylen  Version 0.90" of the About box.
std::string aboutVersionText();

} // namespace raylen
