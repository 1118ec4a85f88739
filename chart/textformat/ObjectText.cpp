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

bool ObjectTextReader::finishRecord(size_t valueEnd)
{
    const char* lf = std::strchr(content_.c_str() + valueEnd, '\n');
    if (!lf)
        return false;
    size_t at = static_cast<size_t>(lf - content_.c_str());
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
    const char* lf = std::strchr(content_.c_str() + start, '\n');
    if (!lf)
        return std::nullopt;
    std::string value(content_.c_str() + start, lf);
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
    const char* lf = std::strchr(content_.c_str() + pos_, '\n');
    if (!lf)
        return std::nullopt;
    std::string value(content_.c_str() + pos_, lf);
    finishRecord(pos_);
    return value;
}

} // namespace lumigra
