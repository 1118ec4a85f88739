// raylen-cli given special files, links, read-only and long names as input
// or output, killed while saving, and cutting values that are not numbers.
#include "../support/CliRun.h"
#include "../fits/FitsBuilder.h"
#include "../support/SpecialFiles.h"

#include "platform/BasicRuntime.h"
#include "files/TextSpectrum.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/wait.h>
#include <thread>

using clitest::cli;
using clitest::Result;
using testsupport::folderEntries;
using testsupport::readAll;
using testsupport::shellQuote;
using testsupport::TempDir;
using testsupport::writeAll;

namespace {

// A float FITS image of width × height pixels, all of one value.
std::string floatFits(int width, int height, float value)
{
    return fitstest::headerBytes(fitstest::imageCards(-32, width, height)) +
           fitstest::padded(fitstest::bigEndian(std::vector<float>(static_cast<size_t>(width) * height, value)));
}

} // namespace

TEST(CliFiles, SpecialInputsReturnAtOnceWithTheMessage)
{
    TempDir dir, scratch;
    auto specials = testsupport::makeSpecialFiles(dir);
    specials.push_back({"folder", dir.path()});
    for (const auto& special : specials) {
        SCOPED_TRACE(special.kind);
        auto start = std::chrono::steady_clock::now();
        Result r = cli("info " + shellQuote(special.path), scratch);
        auto took = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "ﾌｧｲﾙが存在しません\n");
        EXPECT_EQ(r.out, "");
        EXPECT_LT(took, std::chrono::seconds(5));
    }
}

TEST(CliFiles, OutputsThatAreNotPlainWritableFilesAreRefusedUnchanged)
{
    TempDir dir, scratch;
    writeAll(dir.file("in.fit"), floatFits(8, 4, 1.0f));
    std::string in = shellQuote(dir.file("in.fit"));
    auto specials = testsupport::makeSpecialFiles(dir);
    std::string locked = dir.file("locked.txt");
    writeAll(locked, "keep");
    ::chmod(locked.c_str(), 0444);
    auto before = folderEntries(dir.path());
    struct Command {
        std::string arguments, procedure;
    };
    const std::vector<Command> commands = {{"convert " + in, "sfWriteFitsSng"},
                                           {"render " + in, "sfWriteBitMap"},
                                           {"cut " + in + " --x 0:7 --y 0:3", "sfSaveText"}};
    for (const Command& command : commands) {
        for (const auto& special : specials) {
            SCOPED_TRACE(command.arguments + " -o " + special.kind);
            auto identity = testsupport::nodeIdentity(special.path);
            Result r = cli(command.arguments + " -o " + shellQuote(special.path), scratch);
            EXPECT_EQ(r.status, 1);
            EXPECT_EQ(r.err, command.procedure + ", 75パス名が無効です。\n");
            EXPECT_EQ(testsupport::nodeIdentity(special.path), identity);
        }
        Result r = cli(command.arguments + " -o " + shellQuote(locked), scratch);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, command.procedure + ", 70書き込みできません。\n");
        EXPECT_EQ(readAll(locked), "keep");
    }
    EXPECT_EQ(folderEntries(dir.path()), before);
}

TEST(CliFiles, LinkedAndLongestNamedOutputs)
{
    TempDir dir, scratch;
    writeAll(dir.file("in.fit"), floatFits(8, 4, 2.0f));
    std::string in = shellQuote(dir.file("in.fit"));
    std::filesystem::create_directory(dir.file("night"));
    writeAll(dir.file("night/profile.txt"), "old");
    ASSERT_EQ(::symlink("night/profile.txt", dir.file("latest.txt").c_str()), 0);
    Result r = cli("cut " + in + " --x 0:1 --y 0:3 -o " + shellQuote(dir.file("latest.txt")), scratch);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(std::filesystem::read_symlink(dir.file("latest.txt")), "night/profile.txt");
    EXPECT_EQ(readAll(dir.file("night/profile.txt")), "0,2\r\n1,2\r\n");
    EXPECT_EQ(folderEntries(dir.file("night")), std::set<std::string>{"profile.txt"});

    std::string longest(251, 'L');
    longest += ".fit";
    r = cli("convert " + in + " -o " + shellQuote(dir.file(longest)), scratch);
    ASSERT_EQ(r.status, 0) << r.err;
    Result info = cli("info " + shellQuote(dir.file(longest)), scratch);
    EXPECT_NE(info.out.find("\nBITPIX=-32\nNAXIS=2\nNAXIS1=8\nNAXIS2=4\n"), std::string::npos) << info.out;
}

TEST(CliFiles, CutOfValuesThatAreNotNumbersReadsBack)
{
    TempDir dir, scratch;
    // One row each of NaN, +Inf, -Inf, -0 and the largest float.
    const float inf = std::numeric_limits<float>::infinity();
    std::string fits = fitstest::headerBytes(fitstest::imageCards(-32, 1, 5)) +
                       fitstest::padded(fitstest::bigEndian(std::vector<float>{
                           std::nanf(""), inf, -inf, -0.0f, std::numeric_limits<float>::max()}));
    writeAll(dir.file("odd.fit"), fits);
    Result r = cli("cut " + shellQuote(dir.file("odd.fit")) + " --x 0:0 --y 0:4 --along y -o " +
                       shellQuote(dir.file("odd.txt")),
                   scratch);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readAll(dir.file("odd.txt")), "0,NaN\r\n1,Inf\r\n2,-Inf\r\n3,0\r\n4,3.4028235E+38\r\n");
    std::vector<float> x, y;
    ASSERT_EQ(raylen::sfOpenText(dir.file("odd.txt"), x, y), "");
    ASSERT_EQ(y.size(), 5u);
    EXPECT_TRUE(std::isnan(y[0]));
    EXPECT_EQ(y[1], std::numeric_limits<float>::infinity());
    EXPECT_EQ(y[2], -std::numeric_limits<float>::infinity());
    EXPECT_EQ(y[3], 0.0f); // the cut averages, and 0 + -0 is 0
    EXPECT_EQ(y[4], std::numeric_limits<float>::max());
}

TEST(CliFiles, KilledConversionsLeaveTheOldOrTheNewOutputOnly)
{
    TempDir dir, scratch;
    constexpr int width = 2048, height = 2048;
    writeAll(dir.file("big.fit"), floatFits(width, height, 1.5f));
    const std::string out = dir.file("out.fit");
    // The kills are drawn within the fastest of three runs: on a loaded
    // machine one slow reference run would let most killed runs finish.
    auto runTime = std::chrono::microseconds::max();
    for (int reference = 0; reference < 3; ++reference) {
        auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(cli("convert " + shellQuote(dir.file("big.fit")) + " -o " + shellQuote(out), scratch).status, 0);
        runTime = std::min(runTime, std::chrono::duration_cast<std::chrono::microseconds>(
                                        std::chrono::steady_clock::now() - start));
    }
    const std::string expectedNew = readAll(out);
    const std::string oldBytes = "an older conversion";
    const std::string program = std::string(RAYLEN_BIN_DIR) + "/raylen-cli";

    std::mt19937 random(15);
    int interrupted = 0;
    // Eight kills, and more while none has yet caught a conversion midway.
    constexpr int kills = 8, maxKills = 32;
    for (int run = 0; run < kills || (interrupted == 0 && run < maxKills); ++run) {
        writeAll(out, oldBytes);
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, 1);
            ::dup2(null, 2);
            ::execl(program.c_str(), "raylen-cli", "convert", dir.file("big.fit").c_str(), "-o", out.c_str(),
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        auto delay = std::chrono::microseconds(random() % (runTime.count() + 1));
        std::this_thread::sleep_for(delay);
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        SCOPED_TRACE("killed after " + std::to_string(delay.count()) + " us of " + std::to_string(runTime.count()));
        // A kill in the instant between linking the new file under a
        // temporary name and renaming it leaves that name, owned by the dead
        // process; the next save in the folder sweeps it (tested with the
        // file access). Nothing else may be left.
        std::set<std::string> entries = folderEntries(dir.path());
        const std::string deadTemporary = ".raylen-save-" + std::to_string(child) + "-";
        for (auto it = entries.begin(); it != entries.end();) {
            if (it->rfind(deadTemporary, 0) == 0) {
                std::filesystem::remove(dir.file(*it));
                it = entries.erase(it);
            } else {
                ++it;
            }
        }
        EXPECT_EQ(entries, (std::set<std::string>{"big.fit", "out.fit"}));
        std::string now = readAll(out);
        if (now == oldBytes)
            ++interrupted;
        else
            EXPECT_TRUE(now == expectedNew) << "a file of " << now.size() << " bytes";
    }
    EXPECT_GT(interrupted, 0);
}
