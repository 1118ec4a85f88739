// Hit codes, drags and fixing of the region box, without a window.
#include "image/RegionBox.h"

#include <gtest/gtest.h>

using namespace raylen;

namespace {

ShpBox shownBox(int32_t left, int32_t top, int32_t width, int32_t height)
{
    ShpBox box;
    box.left = left;
    box.top = top;
    box.width = width;
    box.height = height;
    box.visible = true;
    return box;
}

ShpBox drag(ShpBox box, int32_t fromX, int32_t fromY, int32_t toX, int32_t toY)
{
    BoxDrag anchors;
    dsSetShpBoxTag(box, fromX, fromY);
    dsShpBoxMouseDown(box, anchors, fromX, fromY);
    dsShpBoxMouseMove(box, anchors, (fromX + toX) / 2, (fromY + toY) / 2);
    dsShpBoxMouseUp(box, anchors, toX, toY);
    return box;
}

} // namespace

TEST(RegionBox, HitCodesWithThreePixelMargins)
{
    const ShpBox box = shownBox(100, 50, 40, 30); // right edge 140, bottom 80
    EXPECT_EQ(boxHitCode(box, 103, 65), hitMove);  // exactly 3 inside the left edge
    EXPECT_EQ(boxHitCode(box, 137, 77), hitMove);
    EXPECT_EQ(boxHitCode(box, 102, 65), hitLeft);
    EXPECT_EQ(boxHitCode(box, 98, 65), hitLeft);
    EXPECT_EQ(boxHitCode(box, 97, 65), hitNew);
    EXPECT_EQ(boxHitCode(box, 138, 65), hitRight);
    EXPECT_EQ(boxHitCode(box, 142, 65), hitRight);
    EXPECT_EQ(boxHitCode(box, 143, 65), hitNew);
    EXPECT_EQ(boxHitCode(box, 120, 48), hitTop);
    EXPECT_EQ(boxHitCode(box, 120, 52), hitTop);
    EXPECT_EQ(boxHitCode(box, 120, 82), hitBottom);
    EXPECT_EQ(boxHitCode(box, 120, 83), hitNew);
    // Corners belong to no edge.
    EXPECT_EQ(boxHitCode(box, 101, 51), hitNew);
    EXPECT_EQ(boxHitCode(box, 139, 79), hitNew);
    // A box smaller than 6 × 6.
    EXPECT_EQ(boxHitCode(shownBox(10, 10, 4, 4), 12, 12), hitTiny);
    EXPECT_EQ(boxHitCode(shownBox(10, 10, 6, 6), 13, 13), hitMove);
}

TEST(RegionBox, AHiddenBoxIsNeverHit)
{
    ShpBox box; // 0, 0, 1 × 1, hidden, as every new image leaves it
    EXPECT_EQ(boxHitCode(box, 0, 0), hitNew);
    BoxDrag anchors;
    dsSetShpBoxTag(box, 0, 0);
    dsShpBoxMouseDown(box, anchors, 0, 0);
    EXPECT_TRUE(box.visible);
}

TEST(RegionBox, DragsByHitCode)
{
    // A new box keeps its press point as the top left corner.
    ShpBox fresh = drag(ShpBox{}, 100, 50, 80, 40);
    EXPECT_EQ(fresh.left, 100);
    EXPECT_EQ(fresh.top, 50);
    EXPECT_EQ(fresh.width, 20);
    EXPECT_EQ(fresh.height, 10);
    EXPECT_TRUE(fresh.visible);
    EXPECT_EQ(fresh.tag, hitDrawn);
    EXPECT_EQ(boxPointer(fresh), BoxPointer::Default);

    const ShpBox box = shownBox(100, 50, 40, 30);
    ShpBox moved = drag(box, 103, 65, 113, 60);
    EXPECT_EQ(moved.left, 110);
    EXPECT_EQ(moved.top, 45);
    EXPECT_EQ(moved.width, 40);
    EXPECT_EQ(moved.tag, hitMove);
    EXPECT_EQ(boxPointer(moved), BoxPointer::Move);

    ShpBox left = drag(box, 101, 65, 90, 70);
    EXPECT_EQ(left.left, 90);
    EXPECT_EQ(left.width, 50); // the right edge stays at 140
    EXPECT_EQ(left.top, 50);
    EXPECT_EQ(boxPointer(left), BoxPointer::WestEast);

    ShpBox right = drag(box, 141, 65, 160, 0);
    EXPECT_EQ(right.left, 100);
    EXPECT_EQ(right.width, 60);
    EXPECT_EQ(right.height, 30);

    ShpBox top = drag(box, 120, 51, 0, 60);
    EXPECT_EQ(top.top, 60);
    EXPECT_EQ(top.height, 20); // the bottom edge stays at 80
    EXPECT_EQ(top.left, 100);
    EXPECT_EQ(boxPointer(top), BoxPointer::NorthSouth);

    ShpBox bottom = drag(box, 120, 81, 120, 40);
    EXPECT_EQ(bottom.top, 50);
    EXPECT_EQ(bottom.height, 10); // sizes are absolute values
}

TEST(RegionBox, FixingClipsToTheImageAndTogglesBack)
{
    ShpBox box = shownBox(-5, 10, 30, 20);
    EXPECT_TRUE(dsMnuBoxSet(box, false, 100, 200));
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.width, 25);
    EXPECT_EQ(box.borderWidth, 2);

    ShpBox far = shownBox(90, 190, 30, 20);
    dsMnuBoxSet(far, false, 100, 200);
    EXPECT_EQ(far.width, 10);
    EXPECT_EQ(far.height, 10);

    ShpBox above = shownBox(10, -8, 5, 20);
    dsMnuBoxSet(above, false, 100, 200);
    EXPECT_EQ(above.top, 0);
    EXPECT_EQ(above.height, 12);

    EXPECT_FALSE(dsMnuBoxSet(box, true, 100, 200));
    EXPECT_EQ(box.borderWidth, 1);
    EXPECT_EQ(box.width, 25);

    dsMnuBoxRemove(box);
    EXPECT_FALSE(box.visible);
    EXPECT_EQ(box.tag, hitNew);
    EXPECT_EQ(box.borderWidth, 1);
}
