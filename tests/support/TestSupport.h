#pragma once
// Small helpers shared by the test programs: temporary folders, whole-file
// reads and writes, and running a reference script with Debian's Python.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifndef RAYLEN_PYTHON
#define RAYLEN_PYTHON "/usr/bin/python3"
#endif

namespace testsupport {

// A fresh folder removed at the end of the test.
class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "raylen-test-XXXXXX").string();
        char* made = ::mkdtemp(pattern.data());
        if (made == nullptr)
            throw std::runtime_error("mkdtemp failed");
        path_ = made;
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

inline std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeAll(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Runs a command, returning its exit status and standard output.
inline int run(const std::string& command, std::string* output = nullptr)
{
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return -1;
    std::string text;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        text.append(buffer, got);
    int status = ::pclose(pipe);
    if (output != nullptr)
        *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline std::string shellQuote(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

// True when Debian's interpreter imports every module named ("numpy,
// astropy"); otherwise the test fails: the references are part of the test
// set, and scripts/test installs them.
inline bool requirePython(const std::string& modules)
{
    std::string output;
    int status = run(std::string(RAYLEN_PYTHON) + " -c " + shellQuote("import " + modules) + " 2>&1", &output);
    if (status != 0)
        ADD_FAILURE() << "reference modules missing (" << modules << "); scripts/test installs them:\n" << output;
    return status == 0;
}

// Runs a Python script (text) with Debian's interpreter; a failing script
// (a missing module included) fails the test.
inline std::string python(const std::string& script, const TempDir& dir)
{
    std::string path = dir.file("reference.py");
    writeAll(path, script);
    std::string output;
    int status = run(std::string(RAYLEN_PYTHON) + " " + shellQuote(path) + " 2>&1", &output);
    if (status != 0)
        ADD_FAILURE() << "reference script failed:\n" << output;
    return output;
}

// An 80-byte card.
inline std::string card(const std::string& text)
{
    std::string c = text;
    c.resize(80, ' ');
    return c;
}

} // namespace testsupport
