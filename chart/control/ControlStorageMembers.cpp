#include "control/ControlStorageMembers.h"

#include <QWidget>

#include <new>

#include "control/ControlDragDrop.h"
#include "control/ControlWindow.h"
#include "control/LumigraCtrl.h"
#include "model/Builders.h"
#include "platform/UiService.h"
#include "storage/ChartFile.h"
#include "storage/ChartStorage.h"
#include "module/ClipboardFormats.h"
#include "storage/MemoryBlocks.h"

namespace lumigra {

using namespace platform::com;

namespace {

using L = LumigraCtrl;
namespace id = dispid::control;

constexpr int vbInformation = 64;

} // namespace

int32_t saveToMemory(LumigraCtrl& control)
{
    try {
        std::vector<uint8_t> bytes = saveChartStorage(control);
        if (bytes.empty())
            return 0;
        return allocateBlock(std::move(bytes));
    } catch (const std::bad_alloc&) {
        platform::MsgBox("メモリ不足です", platform::vbExclamation, "Lumigra");
        return 0;
    }
}

int32_t restoreFromMemory(LumigraCtrl& control, int32_t handle, int16_t how)
{
    std::optional<std::vector<uint8_t>> bytes = blockBytes(handle);
    if (!bytes || !opensAsStorage(bytes->data(), bytes->size()))
        return 0;
    if (how == lgMemFreeOnly) {
        freeBlock(handle);
        return 1;
    }
    bool restored = restoreChartStorage(control, bytes->data(), bytes->size()) == StorageRestore::Restored;
    if (how == lgMemRestoreAndFree)
        freeBlock(handle);
    return restored ? 1 : 0;
}

std::vector<Member> controlStorageMembers()
{
    return {
        {"Save", id::Save, MemberKind::Method, VT_I4, false,
         [](Dispatchable& d, Args& a) {
             return Variant::fromI4(saveChartFile(static_cast<L&>(d), argText(a[0]), argBool(a[1])));
         },
         nullptr, 2},
        {"Restore", id::Restore, MemberKind::Method, VT_I4, false,
         [](Dispatchable& d, Args& a) { return Variant::fromI4(restoreChartFile(static_cast<L&>(d), argText(a[0]))); },
         nullptr, 1},
        {"OLEDrag", id::OLEDrag, MemberKind::Method, VT_EMPTY, false,
         [](Dispatchable& d, Args&) {
             startChartDrag(static_cast<L&>(d));
             return Variant();
         },
         nullptr},
        {"SaveToMemory", id::SaveToMemory, MemberKind::Method, VT_I4, false,
         [](Dispatchable& d, Args&) { return Variant::fromI4(saveToMemory(static_cast<L&>(d))); }, nullptr},
        {"RestoreFromMemory", id::RestoreFromMemory, MemberKind::Method, VT_I4, false,
         [](Dispatchable& d, Args& a) {
             return Variant::fromI4(restoreFromMemory(static_cast<L&>(d), argI4(a[0]), argI2(a[1])));
         },
         nullptr, 2},
        // Registered format numbers run from 0xC000, so the 16-bit result
        // reads negative, as it does for every registered format.
        {"ClipFormat", id::ClipFormat, MemberKind::Method, VT_I2, false,
         [](Dispatchable&, Args&) {
             uint32_t format = registerClipboardFormat(WorksPrivateFormatName);
             return Variant::fromI2(static_cast<int16_t>(static_cast<uint16_t>(format)));
         },
         nullptr},
        // 0 until the container has asked for the window.
        {"hWnd", id::hWnd, MemberKind::Method, VT_I4, false,
         [](Dispatchable& d, Args&) {
             QWidget* window = controlWindow(static_cast<L&>(d));
             return Variant::fromI4(window ? static_cast<int32_t>(window->winId()) : 0);
         },
         nullptr},
        {"AboutBox", id::AboutBox, MemberKind::Method, VT_EMPTY, false,
         [](Dispatchable&, Args&) {
             platform::MsgBox("Lumigra Works Graph Component\nVersion 1.20", vbInformation,
                              "Lumigra Works のバージョン情報");
             return Variant();
         },
         nullptr},
    };
}

} // namespace lumigra
