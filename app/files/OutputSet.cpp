#include "files/OutputSet.h"

#include "files/FileAccess.h"
#include "files/SaveTemporary.h"
#include "platform/BasicError.h"

#include <cerrno>
#include <fcntl.h>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace raylen {

namespace {

thread_local OutputSet* currentSet = nullptr;

// Exclusive locks on the targets' folders for the time of one commit, taken
// in name order so that two sets never wait for each other crosswise. A
// folder that cannot be locked (a file system without locks) is written
// unlocked: the set is still all or nothing, only not serialised.
class FolderLocks {
public:
    explicit FolderLocks(const std::set<std::string>& folders)
    {
        for (const std::string& folder : folders) {
            int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (fd < 0)
                continue;
            int result = 0;
            do
                result = ::flock(fd, LOCK_EX);
            while (result != 0 && errno == EINTR);
            fds_.push_back(fd);
        }
    }
    ~FolderLocks()
    {
        for (int fd : fds_)
            ::close(fd); // closing releases the lock
    }
    FolderLocks(const FolderLocks&) = delete;
    FolderLocks& operator=(const FolderLocks&) = delete;

private:
    std::vector<int> fds_;
};

// How the old file of one target is kept until the whole set is in place.
struct Backup {
    std::string name;   // empty: there was no old file
    bool moved = false; // no hard links here: the old file is renamed away first
    bool placed = false;
};

[[noreturn]] void raiseErrno(int error) { platform::raise(fileErrorNumber(error)); }

bool linksUnsupported(int error) { return error == EPERM || error == EOPNOTSUPP || error == EMLINK || error == ENOSYS; }

} // namespace

OutputSet::OutputSet() : outer_(currentSet) { currentSet = this; }

OutputSet::~OutputSet()
{
    currentSet = outer_;
    for (const Staged& s : staged_)
        ::unlink(s.temporary.c_str());
}

OutputSet* OutputSet::current() { return currentSet; }

void OutputSet::add(const std::string& temporary, const std::string& target)
{
    // A target saved twice keeps its last contents.
    for (Staged& s : staged_)
        if (s.target == target) {
            ::unlink(s.temporary.c_str());
            s.temporary = temporary;
            return;
        }
    staged_.push_back({temporary, target});
}

std::string OutputSet::commit()
{
    // Saves after the commit go straight to their targets again.
    currentSet = outer_;
    return platform::trapErrors("OutputSet", [&] { place(); });
}

void OutputSet::place()
{
    std::set<std::string> folders;
    for (const Staged& s : staged_)
        folders.insert(folderOf(s.target));
    FolderLocks locks(folders);

    std::vector<Backup> backups(staged_.size());
    auto undo = [&] {
        // Back to the old files, newest placement first.
        for (size_t k = backups.size(); k-- > 0;) {
            const Backup& b = backups[k];
            if (b.placed || b.moved) {
                if (!b.name.empty())
                    ::rename(b.name.c_str(), staged_[k].target.c_str());
                else
                    ::unlink(staged_[k].target.c_str());
            } else if (!b.name.empty()) {
                ::unlink(b.name.c_str());
            }
        }
    };

    for (size_t i = 0; i < staged_.size(); ++i) {
        const std::string& target = staged_[i].target;
        struct stat info {};
        if (::lstat(target.c_str(), &info) != 0)
            continue;
        for (;;) {
            backups[i].name = temporaryName(folderOf(target));
            if (::link(target.c_str(), backups[i].name.c_str()) == 0)
                break;
            const int error = errno;
            if (error == EEXIST)
                continue;
            if (linksUnsupported(error)) {
                backups[i].moved = true;
                break;
            }
            backups[i].name.clear();
            undo();
            raiseErrno(error);
        }
    }

    for (size_t i = 0; i < staged_.size(); ++i) {
        Backup& b = backups[i];
        const Staged& s = staged_[i];
        if (b.moved && ::rename(s.target.c_str(), b.name.c_str()) != 0) {
            const int error = errno;
            b.moved = false;
            b.name.clear();
            undo();
            raiseErrno(error);
        }
        if (::rename(s.temporary.c_str(), s.target.c_str()) != 0) {
            const int error = errno;
            undo();
            raiseErrno(error);
        }
        b.placed = true;
    }

    for (const Backup& b : backups)
        if (!b.name.empty())
            ::unlink(b.name.c_str());
    staged_.clear();
}

} // namespace raylen
