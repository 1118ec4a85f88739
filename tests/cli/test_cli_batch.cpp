// raylen-cli batch: lines of a file run as the separate commands would, in
// one process; several files side by side print as one after another.
#include "../support/CliRun.h"

#include <algorithm>
#include <filesystem>

using clitest::cli;
using clitest::Result;
using testsupport::readAll;
using testsupport::shellQuote;
using testsupport::TempDir;
using testsupport::writeAll;

namespace {

void sampleNight(const std::string& folder)
{
    ASSERT_EQ(testsupport::run(std::string(RAYLEN_BIN_DIR) + "/raylen-cli sample " + shellQuote(folder) + " >/dev/null"), 0);
}

// What the separate command prints, run from `folder`.
std::string alone(const std::string& folder, const std::string& arguments)
{
    std::string out;
    EXPECT_EQ(testsupport::run("cd " + shellQuote(folder) + " && " + RAYLEN_BIN_DIR + "/raylen-cli " + arguments, &out),
              0)
        << arguments;
    return out;
}

const char* const kChainFiles[] = {"df out.fit", "obj.txt", "obj.prm", "extract.log"};

} // namespace

TEST(CliBatch, LinesGiveTheOutputsAndFilesOfSeparateRuns)
{
    TempDir dir, scratch;
    sampleNight(dir.file("night one"));
    sampleNight(dir.file("two"));
    writeAll(dir.file("steps.txt"),
             "# a night's first steps\r\n"
             "\n"
             "  cd 'night one'\n"
             "info object.fit\n"
             "darkflat object.fit --dark dark.fit --flat \"flat.fit\" -o df\\ out.fit\n"
             "extract 'df out.fit' --x 0:1023 --y 105:145 -o obj.txt > extract.log\n"
             "dispcor obj.txt --dip missing.dip -o never.txt > never.log\n"
             "info never.txt\n");
    const std::string two = dir.file("two");
    alone(two, "darkflat object.fit --dark dark.fit --flat flat.fit -o 'df out.fit'");
    const std::string extractOut = alone(two, "extract 'df out.fit' --x 0:1023 --y 105:145 -o obj.txt");
    writeAll(dir.file("two/extract.log"), extractOut);

    Result r = cli("batch " + shellQuote(dir.file("steps.txt")), scratch, "cd " + shellQuote(dir.path()) + " &&");
    // The failing line stops the file: its output file is not written, the
    // line after it does not run.
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, alone(two, "info object.fit"));
    EXPECT_EQ(r.err, "ファイルが存在しません。\nraylen-cli batch: " + dir.file("steps.txt") + ": stopped at line 7\n");
    for (const char* name : kChainFiles)
        EXPECT_TRUE(readAll(dir.file(std::string("night one/") + name)) == readAll(dir.file(std::string("two/") + name)))
            << name;
    EXPECT_FALSE(std::filesystem::exists(dir.file("night one/never.log")));

    // "> OUT" never replaces a file the line reads.
    const std::string frame = readAll(dir.file("two/object.fit"));
    writeAll(dir.file("same.txt"), "cd two\nheader object.fit > object.fit\n");
    r = cli("batch " + shellQuote(dir.file("same.txt")), scratch, "cd " + shellQuote(dir.path()) + " &&");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')), "入力ﾌｧｲﾙと同じﾌｧｲﾙには書き込めません: object.fit");
    EXPECT_TRUE(readAll(dir.file("two/object.fit")) == frame);

    // With --echo each line shows before its results, as written.
    writeAll(dir.file("echo.txt"), "info " + shellQuote(dir.file("two/object.fit")) + "\n");
    r = cli("batch --echo - < " + shellQuote(dir.file("echo.txt")), scratch);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "+ info " + shellQuote(dir.file("two/object.fit")) + "\n" + alone(two, "info object.fit"));
}

TEST(CliBatch, MalformedFilesRunNothing)
{
    TempDir dir, scratch;
    sampleNight(dir.file("n"));
    const std::string first = "cd " + shellQuote(dir.file("n")) + "\ndarkflat object.fit --dark dark.fit -o made.fit\n";
    const std::pair<const char*, const char*> cases[] = {
        {"info 'object.fit\n", "line 3: unclosed quote"},
        {"frobnicate object.fit\n", "line 3: unknown command 'frobnicate'"},
        {"batch other.txt\n", "line 3: a batch cannot run a batch"},
        {"cd a b\n", "line 3: cd takes one folder"},
        {"info object.fit > a.txt b.txt\n", "line 3: '>' takes one file name at the end of the line"},
    };
    for (const auto& [line, problem] : cases) {
        writeAll(dir.file("steps.txt"), first + line);
        Result r = cli("batch " + shellQuote(dir.file("steps.txt")), scratch);
        EXPECT_EQ(r.status, 2) << line;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.substr(0, r.err.find('\n')), "raylen-cli: " + dir.file("steps.txt") + ": " + problem);
        EXPECT_FALSE(std::filesystem::exists(dir.file("n/made.fit"))) << line;
    }
    Result missing = cli("batch " + shellQuote(dir.file("none.txt")), scratch);
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "ﾌｧｲﾙが存在しません\n");
}

// Several files: on two workers the same streams and files as one after
// another; a file that fails stops only itself.
TEST(CliBatch, FilesSideBySidePrintAsOneAfterAnother)
{
    TempDir dir, scratch;
    std::string files;
    for (const char* name : {"a", "b", "c"}) {
        sampleNight(dir.file(name));
        const std::string folder = std::string(name) == "b" ? dir.file("gone") : dir.file(name);
        writeAll(dir.file(std::string(name) + ".txt"),
                 "cd " + shellQuote(folder) +
                     "\ndarkflat object.fit --dark dark.fit --flat flat.fit -o df.fit\n"
                     "extract df.fit --x 0:1023 --y 105:145 -o obj.txt\n"
                     "eqwidth obj.txt --mark 680,12000 --mark 740,12000 > width.txt\n"
                     "plot obj.txt -o obj.png\n");
        files += " " + shellQuote(dir.file(std::string(name) + ".txt"));
    }
    Result one = cli("batch --echo" + files, scratch, "RAYLEN_JOBS=1");
    std::filesystem::rename(dir.file("a/width.txt"), dir.file("a/width-one.txt"));
    std::filesystem::rename(dir.file("c/obj.txt"), dir.file("c/obj-one.txt"));
    Result two = cli("batch --echo" + files, scratch, "RAYLEN_JOBS=2");
    EXPECT_EQ(one.status, 1);
    EXPECT_EQ(two.status, 1);
    EXPECT_EQ(two.out, one.out);
    EXPECT_EQ(two.err, one.err);
    EXPECT_NE(one.err.find(dir.file("b.txt") + ": stopped at line 1"), std::string::npos) << one.err;
    EXPECT_EQ(std::count(one.out.begin(), one.out.end(), '\n'), 2 * (5 + 4) + 1) << one.out;
    EXPECT_EQ(readAll(dir.file("a/width.txt")), readAll(dir.file("a/width-one.txt")));
    EXPECT_NE(readAll(dir.file("a/width.txt")).find("等価幅 = "), std::string::npos);
    EXPECT_TRUE(readAll(dir.file("c/obj.txt")) == readAll(dir.file("c/obj-one.txt")));
    EXPECT_EQ(readAll(dir.file("a/obj.png")).substr(1, 3), "PNG");
    EXPECT_EQ(readAll(dir.file("c/obj.png")).substr(1, 3), "PNG");
}
