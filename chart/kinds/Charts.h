#pragma once
// Charts: the part shared by every chart kind (data, data labels, the
// symbol, line and brush tables), and the XY, polar and triangular charts.
#include <memory>
#include <vector>

#include "model/Object.h"

namespace lumigra {

class LgChart : public LgObject {
public:
    LgChart(ChartOwner* owner, const char* className, const Guid& iid, int32_t objectId, int16_t chartType);
    // The shared "Chart" record, then the kind's own record.
    void record(RecordExchange& x) override;
    void exchangeShared(RecordExchange& x);
    static const std::vector<Member>& sharedMembers();

    using Table = std::vector<std::unique_ptr<ObjRef>>;
    void resizeTable(Table& table, int32_t size);
    ObjRef& entry(Table& table, int32_t index); // 1003 outside the table

    int16_t chartType_;
    bool visible_ = true;
    int16_t type_ = lgChartSimple;
    bool clip_ = true;
    double divisor_ = 1.0, metricater_ = 1.0;
    ObjRef data_{this};
    int32_t dataLabelInterval_ = 0;
    ObjRef dataLabelFont_{this};
    int32_t dataLabelAngle_ = 0;
    double dataLabelOffsetX_ = 0, dataLabelOffsetY_ = 0;
    int16_t dataLabelAlignX_ = lgDataLabelAlignLeft, dataLabelAlignY_ = lgDataLabelAlignBottom;
    Table symbols_, lines_, brushes_;
    int32_t markerSymbolInterval_ = 0;
    Variant singularValue_ = Variant::fromR8(0);
    int16_t singularCriterion_ = lgSingularNone;
    int32_t singularIndex_ = lgSingularStored;
    ObjRef symbolLine_{this};
    int16_t bubbleScale_ = lgBubbleScaleLength;
    bool lineFirst_ = true, drawSimpleChart_ = true;
    int16_t dataLabelLocation_ = lgDataLabelWithinChart;
    int16_t dataLabelOffsetIndex_ = 0, bubbleStyleIndex_ = 0, auxLineIndex1_ = 0, auxLineIndex2_ = 0;
};

class LgXyChart : public LgChart {
public:
    explicit LgXyChart(ChartOwner* owner) : LgChart(owner, "XyChart", IID_LgXyChart, lgxXyChart, lgChartXy) {}
    static LgObject* create(ChartOwner* owner) { return new LgXyChart(owner); }
    const MemberTable& members() const override;
    void exchange(RecordExchange& x) override;
    LgXyChart* clone(const std::string& name, const Args& args);

    ObjRef xAxis_{this}, yAxis_{this}, plotArea_{this};
    Variant barBasePoint_ = Variant::fromR8(0);
    int16_t symbolLocation_ = lgSymbolLocationMiddle;
    int16_t barBasePointSelection_ = lgBarBaseMinimum;
};

class LgPolarChart : public LgChart {
public:
    explicit LgPolarChart(ChartOwner* owner)
        : LgChart(owner, "PolarChart", IID_LgPolarChart, lgxPolarChart, lgChartPolar) {}
    static LgObject* create(ChartOwner* owner) { return new LgPolarChart(owner); }
    const MemberTable& members() const override;
    void exchange(RecordExchange& x) override;

    ObjRef plotArea_{this}, ellipticAxis_{this}, straightAxis_{this};
};

class LgTriangularChart : public LgChart {
public:
    explicit LgTriangularChart(ChartOwner* owner)
        : LgChart(owner, "TriChart", IID_LgTriangularChart, lgxTriangularChart, lgChartTriangular) {}
    static LgObject* create(ChartOwner* owner) { return new LgTriangularChart(owner); }
    const MemberTable& members() const override;
    void exchange(RecordExchange& x) override;

    ObjRef plotArea_{this}, triangularAxis_{this};
};

} // namespace lumigra
