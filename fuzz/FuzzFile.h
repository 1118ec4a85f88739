#pragma once
// The readers take file names: each input is written to a file in memory
// (tmpfs) that belongs to this process.
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace fuzz {

inline const std::string& inputPath()
{
    static const std::string path = "/dev/shm/raylen-fuzz-" + std::to_string(::getpid()) + ".in";
    return path;
}

inline const std::string& writeInput(const uint8_t* data, size_t size)
{
    const std::string& path = inputPath();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file != nullptr) {
        if (size > 0)
            std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    return path;
}

} // namespace fuzz
