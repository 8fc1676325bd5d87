#include "Interface/ScreenRect.h"

#include <gtest/gtest.h>

using zelvane::ScreenPoint;
using zelvane::ScreenRect;

TEST(ScreenPointTest, ArithmeticWrapsAndKeepsTags) {
    ScreenPoint p(10, -20, 3, 7);
    p += ScreenPoint(5, 5, 1, 1);
    EXPECT_EQ(p.getX(), 15);
    EXPECT_EQ(p.getY(), -15);
    EXPECT_EQ(p.getType(), 3u);
    EXPECT_EQ(p.getContext(), 7u);
    p -= ScreenPoint(20, -15);
    EXPECT_EQ(p.getX(), -5);
    EXPECT_EQ(p.getY(), 0);

    ScreenPoint high(32767, -32768);
    high += ScreenPoint(1, 0);
    high -= ScreenPoint(0, 1);
    EXPECT_EQ(high.getX(), -32768);
    EXPECT_EQ(high.getY(), 32767);
}

TEST(ScreenRectTest, HostRecordAndEquality) {
    ScreenRect rect(ScreenPoint(1, 2, 4, 9), ScreenPoint(-30, 40));
    GSRect host = rect;
    EXPECT_EQ(host.top, 2);
    EXPECT_EQ(host.left, 1);
    EXPECT_EQ(host.bottom, 40);
    EXPECT_EQ(host.right, -30);

    EXPECT_TRUE(rect == ScreenRect(ScreenPoint(1, 2), ScreenPoint(-30, 40, 5, 5)));
    EXPECT_FALSE(rect == ScreenRect(ScreenPoint(1, 2), ScreenPoint(-30, 41)));
    EXPECT_TRUE(rect != ScreenRect(ScreenPoint(2, 1), ScreenPoint(-30, 40)));
}

TEST(ScreenRectTest, MovingKeepsTheSize) {
    ScreenRect rect(ScreenPoint(10, 20), ScreenPoint(15, 60));
    rect += ScreenPoint(-10, 5);
    EXPECT_EQ(rect, ScreenRect(ScreenPoint(0, 25), ScreenPoint(5, 65)));

    rect.moveTo(ScreenPoint(100, -100));
    EXPECT_EQ(rect, ScreenRect(ScreenPoint(100, -100), ScreenPoint(105, -60)));

    // A rectangle whose end lies before its origin moves the same way.
    ScreenRect reversed(ScreenPoint(50, 50), ScreenPoint(40, 30));
    reversed.moveTo(ScreenPoint(0, 0));
    EXPECT_EQ(reversed, ScreenRect(ScreenPoint(0, 0), ScreenPoint(-10, -20)));
}

TEST(ScreenRectTest, Centre) {
    struct Case {
        Int16 x0, y0, x1, y1;
        Int16 cx, cy;
    };
    const Case cases[] = {
        {0, 0, 5, 5, 2, 2},
        {-5, -5, 0, 0, -2, -2},
        {-5, 3, 4, 3, 0, 3},
        {30000, 32767, 30000, 32767, 30000, 32767},
        {-32768, -32768, -32768, 32767, -32768, 0},
        {20000, -20000, 30000, -30000, 25000, -25000},
    };
    for (const Case& c : cases) {
        ScreenRect rect(ScreenPoint(c.x0, c.y0, 2, 8), ScreenPoint(c.x1, c.y1));
        ScreenPoint centre = rect.getCentre();
        EXPECT_EQ(centre.getX(), c.cx) << c.x0 << "," << c.y0 << " - " << c.x1 << "," << c.y1;
        EXPECT_EQ(centre.getY(), c.cy) << c.x0 << "," << c.y0 << " - " << c.x1 << "," << c.y1;
        EXPECT_EQ(centre.getType(), 2u);
        EXPECT_EQ(centre.getContext(), 8u);
    }
}
