#pragma once
// Things that are not regular files, for the tests that feed them to the
// readers and writers, and a folder listing to prove nothing was left.
#include "TestSupport.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

namespace testsupport {

struct SpecialFile {
    std::string kind;
    std::string path;
};

// A FIFO, a bound socket and a character device (a fresh null device when
// running as root, so the system's own is never at stake) inside dir.
inline std::vector<SpecialFile> makeSpecialFiles(const TempDir& dir)
{
    std::vector<SpecialFile> files;
    std::string fifo = dir.file("pipe.fit");
    if (::mkfifo(fifo.c_str(), 0666) != 0)
        throw std::runtime_error("mkfifo failed");
    files.push_back({"fifo", fifo});

    std::string socketPath = dir.file("socket.fit");
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.size() < sizeof address.sun_path) {
        std::copy(socketPath.begin(), socketPath.end(), address.sun_path);
        if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
            files.push_back({"socket", socketPath});
    }
    ::close(fd);

    if (::geteuid() == 0) {
        std::string device = dir.file("null.fit");
        constexpr int memMajor = 1, nullMinor = 3;
        if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(memMajor, nullMinor)) != 0)
            throw std::runtime_error("mknod failed");
        files.push_back({"device", device});
    } else {
        files.push_back({"device", "/dev/null"});
    }
    return files;
}

// Type bits and device number: what must not change under a refused save.
inline std::pair<mode_t, dev_t> nodeIdentity(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return {0, 0};
    return {info.st_mode, info.st_rdev};
}

inline std::set<std::string> folderEntries(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

} // namespace testsupport
