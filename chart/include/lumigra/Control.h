#pragma once
// The host-side interface of the control object beside _DLumigra: what the
// container supplies (display name, extent) and what it asks for (object
// text, modified flag, pending repaints, event sinks).
#include <cstdint>
#include <string>
#include <vector>

#include "platform/com/Dispatch.h"

namespace lumigra {

using platform::com::Guid;
using platform::com::HRESULT;
using platform::com::IDispatch;

inline constexpr Guid IID_ILumigraControl = platform::com::makeGuid("{DD4CC724-3918-11D0-8BF9-000000000001}");

struct ILumigraControl : IDispatch {
    // The object text of the whole chart: a 4-byte little-endian length, the
    // records, and one zero byte after them.
    virtual std::vector<uint8_t> saveObjectText() = 0;
    // Replaces the chart; fromContents is true when the text comes from the
    // container's persisted properties. Returns false when the restore was
    // refused or failed (its message has been shown).
    virtual bool restoreObjectText(const uint8_t* block, size_t size, bool fromContents) = 0;

    virtual void setDisplayName(const std::string& name) = 0;
    // Extent in pixels and the device's pixels per inch.
    virtual void setExtent(int32_t cx, int32_t cy, double dpiX, double dpiY) = 0;
    virtual void setAmbientBackColor(int32_t colour) = 0;

    virtual bool isModified() = 0;
    virtual void setModified(bool modified) = 0;
    // Invalidations requested since the last paint (at most one).
    virtual int32_t pendingInvalidates() = 0;
    virtual void paintDone() = 0;

    // Connection point of _DLumigraEvents.
    virtual HRESULT advise(IDispatch* sink, uint32_t* cookie) = 0;
    virtual HRESULT unadvise(uint32_t cookie) = 0;

protected:
    ~ILumigraControl() = default;
};

} // namespace lumigra
