#include "files/ShareData.h"

#include "files/FileAccess.h"
#include "platform/com/Registry.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

#ifndef RAYLEN_DATA_FROM_BIN
#define RAYLEN_DATA_FROM_BIN "../share/raylen"
#endif

namespace raylen {

namespace {

constexpr const char* tableSuffix = ".dat";

bool isFolder(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool endsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

std::string shareDataFolder(const std::string& name)
{
    const std::string program = platform::com::programDirectory();
    for (const std::string& base : {program, program + "/" + RAYLEN_DATA_FROM_BIN})
        if (isFolder(base + "/" + name))
            return base + "/" + name;
    return {};
}

std::vector<std::string> shippedTables(const std::string& folder)
{
    std::vector<std::string> names;
    const std::string path = shareDataFolder(folder);
    if (path.empty())
        return names;
    if (DIR* dir = ::opendir(path.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string file = entry->d_name;
            if (endsWith(file, tableSuffix) && file.size() > std::string(tableSuffix).size())
                names.push_back(file.substr(0, file.size() - std::string(tableSuffix).size()));
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string resolveShippedTable(const std::string& folder, const std::string& nameOrPath)
{
    if (nameOrPath.empty() || dfIsFileExist(nameOrPath) || nameOrPath.find('/') != std::string::npos)
        return nameOrPath;
    const std::string path = shareDataFolder(folder);
    if (path.empty())
        return nameOrPath;
    const std::string shipped =
        path + "/" + nameOrPath + (endsWith(nameOrPath, tableSuffix) ? "" : tableSuffix);
    return dfIsFileExist(shipped) ? shipped : nameOrPath;
}

} // namespace raylen
