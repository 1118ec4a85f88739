#pragma once
// The chart as a document: the control's stored settings and their
// defaults, the 19 collections, the modified flag with its coalesced repaint
// request, and the object text of the whole chart. It knows nothing of
// windows or containers; the control supplies those through the hooks below.
#include <cstdint>
#include <string>
#include <vector>

#include "axis/LoopBudget.h"
#include "model/ChartOwner.h"
#include "model/CollectionSpec.h"
#include "platform/com/Dispatch.h"

namespace lumigra {

class LgCollection;
class LgObject;
class RecordExchange;

class ChartDocument : public ChartOwner {
public:
    ChartDocument();
    ChartDocument(const ChartDocument&) = delete;
    ChartDocument& operator=(const ChartDocument&) = delete;
    virtual ~ChartDocument();

    // ChartOwner
    void notifyChange() override;
    void setModified(bool modified) override { modified_ = modified; }
    LgCollection* collection(int id) const override;
    int32_t lowerBound() const override { return lowerBound_; }
    int32_t maxElements() const override { return maxElements_; }
    bool monochrome() const override { return monochrome_; }

    template <class T>
    void assign(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        notifyChange();
    }

    bool isModified() const { return modified_; }
    int32_t pendingInvalidates() const { return pendingInvalidate_; }
    void paintDone() { pendingInvalidate_ = 0; }

    // Destroys every chart object and creates the collections afresh.
    void initialise();
    void setExtent(int32_t cx, int32_t cy, double dpiX, double dpiY);
    double scaleHeight();
    double scaleWidth();
    bool swapPaintOrder(LgObject* first, LgObject* second);

    // The object text of the whole chart: the header, then every collection
    // in the order that lets references resolve by position.
    std::vector<uint8_t> saveObjectText();
    // Reads into a draft and takes it over only on success: false leaves
    // the chart exactly as it was.
    bool restoreObjectText(const uint8_t* block, size_t size, bool fromContents);

    // Stored settings and their defaults.
    int32_t lowerBound_ = 1;
    int32_t maxElements_ = kDefaultMaxElements;
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
    int32_t maxLoop_ = kDefaultMaxLoop;
    int16_t oleDropMode_ = 2;
    int16_t oleDragMode_ = 1;
    int16_t mouseAction_ = 7;
    int16_t keyboardAction_ = 1;
    int32_t cx_ = 0, cy_ = 0;
    double dpiX_ = 96, dpiY_ = 96;
    int32_t ambientBackColor_ = 0xFFFFFF;
    std::string displayName_;
    // Picture holder, outside every collection.
    platform::com::ComPtr<LgObject> backPicture_;

protected:
    friend class ChartDraft;

    // The back picture and the collections; the control calls it once its
    // own identity is settled.
    void createContents();
    // Destroys the chart objects; safe to call more than once.
    void destroyContents();
    // A change asks the window for a repaint.
    virtual void requestRepaint() = 0;
    // The extent stored in a text being read (0 where none was stored).
    virtual void applyStoredExtent(int32_t storedCx, int32_t storedCy) = 0;

    // Reads an object text into this chart as it stands (a fresh draft).
    bool readObjectText(const uint8_t* block, size_t size, bool fromContents);
    // The stored settings of another chart; all adds the container's
    // extent, resolution, colour and name, which no text sets.
    void takeSettings(const ChartDocument& from, bool all);
    // Exchanges objects and settings with a draft that has been read.
    void takeOver(ChartDocument& draft);

private:
    // Points every object of this chart at it as their owner.
    void claimObjects();
    void destroyCollections();
    void writeHeader(RecordExchange& x);
    void readHeader(RecordExchange& x, bool fromContents, int16_t& version);

    platform::com::ComPtr<LgCollection> collections_[cidCount];
    bool modified_ = false;
    int32_t pendingInvalidate_ = 0;
};

// The document that owns a chart object (every owner is one).
ChartDocument& documentOf(ChartOwner& owner);

} // namespace lumigra
