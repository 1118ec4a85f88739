// Restores a chart from an arbitrary memory block (RestoreFromMemory): a
// block that is not a compound file is refused and kept, a damaged one
// restores what it can or shows its message, and whatever was restored can
// be saved and restored again.
//
// Run with -write_seeds=DIR (and the object texts of fuzz/chart/corpus as
// arguments) to turn those charts into compound-file seeds.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../FuzzChartControl.h"
#include "lumigra/Control.h"
#include "lumigra/DispIds.h"
#include "lumigra/Guids.h"
#include "lumigra/Host.h"
#include "lumigra/MemoryBlocks.h"
#include "platform/UiService.h"
#include "platform/com/DispatchCall.h"

using namespace platform::com;

namespace {

using fuzz::quietUi;

IDispatch* control() { return fuzz::chartControl(); }

int32_t restore(int32_t handle, int16_t how)
{
    Variant result = call(control(), lumigra::dispid::control::RestoreFromMemory,
                          {Variant::fromI4(handle), Variant::fromI2(how)});
    return result.i4();
}

// Seeds: each object text given on the command line restored into the
// control and saved as a block.
void writeSeeds(const std::string& folder, int argc, char** argv)
{
    void* p = nullptr;
    control()->QueryInterface(lumigra::IID_ILumigraControl, &p);
    auto* host = static_cast<lumigra::ILumigraControl*>(p);
    int written = 0;
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '-')
            continue;
        std::ifstream in(argv[i], std::ios::binary);
        std::vector<uint8_t> text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (text.size() < 2)
            continue;
        std::vector<uint8_t> block(4);
        uint32_t length = static_cast<uint32_t>(text.size() - 1);
        std::memcpy(block.data(), &length, 4);
        block.insert(block.end(), text.begin() + 1, text.end());
        if (!host->restoreObjectText(block.data(), block.size(), false))
            continue;
        int32_t handle = call(control(), lumigra::dispid::control::SaveToMemory).i4();
        std::vector<uint8_t> bytes(LgGlobalSize(handle));
        LgGlobalRead(handle, bytes.data(), static_cast<uint32_t>(bytes.size()));
        LgGlobalFree(handle);
        std::ofstream out(folder + "/seed" + std::to_string(written++) + ".stg", std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    host->Release();
    std::printf("%d seeds written to %s\n", written, folder.c_str());
    std::exit(0);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    for (int i = 1; i < *argc; ++i)
        if (std::strncmp((*argv)[i], "-write_seeds=", 13) == 0)
            writeSeeds((*argv)[i] + 13, *argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    quietUi().shown.clear();
    quietUi().answers = {platform::vbNo};
    int32_t handle = LgGlobalAlloc(data, static_cast<uint32_t>(size));
    if (handle == 0)
        return 0;
    // How 92 keeps the block: the caller frees it, restored or not.
    if (restore(handle, 92) == 1) {
        int32_t again = call(control(), lumigra::dispid::control::SaveToMemory).i4();
        if (again == 0 || restore(again, 93) != 1)
            __builtin_trap();
    }
    if (LgGlobalFree(handle) != 0)
        __builtin_trap();
    return 0;
}
