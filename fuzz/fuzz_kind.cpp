// File classifier.
#include "FuzzFile.h"

#include "files/FileKind.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& path = fuzz::writeInput(data, size);
    int16_t kind = 0;
    std::string message = raylen::sfCheckKindOfFile(path, kind);
    if (message.empty() && kind != 10 && kind != 20 && kind != -1)
        std::abort();
    if (size < 10 && message.empty())
        std::abort();
    return 0;
}
