#pragma once
// Rectangles, polygons (closed) and polylines (open).
#include "model/Object.h"

namespace lumigra {

class LgRectangle : public LgObject {
public:
    explicit LgRectangle(ChartOwner* owner) : LgObject(owner, "Rect", IID_LgRectangle, lgxRectangle) {}
    static LgObject* create(ChartOwner* owner) { return new LgRectangle(owner); }
    const MemberTable& members() const override;
    void exchange(RecordExchange& x) override;

    double width_ = 0, height_ = 0, orgX_ = 0, orgY_ = 0;
    ObjRef pen_{this}, brush_{this}, picture_{this}, shadowBrush_{this};
    int16_t paintTool_ = 0;
    bool visible_ = true;
    double shadowShiftX_ = 0, shadowShiftY_ = 0;
};

// The points of a figure: two double arrays from 0, X and Y.
struct PointList {
    Variant x = Variant::makeArray(platform::com::VT_R8, 0, 0);
    Variant y = Variant::makeArray(platform::com::VT_R8, 0, 0);
    int32_t count() const;
    void exchange(RecordExchange& rx);
};
// A one-dimensional numeric array as doubles from 0 (1003 otherwise).
Variant doubleArrayArgument(const Variant& value);

class LgPolygon : public LgObject {
public:
    explicit LgPolygon(ChartOwner* owner) : LgObject(owner, "Polygon", IID_LgPolygon, lgxPolygon) {}
    static LgObject* create(ChartOwner* owner) { return new LgPolygon(owner); }
    const MemberTable& members() const override;
    void exchange(RecordExchange& x) override;

    bool visible_ = true;
    ObjRef pen_{this}, brush_{this};
    PointList points_;
};

class LgPolyline : public LgObject {
public:
    explicit LgPolyline(ChartOwner* owner) : LgObject(owner, "Polyline", IID_LgPolyline, lgxPolyline) {}
    static LgObject* create(ChartOwner* owner) { return new LgPolyline(owner); }
    const MemberTable& members() const override;
    void exchange(RecordExchange& x) override;

    bool visible_ = true;
    ObjRef line_{this};
    PointList points_;
};

} // namespace lumigra
