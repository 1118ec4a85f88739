#pragma once
// Labels (five runs of text on one baseline), legends and legend items.
#include <array>
#include <string>

#include "model/Object.h"

namespace lumigra {

class LgCollection;

class LgLabel : public LgObject {
public:
    explicit LgLabel(ChartOwner* owner) : LgObject(owner, "Label", IID_LgLabel, lgxLabel) {}
    static LgObject* create(ChartOwner* owner) { return new LgLabel(owner); }
    const MemberTable& members() const override;
    void exchange(RecordExchange& x) override;

    bool visible_ = true;
    int32_t angle_ = 0;
    double orgX_ = 0, orgY_ = 0;
    int16_t alignX_ = lgFontAlignLeft;
    ObjRef fonts_[5] = {ObjRef(this), ObjRef(this), ObjRef(this), ObjRef(this), ObjRef(this)};
    std::array<std::string, 5> strings_;
    std::array<int16_t, 5> alignY_{lgFontAlignTop, lgFontAlignTop, lgFontAlignTop, lgFontAlignTop, lgFontAlignTop};
    std::array<int16_t, 5> leadingSpace_{};
    std::array<int16_t, 5> trailingSpace_{};
    std::array<double, 5> heightShift_{};
};

class LgLegend : public LgObject {
public:
    explicit LgLegend(ChartOwner* owner);
    static LgObject* create(ChartOwner* owner) { return new LgLegend(owner); }
    const MemberTable& members() const override;
    void exchange(RecordExchange& x) override;
    LgCollection* items() const;

    bool visible_ = true;
    ObjRef area_{this};
    ObjRef items_{this};
    int16_t align_ = lgLegendAlignVertical;
    int16_t labelPosition_ = lgLegendLabelRight;
    bool evenHeight_ = false;
};

class LgLegendItem : public LgObject {
public:
    explicit LgLegendItem(ChartOwner* owner) : LgObject(owner, "LegendItem", IID_LgLegendItem, lgxLegendItem) {}
    static LgObject* create(ChartOwner* owner) { return new LgLegendItem(owner); }
    const MemberTable& members() const override;
    void exchange(RecordExchange& x) override;

    bool visible_ = true;
    ObjRef chart_{this};
    ObjRef label_{this};
    int32_t symbolIndex_ = lgGraphSymbol;
    int32_t lineIndex_ = lgGraphLine;
    double symbolWidth_ = 2.0, symbolHeight_ = 2.0, lineLength_ = 10.0;
};

} // namespace lumigra
