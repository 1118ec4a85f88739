#pragma once
// Dispatch identifiers of every member, by interface.
#include "platform/com/Dispatch.h"

namespace lumigra::dispid {

using platform::com::DispId;

namespace control { // _DLumigra
inline constexpr DispId _Name = 0, Name = 1, LowerBound = 2, MaxElements = 3, XyAxes = 4, ControlPtr = 5,
    BackPicture = 6, PictureHolders = 7, Pens = 8, Brushes = 9, Symbols = 10, Rectangles = 11, Lines = 12,
    Labels = 13, FontHolders = 14, DataCollection = 15, XyCharts = 16, Legends = 17, ScaleFactor = 18,
    ExactScale = 19, ScaleHeight = 20, ScaleWidth = 21, SymbolLines = 22, TriangularCharts = 23,
    PropertySheetEnabled = 24, Monochrome = 25, OrgX = 26, OrgY = 27, PolarCharts = 28, TriangularAxes = 29,
    PolarAxes = 30, BackMode = 31, AutoRedraw = 32, ToolHint = 33, LoadMode = 34, Dialog = 35, GetVersion = 36,
    Save = 37, Restore = 38, GetMathObject = 39, Copy = 40, SaveToMemory = 41, RestoreFromMemory = 42,
    CreatePicture = 43, CopyToClipboard = 44, SwapPaintOrder = 45, MaxLoop = 46, OLEDragMode = 47,
    OLEDropMode = 48, OLEDrag = 49, ClipFormat = 50, Path = 51, Polygons = 52, Polylines = 53,
    MouseAction = 54, KeyboardAction = 55, hWnd = 56, GetMousePos = 57, BackColor = -501, Refresh = -550,
    AboutBox = -552;
}
namespace event { // _DLumigraEvents
inline constexpr DispId InitialSize = 1, Transform = 2, SelectObject = 3, Click = -600, DblClick = -601,
    KeyDown = -602, KeyPress = -603, KeyUp = -604, MouseDown = -605, MouseMove = -606, MouseUp = -607;
}
namespace common { // every chart object
inline constexpr DispId Name = 7, RefCount = 9, Copy = 10, Index = 11, ObjectID = 19, Tag = 20;
}
namespace collection {
inline constexpr DispId Add = 48, Count = 49, Item = 50, Remove = 51, Clear = 52, Visible = 53, SwapIndex = 55,
    PaintOrder = 56;
}
namespace pen {
inline constexpr DispId Width = 47, Color = 49, Enabled = 51, Style = 53;
}
namespace brush {
inline constexpr DispId Enabled = 47, Style = 49, HatchStyle = 51, ForeColor = 53, BackColor = 55, SetDot = 57,
    GetDot = 58;
}
namespace font {
inline constexpr DispId TypeFace = 47, Bold = 49, Italic = 51, StrikeThrough = 53, TextColor = 55,
    Underline = 57, Size = 59, Enabled = 61, BkColorEnabled = 63, BkColor = 65, Font = 67, Precision = 69,
    Quality = 71, CharSet = 73, PitchAndFamily = 75, Dialog = 77, Width = 78;
}
namespace line {
inline constexpr DispId Pen1 = 47, Length1 = 49, Space1 = 51, Pen2 = 53, Length2 = 55, Space2 = 57, Pen3 = 59,
    Length3 = 61, Space3 = 63, Pen4 = 65, Length4 = 67, Space4 = 69, LastLength = 71, Visible = 73, FromX = 75,
    FromY = 77, ToX = 79, ToY = 81;
}
namespace symbol {
inline constexpr DispId CenterX = 47, CenterY = 49, Width = 51, Height = 53, Pen = 55, Brush = 57,
    PictureHolder = 59, Style = 61, Visible = 63, Angle = 65, CustomString = 67;
}
namespace symbolLine {
inline constexpr DispId StartSymbol = 47, EndSymbol = 49, Visible = 51, Line = 53, DrawOrder = 55;
}
namespace rectangle {
inline constexpr DispId Width = 47, Height = 49, OrgX = 51, OrgY = 53, Pen = 55, Brush = 57, PictureHolder = 59,
    PaintTool = 61, Visible = 63, ShadowBrush = 65, ShadowShiftX = 67, ShadowShiftY = 69;
}
namespace label {
inline constexpr DispId Visible = 47, Angle = 49, OrgX = 51, OrgY = 53, AlignX = 55, Font1 = 57, String1 = 59,
    Font2 = 61, String2 = 63, Font3 = 65, String3 = 67, Font4 = 69, String4 = 71, Font5 = 73, String5 = 75,
    AlignY1 = 77, AlignY2 = 79, AlignY3 = 81, AlignY4 = 83, AlignY5 = 85, Height = 87, Width = 88,
    LeadingSpace1 = 89, LeadingSpace2 = 91, LeadingSpace3 = 93, LeadingSpace4 = 95, LeadingSpace5 = 97,
    TrailingSpace1 = 99, TrailingSpace2 = 101, TrailingSpace3 = 103, TrailingSpace4 = 105,
    TrailingSpace5 = 107, HeightShift1 = 109, HeightShift2 = 111, HeightShift3 = 113, HeightShift4 = 115,
    HeightShift5 = 117;
}
namespace legend {
inline constexpr DispId Visible = 47, Area = 49, Items = 51, Align = 53, LabelPosition = 55, Width = 57,
    Height = 59, OrgX = 61, OrgY = 63, EvenHeight = 65;
}
namespace legendItem {
inline constexpr DispId Visible = 47, Chart = 49, Label = 51, SymbolIndex = 53, LineIndex = 55,
    SymbolWidth = 57, SymbolHeight = 59, LineLength = 61;
}
namespace data {
inline constexpr DispId DataSize = 47, SetData = 49, GetData = 50, Type = 51, GetElement = 52, SetElement = 53,
    UBound = 54, LBound = 55, SetDataRef = 56, GetDataRef = 57, GetMissingValue = 58, SetMissingValue = 59,
    Max = 60, Min = 61, MaxTime = 62, MinTime = 63, GetDataFromFile = 64, DataFile = 65;
}
namespace xyAxis {
inline constexpr DispId Visible = 47, Type = 49, Style = 51, OrgX = 53, OrgY = 55, Orientation = 57,
    Length = 59, Minimum = 61, MinimumSelection = 63, Maximum = 65, MaximumSelection = 67, Reverse = 69,
    Pen = 71, Tick = 73, TickTimeUnit = 75, PlotPosition = 77, CustomTick = 78, TickPositions = 80,
    TickValues = 82, SetPlotCache = 84;
}
namespace xyTick {
inline constexpr DispId Visible = 47, LabelFormat = 49, LabelFont = 51, LabelAngle = 53, MarkInterval = 55,
    MarkIntervalSelection = 57, MarkLength = 59, MarkStyle = 61, GridLine = 63, Pen = 65, Level = 67,
    SubTick = 69, LabelLocation = 71, MarkUniformScale = 73;
}
namespace chart { // shared by every chart kind
inline constexpr DispId Visible = 47, Type = 49, Clip = 51, Divisor = 53, Metricater = 55, Data = 57,
    DataLabelInterval = 59, DataLabelFont = 61, DataLabelAngle = 63, DataLabelOffsetX = 65,
    DataLabelOffsetY = 67, DataLabelAlignX = 69, DataLabelAlignY = 71, MaxSymbols = 73, SetSymbol = 75,
    GetSymbol = 76, MarkerSymbol = 77, MarkerSymbolInterval = 79, IsolatedPoint = 81, SingularPoint = 83,
    SingularValue = 85, SingularCriterion = 87, SingularIndex = 89, MaxLines = 91, SetLine = 93, GetLine = 94,
    GraphLine = 95, MarkerLine = 97, MissingPeriod = 99, MaxBrushes = 101, SetBrush = 103, GetBrush = 104,
    SymbolLine = 105, GraphSymbol = 107, BubbleScale = 109, ChartType = 111, LineFirst = 112,
    DrawSimpleChart = 114, DataLabelLocation = 116, DataLabelOffsetIndex = 131, BubbleStyleIndex = 133,
    AuxLineIndex1 = 135, AuxLineIndex2 = 137;
}
namespace xyChart {
inline constexpr DispId XAxis = 118, YAxis = 120, PlotArea = 122, BarBasePoint = 124, SymbolLocation = 126,
    Clone = 128, BarBasePointSelection = 129;
}
namespace polarChart {
inline constexpr DispId PlotArea = 118, EllipticAxis = 120, StraightAxis = 122;
}
namespace triangularChart {
inline constexpr DispId PlotArea = 118, TriangularAxis = 120;
}
namespace polarAxis {
inline constexpr DispId Visible = 47, Type = 49, OrgX = 51, OrgY = 53, Radius = 55, Minimum = 57, Maximum = 59,
    MinimumSelection = 61, MaximumSelection = 63, Reverse = 65, Pen = 67, Tick = 69, StartAngle = 71,
    EndAngle = 73;
}
namespace polarTick {
inline constexpr DispId Visible = 47, LabelFormat = 49, LabelFont = 51, LabelAngle = 53, MarkInterval = 55,
    MarkIntervalSelection = 57, MarkLength = 59, MarkStyle = 61, GridLine = 63, Pen = 65;
}
namespace triangularAxis {
inline constexpr DispId Visible = 47, OrgX = 49, OrgY = 51, Length = 53, Minimum = 55, Maximum = 57,
    MarkInterval = 59, LabelFormat = 61, Pen = 63, Brush = 65, MarkPen1 = 67, MarkPen2 = 69, MarkLine1 = 71,
    MarkLine2 = 73, LabelFont1 = 75, LabelFont2 = 77, MarkLength = 79;
}
namespace polygon {
inline constexpr DispId Visible = 47, Pen = 49, Brush = 51, PointX = 53, PointY = 55, PointCount = 57;
}
namespace polyline {
inline constexpr DispId Visible = 47, Line = 49, PointX = 51, PointY = 53, PointCount = 55;
}
namespace pictureHolder {
inline constexpr DispId Stretch = 47, IsEmpty = 49, LoadPicture = 51, Clear = 53, FileName = 55;
}
namespace math {
inline constexpr DispId Log10 = 1, Exp10 = 2, Floor = 3, Ceiling = 4, NormalQuantile = 5;
}

} // namespace lumigra::dispid
