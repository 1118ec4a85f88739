#include "draw/SymbolStyles.h"

#include "draw/SymbolProgram.h"

#include <array>
#include <cmath>

namespace lumigra {

namespace {

constexpr std::array<SymbolStyleInfo, 15> kStyles{{
    {71, "lgSymbolX", "Ｘ (lgX)", "L03L12", "", false},
    {74, "lgSymbolCustom", "カスタムシンボル(lgCustomSymbol)", "", "", false},
    {75, "lgSymbolPicture", "イメージシンボル(lgPictureSymbol)", "", "", false},
    {76, "lgSymbolPlus", "プラス(lgPlus)", "L45L67", "", false},
    {77, "lgSymbolStar", "＊ (lgStar)", "L45L67L03L12", "", false},
    {78, "lgSymbolBox1", "矩形(lgBox1)", "P0132", "", false},
    {79, "lgSymbolBox2", "二重矩形(lgBox2)", "P0132", "Pabdc", false},
    {80, "lgSymbolDiamond", "菱形(lgDiamond)", "P6574", "", false},
    {81, "lgSymbolTriangle", "三角(lgTriangle)", "P632", "", false},
    {82, "lgSymbolCircle1", "円形(lgCircle1)", "E8", "", false},
    {83, "lgSymbolCircle2", "二重円形(lgCircle2)", "E8", "e8", false},
    {84, "lgSymbolT", " T (lgT)", "L01L67", "", false},
    {85, "lgSymbolInvT", " T の逆さ(lgInvT)", "L23L67", "", false},
    // The caption of the closed arrow head repeats the open one's name, as shipped.
    {86, "lgSymbolArrowHead1", "矢尻(閉じない形,lgArrowHead1)", "L08L82", "", true},
    {87, "lgSymbolArrowHead2", "矢尻(閉じた３角形,lgArrowHead1)", "P082", "", true},
}};

} // namespace

std::span<const SymbolStyleInfo> symbolStyles()
{
    return kStyles;
}

const SymbolStyleInfo* findSymbolStyle(int style)
{
    for (const SymbolStyleInfo& info : kStyles) {
        if (info.value == style)
            return &info;
    }
    return nullptr;
}

void drawSymbol(int style, std::string_view customProgram, double cx, double cy, double width, double height,
                bool quarterTurn, PrimitiveSink& sink)
{
    const SymbolStyleInfo* info = findSymbolStyle(style);
    if (!info)
        return;
    SymbolBox box{cx, cy, width / 2, height / 2};
    if (info->doubleWidth)
        box.hx *= 2;

    if (style == kSymbolStylePicture) {
        if (!std::isfinite(cx) || !std::isfinite(cy) || !(width * width >= SymbolProgram::kMinSquaredSize)
            || !(height * height >= SymbolProgram::kMinSquaredSize))
            return;
        sink.fillRectangle(box);
        sink.picture(box);
        sink.outlineRectangle(box);
        return;
    }
    const std::string_view program = style == kSymbolStyleCustom ? customProgram : info->program;
    SymbolProgram::run(program, box, quarterTurn, sink);
    if (!info->secondProgram.empty())
        SymbolProgram::run(info->secondProgram, box, quarterTurn, sink);
}

} // namespace lumigra
