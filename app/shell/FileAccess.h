#pragma once
// File access of the core: whole-file and prefix reads that raise Basic
// file errors, and writes that go to a temporary file in the same folder and
// replace the target only when complete, so a failed save never destroys
// the old file.
#include <cstdint>
#include <cstdio>
#include "numeric/LargeBuffer.h"
#include <string>
#include <vector>

namespace raylen {

// Basic error number for a failed open/read/write (53 file not found, 76 path
// not found, 70 permission denied, 61 disk full, 57 device error, 75 other).
int fileErrorNumber(int errnoValue);

// Up to maxBytes from the start of the file (fewer at its end).
std::string readFilePrefix(const std::string& path, size_t maxBytes);
// Length in bytes of an existing regular file.
uint64_t fileLength(const std::string& path);

// Reads the whole file into elements of T (a trailing partial element is
// dropped), with one read call.
template <class T>
LargeVector<T> readWholeFileAs(const std::string& path);

class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const std::string& target);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void write(const void* data, size_t bytes);
    void write(const std::string& text) { write(text.data(), text.size()); }
    // Flushes and renames over the target.
    void commit();

private:
    std::string target_;
    std::string temporary_;
    std::FILE* file_ = nullptr;
};

// Writes bytes to a file through AtomicFileWriter.
void writeFileBytes(const std::string& path, const void* data, size_t bytes);

bool dfIsFileExist(const std::string& strFile);
// Splits at the last "/": strName gets what follows, strDir everything up
// to and including it; a path without "/" leaves both unchanged.
std::string sfExtrFileName(const std::string& strPath, std::string& strName, std::string& strDir);

} // namespace raylen
