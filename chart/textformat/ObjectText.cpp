#include "textformat/ObjectText.h"

#include <algorithm>
#include <cstring>

namespace lumigra {

ObjectTextWriter::ObjectTextWriter() : block_(4, 0) { block_.reserve(capacity_ = 2048); }

void ObjectTextWriter::append(const void* bytes, size_t size)
{
    if (block_.size() + size > capacity_) {
        // Grows by the larger of a fifth and 2048 bytes, plus the write.
        capacity_ += std::max(capacity_ / 5, size_t(2048)) + size;
        block_.reserve(capacity_);
    }
    const auto* p = static_cast<const uint8_t*>(bytes);
    block_.insert(block_.end(), p, p + size);
}

void ObjectTextWriter::record(std::string_view key, const void* value, size_t size)
{
    append(key.data(), key.size());
    if (size)
        append(value, size);
    append("\n", 1);
}

std::vector<uint8_t> ObjectTextWriter::finish() const
{
    std::vector<uint8_t> out(block_);
    uint32_t length = static_cast<uint32_t>(out.size() - 4);
    std::memcpy(out.data(), &length, 4);
    out.push_back(0);
    return out;
}

ObjectTextReader::ObjectTextReader(const uint8_t* block, size_t size)
{
    uint32_t length = 0;
    if (block && size >= 4)
        std::memcpy(&length, block, 4);
    size_t available = size >= 4 ? size - 4 : 0;
    size_t n = std::min<size_t>(length, available);
    content_.assign(reinterpret_cast<const char*>(block) + (size >= 4 ? 4 : 0), n);
    content_.push_back('\0');
}

size_t ObjectTextReader::lineFeedFrom(size_t at) const
{
    // Values are raw bytes: a zero byte inside a value (or inside a field
    // wider than ours) must not hide the line feed that ends the record.
    size_t end = content_.size() - 1;
    if (at >= end)
        return std::string::npos;
    const void* lf = std::memchr(content_.data() + at, '\n', end - at);
    return lf ? static_cast<size_t>(static_cast<const char*>(lf) - content_.data()) : std::string::npos;
}

ObjectTextReader::ObjectTextReader(std::string_view content) : content_(content) { content_.push_back('\0'); }

bool ObjectTextReader::finishRecord(size_t valueEnd)
{
    size_t at = lineFeedFrom(valueEnd);
    if (at == std::string::npos)
        return false;
    content_[at] = '\0';
    pos_ = at + 1;
    return true;
}

bool ObjectTextReader::fixed(std::string_view key, void* value, size_t size)
{
    std::string k(key);
    const char* found = std::strstr(content_.c_str() + pos_, k.c_str());
    if (!found)
        return false;
    size_t start = static_cast<size_t>(found - content_.c_str()) + k.size();
    if (start + size > content_.size() - 1)
        return false;
    std::vector<char> bytes(content_.begin() + static_cast<ptrdiff_t>(start),
                            content_.begin() + static_cast<ptrdiff_t>(start + size));
    if (!finishRecord(start + size))
        return false;
    if (size)
        std::memcpy(value, bytes.data(), size);
    return true;
}

std::optional<std::string> ObjectTextReader::text(std::string_view key)
{
    std::string k(key);
    const char* found = std::strstr(content_.c_str() + pos_, k.c_str());
    if (!found)
        return std::nullopt;
    size_t start = static_cast<size_t>(found - content_.c_str()) + k.size();
    size_t lf = lineFeedFrom(start);
    if (lf == std::string::npos)
        return std::nullopt;
    std::string value(content_, start, lf - start);
    finishRecord(start);
    return value;
}

bool ObjectTextReader::keyless(void* value, size_t size)
{
    if (pos_ + size > content_.size() - 1)
        return false;
    std::vector<char> bytes(content_.begin() + static_cast<ptrdiff_t>(pos_),
                            content_.begin() + static_cast<ptrdiff_t>(pos_ + size));
    if (!finishRecord(pos_ + size))
        return false;
    std::memcpy(value, bytes.data(), size);
    return true;
}

std::optional<std::string> ObjectTextReader::keylessText()
{
    size_t lf = lineFeedFrom(pos_);
    if (lf == std::string::npos)
        return std::nullopt;
    std::string value(content_, pos_, lf - pos_);
    finishRecord(pos_);
    return value;
}

std::string hexText(std::string_view bytes)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::optional<std::string> bytesOfHex(std::string_view text)
{
    auto digit = [](char c) {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        return -1;
    };
    if (text.size() % 2)
        return std::nullopt;
    std::string out;
    out.reserve(text.size() / 2);
    for (size_t i = 0; i < text.size(); i += 2) {
        int high = digit(text[i]), low = digit(text[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        out += static_cast<char>(high << 4 | low);
    }
    return out;
}

} // namespace lumigra
