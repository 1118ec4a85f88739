// Restores a chart from an arbitrary file (Restore). A file that does not
// restore leaves the chart exactly as it was (its object text unchanged);
// one that does can be saved with Save and restored again. The version
// question is answered Yes (abandon) or No (go on) by turns.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../FuzzChartControl.h"
#include "lumigra/Control.h"
#include "lumigra/DispIds.h"
#include "lumigra/Guids.h"
#include "lumigra/Host.h"
#include "platform/UiService.h"
#include "platform/com/DispatchCall.h"

using namespace platform::com;

namespace {

using fuzz::quietUi;

IDispatch* control() { return fuzz::chartControl(); }

lumigra::ILumigraControl* host()
{
    static lumigra::ILumigraControl* made = [] {
        void* p = nullptr;
        if (failed(control()->QueryInterface(lumigra::IID_ILumigraControl, &p)))
            __builtin_trap();
        return static_cast<lumigra::ILumigraControl*>(p);
    }();
    return made;
}

// Never destroyed, so that the exit handler that removes it still finds it.
const std::string& folder()
{
    static const std::string* made = [] {
        char name[] = "/tmp/fuzz_chart_file.XXXXXX";
        if (!::mkdtemp(name))
            __builtin_trap();
        auto* path = new std::string(name);
        std::atexit([] {
            std::remove((folder() + "/input").c_str());
            std::remove((folder() + "/saved").c_str());
            ::rmdir(folder().c_str());
        });
        return path;
    }();
    return *made;
}

int32_t restore(const std::string& path)
{
    return call(control(), lumigra::dispid::control::Restore, {Variant::fromString(path)}).i4();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    quietUi().shown.clear();
    quietUi().answers = {size % 2 ? platform::vbYes : platform::vbNo};
    const std::string input = folder() + "/input", saved = folder() + "/saved";
    if (FILE* f = std::fopen(input.c_str(), "wb")) {
        if (size)
            std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    std::vector<uint8_t> before = host()->saveObjectText();
    if (restore(input) != 1) {
        if (host()->saveObjectText() != before)
            __builtin_trap();
        return 0;
    }
    quietUi().answers.clear();
    if (call(control(), lumigra::dispid::control::Save, {Variant::fromString(saved), Variant::fromBool(false)}).i4() == 0
        || restore(saved) != 1)
        __builtin_trap();
    return 0;
}
