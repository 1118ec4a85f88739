#pragma once
// Helpers for the storage tests: memory blocks read through the exported
// block functions, and compound files read back by an outside OLE2 reader.
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-utils.h>

#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "ChartHost.h"
#include "lumigra/MemoryBlocks.h"

namespace storagetest {

// The bytes of the small bitmap file the pictures are loaded from.
inline const std::string imageBytes("BM\x36\x00\x00\x00\x00\x00\xff\x10picture", 18);

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

using Streams = std::vector<std::pair<std::string, std::string>>;

// A compound file written stream by stream.
inline std::string compoundBytes(const Streams& streams)
{
    gsf_init();
    GsfOutput* memory = gsf_output_memory_new();
    GsfOutfile* storage = gsf_outfile_msole_new(memory);
    for (auto& [name, bytes] : streams) {
        GsfOutput* stream = gsf_outfile_new_child(storage, name.c_str(), FALSE);
        gsf_output_write(stream, bytes.size(), reinterpret_cast<const guint8*>(bytes.data()));
        gsf_output_close(stream);
        g_object_unref(stream);
    }
    gsf_output_close(GSF_OUTPUT(storage));
    const guint8* bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(memory));
    std::string out(reinterpret_cast<const char*>(bytes), static_cast<size_t>(gsf_output_size(memory)));
    g_object_unref(storage);
    g_object_unref(memory);
    return out;
}

// The same as a memory block.
inline int32_t compoundBlock(const Streams& streams)
{
    std::string bytes = compoundBytes(streams);
    return LgGlobalAlloc(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<uint32_t>(bytes.size()));
}

} // namespace storagetest
