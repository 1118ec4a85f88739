#pragma once
// Runs tests/numeric/reference.py with Debian's interpreter and reads back
// its numbers, so results are compared with numpy / scipy in the same run.
#include "../support/TestSupport.h"

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace testref {

// Writes `input`, runs the script in `mode` with `arguments`, returns every
// number of its output in order. A failing script fails the test (a missing
// module included: scripts/test installs them) and gives no numbers.
inline std::vector<double> runReference(const std::string& mode, const std::string& arguments, const std::string& input)
{
    testsupport::TempDir dir;
    const std::string in = dir.file("in.txt"), out = dir.file("out.txt");
    testsupport::writeAll(in, input);
    const std::string command = std::string(RAYLEN_PYTHON) + " " + RAYLEN_TEST_DIR + "/reference.py " + mode + " " +
                                arguments + " " + in + " " + out + " 2>&1";
    std::string output;
    std::vector<double> values;
    if (testsupport::run(command, &output) != 0) {
        ADD_FAILURE() << "reference script failed (" << mode << "):\n" << output;
        return values;
    }
    std::istringstream numbers(testsupport::readAll(out));
    double v;
    while (numbers >> v)
        values.push_back(v);
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
