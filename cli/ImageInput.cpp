#include "ImageInput.h"

#include "NonFinite.h"

#include <algorithm>
#include <cmath>

#include "files/FileAccess.h"
#include "files/FileKind.h"

namespace cli {

std::string openImage(const std::string& path, OpenedImage& opened)
{
    if (!raylen::dfIsFileExist(path))
        return "ﾌｧｲﾙが存在しません";
    int16_t kind = 0;
    std::string message = raylen::sfCheckKindOfFile(path, kind);
    if (!message.empty())
        return message;
    if (kind != raylen::kindFits)
        return "ｻﾎﾟｰﾄしていないﾌｧｲﾙ形式です";
    return raylen::sfOpenFits(path, opened.header, opened.info, opened.image);
}

std::string openImageValues(const std::string& path, OpenedImage& opened)
{
    std::string message = openImage(path, opened);
    if (!message.empty())
        return message;
    const raylen::SingleImage& image = opened.image;
    const size_t bad = countNonFinite(image.data(), image.size());
    // Integers are finite as stored: only the scaling can have overflowed.
    // Scaled floats count the same, since an infinity stored under a scale
    // cannot be told from one that the scale made.
    const bool scaled = opened.info.BSCALE != 1 || opened.info.BZERO != 0;
    const bool overflowed = opened.info.BITPIX > 0 ? bad > 0
                                                   : scaled && std::any_of(image.data(), image.data() + image.size(),
                                                                           [](float v) { return std::isinf(v); });
    if (overflowed)
        return "画素値が単精度の範囲を超えました";
    noteNonFiniteInput(path, bad);
    return {};
}

} // namespace cli
