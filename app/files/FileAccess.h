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

class OutputSet;

// Basic error number for a failed open/read/write (53 file not found, 76 path
// not found, 70 permission denied, 61 disk full, 57 device error, 75 other).
int fileErrorNumber(int errnoValue);

// Readers refuse anything but a regular file (FIFO, device, socket, folder)
// with error 75 before opening it, so a FIFO cannot hang them.

// Up to maxBytes from the start of the file (fewer at its end).
std::string readFilePrefix(const std::string& path, size_t maxBytes);
// Length in bytes of an existing regular file.
uint64_t fileLength(const std::string& path);

// Reads the whole file into elements of T (a trailing partial element is
// dropped), with one read call.
template <class T>
LargeVector<T> readWholeFileAs(const std::string& path);

// Writes into an unnamed file in the target's folder (a named one where the
// file system has no unnamed files) and puts it in place only on commit, so
// neither a failed save nor a killed process destroys the old file or leaves
// a partial one. A named temporary ("." + "raylen-save-" + process id, start
// time and letters) that a killed process leaves is removed by the next save
// into that folder, once that process is gone; nothing else can remove it,
// since the killed process runs no code. A symbolic link is followed and stays a link; a device,
// FIFO, socket or folder is refused with error 75, a file whose permission
// bits forbid writing with error 70, before anything is written.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const std::string& target);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void write(const void* data, size_t bytes);
    void write(const std::string& text) { write(text.data(), text.size()); }
    // Flushes and puts the file in place of the target; while an OutputSet
    // is current, hands the synced file to it instead (files/OutputSet.h).
    void commit();

private:
    void placeUnnamed();
    void stage(OutputSet& set);

    std::string target_;    // the file itself, symbolic links followed
    std::string folder_;    // the target's folder, "" for the current one
    std::string temporary_; // the named temporary, empty for an unnamed one
    std::FILE* file_ = nullptr;
};

// Writes bytes to a file through AtomicFileWriter.
void writeFileBytes(const std::string& path, const void* data, size_t bytes);

// True for a regular file that can be opened for reading.
bool dfIsFileExist(const std::string& strFile);
// Splits at the last "/": strName gets what follows, strDir everything up
// to and including it; a path without "/" leaves both unchanged.
std::string sfExtrFileName(const std::string& strPath, std::string& strName, std::string& strDir);
// The name and folder parts as sfExtrFileName splits them: without a "/"
// the name is the path itself and the folder is empty.
std::string namePart(const std::string& path);
std::string directoryPart(const std::string& path);

} // namespace raylen
