// The installed programs: the tree `cmake --install` lays out, run from its
// own place, and the window program's options without a display.
#include "../support/TestSupport.h"

#include <filesystem>
#include <cctype>
#include <set>
#include <sstream>
#include <vector>

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

// Text with every occurrence of from replaced by to.
std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// The names in a list separated by blanks, commas, brackets or line ends.
std::vector<std::string> words(const std::string& text, const std::string& separators = " ,\n\t()")
{
    std::vector<std::string> found;
    size_t at = text.find_first_not_of(separators);
    while (at != std::string::npos) {
        size_t end = text.find_first_of(separators, at);
        found.push_back(text.substr(at, end == std::string::npos ? std::string::npos : end - at));
        at = end == std::string::npos ? end : text.find_first_not_of(separators, end);
    }
    return found;
}

// The long options ("--name") a usage text names.
std::vector<std::string> longOptions(const std::string& usage)
{
    std::vector<std::string> options;
    for (size_t at = usage.find("--"); at != std::string::npos; at = usage.find("--", at + 2)) {
        size_t end = at + 2;
        while (end < usage.size() && (std::islower(static_cast<unsigned char>(usage[end])) || usage[end] == '-'))
            ++end;
        if (end > at + 2)
            options.push_back(usage.substr(at, end - at));
        at = end - 2;
    }
    return options;
}

// The text between the first open after key and the next close.
std::string between(const std::string& text, const std::string& key, char open, char close)
{
    size_t start = text.find(key);
    if (start == std::string::npos || (start = text.find(open, start + key.size())) == std::string::npos)
        return {};
    size_t end = text.find(close, start + 1);
    return end == std::string::npos ? std::string() : text.substr(start + 1, end - start - 1);
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
                             "share/man/man1/raylen-cli.1", "share/man/man1/raylen.1",
                             "share/raylen/standards/feige34.dat", "share/raylen/extinction/kpno.dat"})
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
    // Options appear with roff's escaped dashes and font changes.
    std::string plain = replaced(page, "\\-", "-");
    for (const char* font : {"\\fB", "\\fI", "\\fR", "\\fP"})
        plain = replaced(plain, font, "");
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
    for (const std::string& command : commands) {
        EXPECT_NE(plain.find(".BI \"" + command + " "), std::string::npos) << command;
        std::string usage;
        run(shellQuote(bin + "/raylen-cli") + " " + command + " --help 2>&1", &usage);
        for (const std::string& option : longOptions(usage))
            EXPECT_NE(plain.find(option), std::string::npos) << command << " " << option;
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
    const std::string list = between(readAll(buildDir + "/CPackConfig.cmake"), "CPACK_DEBIAN_PACKAGE_DEPENDS", '"', '"');
    ASSERT_FALSE(list.empty());
    const std::vector<std::string> depends = words(list);
    const std::set<std::string> named(depends.begin(), depends.end());
    const std::string runList =
        between(readAll(std::string(RAYLEN_TEST_DIR) + "/../../scripts/deps.sh"), "RAYLEN_RUN_PACKAGES=", '(', ')');
    const std::vector<std::string> needed = words(runList);
    EXPECT_GE(needed.size(), 8u);
    for (const std::string& package : needed)
        EXPECT_EQ(named.count(package), 1u) << package << " missing from the package's Depends: " << list;
}
