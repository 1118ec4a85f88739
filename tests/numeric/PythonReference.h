#pragma once
// Runs tests/numeric/reference.py with Debian's interpreter and reads back
// its numbers, so results are compared with numpy / scipy in the same run.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace testref {

inline std::filesystem::path scratchFile(const std::string& stem)
{
    return std::filesystem::temp_directory_path() /
           ("raylen_numeric_" + stem + "_" + std::to_string(::getpid()) + ".txt");
}

// Writes `input`, runs the script in `mode` with `arguments`, returns every
// number of its output in order; empty when the interpreter failed.
inline std::vector<double> runReference(const std::string& mode, const std::string& arguments, const std::string& input)
{
    const auto in = scratchFile(mode + "_in"), out = scratchFile(mode + "_out");
    {
        std::ofstream f(in);
        f << input;
    }
    std::filesystem::remove(out);
    const std::string command = std::string(RAYLEN_PYTHON) + " " + RAYLEN_TEST_DIR + "/reference.py " + mode + " " +
                                arguments + " " + in.string() + " " + out.string();
    std::vector<double> values;
    if (std::system(command.c_str()) == 0) {
        std::ifstream f(out);
        double v;
        while (f >> v)
            values.push_back(v);
    }
    std::filesystem::remove(in);
    std::filesystem::remove(out);
    return values;
}

// Single values as text that reads back to the same float.
inline std::string singleText(float v)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.9g", static_cast<double>(v));
    return buffer;
}

} // namespace testref
