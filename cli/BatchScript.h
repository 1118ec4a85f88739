#pragma once
// The lines of a batch file: each a command line as typed after
// "raylen-cli", split into words as a shell would for plain words and
// quotes, with an optional "> FILE" at its end.
#include <string>
#include <vector>

namespace cli {

struct BatchLine {
    int number = 0;          // 1-based line in the file
    std::string text;        // as written, without the line end
    std::vector<std::string> words;
    std::string output;      // "> FILE": the command's standard output goes there
};

// Blank lines and lines whose first character other than a blank is "#"
// are skipped. Words are separated by blanks; '…' keeps everything,
// "…" everything but \" and \\, and a backslash outside quotes keeps the
// next character. Empty on success, else the problem with its line number.
std::string parseBatch(const std::string& script, std::vector<BatchLine>& lines);

} // namespace cli
