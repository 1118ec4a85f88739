// batch: many command lines in one process, so that a night's chain pays
// the program's start once instead of once a step; several files run side
// by side on the cores.
#include "BatchScript.h"
#include "Command.h"
#include "Dispatch.h"
#include "GuiSession.h"
#include "SideBySide.h"

#include "files/FileAccess.h"
#include "numeric/ParallelFor.h"
#include "platform/BasicError.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <iterator>
#include <malloc.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace cli {

namespace {

constexpr const char* kStandardInput = "-";
// Frames are allocated and freed step after step; kept in the heap rather
// than handed back to the system, each step reuses the last one's pages
// instead of faulting in fresh ones.
constexpr int kKeptAllocation = 1 << 30;

struct BatchFile {
    std::string path;
    std::vector<BatchLine> lines;
};

// Sends standard output into a string while it lives.
class CapturedOutput {
public:
    CapturedOutput() : previous_(std::cout.rdbuf(text_.rdbuf())) {}
    ~CapturedOutput() { std::cout.rdbuf(previous_); }
    CapturedOutput(const CapturedOutput&) = delete;
    CapturedOutput& operator=(const CapturedOutput&) = delete;
    std::string text() const { return text_.str(); }

private:
    std::ostringstream text_;
    std::streambuf* previous_;
};

bool isChangeFolder(const BatchLine& line) { return line.words[0] == "cd"; }

// True when "> OUT" names a file the command reads: it would be replaced
// by the command's results.
bool outputIsAnInput(const BatchLine& line)
{
    struct stat out {};
    if (::stat(line.output.c_str(), &out) != 0)
        return false;
    for (size_t k = 1; k < line.words.size(); ++k) {
        struct stat in {};
        if (::stat(line.words[k].c_str(), &in) == 0 && in.st_dev == out.st_dev && in.st_ino == out.st_ino)
            return true;
    }
    return false;
}

int runLine(const BatchLine& line)
{
    if (isChangeFolder(line)) {
        if (::chdir(line.words[1].c_str()) == 0)
            return exitOk;
        return fail("cd: " + line.words[1] + ": " + std::strerror(errno));
    }
    if (line.output.empty())
        return dispatch(line.words);
    if (outputIsAnInput(line))
        return fail("入力ﾌｧｲﾙと同じﾌｧｲﾙには書き込めません: " + line.output);
    std::string text;
    int status = exitOk;
    {
        CapturedOutput captured;
        status = dispatch(line.words);
        text = captured.text();
    }
    // A failed command leaves its output file as it was.
    if (status != exitOk)
        return status;
    std::string message =
        platform::trapErrors("batch", [&] { raylen::writeFileBytes(line.output, text.data(), text.size()); });
    return message.empty() ? exitOk : fail(message);
}

int runFile(const BatchFile& file, bool echo)
{
    for (const BatchLine& line : file.lines) {
        if (echo)
            std::cout << "+ " << line.text << '\n';
        const int status = runLine(line);
        std::cout.flush();
        if (status != exitOk) {
            std::cerr << "raylen-cli batch: " << file.path << ": stopped at line " << line.number << '\n';
            return status;
        }
    }
    return exitOk;
}

std::string lineProblem(const BatchLine& line)
{
    const std::string& name = line.words[0];
    std::string problem;
    if (name == "batch")
        problem = "a batch cannot run a batch";
    else if (name == "cd" && (line.words.size() != 2 || !line.output.empty()))
        problem = "cd takes one folder";
    else if (name != "cd" && commands().count(name) == 0 && name != "help" && name != "--help" && name != "-h")
        problem = "unknown command '" + name + "'";
    return problem.empty() ? problem : "line " + std::to_string(line.number) + ": " + problem;
}

// Empty when the file reads and every line is well formed.
std::string readBatch(const std::string& path, BatchFile& file, bool& missing)
{
    std::string script;
    if (path == kStandardInput) {
        script.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    } else {
        missing = !raylen::dfIsFileExist(path);
        if (missing)
            return "ﾌｧｲﾙが存在しません";
        std::ifstream in(path, std::ios::binary);
        script.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    file.path = path;
    std::string problem = parseBatch(script, file.lines);
    for (size_t k = 0; problem.empty() && k < file.lines.size(); ++k)
        problem = lineProblem(file.lines[k]);
    return problem.empty() ? problem : path + ": " + problem;
}

int runBatch(const Arguments& args)
{
    // Every file is read and checked before the first line runs.
    std::vector<BatchFile> files(args.positional.size());
    for (size_t k = 0; k < files.size(); ++k) {
        bool missing = false;
        std::string problem = readBatch(args.positional[k], files[k], missing);
        if (missing)
            return fail(problem);
        if (!problem.empty())
            return usageError(problem, &commands().at("batch"));
    }
    mallopt(M_MMAP_THRESHOLD, kKeptAllocation);
    mallopt(M_TRIM_THRESHOLD, kKeptAllocation);
    const bool echo = args.flag("echo");
    KeptGui gui;
    // Each file starts from the folder the batch started in.
    const int start = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    auto runFrom = [&](size_t k) {
        if (start >= 0 && ::fchdir(start) != 0)
            return fail(std::string("cd: ") + std::strerror(errno));
        return runFile(files[k], echo);
    };
    int first = exitOk;
    const unsigned cores = raylen::availableCores();
    if (files.size() > 1 && cores > 1) {
        first = runSideBySide(files.size(), cores, [&](size_t k) {
            // Each worker has a core of its own.
            raylen::setWorkerLimit(1);
            return runFrom(k);
        }, [&] { gui.end(); },
            [&](size_t k) { std::cerr << "raylen-cli batch: " << files[k].path << ": its worker ended abnormally\n"; });
    } else {
        for (size_t k = 0; k < files.size(); ++k) {
            const int status = runFrom(k);
            if (first == exitOk)
                first = status;
        }
    }
    if (start >= 0)
        ::close(start);
    return first;
}

Registration batch({"batch", "batch FILE|- [FILE ...] [--echo]",
                    "runs the command lines of each FILE (- for standard input) in one process, in order, each "
                    "as after \"raylen-cli\", with \"> OUT\" sending a line's results to a file and \"cd DIR\" "
                    "changing the folder; a file stops at its first line that fails; several files run side by "
                    "side on the cores (RAYLEN_JOBS at most) and print in the order given; --echo shows each "
                    "line before it runs",
                    {}, {"echo"}, -1, runBatch});

} // namespace

} // namespace cli
