#pragma once
// A chart read beside the live one. Restoring reads into a draft, and the
// live chart takes the draft's objects and settings over only once
// everything was read: an abandoned or failed restore leaves every object,
// setting and picture of the live chart as it was, and the host's
// references to its objects stay valid.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace lumigra {

class ChartDocument;

class ChartDraft {
public:
    explicit ChartDraft(ChartDocument& live);
    ChartDraft(const ChartDraft&) = delete;
    ChartDraft& operator=(const ChartDraft&) = delete;
    ~ChartDraft();

    // The object text into the draft; false when the restore was abandoned
    // or the text could not be read (its message has been shown).
    bool readObjectText(const uint8_t* block, size_t size, bool fromContents);
    // The draft's own chart, for the pictures that travel beside the text.
    ChartDocument& document();
    // The live chart takes over the draft; the draft then holds the old
    // objects and releases them when it goes.
    void commit();

private:
    class Draft;
    ChartDocument& live_;
    std::unique_ptr<Draft> draft_;
    bool fromContents_ = false;
};

} // namespace lumigra
