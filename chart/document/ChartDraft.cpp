#include "document/ChartDraft.h"

#include "document/ChartDocument.h"

namespace lumigra {

class ChartDraft::Draft final : public ChartDocument {
public:
    explicit Draft(ChartDocument& live) : live_(live)
    {
        takeSettings(live, true);
        createContents();
    }
    ~Draft() override { destroyContents(); }

    DrawingQueries& drawingQueries() override { return live_.drawingQueries(); }

    int32_t storedCx = 0, storedCy = 0;

protected:
    // Nothing is shown until the live chart has taken the draft over.
    void requestRepaint() override {}
    void applyStoredExtent(int32_t cx, int32_t cy) override
    {
        storedCx = cx;
        storedCy = cy;
    }

private:
    ChartDocument& live_;
};

ChartDraft::ChartDraft(ChartDocument& live) : live_(live), draft_(std::make_unique<Draft>(live)) {}

ChartDraft::~ChartDraft() = default;

bool ChartDraft::readObjectText(const uint8_t* block, size_t size, bool fromContents)
{
    fromContents_ = fromContents;
    return draft_->readObjectText(block, size, fromContents);
}

ChartDocument& ChartDraft::document() { return *draft_; }

void ChartDraft::commit()
{
    live_.takeOver(*draft_);
    // The container's extent check runs once the chart is in place.
    live_.applyStoredExtent(draft_->storedCx, draft_->storedCy);
    live_.notifyChange();
    if (fromContents_)
        live_.setModified(false);
}

} // namespace lumigra
