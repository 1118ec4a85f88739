#pragma once
// The 19 collections of a control, in the order in which they are created.
#include <cstdint>

#include "lumigra/Guids.h"
#include "platform/com/Dispatch.h"

namespace lumigra {

class LgObject;
class ChartOwner;

enum CollectionId : int {
    cidPictureHolders,
    cidPens,
    cidBrushes,
    cidSymbols,
    cidRectangles,
    cidLines,
    cidFontHolders,
    cidLabels,
    cidSymbolLines,
    cidPolygons,
    cidPolylines,
    cidDataCollection,
    cidXyAxes,
    cidTriangularAxes,
    cidPolarAxes,
    cidXyCharts,
    cidTriangularCharts,
    cidPolarCharts,
    cidLegends,
    cidCount,
    cidNone = -1,
};

// Capacity of a new collection unless the control says otherwise.
inline constexpr int32_t kDefaultMaxElements = 500;

using ElementFactory = LgObject* (*)(ChartOwner*);

struct CollectionSpec {
    const char* property;     // collection name and control property
    platform::com::DispId dispid;
    Guid iid;
    int32_t objectId;
    int32_t defaultPaintOrder; // 0 for collections that are not drawn
    int32_t elementObjectId;
    ElementFactory create;
    const char* failureName;  // name in the initialisation failure message
};

const CollectionSpec& collectionSpec(int id);
// How legend items are collected, for the collection each legend holds.
const CollectionSpec& legendItemsSpec();
// Order of writing and reading the object text (Legends, Polygons, Polylines last).
extern const CollectionId saveOrder[cidCount];

} // namespace lumigra
