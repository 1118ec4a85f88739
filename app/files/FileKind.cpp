#include "files/FileKind.h"

#include "platform/BasicError.h"
#include "files/FileAccess.h"

namespace raylen {

std::string sfCheckKindOfFile(const std::string& strFile, int16_t& intKind)
{
    return platform::trapErrors("sfCheckKindOfFile", [&]() -> std::string {
        if (fileLength(strFile) < 10)
            return "ファイルが空っぽです " + strFile;
        // The first line decides; a line of blanks longer than this prefix is
        // not a spectrum either way.
        std::string head = readFilePrefix(strFile, 65536);
        std::string line = head.substr(0, head.find_first_of("\r\n"));
        if (line.compare(0, 6, "SIMPLE") == 0) {
            intKind = kindFits;
            return {};
        }
        size_t first = line.find_first_not_of(' ');
        intKind = first != std::string::npos && line[first] >= '0' && line[first] <= '9' ? kindText : kindOther;
        return {};
    });
}

} // namespace raylen
