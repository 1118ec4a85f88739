#include "SideBySide.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace cli {

namespace {

// Status of a job whose worker died before it reported.
constexpr int kJobLost = 1;

struct Report {
    uint32_t job;
    int32_t status;
};

// Moves all `size` bytes through read or write, again after an
// interruption; false at an end of file or an error.
template <class Byte, class Transfer>
bool transferAll(Transfer transfer, int fd, Byte* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = transfer(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool readAll(int fd, void* data, size_t size) { return transferAll(::read, fd, static_cast<char*>(data), size); }

bool writeAll(int fd, const void* data, size_t size)
{
    return transferAll(::write, fd, static_cast<const char*>(data), size);
}

void relay(const std::string& path, int to)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    char buffer[1 << 16];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        if (!writeAll(to, buffer, static_cast<size_t>(n)))
            break; // standard output is checked again at the end
    ::close(fd);
    ::unlink(path.c_str());
}

class Spool {
public:
    Spool()
    {
        const char* base = std::getenv("TMPDIR");
        folder_ = std::string(base && *base ? base : "/tmp") + "/raylen-batch-XXXXXX";
        if (!::mkdtemp(folder_.data()))
            folder_.clear();
    }
    ~Spool()
    {
        if (!folder_.empty())
            ::rmdir(folder_.c_str());
    }
    Spool(const Spool&) = delete;
    Spool& operator=(const Spool&) = delete;
    bool usable() const { return !folder_.empty(); }
    std::string file(size_t job, const char* stream) const
    {
        return folder_ + "/" + std::to_string(job) + stream;
    }

private:
    std::string folder_;
};

[[noreturn]] void work(int jobs, int reports, const Spool& spool, const std::function<int(size_t)>& job,
                       const std::function<void()>& workerEnd)
{
    for (uint32_t k; readAll(jobs, &k, sizeof k);) {
        const int out = ::open(spool.file(k, ".out").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        const int err = ::open(spool.file(k, ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        Report report{k, kJobLost};
        if (out >= 0 && err >= 0 && ::dup2(out, STDOUT_FILENO) >= 0 && ::dup2(err, STDERR_FILENO) >= 0) {
            report.status = job(k);
            std::cout.flush();
            std::cerr.flush();
            std::fflush(nullptr);
        }
        ::close(out);
        ::close(err);
        writeAll(reports, &report, sizeof report);
    }
    if (workerEnd)
        workerEnd();
    ::_exit(0);
}

} // namespace

int runSideBySide(size_t count, unsigned workers, const std::function<int(size_t)>& job,
                  const std::function<void()>& workerEnd, const std::function<void(size_t)>& lost)
{
    Spool spool;
    int jobs[2], reports[2];
    if (!spool.usable() || ::pipe2(jobs, O_CLOEXEC) != 0) {
        std::cerr << "raylen-cli: cannot prepare the side-by-side run: " << std::strerror(errno) << '\n';
        return kJobLost;
    }
    if (::pipe2(reports, O_CLOEXEC) != 0) {
        std::cerr << "raylen-cli: cannot prepare the side-by-side run: " << std::strerror(errno) << '\n';
        ::close(jobs[0]);
        ::close(jobs[1]);
        return kJobLost;
    }
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::vector<pid_t> pids;
    const size_t wanted = std::min<size_t>(std::max(workers, 1u), count);
    for (size_t w = 0; w < wanted; ++w) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(jobs[1]);
            ::close(reports[0]);
            work(jobs[0], reports[1], spool, job, workerEnd);
        }
        if (pid > 0)
            pids.push_back(pid);
    }
    ::close(jobs[0]);
    ::close(reports[1]);
    // With no worker at all, the reports pipe ends at once and every job is lost.
    for (uint32_t k = 0; k < count && !pids.empty(); ++k)
        if (!writeAll(jobs[1], &k, sizeof k))
            break;
    ::close(jobs[1]);

    std::vector<int> status(count, kJobLost);
    std::vector<bool> reported(count, false);
    size_t relayed = 0;
    auto relayReady = [&](bool all) {
        while (relayed < count && (all || reported[relayed])) {
            relay(spool.file(relayed, ".out"), STDOUT_FILENO);
            relay(spool.file(relayed, ".err"), STDERR_FILENO);
            if (!reported[relayed] && lost) {
                lost(relayed);
                std::cerr.flush();
            }
            ++relayed;
        }
    };
    for (Report r; readAll(reports[0], &r, sizeof r);) {
        if (r.job < count) {
            status[r.job] = r.status;
            reported[r.job] = true;
        }
        relayReady(false);
    }
    ::close(reports[0]);
    for (pid_t pid : pids)
        while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    relayReady(true);
    for (int s : status)
        if (s != 0)
            return s;
    return 0;
}

} // namespace cli
