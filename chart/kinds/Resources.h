#pragma once
// Drawing resources: pens, brushes, fonts and picture holders.
#include <array>
#include <string>
#include <vector>

#include "model/Object.h"

namespace lumigra {

// A colour as read through the control's Monochrome setting.
int32_t colourThroughMonochrome(const LgObject& o, int32_t colour);

class LgPen : public LgObject {
public:
    explicit LgPen(ChartOwner* owner) : LgObject(owner, "Pen", IID_LgPen, lgxPen) {}
    static LgObject* create(ChartOwner* owner) { return new LgPen(owner); }
    const MemberTable& members() const override;
    void exchange(RecordExchange& x) override;

    double width_ = 0;
    int32_t color_ = 0;
    bool enabled_ = true;
    int16_t style_ = lgPenNormal;
};

class LgBrush : public LgObject {
public:
    explicit LgBrush(ChartOwner* owner) : LgObject(owner, "Brush", IID_LgBrush, lgxBrush) {}
    static LgObject* create(ChartOwner* owner) { return new LgBrush(owner); }
    const MemberTable& members() const override;
    void exchange(RecordExchange& x) override;

    bool enabled_ = true;
    int16_t style_ = lgBrushNull;
    int16_t hatchStyle_ = 0;
    int32_t foreColor_ = 0;
    int32_t backColor_ = 0xFFFFFF;
    std::array<bool, 64> pattern_{}; // cell (x, y) at 8 x + y
};

class LgFontHolder : public LgObject {
public:
    explicit LgFontHolder(ChartOwner* owner) : LgObject(owner, "Font", IID_LgFontHolder, lgxFontHolder) {}
    static LgObject* create(ChartOwner* owner) { return new LgFontHolder(owner); }
    const MemberTable& members() const override;
    void exchange(RecordExchange& x) override;

    std::string typeFace_ = "ＭＳ 明朝";
    bool bold_ = false, italic_ = false, strikeThrough_ = false, underline_ = false;
    int32_t textColor_ = 0;
    double size_ = 3.0;
    bool enabled_ = true;
    bool bkColorEnabled_ = false;
    int32_t bkColor_ = 0xFFFFFF;
    int16_t precision_ = 0, quality_ = 0, charSet_ = 1, pitchAndFamily_ = 0;
    int32_t escapement_ = 0, orientation_ = 0;
    double width_ = 0;
};

// Holds one image as its file bytes; the image travels beside the object
// text (in the compound file), so the record keeps only the settings.
class LgPictureHolder : public LgObject {
public:
    explicit LgPictureHolder(ChartOwner* owner)
        : LgObject(owner, "Picture", IID_LgPictureHolder, lgxPictureHolder) {}
    static LgObject* create(ChartOwner* owner) { return new LgPictureHolder(owner); }
    const MemberTable& members() const override;
    void exchange(RecordExchange& x) override;
    void copySettings(LgObject& target) override;

    const std::vector<uint8_t>& image() const { return image_; }
    // The image bytes as restored from a store, without change notification.
    void setImageRaw(std::vector<uint8_t> bytes) { image_ = std::move(bytes); }

    bool stretch_ = true;
    std::string fileName_;
    std::vector<uint8_t> image_;
};

} // namespace lumigra
