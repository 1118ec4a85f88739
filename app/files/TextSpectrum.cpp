#include "files/TextSpectrum.h"

#include "numeric/Ordering.h"
#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"
#include "files/FileAccess.h"
#include "files/FileKind.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

using platform::trapErrors;

namespace raylen {

namespace {

// Reads number fields the way Basic's Input # does: blanks and line ends
// separate fields, one comma may end a field, an empty field is 0.
class FieldReader {
public:
    explicit FieldReader(const std::string& text) : text_(text) {}

    bool atEnd()
    {
        skipSpace();
        return pos_ >= text_.size();
    }

    // What a number field may begin with, the writer's NaN and Inf included.
    bool atNumber()
    {
        skipSpace();
        if (pos_ >= text_.size())
            return true;
        const char c = text_[pos_];
        return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == ',' ||
               text_.compare(pos_, 3, "NaN") == 0 || text_.compare(pos_, 3, "Inf") == 0;
    }

    float next()
    {
        skipSpace();
        if (pos_ >= text_.size())
            platform::raise(platform::errInputPastEnd);
        if (text_[pos_] == ',') {
            ++pos_;
            return 0.0f;
        }
        size_t start = pos_;
        while (pos_ < text_.size() && !isSeparator(text_[pos_]))
            ++pos_;
        std::string token = text_.substr(start, pos_ - start);
        // A comma after the blanks that end the field belongs to it.
        size_t look = pos_;
        while (look < text_.size() && (text_[look] == ' ' || text_[look] == '\t'))
            ++look;
        if (look < text_.size() && text_[look] == ',')
            pos_ = look + 1;
        return parse(token);
    }

private:
    static bool isSeparator(char c) { return c == ',' || c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    void skipSpace()
    {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\r' ||
                                       text_[pos_] == '\n' || text_[pos_] == '\0'))
            ++pos_;
    }

    static float parse(const std::string& token)
    {
        // The writer's texts for values no decimal number stands for.
        if (token == "NaN")
            return std::numeric_limits<float>::quiet_NaN();
        if (token == "Inf")
            return std::numeric_limits<float>::infinity();
        if (token == "-Inf")
            return -std::numeric_limits<float>::infinity();
        std::string t = token;
        for (char& c : t)
            if (c == 'D' || c == 'd')
                c = 'E';
        const char* begin = t.c_str();
        char* end = nullptr;
        errno = 0;
        float value = std::strtof(begin, &end);
        // The whole field must be the number: a NUL inside it must not cut it short.
        if (end != begin + t.size() || t.empty() || std::isnan(value) || t.find_first_of("xXnN") != std::string::npos)
            platform::raise(platform::errTypeMismatch);
        if (std::isinf(value))
            platform::raise(platform::errOverflow);
        return value;
    }

    const std::string& text_;
    size_t pos_ = 0;
};

} // namespace

std::string sfOpenText(const std::string& strFile, std::vector<float>& sngX, std::vector<float>& sngY)
{
    return trapErrors("sfOpenText", [&]() -> std::string {
        LargeVector<char> bytes = readWholeFileAs<char>(strFile);
        std::string text(bytes.begin(), bytes.end());
        std::vector<float> xs, ys;
        FieldReader reader(text);
        // A file that does not begin with a number (a '#' line, a word) is
        // not a text spectrum, as the open dialog classifies it.
        if (!reader.atNumber())
            return kMsgUnsupportedFile;
        while (!reader.atEnd()) {
            float x = reader.next();
            float y = reader.next();
            xs.push_back(x);
            ys.push_back(y);
        }
        std::string message = sfSortXY(xs, ys);
        if (!message.empty())
            return message;
        sngX.swap(xs);
        sngY.swap(ys);
        return {};
    });
}

std::string sfSaveText(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY,
                       const std::string& strFile)
{
    return trapErrors("sfSaveText", [&] {
        if (sngDataY.size() < sngDataX.size())
            platform::raise(platform::errSubscript);
        std::string text;
        text.reserve(sngDataX.size() * 24);
        for (size_t i = 0; i < sngDataX.size(); ++i) {
            text += platform::singleToText(sngDataX[i]);
            text += ',';
            text += platform::singleToText(sngDataY[i]);
            text += "\r\n";
        }
        writeFileBytes(strFile, text.data(), text.size());
    });
}

} // namespace raylen
