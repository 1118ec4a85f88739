#include "shell/FileAccess.h"

#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace raylen {

namespace {

struct FileCloser {
    std::FILE* file;
    ~FileCloser()
    {
        if (file != nullptr)
            std::fclose(file);
    }
};

std::FILE* openForReading(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        platform::raise(fileErrorNumber(errno));
    if (S_ISDIR(info.st_mode))
        platform::raise(platform::errPathFileAccess);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        platform::raise(fileErrorNumber(errno));
    return file;
}

} // namespace

int fileErrorNumber(int errnoValue)
{
    switch (errnoValue) {
    case ENOENT: return platform::errFileNotFound;
    case ENOTDIR: return platform::errPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS: return platform::errPermissionDenied;
    case ENOSPC:
    case EDQUOT: return 61;
    case EIO: return platform::errDeviceIo;
    case EMFILE:
    case ENFILE: return 67;
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
        platform::raise(fileErrorNumber(errno));
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

AtomicFileWriter::AtomicFileWriter(const std::string& target) : target_(target)
{
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        platform::raise(platform::errPathFileAccess);
    temporary_ = target + ".XXXXXX";
    int fd = ::mkstemp(temporary_.data());
    if (fd < 0) {
        int error = errno;
        temporary_.clear();
        // Creating in a folder that does not exist: the path is not found.
        platform::raise(error == ENOENT ? platform::errPathNotFound : fileErrorNumber(error));
    }
    // mkstemp creates 0600; give the file the usual mode (or the old file's).
    mode_t mode = 0666;
    if (::stat(target.c_str(), &info) == 0)
        mode = info.st_mode & 07777;
    else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    ::fchmod(fd, mode);
    file_ = ::fdopen(fd, "wb");
    if (file_ == nullptr) {
        int error = errno;
        ::close(fd);
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
        platform::raise(fileErrorNumber(errno));
}

void AtomicFileWriter::commit()
{
    if (std::fflush(file_) != 0) {
        platform::raise(fileErrorNumber(errno));
    }
    int closeResult = std::fclose(file_);
    file_ = nullptr;
    if (closeResult != 0)
        platform::raise(fileErrorNumber(errno));
    if (::rename(temporary_.c_str(), target_.c_str()) != 0)
        platform::raise(fileErrorNumber(errno));
    temporary_.clear();
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

} // namespace raylen
