#pragma once
// Widget tests keep what the program remembers (QSettings) in a folder of
// their own process, so no case sees another's folder, size or files.
#include <cstdlib>
#include <filesystem>
#include <string>

namespace testsupport {

// Call before the application object; the folder is removed at exit.
inline void isolateSettings()
{
    static std::string folder = (std::filesystem::temp_directory_path() / "raylen-settings-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr)
        std::abort();
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    });
}

} // namespace testsupport
