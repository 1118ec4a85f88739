// Two real copies of the program: the second one refuses to start.
#include "GuiHarness.h"

#include "shell/gui/CommandLine.h"
#include "shell/gui/SingleInstance.h"

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

using namespace guitest;

namespace {

// report: asked to report instead of showing boxes (RAYLEN_REPORT_OPEN),
// with the window program's own message boxes.
pid_t startProgram(const std::string& runtimeDir, const std::string& errFile, bool report = false,
                   const std::string& file = {})
{
    pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("XDG_RUNTIME_DIR", runtimeDir.c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        if (report)
            ::setenv("RAYLEN_REPORT_OPEN", "1", 1);
        else
            ::setenv("RAYLEN_CONSOLE_UI", "1", 1);
        FILE* err = std::freopen(errFile.c_str(), "w", stderr);
        (void)err;
        std::string program = std::string(RAYLEN_BIN_DIR) + "/raylen";
        if (file.empty())
            ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        else
            ::execl(program.c_str(), program.c_str(), file.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    return pid;
}

bool waitFor(const std::function<bool()>& condition, int milliseconds)
{
    for (int waited = 0; waited < milliseconds; waited += 20) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return condition();
}

} // namespace

TEST(SingleInstance, SecondCopyShowsTheMessageAndLeavesTheFirstRunning)
{
    TempDir dir;
    ::chmod(dir.path().c_str(), 0700);
    const std::string lock = dir.file("raylen.lock");
    pid_t first = startProgram(dir.path(), dir.file("first.err"));
    ASSERT_GT(first, 0);
    ASSERT_TRUE(waitFor([&] { return std::filesystem::exists(lock); }, 15000)) << readAll(dir.file("first.err"));
    const std::string lockBefore = readAll(lock);

    pid_t second = startProgram(dir.path(), dir.file("second.err"));
    int status = -1;
    ASSERT_EQ(::waitpid(second, &status, 0), second);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_NE(readAll(dir.file("second.err")).find("Raylen: Raylen は既に起動しています"), std::string::npos)
        << readAll(dir.file("second.err"));

    // Asked to report, a second copy says so and ends instead of waiting on the box.
    pid_t reporting = startProgram(dir.path(), dir.file("report.err"), true);
    const bool ended = waitFor([&] { return ::waitpid(reporting, &status, WNOHANG) == reporting; }, 15000);
    if (!ended) {
        ::kill(reporting, SIGKILL);
        ::waitpid(reporting, &status, 0);
    }
    EXPECT_TRUE(ended) << "still waiting on the box";
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(readAll(dir.file("report.err")), "Raylen: Raylen は既に起動しています\n");

    // The first copy still runs and still holds its lock.
    EXPECT_EQ(::waitpid(first, &status, WNOHANG), 0);
    EXPECT_EQ(readAll(lock), lockBefore);
    EXPECT_EQ(readAll(dir.file("first.err")).find("既に起動"), std::string::npos);

    ::kill(first, SIGTERM);
    ::waitpid(first, &status, 0);
    // With the first copy gone, a new copy starts (its stale lock is taken over).
    pid_t third = startProgram(dir.path(), dir.file("third.err"));
    EXPECT_TRUE(waitFor([&] { return readAll(lock) != lockBefore && !readAll(lock).empty(); }, 15000));
    EXPECT_EQ(::waitpid(third, &status, WNOHANG), 0);
    ::kill(third, SIGTERM);
    ::waitpid(third, &status, 0);
}

TEST(SingleInstance, SecondCopyHandsItsFileToTheRunningOne)
{
    TempDir dir;
    ::chmod(dir.path().c_str(), 0700);
    const std::string frame = writeFits(dir.file("handed.fit"), 16, 8, 6, [](int x, int y) { return x + y; });
    // This process is the running copy.
    const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(dir.path()));
    Harness h;
    raylen::SingleInstance running;
    qputenv("XDG_RUNTIME_DIR", oldRuntime);
    ASSERT_TRUE(running.acquired());
    QStringList handed;
    running.serve([&](const QStringList& files) {
        handed = files;
        EXPECT_EQ(raylen::openCommandLineFiles(files), "");
    });

    pid_t second = startProgram(dir.path(), dir.file("second.err"), false, frame);
    int status = -1;
    ASSERT_TRUE(waitFor([&] {
        QApplication::processEvents();
        return ::waitpid(second, &status, WNOHANG) == second;
    }, 15000)) << readAll(dir.file("second.err"));
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(readAll(dir.file("second.err")).find("既に起動"), std::string::npos) << readAll(dir.file("second.err"));
    ASSERT_TRUE(waitFor([&] {
        QApplication::processEvents();
        return !handed.isEmpty();
    }, 5000));
    EXPECT_EQ(handed, QStringList{QString::fromStdString(frame)});
    EXPECT_NE(raylen::openWindowCaptions().find("handed.fit"), std::string::npos) << raylen::openWindowCaptions();
    EXPECT_EQ(raylen::appState().strFileName, frame);
}
