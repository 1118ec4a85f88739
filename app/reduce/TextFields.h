#pragma once
// Reading the small text files of the wavelength and flux tasks: lines as
// line input sees them, and number fields as Input # reads them.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace raylen {

// The whole file as text; Basic file errors are raised.
std::string readTextFile(const std::string& path);

// CR LF, LF or CR end a line; a line end at the very end adds no empty line,
// so an empty file has no lines.
std::vector<std::string_view> splitLines(std::string_view text);

// Lines that start with '#' are notes (the medium, the flux unit), never
// data: the readers of .dip, .sns and line tables skip them.
bool isNoteLine(std::string_view line);
std::vector<std::string_view> dataLines(std::string_view text);
// The data lines joined by line ends, for readers that take the whole text.
std::string withoutNoteLines(std::string_view text);
// A note line "# vacuum" anywhere in the text (blanks and case aside).
bool hasVacuumNote(std::string_view text);
// NAME of a first line "# unit NAME"; empty when there is none.
std::string unitNote(std::string_view text);

// Blanks, tabs and line ends separate fields, one comma may end a field and
// an empty field is 0. next() raises error 62 past the end and error 13 for
// a field that is not a number.
class NumberFields {
public:
    explicit NumberFields(std::string_view text) : text_(text) {}
    bool atEnd();
    double next();

private:
    void skipSpace();
    std::string_view text_;
    size_t pos_ = 0;
};

// A Double stored as a Single, raising error 6 beyond its range.
float toSingle(double value);

} // namespace raylen
