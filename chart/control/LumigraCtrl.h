#pragma once
// The control object: its fields and defaults, the 19 collections it owns,
// the change notification, and the object text of the whole chart.
#include <atomic>
#include <string>
#include <vector>

#include "lumigra/Control.h"
#include "model/CollectionSpec.h"
#include "model/Dispatchable.h"
#include "platform/com/Dispatch.h"

namespace lumigra {

class LgCollection;
class LgObject;
class RecordExchange;

class LumigraCtrl : public ILumigraControl, public Dispatchable {
public:
    LumigraCtrl();
    ~LumigraCtrl();

    // IUnknown, IDispatch
    HRESULT QueryInterface(const Guid& iid, void** object) override;
    uint32_t AddRef() override;
    uint32_t Release() override;
    HRESULT GetIDsOfNames(const std::vector<std::string>& names, std::vector<DispId>& ids) override;
    HRESULT Invoke(DispId id, uint16_t flags, Args& args, Variant* result, ExcepInfo* exception) override;

    // ILumigraControl
    std::vector<uint8_t> saveObjectText() override;
    bool restoreObjectText(const uint8_t* block, size_t size, bool fromContents) override;
    void setDisplayName(const std::string& name) override { displayName_ = name; }
    void setExtent(int32_t cx, int32_t cy, double dpiX, double dpiY) override;
    void setAmbientBackColor(int32_t colour) override { ambientBackColor_ = colour; }
    bool isModified() override { return modified_; }
    void setModified(bool modified) override { modified_ = modified; }
    int32_t pendingInvalidates() override { return pendingInvalidate_; }
    void paintDone() override { pendingInvalidate_ = 0; }
    HRESULT advise(IDispatch* sink, uint32_t* cookie) override;
    HRESULT unadvise(uint32_t cookie) override;

    // Dispatchable
    const MemberTable& members() const override;
    std::string errorSource() const override { return displayName_; }
    bool raisesReadOnly() const override { return false; }

    // Every change of the control or a chart object: modified, and one
    // coalesced repaint request while AutoRedraw is on.
    void notifyChange();
    template <class T>
    void assign(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        notifyChange();
    }

    LgCollection* collection(int id) const;
    // Destroys every chart object and creates the collections afresh.
    void initialise();
    int32_t lowerBound() const { return lowerBound_; }
    int32_t slot() const { return slot_; }
    int32_t controlId() const { return controlId_; }
    int16_t loadMode() const;
    void setLoadMode(int16_t mode);
    double scaleHeight();
    double scaleWidth();
    bool swapPaintOrder(LgObject* first, LgObject* second);
    // Copies this chart into another live control of this module.
    bool copyInto(LumigraCtrl& target);

    // Fields and their defaults.
    int32_t lowerBound_ = 1;
    int32_t maxElements_ = 500;
    double orgX_ = 0, orgY_ = 0;
    double scaleFactor_ = 1.0;
    double scaleHeightStored_ = 0;
    double naturalWidth_ = 0, naturalHeight_ = 0;
    bool exactScale_ = false;
    bool propertySheetEnabled_ = true;
    bool monochrome_ = false;
    int32_t backColor_ = 0x8000000F; // the system's button face colour
    int16_t backMode_ = 0;
    bool autoRedraw_ = true;
    bool toolHint_ = false;
    int32_t maxLoop_ = 20000;
    int16_t oleDropMode_ = 2;
    int16_t oleDragMode_ = 1;
    int16_t mouseAction_ = 7;
    int16_t keyboardAction_ = 1;
    int32_t cx_ = 0, cy_ = 0;
    double dpiX_ = 96, dpiY_ = 96;
    int32_t ambientBackColor_ = 0xFFFFFF;
    std::string displayName_;
    LgObject* backPicture_ = nullptr; // picture holder, outside every collection

private:
    friend class ControlEvents; // fires at sinks_
    void destroyCollections();
    void writeHeader(RecordExchange& x);
    void readHeader(RecordExchange& x, bool fromContents, int16_t& version);

    std::atomic<uint32_t> refCount_{1};
    int32_t slot_ = -1;
    int32_t controlId_ = 0;
    LgCollection* collections_[cidCount] = {};
    bool modified_ = false;
    int32_t pendingInvalidate_ = 0;
    struct Sink {
        uint32_t cookie;
        IDispatch* sink;
    };
    std::vector<Sink> sinks_;
    uint32_t nextCookie_ = 1;
};

} // namespace lumigra
