#include "storage/ChartFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "document/ChartDocument.h"
#include "platform/UiService.h"
#include "storage/ChartStorage.h"

namespace lumigra {

namespace {

namespace fs = std::filesystem;

// Compound files of charts stay far below this; anything larger is not one.
constexpr off_t kLargestChartFile = off_t(1) << 30;

void show(const std::string& text) { platform::MsgBox(text, platform::vbExclamation | platform::vbSystemModal, "Lumigra"); }

std::string reason(int error) { return std::strerror(error); }

bool writeAll(int fd, const std::vector<uint8_t>& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Symbolic links are followed, so the link stays a link to the new file.
std::string resolvedTarget(const std::string& path)
{
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    std::error_code error;
    fs::path target = fs::weakly_canonical(path, error);
    return error ? path : target.string();
}

mode_t newFileMode()
{
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

std::string replaceFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes)
{
    const std::string target = resolvedTarget(path);
    struct stat old;
    bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode))
        return reason(S_ISDIR(old.st_mode) ? EISDIR : EINVAL);
    fs::path folder = fs::path(target).parent_path();
    std::string pattern = (folder.empty() ? fs::path(".") : folder).string() + "/." + fs::path(target).filename().string() + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0)
        return reason(errno);
    bool ok = writeAll(fd, bytes) && ::fchmod(fd, exists ? (old.st_mode & 07777) : newFileMode()) == 0
              && ::fsync(fd) == 0;
    int error = errno;
    ok = ::close(fd) == 0 && ok;
    if (ok && ::rename(name.data(), target.c_str()) == 0)
        return {};
    error = ok ? errno : error;
    ::unlink(name.data());
    return reason(error ? error : EIO);
}

int32_t saveChartFile(ChartDocument& chart, const std::string& path, bool newFile)
{
    struct stat st;
    if (newFile && ::lstat(path.c_str(), &st) == 0)
        return 0;
    if (path.empty()) {
        show("ファイル名がありません。");
        return 0;
    }
    std::vector<uint8_t> bytes = saveChartStorage(chart);
    if (bytes.empty())
        return 0; // its message has been shown
    std::string failure = replaceFileAtomically(path, bytes);
    if (!failure.empty()) {
        show("[" + path + "]に保存できません。\n" + failure);
        return 0;
    }
    return 1;
}

int32_t restoreChartFile(ChartDocument& chart, const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st;
    std::string failure;
    std::vector<uint8_t> bytes;
    if (fd < 0)
        failure = reason(errno);
    else if (::fstat(fd, &st) != 0)
        failure = reason(errno);
    else if (!S_ISREG(st.st_mode))
        failure = reason(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    else if (st.st_size > kLargestChartFile)
        failure = reason(EFBIG);
    else {
        bytes.resize(static_cast<size_t>(st.st_size));
        size_t done = 0;
        while (done < bytes.size()) {
            ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += static_cast<size_t>(n);
        }
        if (done != bytes.size())
            failure = reason(EIO);
    }
    if (fd >= 0)
        ::close(fd);
    if (!failure.empty()) {
        show("[" + path + "]を読み込めません。\n" + failure);
        return 0;
    }
    switch (restoreChartStorage(chart, bytes.data(), bytes.size())) {
    case StorageRestore::Restored: return 1;
    case StorageRestore::NotStorage: show("XYグラフを再生できません"); return 0;
    case StorageRestore::Failed: return 0; // its message has been shown
    }
    return 0;
}

} // namespace lumigra
