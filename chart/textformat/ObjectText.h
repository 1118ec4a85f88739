#pragma once
// The object text: a memory block whose first 4 bytes hold, little-endian,
// the number of bytes that follow, then the records, then one zero byte.
// A record is a key ("MaxLoop=", "Lumigra:", "Begin Object:Pen"), its value
// written raw, and a line feed.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumigra {

class ObjectTextWriter {
public:
    ObjectTextWriter();
    void record(std::string_view key, const void* value, size_t size);
    void text(std::string_view key, std::string_view value) { record(key, value.data(), value.size()); }
    void i16(std::string_view key, int16_t v) { record(key, &v, 2); }
    void i32(std::string_view key, int32_t v) { record(key, &v, 4); }
    void f64(std::string_view key, double v) { record(key, &v, 8); }
    void boolean(std::string_view key, bool v) { i32(key, v ? -1 : 0); }
    // The block: length, content and the trailing zero.
    std::vector<uint8_t> finish() const;
    // The records alone.
    std::string_view content() const
    {
        return {reinterpret_cast<const char*>(block_.data()) + 4, block_.size() - 4};
    }
    size_t contentSize() const { return block_.size() - 4; }
    size_t capacity() const { return capacity_; }

private:
    void append(const void* bytes, size_t size);
    std::vector<uint8_t> block_;
    size_t capacity_ = 0;
};

// Reads records in the order they were written: each key is searched from
// the read position up to the next zero byte; a key that is not found
// leaves the position where it was. The line feed after a value found is
// overwritten with a zero byte.
class ObjectTextReader {
public:
    // block holds the 4-byte length; a length beyond the block is cut to it.
    ObjectTextReader(const uint8_t* block, size_t size);
    // Records without the length in front.
    explicit ObjectTextReader(std::string_view content);
    bool fixed(std::string_view key, void* value, size_t size);
    std::optional<std::string> text(std::string_view key);
    // A record without a key at the read position.
    bool keyless(void* value, size_t size);
    std::optional<std::string> keylessText();
    size_t position() const { return pos_; }
    size_t remaining() const { return content_.size() - 1 - pos_; }

private:
    bool finishRecord(size_t valueEnd);
    // The next line feed at or after at, zero bytes included; npos if none.
    size_t lineFeedFrom(size_t at) const;
    std::string content_; // the records and a zero byte
    size_t pos_ = 0;
};

// Bytes as upper-case hexadecimal text, and back (nullopt for text that is
// not such a run of digit pairs).
std::string hexText(std::string_view bytes);
std::optional<std::string> bytesOfHex(std::string_view text);

} // namespace lumigra
