#include "files/FileAccess.h"

#include "files/OutputSet.h"
#include "files/SaveTemporary.h"
#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace raylen {

namespace {

// Named temporaries carry our process id and its start time, so that a later
// save can tell a leftover of a killed process from one that is still being
// written, even once the id has been reused.
constexpr char temporaryPrefix[] = ".raylen-save-";
// As the kernel limits symbolic links followed in one lookup.
constexpr int maxLinkHops = 40;
constexpr mode_t newFileMode = 0666;  // narrowed by the umask
constexpr mode_t anyWriteBits = 0222;
constexpr mode_t permissionBits = 07777;

struct FileCloser {
    std::FILE* file;
    ~FileCloser()
    {
        if (file != nullptr)
            std::fclose(file);
    }
};

[[noreturn]] void raiseErrno() { platform::raise(fileErrorNumber(errno)); }

std::FILE* openForReading(const std::string& path)
{
    // Asked before opening: opening a FIFO blocks and opening a device may act.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        raiseErrno();
    if (!S_ISREG(info.st_mode))
        platform::raise(platform::errPathFileAccess);
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        raiseErrno();
    // The path may have been swapped for something else since the stat.
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        platform::raise(platform::errPathFileAccess);
    }
    std::FILE* file = ::fdopen(fd, "rb");
    if (file == nullptr) {
        int error = errno;
        ::close(fd);
        platform::raise(fileErrorNumber(error));
    }
    return file;
}

// The file a chain of symbolic links names, so that the save replaces it in
// its own folder and the links stay.
std::string followLinks(std::string path)
{
    for (int hop = 0; hop < maxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return path;
        std::string target(static_cast<size_t>(info.st_size > 0 ? info.st_size : PATH_MAX) + 1, '\0');
        ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0)
            raiseErrno();
        target.resize(static_cast<size_t>(length));
        path = !target.empty() && target[0] == '/' ? target : folderOf(path) + target;
    }
    platform::raise(platform::errPathFileAccess);
}

// The start time of a process in clock ticks since boot (field 22 of its
// stat record), "" where it cannot be read.
std::string processStartTime(long pid)
{
    std::ifstream stat("/proc/" + (pid == 0 ? std::string("self") : std::to_string(pid)) + "/stat");
    std::string record;
    if (!std::getline(stat, record))
        return {};
    // The command name in parentheses may hold blanks; the fields after it do not.
    size_t at = record.rfind(')');
    if (at == std::string::npos)
        return {};
    std::string field;
    constexpr int startTimeField = 22;
    int number = 2;
    for (size_t i = at + 1; i < record.size() && number < startTimeField;) {
        while (i < record.size() && record[i] == ' ')
            ++i;
        size_t end = record.find(' ', i);
        field = record.substr(i, end == std::string::npos ? std::string::npos : end - i);
        ++number;
        i = end;
    }
    return number == startTimeField ? field : std::string();
}

// A leftover is ours when its process is gone, or when the id now belongs
// to a process that started at another time.
bool ownerIsGone(long pid, const std::string& startTime)
{
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) {
        if (startTime.empty())
            return false;
        const std::string now = processStartTime(pid);
        return !now.empty() && now != startTime;
    }
    return true;
}

// Removes named temporaries of ours whose process has died (killed during a
// save); those of running processes are left to them.
void clearStaleTemporaries(const std::string& folder)
{
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr)
        return;
    const size_t prefixLength = sizeof temporaryPrefix - 1;
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (std::strncmp(name, temporaryPrefix, prefixLength) != 0)
            continue;
        char* end = nullptr;
        long pid = std::strtol(name + prefixLength, &end, 10);
        if (end == name + prefixLength || *end != '-' || pid <= 0)
            continue;
        // "PID-START-RANDOM"; names of earlier versions lack the start time.
        const char* start = end + 1;
        const char* afterStart = start;
        while (*afterStart >= '0' && *afterStart <= '9')
            ++afterStart;
        const std::string startTime = afterStart != start && *afterStart == '-' ? std::string(start, afterStart) : "";
        if (!ownerIsGone(pid, startTime))
            continue;
        std::string path = folder + name;
        struct stat info {};
        if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::getuid())
            ::unlink(path.c_str());
    }
    ::closedir(dir);
}

bool unnamedFilesLinkable()
{
    struct stat info {};
    return ::stat("/proc/self/fd", &info) == 0;
}

} // namespace

// "dir/" for "dir/name", "" for a bare name.
std::string folderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string temporaryName(const std::string& folder)
{
    static std::mt19937_64 generator{std::random_device{}()};
    static const std::string self = std::to_string(::getpid()) + "-" + processStartTime(0) + "-";
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyz";
    std::string name = folder + temporaryPrefix + self;
    for (int i = 0; i < 8; ++i)
        name += letters[generator() % (sizeof letters - 1)];
    return name;
}

int fileErrorNumber(int errnoValue)
{
    switch (errnoValue) {
    case ENOENT: return platform::errFileNotFound;
    case ENOTDIR: return platform::errPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS: return platform::errPermissionDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: // the file may grow no further: to the user, the disk is full
        return platform::errDiskFull;
    case EIO: return platform::errDeviceIo;
    case EMFILE:
    case ENFILE: return platform::errTooManyFiles;
    case ENAMETOOLONG: return platform::errBadFileName;
    default: return platform::errPathFileAccess;
    }
}

std::string readFilePrefix(const std::string& path, size_t maxBytes)
{
    FileCloser closer{openForReading(path)};
    std::string data(maxBytes, '\0');
    size_t got = std::fread(data.data(), 1, maxBytes, closer.file);
    if (got < maxBytes && std::ferror(closer.file))
        platform::raise(platform::errDeviceIo);
    data.resize(got);
    return data;
}

uint64_t fileLength(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        raiseErrno();
    if (!S_ISREG(info.st_mode))
        platform::raise(platform::errPathFileAccess);
    return static_cast<uint64_t>(info.st_size);
}

template <class T>
LargeVector<T> readWholeFileAs(const std::string& path)
{
    FileCloser closer{openForReading(path)};
    struct stat info {};
    if (::fstat(fileno(closer.file), &info) != 0)
        platform::raise(fileErrorNumber(errno));
    size_t count = static_cast<size_t>(info.st_size) / sizeof(T);
    LargeVector<T> data(count);
    if (count > 0) {
        size_t got = std::fread(data.data(), sizeof(T), count, closer.file);
        if (got != count)
            platform::raise(std::ferror(closer.file) ? platform::errDeviceIo : platform::errInputPastEnd);
    }
    return data;
}

template LargeVector<int16_t> readWholeFileAs<int16_t>(const std::string&);
template LargeVector<int32_t> readWholeFileAs<int32_t>(const std::string&);
template LargeVector<float> readWholeFileAs<float>(const std::string&);
template LargeVector<char> readWholeFileAs<char>(const std::string&);

AtomicFileWriter::AtomicFileWriter(const std::string& target) : target_(followLinks(target))
{
    folder_ = folderOf(target_);
    struct stat info {};
    mode_t mode = newFileMode;
    bool exists = ::stat(target_.c_str(), &info) == 0;
    if (!exists && errno != ENOENT)
        raiseErrno();
    if (exists) {
        if (!S_ISREG(info.st_mode))
            platform::raise(platform::errPathFileAccess);
        // Refused by its bits even for root, as a read-only file is elsewhere.
        if ((info.st_mode & anyWriteBits) == 0 || ::access(target_.c_str(), W_OK) != 0)
            platform::raise(platform::errPermissionDenied);
        mode = info.st_mode & permissionBits;
    }
    clearStaleTemporaries(folder_);
    const std::string folder = folder_.empty() ? "." : folder_;
    const bool linkable = unnamedFilesLinkable();
    int fd = linkable ? ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, newFileMode) : -1;
    if (fd < 0 && (!linkable || errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        // No unnamed files here: a short name, whatever the target's length.
        do {
            temporary_ = temporaryName(folder_);
            fd = ::open(temporary_.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, newFileMode);
        } while (fd < 0 && errno == EEXIST);
    }
    if (fd < 0) {
        int error = errno;
        temporary_.clear();
        // Creating in a folder that does not exist: the path is not found.
        platform::raise(error == ENOENT ? platform::errPathNotFound : fileErrorNumber(error));
    }
    if (exists)
        ::fchmod(fd, mode);
    file_ = ::fdopen(fd, "wb");
    if (file_ == nullptr) {
        int error = errno;
        ::close(fd);
        if (!temporary_.empty())
            ::unlink(temporary_.c_str());
        temporary_.clear();
        platform::raise(fileErrorNumber(error));
    }
}

AtomicFileWriter::~AtomicFileWriter()
{
    if (file_ != nullptr)
        std::fclose(file_);
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
}

void AtomicFileWriter::write(const void* data, size_t bytes)
{
    if (bytes == 0)
        return;
    if (std::fwrite(data, 1, bytes, file_) != bytes)
        raiseErrno();
}

void AtomicFileWriter::placeUnnamed()
{
    std::string self = "/proc/self/fd/" + std::to_string(::fileno(file_));
    // A new target is linked straight in; nothing named exists meanwhile.
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target_.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return;
    if (errno != EEXIST)
        raiseErrno();
    // An old file: a name for the instant between link and rename.
    for (;;) {
        temporary_ = temporaryName(folder_);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary_.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return;
        int error = errno;
        temporary_.clear();
        if (error != EEXIST)
            platform::raise(fileErrorNumber(error));
    }
}

void AtomicFileWriter::stage(OutputSet& set)
{
    // Synced before it is named: a set is put in place only as a whole.
    if (std::fflush(file_) != 0 || ::fsync(::fileno(file_)) != 0)
        raiseErrno();
    while (temporary_.empty()) {
        std::string name = temporaryName(folder_);
        std::string self = "/proc/self/fd/" + std::to_string(::fileno(file_));
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
            temporary_ = name;
        else if (errno != EEXIST)
            raiseErrno();
    }
    int closeResult = std::fclose(file_);
    file_ = nullptr;
    if (closeResult != 0)
        raiseErrno();
    set.add(temporary_, target_);
    temporary_.clear();
}

void AtomicFileWriter::commit()
{
    if (OutputSet* set = OutputSet::current()) {
        stage(*set);
        return;
    }
    if (std::fflush(file_) != 0)
        raiseErrno();
    if (temporary_.empty())
        placeUnnamed();
    if (!temporary_.empty()) {
        if (::rename(temporary_.c_str(), target_.c_str()) != 0)
            raiseErrno();
        temporary_.clear();
    }
    int closeResult = std::fclose(file_);
    file_ = nullptr;
    if (closeResult != 0)
        raiseErrno();
}

void writeFileBytes(const std::string& path, const void* data, size_t bytes)
{
    AtomicFileWriter writer(path);
    writer.write(data, bytes);
    writer.commit();
}

bool dfIsFileExist(const std::string& strFile)
{
    try {
        FileCloser closer{openForReading(strFile)};
        return true;
    } catch (const platform::BasicError&) {
        return false;
    }
}

std::string sfExtrFileName(const std::string& strPath, std::string& strName, std::string& strDir)
{
    return platform::trapErrors("sfExtrFileName", [&] {
        if (strPath.size() > 32767)
            platform::raise(platform::errOverflow);
        size_t slash = strPath.rfind('/');
        if (slash == std::string::npos)
            return;
        strName = strPath.substr(slash + 1);
        strDir = strPath.substr(0, slash + 1);
    });
}

std::string namePart(const std::string& path)
{
    std::string name = path, directory;
    sfExtrFileName(path, name, directory);
    return name;
}

std::string directoryPart(const std::string& path)
{
    std::string name, directory;
    sfExtrFileName(path, name, directory);
    return directory;
}

} // namespace raylen
