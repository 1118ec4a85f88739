#pragma once
// The chart as a compound file: the control's class identifier, the stream
// "Lumigra_Contents" with the object text, the stream "BackPicture", one
// stream per picture holder, and the summary information.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumigra {

class ChartDocument;

// The compound file's bytes; empty when saving failed (its message shown).
std::vector<uint8_t> saveChartStorage(ChartDocument& control);

enum class StorageRestore { NotStorage, Failed, Restored };
// NotStorage leaves the chart untouched; Failed has shown its message.
StorageRestore restoreChartStorage(ChartDocument& control, const uint8_t* bytes, size_t size);

// The standard picture stream: "lt\0\0", the length, the image file bytes.
std::vector<uint8_t> pictureStream(const std::vector<uint8_t>& image);
// The image bytes of such a stream; empty for a damaged or empty one.
std::vector<uint8_t> pictureFromStream(const std::vector<uint8_t>& stream);

} // namespace lumigra

namespace lumigra {
// Whether the bytes open as a compound file at all.
bool opensAsStorage(const uint8_t* bytes, size_t size);
}
