#pragma once
// Fixed identities of the component: hosts cast dispatch results by them.
#include "platform/com/Guid.h"

namespace lumigra {

using platform::com::Guid;
using platform::com::makeGuid;

inline constexpr Guid LIBID_LumigraLib = makeGuid("{DD4CC720-3918-11D0-8BF9-000000000001}");
inline constexpr Guid CLSID_Lumigra = makeGuid("{DD4CC723-3918-11D0-8BF9-000000000001}");
inline constexpr Guid DIID__DLumigra = makeGuid("{DD4CC721-3918-11D0-8BF9-000000000001}");
inline constexpr Guid DIID__DLumigraEvents = makeGuid("{DD4CC722-3918-11D0-8BF9-000000000001}");
inline constexpr char ProgID_Lumigra[] = "LUMIGRA.LumigraCtrl.1";
inline constexpr char TypeLibraryName[] = "LumigraLib";
inline constexpr char LibraryFile[] = "liblumigra.so";
inline constexpr int ComponentVersion = 120;
inline constexpr int ExchangeVersionMajor = 1;
inline constexpr int ExchangeVersionMinor = 2;

inline constexpr Guid IID_LgBrush = makeGuid("{0F456021-53E7-11D0-9317-00400516E255}");
inline constexpr Guid IID_LgBrushes = makeGuid("{A172F3B5-58D0-11D0-8C38-000000000001}");
inline constexpr Guid IID_LgPen = makeGuid("{517C787B-48BD-11D0-9310-00400516E255}");
inline constexpr Guid IID_LgPens = makeGuid("{AAE9C91B-57EA-11D0-9319-00400516E255}");
inline constexpr Guid IID_LgFontHolder = makeGuid("{517C7879-48BD-11D0-9310-00400516E255}");
inline constexpr Guid IID_LgFontHolders = makeGuid("{A0EE709B-74E2-11D0-932F-00400516E255}");
inline constexpr Guid IID_LgSymbolLine = makeGuid("{F2316B61-D441-11D0-9C59-00400514D83D}");
inline constexpr Guid IID_LgSymbolLines = makeGuid("{76671C17-D566-11D0-936D-00400516E255}");
inline constexpr Guid IID_LgData = makeGuid("{2B2D5971-74FB-11D0-932F-00400516E255}");
inline constexpr Guid IID_LgDataCollection = makeGuid("{2B2D5973-74FB-11D0-932F-00400516E255}");
inline constexpr Guid IID_LgLabel = makeGuid("{BD689D4B-74C4-11D0-932F-00400516E255}");
inline constexpr Guid IID_LgLabels = makeGuid("{BD689D4D-74C4-11D0-932F-00400516E255}");
inline constexpr Guid IID_LgLegend = makeGuid("{77D76927-C769-11D0-9360-00400516E255}");
inline constexpr Guid IID_LgLegends = makeGuid("{77D76929-C769-11D0-9360-00400516E255}");
inline constexpr Guid IID_LgLegendItem = makeGuid("{9422CA01-C773-11D0-9360-00400516E255}");
inline constexpr Guid IID_LgLegendItems = makeGuid("{9422C9FF-C773-11D0-9360-00400516E255}");
inline constexpr Guid IID_LgLine = makeGuid("{FC34C481-6A91-11D0-9B9A-00400514D83D}");
inline constexpr Guid IID_LgLines = makeGuid("{FC34C482-6A91-11D0-9B9A-00400514D83D}");
inline constexpr Guid IID_LgPictureHolder = makeGuid("{59C45F6D-56E8-11D0-9318-00400516E255}");
inline constexpr Guid IID_LgPictureHolders = makeGuid("{95B39B3B-56EA-11D0-9318-00400516E255}");
inline constexpr Guid IID_LgPolarAxis = makeGuid("{F8453D45-2353-11D1-982D-00400516E255}");
inline constexpr Guid IID_LgPolarAxes = makeGuid("{F8453D41-2353-11D1-982D-00400516E255}");
inline constexpr Guid IID_LgPolarChart = makeGuid("{1FE720B5-0E61-11D1-AF31-00400511F31D}");
inline constexpr Guid IID_LgPolarCharts = makeGuid("{407D64D4-0E61-11D1-AF31-00400511F31D}");
inline constexpr Guid IID_LgPolarTick = makeGuid("{3F230723-4908-11D1-9844-00400516E255}");
inline constexpr Guid IID_LgRectangle = makeGuid("{17E91061-54A6-11D0-8C2D-00400514D83D}");
inline constexpr Guid IID_LgRectangles = makeGuid("{07A89A99-5190-11D0-9314-00400516E255}");
inline constexpr Guid IID_LgSymbol = makeGuid("{C4003DD5-5EDF-11D0-931D-00400516E255}");
inline constexpr Guid IID_LgSymbols = makeGuid("{17417E6B-679E-11D0-9326-00400516E255}");
inline constexpr Guid IID_LgTriangularAxis = makeGuid("{F8453D47-2353-11D1-982D-00400516E255}");
inline constexpr Guid IID_LgTriangularAxes = makeGuid("{F8453D43-2353-11D1-982D-00400516E255}");
inline constexpr Guid IID_LgTriangularChart = makeGuid("{DA06A941-E236-11D0-9C7E-00400514D83D}");
inline constexpr Guid IID_LgTriangularCharts = makeGuid("{79631BA1-E236-11D0-9C7E-00400514D83D}");
inline constexpr Guid IID_LgXyTick = makeGuid("{AD260337-4761-11D0-930F-00400516E255}");
inline constexpr Guid IID_LgXyAxis = makeGuid("{68976A61-46C4-11D0-8C12-000000000001}");
inline constexpr Guid IID_LgXyAxes = makeGuid("{68976A62-46C4-11D0-8C12-000000000001}");
inline constexpr Guid IID_LgXyChart = makeGuid("{7C74CD45-3C58-11D0-9308-00400516E255}");
inline constexpr Guid IID_LgXyCharts = makeGuid("{DCAB7273-78CF-11D0-9331-00400516E255}");
inline constexpr Guid IID_LgPolygon = makeGuid("{BAA88100-30EB-11D2-A791-00400516E255}");
inline constexpr Guid IID_LgPolygons = makeGuid("{BAA880FF-30EB-11D2-A791-00400516E255}");
inline constexpr Guid IID_LgPolyline = makeGuid("{BAA88101-30EB-11D2-A791-00400516E255}");
inline constexpr Guid IID_LgPolylines = makeGuid("{BAA88103-30EB-11D2-A791-00400516E255}");

} // namespace lumigra
