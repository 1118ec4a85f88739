// The plot window's chart through the typed face: spectra reach the chart
// as packed blocks (the variants made do not grow with the points), and the
// chart is the one the late-bound construction made, object text included.
#include <atomic>
#include <functional>
#include <regex>

#include "FacadeCharts.h"
#include "lumigra/TypedChart.h"

using namespace facadetest;

namespace {

uint64_t variantsMadeBy(const std::function<void()>& work)
{
    std::atomic<uint64_t> made{0};
    platform::com::variantsMade = &made;
    work();
    platform::com::variantsMade = nullptr;
    return made.load();
}

// Default object names are "Kind:" and the clock's milliseconds; those
// digits are blanked, inside the axes' hex records too.
std::string blankNames(const std::string& text)
{
    static const std::regex name("\nName=([A-Za-z]+):[0-9]+\n"), added("\nAdded=([0-9A-F]+)\n");
    std::string out = std::regex_replace(text, name, "\nName=$1:#\n");
    std::string result;
    auto from = out.cbegin();
    for (std::sregex_iterator m(out.cbegin(), out.cend(), added), end; m != end; ++m) {
        std::string inner;
        const std::string hex = (*m)[1].str();
        for (size_t i = 0; i + 1 < hex.size(); i += 2)
            inner += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
        result.append(from, (*m)[0].first);
        result += "\nAdded=" + blankNames("\n" + inner) + "\n";
        from = (*m)[0].second;
    }
    result.append(from, out.cend());
    return result;
}

} // namespace

TEST(TypedChart, PlottingASpectrumMakesAsManyVariantsForAnyLength)
{
    std::vector<uint64_t> made;
    for (size_t n : {100u, 32767u}) {
        std::vector<float> x, y;
        spectrum(n, x, y);
        raylen::PlotChart chart;
        Obj control = newControl();
        chart.build(control.get());
        made.push_back(variantsMadeBy([&] { chart.plotLine(x, y); }));
        // The values are all there, read back by an outside host.
        Variant back = Call(GetObj(chart.objGraph, dsp::chart::Data), dsp::data::GetData, {I2(2)});
        ASSERT_EQ(back.elementCount(), n);
        EXPECT_EQ(back.at(n - 1).r4(), y.back());
    }
    EXPECT_EQ(made[0], made[1]);
    EXPECT_LT(made[1], 1000u);

    // The counter sees variants: an array of one per value makes that many.
    Obj control = newControl();
    raylen::PlotChart chart;
    chart.build(control.get());
    const uint64_t general = variantsMadeBy([&] {
        Variant array = Variant::makeArray(VT_R4, 0, 32767);
        Call(GetObj(chart.objGraph, dsp::chart::Data), dsp::data::SetData, {I2(2), array});
    });
    EXPECT_GT(general, 32767u);
}

TEST(TypedChart, ThePlotWindowsChartIsTheLateBoundOneByteForByte)
{
    // Made by the window's every change on 40 points when each value went in
    // as a variant of its own; only the clock digits of names may differ.
    const std::string fixture = testsupport::readAll(std::string(RAYLEN_TEST_DIR) + "/fixtures/plot_window_chart.bin");
    ASSERT_GT(fixture.size(), 20000u);
    raylen::PlotChart chart;
    Obj control = everyChange(chart, 40);
    const std::string text = textOf(control);
    EXPECT_EQ(blankNames(text.substr(4)), blankNames(fixture.substr(4)));
    EXPECT_NE(blankNames(text.substr(4)), text.substr(4)) << "the names were blanked";
}

TEST(TypedChart, PackedDataAnswersLikeAnArrayOfVariants)
{
    const std::vector<float> values{3.5f, -1.0f, 7.25f, 7.25f, 0.0f};
    Variant general = Variant::makeArray(VT_R4, 0, 5);
    for (size_t i = 0; i < values.size(); ++i)
        general.at(i) = Variant::fromR4(values[i]);
    Obj control = newControl();
    const Obj sets = GetObj(control, dsp::control::DataCollection);
    lumigra::typed::Data packed(CallObj(sets, dsp::collection::Add, {Str("P")}));
    Obj plain = CallObj(sets, dsp::collection::Add, {Str("G")});
    packed.setValues(lumigra::lgIndexDataY, values);
    Call(plain, dsp::data::SetData, {I2(2), general});
    const Obj& p = packed.dispatch();
    for (DispId id : {dsp::data::Max, dsp::data::Min, dsp::data::Type, dsp::data::GetData, dsp::data::UBound,
                      dsp::data::LBound})
        EXPECT_TRUE(Call(p, id, {I2(2)}).sameAs(Call(plain, id, {I2(2)}))) << id;
    EXPECT_EQ(packed.maximum(lumigra::lgIndexDataY), 7.25);
    // A value equal to the missing value is left out of the extremes.
    for (const Obj& d : {p, plain})
        Call(d, dsp::data::SetMissingValue, {I2(2), R8(7.25)});
    EXPECT_EQ(Call(p, dsp::data::Max, {I2(2)}).r4(), 3.5f);
    EXPECT_TRUE(Call(p, dsp::data::Max, {I2(2)}).sameAs(Call(plain, dsp::data::Max, {I2(2)})));
    // Elements read and written one by one.
    EXPECT_TRUE(Call(p, dsp::data::GetElement, {I2(2), I4(2)}).sameAs(Variant::fromR4(7.25f)));
    EXPECT_TRUE(Call(p, dsp::data::SetElement, {I2(2), I4(1), R8(9.0)}).boolean());
    EXPECT_EQ(Call(p, dsp::data::Max, {I2(2)}).r4(), 9.0f);
    packed.clear(lumigra::lgIndexDataY);
    EXPECT_TRUE(Call(p, dsp::data::GetData, {I2(2)}).isEmpty());
}
