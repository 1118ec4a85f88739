// Restores a chart from arbitrary bytes: a damaged text restores what it
// can or reports its message, and whatever was restored can be written and
// read back.
#include <cstdint>
#include <cstring>
#include <vector>

#include "lumigra/Control.h"
#include "lumigra/Guids.h"
#include "lumigra/Host.h"
#include "platform/UiService.h"

using namespace platform::com;

namespace {

platform::ScriptedUiService quietUi;

lumigra::ILumigraControl* control()
{
    static lumigra::ILumigraControl* made = [] {
        platform::setUiService(&quietUi);
        IDispatch* dispatch = nullptr;
        if (failed(lumigra::createControl(lumigra::ProgID_Lumigra, &dispatch)))
            __builtin_trap();
        void* p = nullptr;
        dispatch->QueryInterface(lumigra::IID_ILumigraControl, &p);
        dispatch->Release();
        return static_cast<lumigra::ILumigraControl*>(p);
    }();
    return made;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The first byte chooses between the question answers; the rest is the
    // object text as a block with its length in front.
    quietUi.shown.clear();
    quietUi.answers = {size && (data[0] & 1) ? platform::vbYes : platform::vbNo};
    std::vector<uint8_t> block(4);
    uint32_t length = size ? static_cast<uint32_t>(size - 1) : 0;
    std::memcpy(block.data(), &length, 4);
    if (size > 1)
        block.insert(block.end(), data + 1, data + size);
    auto* c = control();
    if (c->restoreObjectText(block.data(), block.size(), (size & 2) != 0)) {
        std::vector<uint8_t> text = c->saveObjectText();
        if (text.empty() || !c->restoreObjectText(text.data(), text.size(), false))
            __builtin_trap();
    }
    return 0;
}
