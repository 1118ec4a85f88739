#pragma once
// The control object as the container sees it: the dispatch facade over the
// chart document, the window and persistence interfaces it hands out, and the
// answers the drawing gives to measuring members. Events go out through its
// event source.
#include <string>
#include <vector>

#include "control/ControlEvents.h"
#include "document/ChartDocument.h"
#include "kinds/DrawingQueries.h"
#include "lumigra/Control.h"
#include "model/Dispatchable.h"
#include "model/RefCounted.h"
#include "platform/com/Dispatch.h"

namespace lumigra {

class LumigraCtrl : public ILumigraControl,
                    public Dispatchable,
                    public ChartDocument,
                    public DrawingQueries,
                    public RefCounted<LumigraCtrl> {
public:
    LumigraCtrl();
    ~LumigraCtrl() override;

    // IUnknown, IDispatch
    HRESULT QueryInterface(const Guid& iid, void** object) override;
    uint32_t AddRef() override { return addRef(); }
    uint32_t Release() override { return release(); }
    HRESULT GetIDsOfNames(const std::vector<std::string>& names, std::vector<DispId>& ids) override;
    HRESULT Invoke(DispId id, uint16_t flags, Args& args, Variant* result, ExcepInfo* exception) override;

    // ILumigraControl
    std::vector<uint8_t> saveObjectText() override { return ChartDocument::saveObjectText(); }
    bool restoreObjectText(const uint8_t* block, size_t size, bool fromContents) override
    {
        return ChartDocument::restoreObjectText(block, size, fromContents);
    }
    void setDisplayName(const std::string& name) override { displayName_ = name; }
    void setExtent(int32_t cx, int32_t cy, double dpiX, double dpiY) override
    {
        ChartDocument::setExtent(cx, cy, dpiX, dpiY);
    }
    void setAmbientBackColor(int32_t colour) override { ambientBackColor_ = colour; }
    bool isModified() override { return ChartDocument::isModified(); }
    void setModified(bool modified) override { ChartDocument::setModified(modified); }
    int32_t pendingInvalidates() override { return ChartDocument::pendingInvalidates(); }
    void paintDone() override { ChartDocument::paintDone(); }
    HRESULT advise(IDispatch* sink, uint32_t* cookie) override { return events_.advise(sink, cookie); }
    HRESULT unadvise(uint32_t cookie) override { return events_.unadvise(cookie); }

    // Dispatchable
    const MemberTable& members() const override;
    std::string errorSource() const override { return displayName_; }
    bool raisesReadOnly() const override { return false; }

    // ChartOwner
    DrawingQueries& drawingQueries() override { return *this; }
    // DrawingQueries
    std::pair<double, double> labelExtent(const LgLabel& label) override;
    std::optional<double> plotPosition(LgXyAxis& axis, double value) override;

    ControlEvents& events() { return events_; }
    const ControlEvents& events() const { return events_; }
    int32_t slot() const { return slot_; }
    int32_t controlId() const { return controlId_; }
    int16_t loadMode() const;
    void setLoadMode(int16_t mode);
    // Copies this chart into another live control of this module.
    bool copyInto(LumigraCtrl& target);

protected:
    // ChartDocument
    void requestRepaint() override;
    void applyStoredExtent(int32_t storedCx, int32_t storedCy) override;

private:
    int32_t slot_ = -1;
    int32_t controlId_ = 0;
    ControlEvents events_;
};

// The control owning a chart object.
LumigraCtrl& controlOf(ChartOwner& owner);

} // namespace lumigra
