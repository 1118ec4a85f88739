#pragma once
// XY axes with their ticks, polar axes with theirs, and triangular axes.
#include <string>

#include "axis/PlotCache.h"
#include "model/Object.h"

namespace lumigra {

class LgXyTick : public LgObject {
public:
    explicit LgXyTick(ChartOwner* owner) : LgObject(owner, "Tick", IID_LgXyTick, lgxXyTick) {}
    static LgObject* create(ChartOwner* owner) { return new LgXyTick(owner); }
    const MemberTable& members() const override;
    void exchange(RecordExchange& x) override;
    // The format in force: the one set, or the default of the axis type.
    std::string labelFormat() const;
    // Tells this tick and its subticks the type of their axis.
    void setAxisType(int16_t type, bool normalise = false);

    bool visible_ = true;
    std::string labelFormat_; // empty: the axis type's default
    ObjRef labelFont_{this};
    int16_t labelAngle_ = 0;
    Variant markInterval_;
    int16_t markIntervalSelection_ = lgSelectionAutomatic;
    double markLength_ = 0;
    int16_t markStyle_ = lgTickMarkRight;
    ObjRef gridLine_{this};
    ObjRef pen_{this};
    int16_t level_ = 0;
    ObjRef subTick_{this};
    int16_t labelLocation_ = 0;
    bool markUniformScale_ = true;
    int16_t axisType_ = lgXyAxisNumeric;
};

class LgXyAxis : public LgObject {
public:
    explicit LgXyAxis(ChartOwner* owner) : LgObject(owner, "XyAxis", IID_LgXyAxis, lgxXyAxis) {}
    static LgObject* create(ChartOwner* owner) { return new LgXyAxis(owner); }
    const MemberTable& members() const override;
    void exchange(RecordExchange& x) override;
    LgXyTick* tick();

    bool visible_ = true;
    int16_t type_ = lgXyAxisNumeric;
    int16_t style_ = lgXyAxisNumericLinear;
    double orgX_ = 0, orgY_ = 0;
    int16_t orientation_ = lgXyAxisX;
    double length_ = 0;
    Variant minimum_, maximum_;
    int16_t minimumSelection_ = lgSelectionAutomatic, maximumSelection_ = lgSelectionAutomatic;
    bool reverse_ = false;
    ObjRef pen_{this};
    ObjRef tick_{this};
    int16_t tickTimeUnit_ = lgYear;
    int16_t customTick_ = lgTickNormal;
    Variant tickPositions_, tickValues_;
    // The scale is found again before the next drawing or PlotPosition.
    bool scaleStale_ = true;
    // Answers of the container for a custom axis (SetPlotCache).
    PlotCache plotCache_;
};

class LgPolarTick : public LgObject {
public:
    explicit LgPolarTick(ChartOwner* owner) : LgObject(owner, "PolarTick", IID_LgPolarTick, lgxPolarTick) {}
    static LgObject* create(ChartOwner* owner) { return new LgPolarTick(owner); }
    const MemberTable& members() const override;
    void exchange(RecordExchange& x) override;

    bool visible_ = true;
    std::string labelFormat_ = "General Number";
    ObjRef labelFont_{this};
    int16_t labelAngle_ = 0;
    Variant markInterval_;
    int16_t markIntervalSelection_ = lgSelectionAutomatic;
    double markLength_ = 0;
    int16_t markStyle_ = lgTickMarkRight;
    ObjRef gridLine_{this};
    ObjRef pen_{this};
};

class LgPolarAxis : public LgObject {
public:
    explicit LgPolarAxis(ChartOwner* owner) : LgObject(owner, "PolarAxis", IID_LgPolarAxis, lgxPolarAxis) {}
    static LgObject* create(ChartOwner* owner) { return new LgPolarAxis(owner); }
    const MemberTable& members() const override;
    void exchange(RecordExchange& x) override;

    bool visible_ = true;
    int16_t type_ = lgPolarAxisElliptic;
    double orgX_ = 0, orgY_ = 0, radius_ = 0;
    Variant minimum_, maximum_;
    int16_t minimumSelection_ = lgSelectionAutomatic, maximumSelection_ = lgSelectionAutomatic;
    bool reverse_ = false;
    ObjRef pen_{this};
    ObjRef tick_{this};
    double startAngle_ = 0, endAngle_ = 360;
};

class LgTriangularAxis : public LgObject {
public:
    explicit LgTriangularAxis(ChartOwner* owner)
        : LgObject(owner, "TriAxis", IID_LgTriangularAxis, lgxTriangularAxis) {}
    static LgObject* create(ChartOwner* owner) { return new LgTriangularAxis(owner); }
    const MemberTable& members() const override;
    void exchange(RecordExchange& x) override;

    bool visible_ = true;
    double orgX_ = 0, orgY_ = 0, length_ = 0;
    double minimum_ = 0, maximum_ = 100, markInterval_ = 10;
    std::string labelFormat_ = "General Number";
    ObjRef pen_{this}, brush_{this}, markPen1_{this}, markPen2_{this}, markLine1_{this}, markLine2_{this},
        labelFont1_{this}, labelFont2_{this};
    double markLength_ = 0;
};

// Any variant a tick list may hold: empty or a one-dimensional array.
Variant tickListValue(const Variant& value);

} // namespace lumigra
