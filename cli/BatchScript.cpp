#include "BatchScript.h"

#include <sstream>

namespace cli {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

struct Word {
    std::string text;
    bool quoted = false; // any part quoted or escaped: never a redirection
};

// Empty on success, else what is wrong with the line.
std::string splitWords(const std::string& line, std::vector<Word>& words)
{
    size_t i = 0;
    const size_t n = line.size();
    while (true) {
        while (i < n && isBlank(line[i]))
            ++i;
        if (i >= n)
            return {};
        Word word;
        while (i < n && !isBlank(line[i])) {
            const char c = line[i++];
            if (c == '\'') {
                const size_t close = line.find('\'', i);
                if (close == std::string::npos)
                    return "unclosed quote";
                word.text += line.substr(i, close - i);
                word.quoted = true;
                i = close + 1;
            } else if (c == '"') {
                word.quoted = true;
                while (i < n && line[i] != '"') {
                    if (line[i] == '\\' && i + 1 < n && (line[i + 1] == '"' || line[i + 1] == '\\'))
                        ++i;
                    word.text += line[i++];
                }
                if (i >= n)
                    return "unclosed quote";
                ++i;
            } else if (c == '\\') {
                if (i >= n)
                    return "a backslash ends the line";
                word.text += line[i++];
                word.quoted = true;
            } else {
                word.text += c;
            }
        }
        words.push_back(std::move(word));
    }
}

// Takes a trailing "> FILE" (or ">FILE") off the words.
std::string takeRedirection(std::vector<Word>& words, std::string& output)
{
    for (size_t k = 0; k < words.size(); ++k) {
        const Word& w = words[k];
        if (w.quoted || w.text.empty() || w.text[0] != '>')
            continue;
        const bool separate = w.text == ">";
        const size_t last = separate ? k + 1 : k;
        if (last + 1 != words.size() || (separate && words[last].text.empty()))
            return "'>' takes one file name at the end of the line";
        output = separate ? words[last].text : w.text.substr(1);
        words.resize(k);
        return {};
    }
    return {};
}

} // namespace

std::string parseBatch(const std::string& script, std::vector<BatchLine>& lines)
{
    std::istringstream in(script);
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        const size_t first = text.find_first_not_of(" \t");
        if (first == std::string::npos || text[first] == '#')
            continue;
        std::vector<Word> words;
        std::string problem = splitWords(text, words);
        BatchLine line;
        if (problem.empty())
            problem = takeRedirection(words, line.output);
        if (problem.empty() && words.empty())
            problem = "no command before '>'";
        if (!problem.empty())
            return "line " + std::to_string(number) + ": " + problem;
        line.number = number;
        line.text = text.substr(first);
        for (Word& w : words)
            line.words.push_back(std::move(w.text));
        lines.push_back(std::move(line));
    }
    return {};
}

} // namespace cli
