#include "image/RegionBox.h"

#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"

#include <cstdlib>

namespace raylen {

namespace {

int16_t anchor(int64_t value)
{
    return platform::toInteger(static_cast<double>(value));
}

int32_t distance(int64_t value)
{
    return static_cast<int32_t>(std::llabs(value));
}

// The drag routines ignore faults (an anchor beyond 16 bits leaves the box).
void applyDrag(ShpBox& shp, const BoxDrag& drag, int32_t X, int32_t Y)
{
    switch (shp.tag) {
    case hitNew:
    case hitTiny:
        // The press point stays the top left corner whichever way the drag goes.
        shp.width = distance(static_cast<int64_t>(shp.left) - X);
        shp.height = distance(static_cast<int64_t>(shp.top) - Y);
        break;
    case hitMove:
        shp.left = X - drag.anchor1;
        shp.top = Y - drag.anchor2;
        break;
    case hitLeft:
        shp.width = distance(drag.anchor2 - (static_cast<int64_t>(X) - drag.anchor1));
        shp.left = X;
        break;
    case hitRight:
        shp.width = distance(static_cast<int64_t>(X) - drag.anchor1);
        break;
    case hitTop:
        shp.height = distance(drag.anchor2 - (static_cast<int64_t>(Y) - drag.anchor1));
        shp.top = Y;
        break;
    case hitBottom:
        shp.height = distance(static_cast<int64_t>(Y) - drag.anchor1);
        break;
    default:
        break;
    }
}

} // namespace

int16_t boxHitCode(const ShpBox& shp, int32_t X, int32_t Y)
{
    if (!shp.visible)
        return hitNew;
    const int64_t L = shp.left, T = shp.top, W = shp.width, H = shp.height, m = boxMargin;
    const int64_t x = X, y = Y;
    if (x < L + m && x > L + W - m && y < T + m && y > T + H - m)
        return hitTiny;
    if (x >= L + m && x <= L + W - m && y >= T + m && y <= T + H - m)
        return hitMove;
    if (x > L - m && x < L + m && y > T + m && y < T + H - m)
        return hitLeft;
    if (x > L + W - m && x < L + W + m && y > T + m && y < T + H - m)
        return hitRight;
    if (x > L + m && x < L + W - m && y > T - m && y < T + m)
        return hitTop;
    if (x > L + m && x < L + W - m && y > T + H - m && y < T + H + m)
        return hitBottom;
    return hitNew;
}

void dsSetShpBoxTag(ShpBox& shp, int32_t X, int32_t Y)
{
    shp.tag = boxHitCode(shp, X, Y);
}

void dsShpBoxMouseDown(ShpBox& shp, BoxDrag& drag, int32_t X, int32_t Y)
{
    try {
        switch (shp.tag) {
        case hitNew:
            shp.left = X;
            shp.top = Y;
            shp.width = shp.height = 0;
            shp.visible = true;
            break;
        case hitTiny:
            shp.left = X;
            shp.top = Y;
            shp.width = shp.height = 0;
            break;
        case hitMove:
            drag.anchor1 = anchor(static_cast<int64_t>(X) - shp.left);
            drag.anchor2 = anchor(static_cast<int64_t>(Y) - shp.top);
            break;
        case hitLeft:
            drag.anchor1 = anchor(shp.left);
            drag.anchor2 = anchor(shp.width);
            break;
        case hitRight:
            drag.anchor1 = anchor(shp.left);
            break;
        case hitTop:
            drag.anchor1 = anchor(shp.top);
            drag.anchor2 = anchor(shp.height);
            break;
        case hitBottom:
            drag.anchor1 = anchor(shp.top);
            break;
        default:
            break;
        }
    } catch (const platform::BasicError&) {
        // A position beyond the 16-bit anchors starts no drag.
        shp.tag = hitDrawn;
    }
}

void dsShpBoxMouseMove(ShpBox& shp, const BoxDrag& drag, int32_t X, int32_t Y)
{
    applyDrag(shp, drag, X, Y);
}

void dsShpBoxMouseUp(ShpBox& shp, const BoxDrag& drag, int32_t X, int32_t Y)
{
    applyDrag(shp, drag, X, Y);
    if (shp.tag == hitNew || shp.tag == hitTiny)
        shp.tag = hitDrawn;
}

BoxPointer boxPointer(const ShpBox& shp)
{
    switch (shp.tag) {
    case hitMove: return BoxPointer::Move;
    case hitLeft:
    case hitRight: return BoxPointer::WestEast;
    case hitTop:
    case hitBottom: return BoxPointer::NorthSouth;
    default: return BoxPointer::Default;
    }
}

bool dsMnuBoxSet(ShpBox& shp, bool blnFixed, int32_t lngXLen, int32_t lngYLen)
{
    if (blnFixed) {
        shp.borderWidth = 1;
        return false;
    }
    shp.borderWidth = 2;
    if (shp.left < 0) {
        shp.width += shp.left;
        shp.left = 0;
    }
    if (shp.top < 0) {
        shp.height += shp.top;
        shp.top = 0;
    }
    if (static_cast<int64_t>(shp.left) + shp.width > lngXLen)
        shp.width = lngXLen - shp.left;
    if (static_cast<int64_t>(shp.top) + shp.height > lngYLen)
        shp.height = lngYLen - shp.top;
    // A box wholly outside the image cannot get a negative size.
    if (shp.width < 0)
        shp.width = 0;
    if (shp.height < 0)
        shp.height = 0;
    return true;
}

void dsMnuBoxRemove(ShpBox& shp)
{
    shp.visible = false;
    shp.borderWidth = 1;
    shp.tag = hitNew;
}

} // namespace raylen
