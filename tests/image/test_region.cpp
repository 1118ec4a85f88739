// A typed pixel region corrected against the image size.
#include "display/Region.h"

#include <gtest/gtest.h>

using namespace raylen;

TEST(Region, SwappedThenClamped)
{
    FitsInfo info;
    info.NAXIS1 = 1024;
    info.NAXIS2 = 512;
    PixelRegion r = correctRegion({300, 100, -5, 5000}, info);
    EXPECT_EQ(r.startX, 100);
    EXPECT_EQ(r.endX, 300);
    EXPECT_EQ(r.startY, 0);
    EXPECT_EQ(r.endY, 511);
    r = correctRegion({2000, 3000, 0, 1}, info);
    EXPECT_EQ(r.startX, 2000); // starts are not lowered: the region is empty
    EXPECT_EQ(r.endX, 1023);
}
