// Text spectra, file classification and path helpers.
#include "../support/TestSupport.h"

#include "files/FileAccess.h"
#include <cmath>
#include "files/FileKind.h"
#include "files/TextSpectrum.h"

using namespace raylen;
using testsupport::TempDir;
using testsupport::writeAll;

TEST(TextSpectrum, WrittenBytesAndLosslessReadBack)
{
    TempDir dir;
    std::string path = dir.file("s.txt");
    std::vector<float> x = {6560.0f, 6561.0f, 6562.0f}, y = {0.5f, 1.0f, 1.5e-15f};
    ASSERT_EQ(sfSaveText(x, y, path), "");
    EXPECT_EQ(testsupport::readAll(path), "6560,0.5\r\n6561,1\r\n6562,1.5E-15\r\n");
    std::vector<float> rx, ry;
    ASSERT_EQ(sfOpenText(path, rx, ry), "");
    EXPECT_EQ(rx, x);
    EXPECT_EQ(ry, y);
    // Awkward values survive the round trip bit for bit.
    std::vector<float> vx, vy;
    for (int i = 0; i < 500; ++i) {
        vx.push_back(5400.0f + static_cast<float>(i) * 1.1734f);
        vy.push_back(std::ldexp(0.7f + static_cast<float>(i) * 1e-3f, (i % 80) - 40) * (i % 3 ? 1.f : -1.f));
    }
    ASSERT_EQ(sfSaveText(vx, vy, path), "");
    ASSERT_EQ(sfOpenText(path, rx, ry), "");
    EXPECT_EQ(rx, vx);
    EXPECT_EQ(ry, vy);
}

TEST(TextSpectrum, SeparatorsOrderAndDamagedFiles)
{
    TempDir dir;
    std::string path = dir.file("s.txt");
    writeAll(path, "  5 50\n4,40\r\n3 , 30\r2\t20 1,10\n\n");
    std::vector<float> x, y;
    ASSERT_EQ(sfOpenText(path, x, y), "");
    EXPECT_EQ(x, (std::vector<float>{1, 2, 3, 4, 5}));
    EXPECT_EQ(y, (std::vector<float>{10, 20, 30, 40, 50}));
    writeAll(path, "1 10\n5 50\n2 20\n");
    ASSERT_EQ(sfOpenText(path, x, y), "");
    EXPECT_EQ(x, (std::vector<float>{1, 5, 2}));
    // A last pair without its Y: input past the end; the arrays stay.
    writeAll(path, "1,10\r\n2,20\r\n3\r\n");
    EXPECT_EQ(sfOpenText(path, x, y), "sfOpenText, 62ファイルにこれ以上データがありません。");
    EXPECT_EQ(x, (std::vector<float>{1, 5, 2}));
    writeAll(path, "1,10\r\n2,abc\r\n");
    EXPECT_EQ(sfOpenText(path, x, y), "sfOpenText, 13型が一致しません。");
    writeAll(path, "1,1e39\r\n");
    EXPECT_EQ(sfOpenText(path, x, y), "sfOpenText, 6オーバーフローしました。");
    EXPECT_EQ(sfSaveText(x, y, dir.file("none/x.txt")), "sfSaveText, 76パスが見つかりません。");
}

TEST(TextSpectrum, NulInsideANumberAndACommentFirstLineAreRefused)
{
    TempDir dir;
    std::string path = dir.file("s.txt");
    std::vector<float> x{7}, y{7};
    // A NUL must not cut 123.5 short to 12.
    for (std::string bytes : {std::string("12\0" "3.5,1\r\n", 10), std::string("1,10\r\n2,2\0" "0\r\n", 13)}) {
        writeAll(path, bytes);
        EXPECT_EQ(sfOpenText(path, x, y), "sfOpenText, 13型が一致しません。");
    }
    EXPECT_EQ(x, std::vector<float>{7});
    // NULs between the fields still separate them.
    writeAll(path, std::string("1,10\r\n\0\0", 8));
    ASSERT_EQ(sfOpenText(path, x, y), "");
    EXPECT_EQ(x, std::vector<float>{1});
    // A first line of '#' or words is no spectrum, as the open dialog says;
    // a negative first X still reads.
    writeAll(path, "# wavelength flux\r\n1,10\r\n");
    EXPECT_EQ(sfOpenText(path, x, y), kMsgUnsupportedFile);
    EXPECT_EQ(std::string(kMsgUnsupportedFile), "ｻﾎﾟｰﾄしていないﾌｧｲﾙ形式です");
    writeAll(path, "-1.5,10\r\n2,20\r\n");
    ASSERT_EQ(sfOpenText(path, x, y), "");
    EXPECT_EQ(x, (std::vector<float>{-1.5f, 2.0f}));
}

TEST(FileKind, ClassifiedByTheFirstLine)
{
    TempDir dir;
    struct Case {
        std::string bytes;
        int16_t kind;
    };
    for (const Case& c : {Case{"SIMPLE    ", kindFits}, Case{"  12.5 3.0\r\n13 4", kindText}, Case{"#comment 1 2\n", kindOther},
                          Case{"-1.0 2.0\n3 4\n", kindOther}, Case{"simple  = T ", kindOther},
                          Case{"\n12 3\n45 6\n", kindOther}}) {
        std::string path = dir.file("f");
        writeAll(path, c.bytes);
        int16_t kind = 0;
        ASSERT_EQ(sfCheckKindOfFile(path, kind), "") << c.bytes;
        EXPECT_EQ(kind, c.kind) << c.bytes;
    }
    std::string nine = dir.file("nine");
    writeAll(nine, "SIMPLE  =");
    int16_t kind = 0;
    EXPECT_EQ(sfCheckKindOfFile(nine, kind), "ファイルが空っぽです " + nine);
    EXPECT_FALSE(dfIsFileExist(dir.file("missing")));
    EXPECT_FALSE(dfIsFileExist(dir.path()));
    EXPECT_TRUE(dfIsFileExist(nine));
}

TEST(Paths, SplitAtTheLastSeparator)
{
    std::string name = "keep", folder = "keep";
    ASSERT_EQ(sfExtrFileName("/data/night1/a.fit", name, folder), "");
    EXPECT_EQ(name, "a.fit");
    EXPECT_EQ(folder, "/data/night1/");
    name = folder = "keep";
    ASSERT_EQ(sfExtrFileName("a.fit", name, folder), "");
    EXPECT_EQ(name, "keep");
    EXPECT_EQ(folder, "keep");
    EXPECT_EQ(sfExtrFileName(std::string(40000, 'a'), name, folder), "sfExtrFileName, 6オーバーフローしました。");
}
