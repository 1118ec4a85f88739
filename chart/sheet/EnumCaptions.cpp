#include "sheet/EnumCaptions.h"

#include <string>

#include "lumigra/Constants.h"

namespace lumigra {

namespace {

// Pens, brushes and symbols carry the captions users know them by; the
// other enumerations show their type-library names.
const std::vector<EnumChoice> penStyles{
    {lgPenNull, "何も描かないペン(lgNull)"},
    {lgPenNormal, "ペンの色をそのまま印字(lgPen)"},
    {lgPenInvert, "ペンの色を反転して印字(lgInvertPen)"},
    {lgPenBlack, "常に黒(lgBlack)"},
    {lgPenWhite, "常に白(lgWhite)"},
    {lgPenInvertTarget, "印字対象に既にある色を反転(lgInvertTarget)"},
    {lgPenMerge, "印字対象に既にある色とペンの色を混合した色(lgMerge)"},
    {lgPenInvertMerge, "印字対象に既にある色とペンの色を混合した色を反転(lgInvertMerge)"},
    {lgPenAnd, "印字対象に既にある色とペンの色に共通する色(lgAnd)"},
    {lgPenXor, "印字対象に既にある色とペンの色に共通しない色(lgXor)"},
};

const std::vector<EnumChoice> brushStyles{
    {lgBrushNull, "lgBrushNull"},
    {lgBrushSolid, "ソリッドブラシ(べた塗り,lgSolid)"},
    {lgBrushHorizontal, "水平線のハッチ模様(lgHorizontal)"},
    {lgBrushVertical, "垂直線のハッチ模様(lgVertical)"},
    {lgBrushCross, "縦横クロスハッチ模様(lgCross)"},
    {lgBrushCrossLR, "45度の線どうしが交わるハッチ模様(lgCrossLR)"},
    {lgBrushL, "左上がり斜線ハッチ模様(lgL)"},
    {lgBrushR, "右上がり斜線ハッチ模様(lgR)"},
    {lgBrushCustom, "任意指定(lgCustom)"},
};

const std::vector<EnumChoice> hatchStyles{
    {lgBrushHatchLine, "lgBrushHatchLine"},
    {lgBrushHatchBlock, "lgBrushHatchBlock"},
};

// The second arrow head's caption names the first one's constant: kept as users know it.
const std::vector<EnumChoice> symbolStyles{
    {lgSymbolX, "Ｘ (lgX)"},
    {lgSymbolCustom, "カスタムシンボル(lgCustomSymbol)"},
    {lgSymbolPicture, "イメージシンボル(lgPictureSymbol)"},
    {lgSymbolPlus, "プラス(lgPlus)"},
    {lgSymbolStar, "＊ (lgStar)"},
    {lgSymbolBox1, "矩形(lgBox1)"},
    {lgSymbolBox2, "二重矩形(lgBox2)"},
    {lgSymbolDiamond, "菱形(lgDiamond)"},
    {lgSymbolTriangle, "三角(lgTriangle)"},
    {lgSymbolCircle1, "円形(lgCircle1)"},
    {lgSymbolCircle2, "二重円形(lgCircle2)"},
    {lgSymbolT, " T (lgT)"},
    {lgSymbolInvT, " T の逆さ(lgInvT)"},
    {lgSymbolArrowHead1, "矢尻(閉じない形,lgArrowHead1)"},
    {lgSymbolArrowHead2, "矢尻(閉じた３角形,lgArrowHead1)"},
};

const std::vector<EnumChoice> drawOrders{
    {lgStartSymbolLineEndSymbol, "lgStartSymbolLineEndSymbol"},
    {lgEndSymbolLineStartSymbol, "lgEndSymbolLineStartSymbol"},
    {lgLineFirst, "lgLineFirst"},
    {lgLineLast, "lgLineLast"},
};

const std::vector<EnumChoice> axisTypes{
    {lgXyAxisNumeric, "lgXyAxisNumeric"},
    {lgXyAxisDateTime, "lgXyAxisDateTime"},
};

const std::vector<EnumChoice> axisStyles{
    {lgXyAxisNumericLinear, "lgXyAxisNumericLinear"},
    {lgXyAxisNumericLog10, "lgXyAxisNumericLog10"},
    {lgXyAxisNumericNormal, "lgXyAxisNumericNormal"},
    {lgXyAxisCustom, "lgXyAxisCustom"},
    {lgXyAxisYear, "lgXyAxisYear"},
    {lgXyAxisMonth, "lgXyAxisMonth"},
    {lgXyAxisDay, "lgXyAxisDay"},
    {lgXyAxisHour, "lgXyAxisHour"},
    {lgXyAxisMinute, "lgXyAxisMinute"},
    {lgXyAxisSecond, "lgXyAxisSecond"},
};

const std::vector<EnumChoice> orientations{
    {lgXyAxisX, "lgXyAxisX"},
    {lgXyAxisY, "lgXyAxisY"},
};

const std::vector<EnumChoice> selections{
    {lgSelectionAutomatic, "lgSelectionAutomatic"},
    {lgSelectionManual, "lgSelectionManual"},
};

const std::vector<EnumChoice> tickTypes{
    {lgTickNormal, "lgTickNormal"},
    {lgTickCustom, "lgTickCustom"},
    {lgTickBoth, "lgTickBoth"},
};

const std::vector<EnumChoice> timeUnits{
    {lgSecond, "lgSecond"}, {lgMinute, "lgMinute"}, {lgHour, "lgHour"},
    {lgDay, "lgDay"},       {lgMonth, "lgMonth"},   {lgYear, "lgYear"},
};

const std::vector<EnumChoice> markStyles{
    {lgTickMarkRight, "lgTickMarkRight"},
    {lgTickMarkLeft, "lgTickMarkLeft"},
    {lgTickMarkBoth, "lgTickMarkBoth"},
};

const std::vector<EnumChoice> labelLocations{
    {0, "0"},
    {lgTickLabelRightAbove, "lgTickLabelRightAbove"},
    {lgTickLabelLeftAbove, "lgTickLabelLeftAbove"},
    {lgTickLabelRightCenter, "lgTickLabelRightCenter"},
    {lgTickLabelLeftCenter, "lgTickLabelLeftCenter"},
};

const std::vector<EnumChoice> chartTypes{
    {lgChartSimple, "lgChartSimple"}, {lgChartXStep, "lgChartXStep"},   {lgChartYStep, "lgChartYStep"},
    {lgChartHBar, "lgChartHBar"},     {lgChartVBar, "lgChartVBar"},     {lgChartXSkew, "lgChartXSkew"},
    {lgChartYSkew, "lgChartYSkew"},   {lgChartVector, "lgChartVector"}, {lgChartBubble, "lgChartBubble"},
    {lgChartXHeap, "lgChartXHeap"},   {lgChartYHeap, "lgChartYHeap"},
};

const std::vector<EnumChoice> bubbleScales{
    {lgBubbleScaleLength, "lgBubbleScaleLength"},
    {lgBubbleScaleArea, "lgBubbleScaleArea"},
};

const std::vector<EnumChoice> horizontalAligns{
    {lgFontAlignLeft, "lgFontAlignLeft"},
    {lgFontAlignRight, "lgFontAlignRight"},
};

const std::vector<EnumChoice> heightAligns{
    {lgFontAlignTop, "lgFontAlignTop"},
    {lgFontAlignBottom, "lgFontAlignBottom"},
    {lgFontAlignCenter, "lgFontAlignCenter"},
    {lgFontAlignSuperscript, "lgFontAlignSuperscript"},
    {lgFontAlignSubscript, "lgFontAlignSubscript"},
};

const std::vector<EnumChoice> legendAligns{
    {lgLegendAlignVertical, "lgLegendAlignVertical"},
    {lgLegendAlignHorizontal, "lgLegendAlignHorizontal"},
};

const std::vector<EnumChoice> labelPositions{
    {lgLegendLabelLeft, "lgLegendLabelLeft"},
    {lgLegendLabelRight, "lgLegendLabelRight"},
};

const std::vector<EnumChoice> paintTools{
    {0, "0"},
    {lgPaintBrush, "lgPaintBrush"},
    {lgPaintPicture, "lgPaintPicture"},
    {lgPaintNothing, "lgPaintNothing"},
};

const std::vector<EnumChoice> precisions{
    {lgFontPrecisionDefault, "lgFontPrecisionDefault"},     {lgFontPrecisionString, "lgFontPrecisionString"},
    {lgFontPrecisionCharacter, "lgFontPrecisionCharacter"}, {lgFontPrecisionStroke, "lgFontPrecisionStroke"},
    {lgFontPrecisionTrueType, "lgFontPrecisionTrueType"},   {lgFontPrecisionDevice, "lgFontPrecisionDevice"},
    {lgFontPrecisionRaster, "lgFontPrecisionRaster"},       {lgFontPrecisionTrueTypeOnly, "lgFontPrecisionTrueTypeOnly"},
    {lgFontPrecisionOutline, "lgFontPrecisionOutline"},     {lgFontPrecisionScreenOutline, "lgFontPrecisionScreenOutline"},
};

const std::vector<EnumChoice> qualities{
    {lgFontQualityDefault, "lgFontQualityDefault"},
    {lgFontQualityDraft, "lgFontQualityDraft"},
    {lgFontQualityProof, "lgFontQualityProof"},
};

const std::vector<EnumChoice> charSets{
    {lgCharSetAnsi, "lgCharSetAnsi"},       {lgCharSetDefault, "lgCharSetDefault"},
    {lgCharSetSymbol, "lgCharSetSymbol"},   {lgCharSetMac, "lgCharSetMac"},
    {lgCharSetShiftJis, "lgCharSetShiftJis"}, {lgCharSetGb2312, "lgCharSetGb2312"},
    {lgCharSetBig5, "lgCharSetBig5"},       {lgCharSetArabic, "lgCharSetArabic"},
    {lgCharSetRussian, "lgCharSetRussian"}, {lgCharSetEastEurope, "lgCharSetEastEurope"},
    {lgCharSetOem, "lgCharSetOem"},
};

const std::vector<EnumChoice> backModes{
    {0, "0"}, {1, "1"}, {2, "2"}, {3, "3"},
};

const std::vector<EnumChoice> dragModes{{0, "0"}, {1, "1"}};
const std::vector<EnumChoice> dropModes{{0, "0"}, {1, "1"}, {2, "2"}};

const std::vector<EnumChoice> none;

bool isChart(int32_t id) { return id == lgxXyChart || id == lgxPolarChart || id == lgxTriangularChart; }

} // namespace

const std::vector<EnumChoice>& enumChoices(int32_t objectId, std::string_view m)
{
    switch (objectId) {
    case kControlKind:
        if (m == "BackMode")
            return backModes;
        if (m == "OLEDragMode")
            return dragModes;
        if (m == "OLEDropMode")
            return dropModes;
        return none;
    case lgxPen:
        return m == "Style" ? penStyles : none;
    case lgxBrush:
        if (m == "Style")
            return brushStyles;
        return m == "HatchStyle" ? hatchStyles : none;
    case lgxSymbol:
        return m == "Style" ? symbolStyles : none;
    case lgxSymbolLine:
        return m == "DrawOrder" ? drawOrders : none;
    case lgxXyAxis:
        if (m == "Type")
            return axisTypes;
        if (m == "Style")
            return axisStyles;
        if (m == "Orientation")
            return orientations;
        if (m == "MinimumSelection" || m == "MaximumSelection")
            return selections;
        if (m == "CustomTick")
            return tickTypes;
        return m == "TickTimeUnit" ? timeUnits : none;
    case lgxXyTick:
        if (m == "MarkStyle")
            return markStyles;
        if (m == "MarkIntervalSelection")
            return selections;
        return m == "LabelLocation" ? labelLocations : none;
    case lgxLabel:
        if (m == "AlignX")
            return horizontalAligns;
        return m.substr(0, 6) == "AlignY" ? heightAligns : none;
    case lgxLegend:
        if (m == "Align")
            return legendAligns;
        return m == "LabelPosition" ? labelPositions : none;
    case lgxRectangle:
        return m == "PaintTool" ? paintTools : none;
    case lgxFontHolder:
        if (m == "Precision")
            return precisions;
        if (m == "Quality")
            return qualities;
        return m == "CharSet" ? charSets : none;
    default:
        break;
    }
    if (isChart(objectId)) {
        if (m == "Type" && objectId == lgxXyChart)
            return chartTypes;
        return m == "BubbleScale" ? bubbleScales : none;
    }
    return none;
}

bool isColourMember(std::string_view m)
{
    return m == "Color" || m == "ForeColor" || m == "BackColor" || m == "TextColor" || m == "BkColor";
}

} // namespace lumigra
