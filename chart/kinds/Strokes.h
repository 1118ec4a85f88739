#pragma once
// Lines (dash patterns), symbols and arrow lines.
#include <string>

#include "model/Object.h"

namespace lumigra {

class LgLine : public LgObject {
public:
    explicit LgLine(ChartOwner* owner) : LgObject(owner, "Line", IID_LgLine, lgxLine) {}
    static LgObject* create(ChartOwner* owner) { return new LgLine(owner); }
    const MemberTable& members() const override;
    void exchange(RecordExchange& x) override;

    ObjRef pen1_{this}, pen2_{this}, pen3_{this}, pen4_{this};
    double length1_ = 0, length2_ = 0, length3_ = 0, length4_ = 0;
    double space1_ = 0, space2_ = 0, space3_ = 0, space4_ = 0;
    double lastLength_ = 0;
    bool visible_ = true;
    double fromX_ = 0, fromY_ = 0, toX_ = 0, toY_ = 0;
};

class LgSymbol : public LgObject {
public:
    explicit LgSymbol(ChartOwner* owner) : LgObject(owner, "Symbol", IID_LgSymbol, lgxSymbol) {}
    static LgObject* create(ChartOwner* owner) { return new LgSymbol(owner); }
    const MemberTable& members() const override;
    void exchange(RecordExchange& x) override;

    double centerX_ = 0, centerY_ = 0, width_ = 0, height_ = 0;
    ObjRef pen_{this}, brush_{this}, picture_{this};
    int16_t style_ = 0;
    bool visible_ = true;
    int32_t angle_ = 0;
    std::string customString_;
};

class LgSymbolLine : public LgObject {
public:
    explicit LgSymbolLine(ChartOwner* owner) : LgObject(owner, "SymbolLine", IID_LgSymbolLine, lgxSymbolLine) {}
    static LgObject* create(ChartOwner* owner) { return new LgSymbolLine(owner); }
    const MemberTable& members() const override;
    void exchange(RecordExchange& x) override;

    ObjRef startSymbol_{this}, endSymbol_{this}, line_{this};
    bool visible_ = true;
    int16_t drawOrder_ = lgLineLast;
};

} // namespace lumigra
