#pragma once
// Helpers for the storage tests: memory blocks read through the exported
// block functions, and compound files read back by an outside OLE2 reader.
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "ChartHost.h"
#include "lumigra/MemoryBlocks.h"

namespace storagetest {

inline std::vector<uint8_t> blockOf(int32_t handle)
{
    std::vector<uint8_t> bytes(LgGlobalSize(handle));
    EXPECT_EQ(LgGlobalRead(handle, bytes.data(), static_cast<uint32_t>(bytes.size())), bytes.size());
    return bytes;
}

inline std::string hexOf(const std::string& bytes)
{
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

// The compound file as the outside reader sees it.
inline QJsonObject oleDump(const std::vector<uint8_t>& bytes)
{
    testsupport::TempDir dir;
    const std::string path = dir.file("block.bin");
    testsupport::writeAll(path, std::string(bytes.begin(), bytes.end()));
    std::string command = std::string(RAYLEN_PYTHON) + " " + RAYLEN_TEST_DIR + "/ole_dump.py " + path;
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[65536];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, n);
        ::pclose(pipe);
    }
    std::filesystem::remove(path);
    return QJsonDocument::fromJson(QByteArray::fromStdString(output)).object();
}

} // namespace storagetest
