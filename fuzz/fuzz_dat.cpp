// Wavelength table (.dat): one entry for every line of any bytes.
#include "FuzzFile.h"

#include "reduce/WavelengthTable.h"

#include <cmath>
#include <cstdlib>

namespace {

// Lines as line input counts them: CR LF, LF or CR ends one, and a last
// line needs no end.
size_t countLines(const uint8_t* data, size_t size)
{
    size_t lines = 0;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n' || data[i] == '\r') {
            ++lines;
            if (data[i] == '\r' && i + 1 < size && data[i + 1] == '\n')
                ++i;
        } else if (i + 1 == size) {
            ++lines;
        }
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& path = fuzz::writeInput(data, size);
    std::vector<float> wave;
    std::string message = raylen::sfOpenCompFile(path, wave);
    const size_t lines = countLines(data, size);
    // An empty file has no entries and is refused.
    if (lines == 0 && message.empty())
        std::abort();
    if (message.empty() && wave.size() != lines)
        std::abort();
    for (float w : wave)
        if (!std::isfinite(w))
            std::abort();
    return 0;
}
