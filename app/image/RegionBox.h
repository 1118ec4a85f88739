#pragma once
// The region box drawn on the image: hit codes of the pointer against the
// box, the drag that each code starts, and fixing the box to the image.
// Coordinates are picture pixels, which are image pixels.
#include <cstdint>

namespace raylen {

// Hit codes kept in the box's tag.
enum BoxHit : int16_t {
    hitNew = 0,      // outside or on a corner: a new box
    hitDrawn = 1,    // a new box was just drawn
    hitMove = 10,
    hitLeft = 11,
    hitRight = 12,
    hitTop = 13,
    hitBottom = 14,
    hitTiny = 20,    // on a box smaller than 6 × 6 pixels
};

enum class BoxPointer { Default, Move, WestEast, NorthSouth };

struct ShpBox {
    int32_t left = 0, top = 0, width = 1, height = 1;
    bool visible = false;
    int borderWidth = 1;   // 2 while fixed
    int16_t tag = hitNew;
};

// The drag started at mouse-down.
struct BoxDrag {
    int16_t anchor1 = 0, anchor2 = 0;
};

// Margin around the box edges, pixels.
constexpr int32_t boxMargin = 3;

// Hit code of (X, Y); a hidden box is never hit.
int16_t boxHitCode(const ShpBox& shp, int32_t X, int32_t Y);
void dsSetShpBoxTag(ShpBox& shp, int32_t X, int32_t Y);
void dsShpBoxMouseDown(ShpBox& shp, BoxDrag& drag, int32_t X, int32_t Y);
void dsShpBoxMouseMove(ShpBox& shp, const BoxDrag& drag, int32_t X, int32_t Y);
void dsShpBoxMouseUp(ShpBox& shp, const BoxDrag& drag, int32_t X, int32_t Y);
BoxPointer boxPointer(const ShpBox& shp);

// Toggles the fixed state; fixing clips the box to lngXLen × lngYLen.
// Returns the new fixed state.
bool dsMnuBoxSet(ShpBox& shp, bool blnFixed, int32_t lngXLen, int32_t lngYLen);
void dsMnuBoxRemove(ShpBox& shp);

} // namespace raylen
