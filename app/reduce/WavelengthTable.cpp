#include "reduce/WavelengthTable.h"

#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"
#include "reduce/TextFields.h"

namespace raylen {

namespace {
// Only this many leading characters of a line hold the wavelength.
constexpr size_t tableNumberWidth = 11;
} // namespace

std::string sfOpenCompFile(const std::string& strFile, std::vector<float>& sngWave, bool* vacuum)
{
    return platform::trapErrors("sfOpenCompFile", [&] {
        const std::string text = readTextFile(strFile);
        const std::vector<std::string_view> lines = dataLines(text);
        // Sizing the array to no entries is a subscript fault.
        if (lines.empty())
            platform::raise(platform::errSubscript);
        std::vector<float> wave(lines.size());
        for (size_t j = 0; j < lines.size(); ++j) {
            const std::string_view field = lines[j].substr(0, tableNumberWidth);
            // A NUL would end the number early and pass a wrong wavelength.
            if (field.find('\0') != std::string_view::npos)
                platform::raise(platform::errTypeMismatch);
            wave[j] = toSingle(platform::leadingNumber(field));
        }
        sngWave.swap(wave);
        if (vacuum != nullptr)
            *vacuum = hasVacuumNote(text);
    });
}

} // namespace raylen
