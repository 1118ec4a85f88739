#include "ImageInput.h"

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

} // namespace cli
