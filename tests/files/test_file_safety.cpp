// File access under hostile paths: special files, links, read-only and
// long names, kills during a save, and text that must read back.
#include "../support/SpecialFiles.h"

#include "fits/FitsData.h"
#include "display/Bitmap.h"
#include "platform/BasicRuntime.h"
#include "files/FileAccess.h"
#include "files/FileKind.h"
#include "files/OutputSet.h"
#include "files/TextSpectrum.h"

#include <chrono>
#include <cfloat>
#include <cmath>
#include <csignal>
#include <cstring>
#include <random>
#include <sstream>
#include <sys/wait.h>
#include <thread>

using namespace raylen;
using testsupport::folderEntries;
using testsupport::readAll;
using testsupport::TempDir;
using testsupport::writeAll;

namespace {

const std::string pathError = "75パス名が無効です。";
const std::string permissionError = "70書き込みできません。";

std::string saveText(const std::string& path, float y = 1.5f)
{
    return sfSaveText({6560.0f, 6561.0f}, {y, 2.0f}, path);
}

uint32_t bits(float value)
{
    uint32_t b;
    std::memcpy(&b, &value, sizeof b);
    return b;
}

} // namespace

TEST(FileSafety, SpecialInputsAreRefusedAtOnce)
{
    TempDir dir;
    auto specials = testsupport::makeSpecialFiles(dir);
    specials.push_back({"folder", dir.path()});
    // A reader that opened the FIFO would wait for a writer for ever.
    alarm(20);
    for (const auto& special : specials) {
        SCOPED_TRACE(special.kind);
        EXPECT_FALSE(dfIsFileExist(special.path));
        std::vector<float> x = {7}, y = {8};
        EXPECT_EQ(sfOpenText(special.path, x, y), "sfOpenText, " + pathError);
        EXPECT_EQ(x, std::vector<float>{7});
        int16_t kind = -1;
        EXPECT_EQ(sfCheckKindOfFile(special.path, kind), "sfCheckKindOfFile, " + pathError);
        HeaderCards cards;
        FitsInfo info;
        SingleImage image;
        EXPECT_EQ(sfOpenFits(special.path, cards, info, image).find(pathError) != std::string::npos, true);
    }
    alarm(0);
}

TEST(FileSafety, SpecialOutputsAreRefusedAndLeftAlone)
{
    TempDir dir;
    auto specials = testsupport::makeSpecialFiles(dir);
    auto before = folderEntries(dir.path());
    for (const auto& special : specials) {
        SCOPED_TRACE(special.kind);
        auto identity = testsupport::nodeIdentity(special.path);
        EXPECT_EQ(saveText(special.path), "sfSaveText, " + pathError);
        HeaderCards cards = {testsupport::card("SIMPLE  =                    T"), testsupport::card("END")};
        SingleImage image(2, 2);
        EXPECT_NE(sfSaveImgSng(special.path, cards, image).find(pathError), std::string::npos);
        BitmapBytes bitmap(64);
        EXPECT_EQ(saveBitmapFile(bitmap, special.path), "sfWriteBitMap, " + pathError);
        EXPECT_EQ(testsupport::nodeIdentity(special.path), identity);
    }
    EXPECT_EQ(saveText(dir.path()), "sfSaveText, " + pathError);
    // A link to a device is followed to the device and refused the same way.
    std::string link = dir.file("to-device.txt");
    ASSERT_EQ(::symlink(specials.back().path.c_str(), link.c_str()), 0);
    EXPECT_EQ(saveText(link), "sfSaveText, " + pathError);
    before.insert("to-device.txt");
    EXPECT_EQ(folderEntries(dir.path()), before);
}

TEST(FileSafety, LinksAreFollowedAndStayLinks)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("real"));
    std::string target = dir.file("real/spectrum.txt");
    writeAll(target, "old");
    ::chmod(target.c_str(), 0640);
    // A relative link, an absolute one, and a link to that link.
    ASSERT_EQ(::symlink("real/spectrum.txt", dir.file("relative.txt").c_str()), 0);
    ASSERT_EQ(::symlink(target.c_str(), dir.file("absolute.txt").c_str()), 0);
    ASSERT_EQ(::symlink("relative.txt", dir.file("chain.txt").c_str()), 0);
    float y = 1.0f;
    for (const char* name : {"relative.txt", "absolute.txt", "chain.txt"}) {
        SCOPED_TRACE(name);
        y += 1.0f;
        ASSERT_EQ(saveText(dir.file(name), y), "");
        EXPECT_TRUE(std::filesystem::is_symlink(dir.file(name)));
        EXPECT_EQ(readAll(target), "6560," + platform::singleToText(y) + "\r\n6561,2\r\n");
        EXPECT_EQ(std::filesystem::status(target).permissions(), std::filesystem::perms(0640));
    }
    EXPECT_EQ(std::filesystem::read_symlink(dir.file("relative.txt")), "real/spectrum.txt");
    EXPECT_EQ(std::filesystem::read_symlink(dir.file("chain.txt")), "relative.txt");
    EXPECT_EQ(folderEntries(dir.file("real")), std::set<std::string>{"spectrum.txt"});
    // A dangling link creates the file it names.
    ASSERT_EQ(::symlink("real/new.txt", dir.file("dangling.txt").c_str()), 0);
    ASSERT_EQ(saveText(dir.file("dangling.txt")), "");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("dangling.txt")));
    EXPECT_EQ(readAll(dir.file("real/new.txt")), "6560,1.5\r\n6561,2\r\n");
    // A loop of links cannot be saved through.
    ASSERT_EQ(::symlink("loop-b", dir.file("loop-a").c_str()), 0);
    ASSERT_EQ(::symlink("loop-a", dir.file("loop-b").c_str()), 0);
    EXPECT_EQ(saveText(dir.file("loop-a")), "sfSaveText, " + pathError);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("loop-a")));
}

TEST(FileSafety, ReadOnlyOutputsAreRefusedEvenForRoot)
{
    TempDir dir;
    std::string path = dir.file("locked.txt");
    writeAll(path, "keep me");
    ::chmod(path.c_str(), 0444);
    EXPECT_EQ(saveText(path), "sfSaveText, " + permissionError);
    EXPECT_EQ(readAll(path), "keep me");
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0444));
    EXPECT_EQ(folderEntries(dir.path()), std::set<std::string>{"locked.txt"});
    // A new file takes the usual mode narrowed by the umask.
    mode_t mask = ::umask(022);
    ASSERT_EQ(saveText(dir.file("new.txt")), "");
    ::umask(mask);
    EXPECT_EQ(std::filesystem::status(dir.file("new.txt")).permissions(), std::filesystem::perms(0644));
}

TEST(FileSafety, LongestNamesSave)
{
    TempDir dir;
    // 255 bytes, the longest name a folder entry holds, in ASCII and in UTF-8.
    std::string ascii(255, 'a');
    std::string japanese;
    while (japanese.size() + 3 <= 252)
        japanese += "ス"; // three bytes each
    japanese += ".tx";
    ASSERT_EQ(japanese.size(), 255u);
    for (const std::string& name : {ascii, japanese}) {
        std::string path = dir.file(name);
        ASSERT_EQ(saveText(path), "");
        ASSERT_EQ(saveText(path, 3.0f), ""); // replacing works as well as creating
        std::vector<float> x, y;
        ASSERT_EQ(sfOpenText(path, x, y), "");
        EXPECT_EQ(y, (std::vector<float>{3.0f, 2.0f}));
    }
    EXPECT_EQ(folderEntries(dir.path()), (std::set<std::string>{ascii, japanese}));
    EXPECT_EQ(saveText(dir.file(ascii + "b")), "sfSaveText, 52ファイル名または番号が不正です。");
}

TEST(FileSafety, KilledSavesLeaveTheOldOrTheNewFileAndNothingElse)
{
    TempDir dir;
    std::string target = dir.file("frame.fit");
    const std::string oldBytes(3 << 20, 'o');
    const size_t newSize = 24u << 20;
    auto newBytes = [&] {
        std::string bytes(newSize, 'n');
        for (size_t i = 0; i < bytes.size(); i += 4096)
            bytes[i] = static_cast<char>(i >> 12);
        return bytes;
    };
    const std::string expectedNew = newBytes();

    // Time one save so that the kills fall across the whole of it.
    auto start = std::chrono::steady_clock::now();
    writeFileBytes(target, expectedNew.data(), expectedNew.size());
    auto saveTime = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);

    std::mt19937 random(20261208);
    int interrupted = 0;
    constexpr int runs = 12;
    for (int run = 0; run < runs; ++run) {
        writeAll(target, oldBytes);
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::string bytes = newBytes();
            char go = 1;
            (void)!::write(ready[1], &go, 1);
            writeFileBytes(target, bytes.data(), bytes.size());
            ::_exit(0);
        }
        char go = 0;
        ASSERT_EQ(::read(ready[0], &go, 1), 1);
        ::close(ready[0]);
        ::close(ready[1]);
        auto delay = std::chrono::microseconds(random() % (saveTime.count() * 5 / 4 + 1));
        std::this_thread::sleep_for(delay);
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        SCOPED_TRACE("run " + std::to_string(run) + ", killed after " + std::to_string(delay.count()) + " us");
        EXPECT_EQ(folderEntries(dir.path()), std::set<std::string>{"frame.fit"});
        std::string now = readAll(target);
        if (now.size() == oldBytes.size()) {
            EXPECT_EQ(now, oldBytes);
            ++interrupted;
        } else {
            EXPECT_TRUE(now == expectedNew) << "a file of " << now.size() << " bytes";
        }
    }
    EXPECT_GT(interrupted, 0) << "no kill fell inside a save of " << saveTime.count() << " us";
}

TEST(FileSafety, LeftoversOfDeadProcessesAreClearedOnTheNextSave)
{
    TempDir dir;
    pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    std::string dead = ".raylen-save-" + std::to_string(child) + "-abcdefgh";
    std::string live = ".raylen-save-" + std::to_string(::getpid()) + "-abcdefgh";
    writeAll(dir.file(dead), "left by a killed save");
    writeAll(dir.file(live), "being written");
    writeAll(dir.file(".raylen-save-notapid"), "not ours");
    ASSERT_EQ(saveText(dir.file("s.txt")), "");
    EXPECT_EQ(folderEntries(dir.path()), (std::set<std::string>{live, ".raylen-save-notapid", "s.txt"}));
}

TEST(FileSafety, LeftoversOfAReusedProcessIdAreClearedToo)
{
    // Field 22 of our stat record: the start time the names carry.
    std::string stat = readAll("/proc/self/stat");
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22; ++i)
        fields >> field;
    TempDir dir;
    const std::string pid = std::to_string(::getpid());
    const std::string ours = ".raylen-save-" + pid + "-" + field + "-abcdefgh";
    const std::string reused = ".raylen-save-" + pid + "-1-abcdefgh";
    writeAll(dir.file(ours), "being written");
    writeAll(dir.file(reused), "left by a killed save whose id we now have");
    ASSERT_EQ(saveText(dir.file("s.txt")), "");
    EXPECT_EQ(folderEntries(dir.path()), (std::set<std::string>{ours, "s.txt"}));
}

TEST(OutputSet, RelatedFilesAreReplacedTogetherOrNotAtAll)
{
    TempDir dir;
    writeAll(dir.file("a.txt"), "old a");
    writeAll(dir.file("b.txt"), "old b");
    std::filesystem::create_directory(dir.file("c.txt"));
    {
        // The second save is refused: the first is not put in place.
        OutputSet set;
        ASSERT_EQ(saveText(dir.file("a.txt")), "");
        EXPECT_EQ(readAll(dir.file("a.txt")), "old a");
        EXPECT_EQ(saveText(dir.file("c.txt")), "sfSaveText, " + pathError);
    }
    EXPECT_EQ(readAll(dir.file("a.txt")), "old a");
    EXPECT_EQ(folderEntries(dir.path()), (std::set<std::string>{"a.txt", "b.txt", "c.txt"}));
    {
        OutputSet set;
        ASSERT_EQ(saveText(dir.file("a.txt"), 3.0f), "");
        ASSERT_EQ(saveText(dir.file("b.txt"), 4.0f), "");
        ASSERT_EQ(saveText(dir.file("new.txt"), 5.0f), "");
        ASSERT_EQ(set.commit(), "");
        // Saves after the commit go straight to their file.
        ASSERT_EQ(saveText(dir.file("after.txt")), "");
        EXPECT_EQ(readAll(dir.file("after.txt")), "6560,1.5\r\n6561,2\r\n");
    }
    EXPECT_EQ(readAll(dir.file("a.txt")), "6560,3\r\n6561,2\r\n");
    EXPECT_EQ(readAll(dir.file("b.txt")), "6560,4\r\n6561,2\r\n");
    EXPECT_EQ(readAll(dir.file("new.txt")), "6560,5\r\n6561,2\r\n");
    EXPECT_EQ(folderEntries(dir.path()), (std::set<std::string>{"a.txt", "b.txt", "c.txt", "new.txt", "after.txt"}));
}

TEST(OutputSet, APlacementThatFailsPutsTheOldFilesBack)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("night"));
    writeAll(dir.file("a.txt"), "old a");
    OutputSet set;
    ASSERT_EQ(saveText(dir.file("a.txt")), "");
    ASSERT_EQ(saveText(dir.file("night/b.txt")), "");
    // The second temporary vanishes with its folder before the commit.
    std::filesystem::rename(dir.file("night"), dir.file("moved"));
    EXPECT_EQ(set.commit(), "OutputSet, 53ファイルが見つかりません。");
    EXPECT_EQ(readAll(dir.file("a.txt")), "old a");
    EXPECT_EQ(folderEntries(dir.path()), (std::set<std::string>{"a.txt", "moved"}));
}

TEST(TextSpectrum, EveryWrittenValueReadsBackBitForBit)
{
    TempDir dir;
    const float inf = std::numeric_limits<float>::infinity();
    std::vector<float> values = {std::nanf(""), inf, -inf, 0.0f, -0.0f, FLT_MIN, -FLT_MIN,
                                 std::numeric_limits<float>::denorm_min(), -std::numeric_limits<float>::denorm_min(),
                                 std::nextafter(FLT_MIN, 0.0f), FLT_MAX, -FLT_MAX, std::nextafter(FLT_MAX, 0.0f),
                                 1.0f, std::nextafter(1.0f, 2.0f), 16777217.0f, 1e-40f};
    std::vector<float> x(values.size());
    for (size_t i = 0; i < x.size(); ++i)
        x[i] = static_cast<float>(i);
    std::string path = dir.file("s.txt");
    ASSERT_EQ(sfSaveText(x, values, path), "");
    std::string text = readAll(path);
    EXPECT_EQ(text.substr(0, text.find("\r\n3,")), "0,NaN\r\n1,Inf\r\n2,-Inf");
    EXPECT_NE(text.find("\r\n4,-0\r\n"), std::string::npos);
    std::vector<float> rx, ry;
    ASSERT_EQ(sfOpenText(path, rx, ry), "") << text;
    ASSERT_EQ(ry.size(), values.size());
    EXPECT_TRUE(std::isnan(ry[0]));
    for (size_t i = 1; i < values.size(); ++i)
        EXPECT_EQ(bits(ry[i]), bits(values[i])) << i << ": " << platform::singleToText(values[i]);
    // Infinite X values read back too, and only the writer's spellings pass.
    ASSERT_EQ(sfSaveText({-inf, inf}, {1.0f, 2.0f}, path), "");
    ASSERT_EQ(sfOpenText(path, rx, ry), "");
    EXPECT_EQ(rx, (std::vector<float>{-inf, inf}));
    for (const char* other : {"1,nan\r\n", "1,inf\r\n", "1,+Inf\r\n", "1,Infinity\r\n", "1,-NaN\r\n"}) {
        writeAll(path, other);
        EXPECT_EQ(sfOpenText(path, rx, ry), "sfOpenText, 13型が一致しません。") << other;
    }
}
