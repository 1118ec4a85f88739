#pragma once
// Enumerations and constants of the type library.
#include <cstdint>

namespace lumigra {

// LumigraWorksConstants
enum : int32_t {
    lgNull = 0,
    lgParents = 89,
    lgUsers = 90,
    lgRestoreOnly = 92,
    lgRestoreAndFree = 93,
    lgFreeOnly = 94,
    lgMetaFile = 29,
    lgBitmap = 30,
    lgEnhMetaFile = 91,
};

enum LgObjectID : int32_t {
    lgxBrush = 1, lgxBrushes = 2, lgxPen = 3, lgxPens = 4, lgxFontHolder = 5, lgxFontHolders = 6,
    lgxSymbolLine = 7, lgxSymbolLines = 8, lgxData = 9, lgxDataCollection = 10, lgxLabel = 11, lgxLabels = 12,
    lgxLegend = 13, lgxLegends = 14, lgxLegendItem = 15, lgxLegendItems = 16, lgxLine = 17, lgxLines = 18,
    lgxPictureHolder = 19, lgxPictureHolders = 20, lgxPolarAxis = 21, lgxPolarAxes = 22, lgxPolarChart = 23,
    lgxPolarCharts = 24, lgxPolarTick = 25, lgxRectangle = 26, lgxRectangles = 27, lgxSymbol = 28, lgxSymbols = 29,
    lgxTriangularAxis = 30, lgxTriangularAxes = 31, lgxTriangularChart = 32, lgxTriangularCharts = 33,
    lgxXyTick = 34, lgxXyAxis = 35, lgxXyAxes = 36, lgxXyChart = 37, lgxXyCharts = 38, lgxPolygons = 39,
    lgxPolygon = 40, lgxPolylines = 41, lgxPolyline = 42,
};

enum LgMouseAction : int16_t {
    lgNoMouseAction = 0, lgShowPropertySheet = 1, lgDropMenu = 2, lgFireMouseEvent = 4, lgFireSelectObject = 8,
};
enum LgKeyboardAction : int16_t { lgNoKeyboardAction = 0, lgFireKeyboardEvent = 1 };
enum LgContainerType : int16_t { lgContainerExcel = 27 };
enum LgMemFlag : int16_t { lgMemRestoreOnly = 92, lgMemRestoreAndFree = 93, lgMemFreeOnly = 94 };
enum LgImageType : int16_t { lgImageMetaFile = 29, lgImageBitmap = 30, lgImageEnhMetaFile = 91 };

// Data sets
enum LgDataIndex : int16_t {
    lgIndexDataLabel = 0, lgIndexDataX = 1, lgIndexDataY = 2, lgIndexMagnitude = 3, lgIndexVectorDX = 3,
    lgIndexHeap1 = 3, lgIndexVectorDY = 4,
};
enum LgDataType : int16_t {
    lgDataUndefined = 0, lgDataInteger = 1, lgDataLong = 2, lgDataSingle = 3, lgDataDouble = 4,
    lgDataCurrency = 5, lgDataDate = 6, lgDataString = 7,
};
enum LgDateTimeUnit : int16_t {
    lgSecond = 1, lgMinute = 2, lgHour = 4, lgDay = 8, lgMonth = 16, lgYear = 32,
};

// XY axes and ticks
enum LgXyAxisType : int16_t { lgXyAxisNumeric = 18, lgXyAxisDateTime = 19 };
enum LgXyAxisStyle : int16_t {
    lgXyAxisNumericLinear = 24, lgXyAxisNumericLog10 = 25, lgXyAxisNumericNormal = 26, lgXyAxisCustom = 68,
    lgXyAxisYear = 32, lgXyAxisMonth = 16, lgXyAxisDay = 8, lgXyAxisHour = 4, lgXyAxisMinute = 2,
    lgXyAxisSecond = 1,
};
enum LgXyAxisOrientation : int16_t { lgXyAxisX = 20, lgXyAxisY = 21 };
enum LgSelection : int16_t { lgSelectionAutomatic = 41, lgSelectionManual = 42 };
enum LgTickType : int16_t { lgTickNormal = 0, lgTickCustom = 1, lgTickBoth = 2 };
enum LgPlotCacheFlag : int16_t { lgPlotCacheDisable = 0, lgPlotCacheEnable = 1, lgPlotCacheFlush = 2 };
enum LgTickMarkStyle : int16_t { lgTickMarkRight = 43, lgTickMarkLeft = 44, lgTickMarkBoth = 45 };
enum LgTickLabelLocation : int16_t {
    lgTickLabelRightAbove = 1, lgTickLabelLeftAbove = -1, lgTickLabelRightCenter = 2, lgTickLabelLeftCenter = -2,
};

// Charts
enum LgChartType : int16_t {
    lgChartSimple = 6, lgChartXStep = 7, lgChartYStep = 8, lgChartHBar = 9, lgChartVBar = 10, lgChartXSkew = 11,
    lgChartYSkew = 12, lgChartVector = 13, lgChartBubble = 14, lgChartXHeap = 15, lgChartYHeap = 16,
    lgChartPolarBar = 17,
};
enum LgChartID : int16_t { lgChartXy = 1, lgChartPolar = 2, lgChartTriangular = 5 };
enum LgDataLabelAlignX : int16_t { lgDataLabelAlignLeft = 47, lgDataLabelAlignRight = 48, lgDataLabelAlignCenter = 49 };
enum LgDataLabelAlignY : int16_t { lgDataLabelAlignTop = 50, lgDataLabelAlignBottom = 51 };
enum LgSymbolIndex : int16_t {
    lgIsolatedPoint = 0, lgSingularPoint = 1, lgMarkerSymbol = 2, lgGraphSymbol = 3, lgTopHeapSymbol = 3,
};
enum LgLineIndex : int16_t { lgMissingPeriod = 0, lgMarkerLine = 1, lgGraphLine = 2, lgTopHeapLine = 2 };
enum LgBrushIndex : int16_t { lgTopHeapBrush = 0 };
enum LgSingularCriterion : int16_t {
    lgSingularNone = 0, lgSingularLess = 34, lgSingularLessEqual = 35, lgSingularEqual = 36,
    lgSingularGreaterEqual = 37, lgSingularGreater = 38,
};
enum LgSingularIndex : int32_t { lgSingularX = 71, lgSingularY = 72, lgSingularStored = 73 };
enum LgBubbleScale : int16_t { lgBubbleScaleLength = 39, lgBubbleScaleArea = 40 };
enum LgDataLabelLocation : int16_t {
    lgDataLabelOnXAxis = 20, lgDataLabelOnYAxis = 21, lgDataLabelWithinChart = 88,
};
enum LgSymbolLocation : int16_t {
    lgSymbolLocationAutomatic = 41, lgSymbolLocationManual = 42, lgSymbolLocationRight = 43,
    lgSymbolLocationLeft = 44, lgSymbolLocationMiddle = 46,
};
enum LgBarBasePoint : int16_t {
    lgBarBaseMiddle = 46, lgBarBaseManual = 42, lgBarBaseMaximum = 95, lgBarBaseMinimum = 96,
};

// Lines and symbols
enum LgSymbolStyle : int16_t {
    lgSymbolX = 71, lgSymbolCustom = 74, lgSymbolPicture = 75, lgSymbolPlus = 76, lgSymbolStar = 77,
    lgSymbolBox1 = 78, lgSymbolBox2 = 79, lgSymbolDiamond = 80, lgSymbolTriangle = 81, lgSymbolCircle1 = 82,
    lgSymbolCircle2 = 83, lgSymbolT = 84, lgSymbolInvT = 85, lgSymbolArrowHead1 = 86, lgSymbolArrowHead2 = 87,
};
enum LgSymbolLineDrawOrder : int16_t {
    lgStartSymbolLineEndSymbol = 1, lgEndSymbolLineStartSymbol = 2, lgLineFirst = 3, lgLineLast = 4,
};

// Pens, brushes and fonts
enum LgPenStyle : int16_t {
    lgPenNull = 0, lgPenNormal = 53, lgPenInvert = 54, lgPenBlack = 55, lgPenWhite = 56, lgPenInvertTarget = 57,
    lgPenMerge = 58, lgPenInvertMerge = 59, lgPenAnd = 60, lgPenXor = 61,
};
enum LgBrushStyle : int16_t {
    lgBrushNull = 0, lgBrushSolid = 52, lgBrushHorizontal = 62, lgBrushVertical = 63, lgBrushCross = 64,
    lgBrushCrossLR = 65, lgBrushL = 66, lgBrushR = 67, lgBrushCustom = 68,
};
enum LgBrushHatchStyle : int16_t { lgBrushHatchLine = 69, lgBrushHatchBlock = 70 };
enum LgFontPrecision : int16_t {
    lgFontPrecisionDefault = 0, lgFontPrecisionString = 1, lgFontPrecisionCharacter = 2, lgFontPrecisionStroke = 3,
    lgFontPrecisionTrueType = 4, lgFontPrecisionDevice = 5, lgFontPrecisionRaster = 6,
    lgFontPrecisionTrueTypeOnly = 7, lgFontPrecisionOutline = 8, lgFontPrecisionScreenOutline = 9,
};
enum LgFontQuality : int16_t { lgFontQualityDefault = 0, lgFontQualityDraft = 1, lgFontQualityProof = 2 };
enum LgFontCharSet : int16_t {
    lgCharSetAnsi = 0, lgCharSetDefault = 1, lgCharSetSymbol = 2, lgCharSetMac = 77, lgCharSetShiftJis = 128,
    lgCharSetGb2312 = 134, lgCharSetBig5 = 136, lgCharSetArabic = 178, lgCharSetRussian = 204,
    lgCharSetEastEurope = 238, lgCharSetOem = 255,
};
enum LgFontPitchAndFamily : int16_t {
    lgPitchDefault = 0, lgPitchFixed = 1, lgPitchVariable = 2, lgFamilyDontCare = 0, lgFamilyRoman = 16,
    lgFamilySwiss = 32, lgFamilyModern = 48, lgFamilyScript = 64, lgFamilyDecorative = 80,
};
enum LgFontHeightAlign : int16_t {
    lgFontAlignCenter = 49, lgFontAlignTop = 50, lgFontAlignBottom = 51, lgFontAlignSuperscript = 98,
    lgFontAlignSubscript = 99,
};
enum LgFontHorizontalAlign : int16_t { lgFontAlignLeft = 47, lgFontAlignRight = 48 };

// Legends and rectangles
enum LgLegendAlign : int16_t { lgLegendAlignHorizontal = 62, lgLegendAlignVertical = 63 };
enum LgLegendLabelPosition : int16_t { lgLegendLabelRight = 43, lgLegendLabelLeft = 44 };
enum LgPaintTool : int16_t { lgPaintBrush = 31, lgPaintPicture = 32, lgPaintNothing = 33 };

// Polar and triangular kinds
enum LgPolarAxisType : int16_t { lgPolarAxisElliptic = 1, lgPolarAxisStraight = 2 };

} // namespace lumigra
