#include "reduce/TextFields.h"

#include "platform/BasicError.h"
#include "files/FileAccess.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdlib>

namespace raylen {

std::string readTextFile(const std::string& path)
{
    LargeVector<char> bytes = readWholeFileAs<char>(path);
    return std::string(bytes.begin(), bytes.end());
}

std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}

bool isNoteLine(std::string_view line)
{
    return !line.empty() && line.front() == '#';
}

std::vector<std::string_view> dataLines(std::string_view text)
{
    std::vector<std::string_view> lines = splitLines(text);
    std::erase_if(lines, isNoteLine);
    return lines;
}

std::string withoutNoteLines(std::string_view text)
{
    std::string joined;
    for (std::string_view line : dataLines(text)) {
        joined += line;
        joined += '\n';
    }
    return joined;
}

namespace {

// The words of a note line after its '#', lower-cased.
std::vector<std::string> noteWords(std::string_view line)
{
    std::vector<std::string> words;
    std::string word;
    for (char c : line.substr(1)) {
        if (c == ' ' || c == '\t') {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty())
        words.push_back(word);
    return words;
}

std::string lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

} // namespace

bool hasVacuumNote(std::string_view text)
{
    for (std::string_view line : splitLines(text))
        if (isNoteLine(line)) {
            const std::vector<std::string> words = noteWords(line);
            if (words.size() == 1 && lower(words[0]) == "vacuum")
                return true;
        }
    return false;
}

std::string unitNote(std::string_view text)
{
    const std::vector<std::string_view> lines = splitLines(text);
    if (lines.empty() || !isNoteLine(lines.front()))
        return {};
    const std::vector<std::string> words = noteWords(lines.front());
    return words.size() == 2 && lower(words[0]) == "unit" ? words[1] : std::string();
}

void NumberFields::skipSpace()
{
    while (pos_ < text_.size() &&
           (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\r' || text_[pos_] == '\n'))
        ++pos_;
}

bool NumberFields::atEnd()
{
    skipSpace();
    return pos_ >= text_.size();
}

double NumberFields::next()
{
    skipSpace();
    if (pos_ >= text_.size())
        platform::raise(platform::errInputPastEnd);
    if (text_[pos_] == ',') {
        ++pos_;
        return 0.0;
    }
    const size_t start = pos_;
    auto separator = [](char c) { return c == ',' || c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (pos_ < text_.size() && !separator(text_[pos_]))
        ++pos_;
    std::string token(text_.substr(start, pos_ - start));
    // A comma after the blanks that end the field belongs to it.
    size_t look = pos_;
    while (look < text_.size() && (text_[look] == ' ' || text_[look] == '\t'))
        ++look;
    if (look < text_.size() && text_[look] == ',')
        pos_ = look + 1;

    for (char& c : token)
        if (c == 'D' || c == 'd')
            c = 'E';
    if (token.find_first_of("xXnNiI") != std::string::npos)
        platform::raise(platform::errTypeMismatch);
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(token.c_str(), &end);
    // The whole field must be the number: a NUL inside it must not cut it short.
    if (end == token.c_str() || end != token.c_str() + token.size())
        platform::raise(platform::errTypeMismatch);
    if (std::isinf(value))
        platform::raise(platform::errOverflow);
    return value;
}

float toSingle(double value)
{
    if (std::isnan(value) || std::fabs(value) > static_cast<double>(FLT_MAX))
        platform::raise(platform::errOverflow);
    return static_cast<float>(value);
}

} // namespace raylen
