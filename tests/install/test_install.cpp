// The installed programs: the tree `cmake --install` lays out, run from its
// own place, and the window program's options without a display.
#include "../support/TestSupport.h"

#include <filesystem>
#include <regex>
#include <set>
#include <sstream>

using testsupport::readAll;
using testsupport::run;
using testsupport::shellQuote;
using testsupport::TempDir;

namespace fs = std::filesystem;

namespace {

const std::string bin = RAYLEN_BIN_DIR;
const std::string buildDir = fs::path(RAYLEN_BIN_DIR).parent_path().string();

// Installs the build into dir (DESTDIR) and returns the prefix inside it.
std::string installInto(const TempDir& dir)
{
    std::string output;
    int status = run("DESTDIR=" + shellQuote(dir.path()) + " cmake --install " + shellQuote(buildDir) + " 2>&1", &output);
    EXPECT_EQ(status, 0) << output;
    for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
        if (entry.path().filename() == "raylen" && entry.path().parent_path().filename() == "bin")
            return entry.path().parent_path().parent_path().string();
    ADD_FAILURE() << "no bin/raylen installed";
    return dir.path();
}

std::string findOne(const std::string& under, const std::string& name)
{
    for (const auto& entry : fs::recursive_directory_iterator(under))
        if (entry.path().filename() == name)
            return entry.path().string();
    return {};
}

struct PngSize {
    unsigned width = 0, height = 0;
};

PngSize pngSize(const std::string& path)
{
    std::string bytes = readAll(path);
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || bytes.compare(12, 4, "IHDR") != 0)
        return {};
    auto be32 = [&bytes](size_t at) {
        return (unsigned char)bytes[at] << 24 | (unsigned char)bytes[at + 1] << 16 | (unsigned char)bytes[at + 2] << 8 |
               (unsigned char)bytes[at + 3];
    };
    return {static_cast<unsigned>(be32(16)), static_cast<unsigned>(be32(20))};
}

} // namespace

TEST(Install, VersionHelpAndWrongOptionsNeedNoDisplay)
{
    const std::string noDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ";
    std::string out;
    EXPECT_EQ(run(noDisplay + shellQuote(bin + "/raylen") + " --version 2>&1", &out), 0);
    EXPECT_EQ(out, "raylen 0.9.0\n");
    EXPECT_EQ(run(noDisplay + shellQuote(bin + "/raylen") + " --help 2>&1", &out), 0);
    EXPECT_EQ(out.rfind("Usage: raylen [--version] [--help] [FILE...]\n", 0), 0u) << out;
    EXPECT_EQ(run(noDisplay + shellQuote(bin + "/raylen") + " --frobnicate x.fit 2>&1 >/dev/null", &out), 2);
    EXPECT_EQ(out.rfind("raylen: unknown option --frobnicate\nUsage: raylen", 0), 0u) << out;
}

TEST(Install, LaysOutAStandardPrefix)
{
    TempDir dir;
    const std::string prefix = installInto(dir);
    for (const char* path : {"bin/raylen", "bin/raylen-cli", "share/raylen/Raylen09.hlp",
                             "share/applications/raylen.desktop", "share/icons/hicolor/scalable/apps/raylen.svg",
                             "share/man/man1/raylen-cli.1", "share/man/man1/raylen.1"})
        EXPECT_TRUE(fs::is_regular_file(prefix + "/" + path)) << path;
    // Our libraries sit together, the component's INI file beside it.
    const std::string component = findOne(prefix, "liblumigra.so");
    ASSERT_FALSE(component.empty());
    const fs::path libraries = fs::path(component).parent_path();
    EXPECT_EQ(libraries.filename(), "raylen");
    for (const char* file : {"libraylen.so", "libraylen_platform.so", "libraylen_platform_qt.so"})
        EXPECT_TRUE(fs::is_regular_file(libraries / file)) << file;
    EXPECT_EQ(readAll((libraries / "lumigra.ini").string()), "[Lumigra]\nLoadMode=0\n");
    EXPECT_FALSE(fs::exists(prefix + "/bin/liblumigra.so"));

    for (unsigned size : {16u, 24u, 32u, 48u, 64u, 128u, 256u}) {
        std::string png = prefix + "/share/icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) +
                          "/apps/raylen.png";
        PngSize got = pngSize(png);
        EXPECT_EQ(got.width, size) << png;
        EXPECT_EQ(got.height, size) << png;
    }

    // Every library the programs need resolves, ours from the installed folder.
    for (const char* program : {"bin/raylen", "bin/raylen-cli"}) {
        std::string out;
        ASSERT_EQ(run("ldd " + shellQuote(prefix + "/" + program), &out), 0);
        EXPECT_EQ(out.find("not found"), std::string::npos) << out;
        EXPECT_NE(out.find("libraylen_platform.so => " + prefix + "/bin/../" +
                           fs::relative(libraries, prefix).string() + "/libraylen_platform.so"),
                  std::string::npos)
            << out;
    }

    std::string desktop = readAll(prefix + "/share/applications/raylen.desktop");
    EXPECT_NE(desktop.find("\nExec=raylen %F\n"), std::string::npos);
    EXPECT_NE(desktop.find("\nMimeType=image/fits;\n"), std::string::npos);
    EXPECT_NE(desktop.find("\nName[ja]="), std::string::npos);
    std::string out;
    if (run("command -v desktop-file-validate > /dev/null") == 0) {
        EXPECT_EQ(run("desktop-file-validate " + shellQuote(prefix + "/share/applications/raylen.desktop") + " 2>&1",
                      &out),
                  0)
            << out;
        EXPECT_EQ(out, "");
    }
    for (const char* page : {"raylen-cli.1", "raylen.1"}) {
        EXPECT_EQ(run("groff -man -ww -z -Kutf8 -Tutf8 " + shellQuote(prefix + "/share/man/man1/" + page) + " 2>&1", &out), 0);
        EXPECT_EQ(out, "") << page;
    }
}

// The man page names every command and every option that raylen-cli's own
// usage texts list.
TEST(Install, ManPageCoversEveryCommandAndOption)
{
    std::string page = readAll(std::string(RAYLEN_TEST_DIR) + "/../../packaging/man/raylen-cli.1");
    ASSERT_FALSE(page.empty());
    // Options appear with roff's escaped dashes.
    std::string plain = std::regex_replace(page, std::regex(R"(\\-)"), "-");
    plain = std::regex_replace(plain, std::regex(R"(\\f[BIRP])"), "");
    std::string help;
    ASSERT_EQ(run(shellQuote(bin + "/raylen-cli") + " --help", &help), 0);
    std::istringstream lines(help.substr(help.find("commands:")));
    std::string line;
    std::getline(lines, line);
    std::set<std::string> commands;
    while (std::getline(lines, line))
        if (line.size() > 2 && line[0] == ' ')
            commands.insert(line.substr(2, line.find(' ', 2) - 2));
    EXPECT_GE(commands.size(), 17u);
    const std::regex option(R"(--[a-z][a-z-]*)");
    for (const std::string& command : commands) {
        EXPECT_NE(plain.find(".BI \"" + command + " "), std::string::npos) << command;
        std::string usage;
        run(shellQuote(bin + "/raylen-cli") + " " + command + " --help 2>&1", &usage);
        for (std::sregex_iterator it(usage.begin(), usage.end(), option), end; it != end; ++it)
            EXPECT_NE(plain.find(it->str()), std::string::npos) << command << " " << it->str();
    }
}

TEST(Install, InstalledProgramsRunFromTheirOwnPlace)
{
    TempDir dir;
    const std::string prefix = installInto(dir);
    const std::string home = dir.file("home");
    const std::string night = dir.file("night");
    fs::create_directories(home);
    const std::string env = "env -u DISPLAY QT_QPA_PLATFORM=offscreen XDG_DATA_HOME=" + shellQuote(home) +
                            " XDG_RUNTIME_DIR=" + shellQuote(home) + " ";
    std::string out;
    ASSERT_EQ(run(env + shellQuote(prefix + "/bin/raylen-cli") + " sample " + shellQuote(night), &out), 0);
    // The batch plot creates the chart without any registration.
    ASSERT_EQ(run(env + shellQuote(prefix + "/bin/raylen-cli") + " cut " + shellQuote(night + "/object.fit") +
                      " --x 0:1023 --y 120:130 -o " + shellQuote(night + "/cut.txt") + " && " + env +
                      shellQuote(prefix + "/bin/raylen-cli") + " plot " + shellQuote(night + "/cut.txt") + " -o " +
                      shellQuote(night + "/cut.png") + " 2>&1",
                  &out),
              0)
        << out;
    EXPECT_EQ(pngSize(night + "/cut.png").width > 0, true);
    EXPECT_FALSE(fs::exists(home + "/raylen/components.ini"));

    // The window program opens the file named and, on its first start,
    // enters the installed component for the user.
    ASSERT_EQ(run(env + "RAYLEN_REPORT_OPEN=1 " + shellQuote(prefix + "/bin/raylen") + " " +
                      shellQuote(night + "/object.fit") + " 2>/dev/null",
                  &out),
              0);
    EXPECT_EQ(out, "ｲﾒｰｼﾞ [ object.fit ]\n");
    std::string registry = readAll(home + "/raylen/components.ini");
    EXPECT_NE(registry.find("Library=" + findOne(prefix, "liblumigra.so")), std::string::npos) << registry;
    // A spectrum opens in the plot window, drawn by the registered component.
    ASSERT_EQ(run(env + "RAYLEN_REPORT_OPEN=1 " + shellQuote(prefix + "/bin/raylen") + " " +
                      shellQuote(night + "/cut.txt") + " 2>/dev/null",
                  &out),
              0);
    EXPECT_EQ(out, "ｸﾞﾗﾌ [ cut.txt ]\n");
    // A file that is not there: the open routine's message, status 1.
    const std::string errors = dir.file("errors.txt");
    EXPECT_EQ(run(env + "RAYLEN_REPORT_OPEN=1 " + shellQuote(prefix + "/bin/raylen") + " " +
                  shellQuote(night + "/gone.fit") + " 2>" + shellQuote(errors)),
              1);
    EXPECT_NE(readAll(errors).find("ﾌｧｲﾙが存在しません\n"), std::string::npos) << readAll(errors);
}

// The package depends on every package the run list of scripts/deps.sh names.
TEST(Install, PackageDependsOnTheRunList)
{
    std::string config = readAll(buildDir + "/CPackConfig.cmake");
    std::smatch depends;
    ASSERT_TRUE(std::regex_search(config, depends, std::regex(R"re(CPACK_DEBIAN_PACKAGE_DEPENDS "([^"]*)")re")));
    std::set<std::string> named;
    const std::string list = depends[1];
    const std::regex name(R"([a-z0-9][a-z0-9.+-]*)");
    for (std::sregex_iterator it(list.begin(), list.end(), name), end; it != end; ++it)
        named.insert(it->str());

    std::string deps = readAll(std::string(RAYLEN_TEST_DIR) + "/../../scripts/deps.sh");
    std::smatch run;
    ASSERT_TRUE(std::regex_search(deps, run, std::regex(R"(RAYLEN_RUN_PACKAGES=\(([^)]*)\))")));
    const std::string runList = run[1];
    int count = 0;
    for (std::sregex_iterator it(runList.begin(), runList.end(), name), end; it != end; ++it, ++count)
        EXPECT_EQ(named.count(it->str()), 1u) << it->str() << " missing from the package's Depends: " << list;
    EXPECT_GE(count, 8);
}
