#include "Geometry/Line.h"
#include "Geometry/IntersectList.h"
#include "Geometry/Matrix3x3.h"
#include "PointExpect.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zelvane;

TEST(LineTest, PositionInPlan) {
    Line line(CadPoint(0, 0, 0), CadPoint(10, 0, 0));
    struct Case {
        CadPoint p;
        double tol;
        CadPoint::Pos pos;
    } cases[] = {
        {{0, 0}, 1e-5, CadPoint::atOrigin},       {{10, 0}, 1e-5, CadPoint::atEnd},
        {{5, 0}, 1e-5, CadPoint::along},          {{-3, 0}, 1e-5, CadPoint::inside},
        {{13, 0}, 1e-5, CadPoint::outside},       {{5, 1}, 1e-5, CadPoint::none},
        {{5, 0, 9}, 1e-5, CadPoint::along},       {{5, 0.004}, 0.005, CadPoint::along},
        {{5, 0.006}, 0.005, CadPoint::none},      {{10.004, 0.003}, 0.005, CadPoint::atEnd},
        {{-0.004, 0}, 0.005, CadPoint::atOrigin}, {{-0.006, 0}, 0.005, CadPoint::inside},
        {{9.999991, 0}, 1e-5, CadPoint::atEnd},   {{10.00002, 0}, 1e-5, CadPoint::outside},
    };
    for (auto const& c : cases) {
        EXPECT_EQ(line.positionOf2D(c.p, c.tol), c.pos) << c.p << " tol " << c.tol;
        bool on = c.pos == CadPoint::atOrigin || c.pos == CadPoint::along || c.pos == CadPoint::atEnd;
        EXPECT_EQ(line.encloses2D(c.p, c.tol), on) << c.p;
    }
    Line diagonal(CadPoint(1, 1), CadPoint(-2, -5));
    EXPECT_EQ(diagonal.positionOf2D(CadPoint(0, -1)), CadPoint::along);
    EXPECT_EQ(diagonal.positionOf2D(CadPoint(2, 3)), CadPoint::inside);
    EXPECT_EQ(diagonal.positionOf2D(CadPoint(-3, -7)), CadPoint::outside);
    EXPECT_EQ(Line(CadPoint(1, 1), CadPoint(1, 1)).positionOf2D(CadPoint(2, 2)), CadPoint::none);
    EXPECT_EQ(Line(CadPoint(1, 1), CadPoint(1, 1)).positionOf2D(CadPoint(1, 1)), CadPoint::atOrigin);

    EXPECT_TRUE(near3D(line.closestPointAlong2D(CadPoint(13, 4)), CadPoint(10, 0, 0)));
    EXPECT_TRUE(near3D(line.closestPointTo2D(CadPoint(13, 4)), CadPoint(13, 0, 0)));
    EXPECT_TRUE(near3D(line.closestPointAlong2D(CadPoint(-13, 4)), CadPoint(0, 0, 0)));
    EXPECT_TRUE(near3D(line.closestPointAlong2D(CadPoint(6, -4, 3)), CadPoint(6, 0, 0)));
    Line point(CadPoint(2, 2, 2), CadPoint(2, 2, 2));
    EXPECT_TRUE(near3D(point.closestPointTo2D(CadPoint(9, 9)), CadPoint(2, 2, 2)));
}

TEST(LineTest, PositionInSpace) {
    Line vertical(CadPoint(0, 0, 0), CadPoint(0, 0, 10));
    Line sloped(CadPoint(1, 1, 1), CadPoint(3, 3, 3));
    struct Case {
        Line const* line;
        CadPoint p;
        double tol;
        CadPoint::Pos pos;
    } cases[] = {
        {&vertical, {0, 0, 0}, 1e-5, CadPoint::atOrigin},
        {&vertical, {0, 0, 5}, 1e-5, CadPoint::along},
        {&vertical, {0, 0, 10}, 1e-5, CadPoint::atEnd},
        {&vertical, {0, 0, -3}, 1e-5, CadPoint::inside},
        {&vertical, {0, 0, 13}, 1e-5, CadPoint::outside},
        {&vertical, {1, 0, 5}, 1e-5, CadPoint::none},
        {&vertical, {0, 0, 10.004}, 0.005, CadPoint::atEnd},
        {&vertical, {0, 0, 10.006}, 0.005, CadPoint::outside},
        {&sloped, {2, 2, 2}, 1e-5, CadPoint::along},
        {&sloped, {4, 4, 4}, 1e-5, CadPoint::outside},
        {&sloped, {0, 0, 0}, 1e-5, CadPoint::inside},
        {&sloped, {3, 3, 3}, 1e-5, CadPoint::atEnd},
        {&sloped, {2, 2, 2.1}, 1e-5, CadPoint::none},
    };
    for (auto const& c : cases) {
        EXPECT_EQ(c.line->positionOf3D(c.p, c.tol), c.pos) << c.p;
        bool on = c.pos == CadPoint::atOrigin || c.pos == CadPoint::along || c.pos == CadPoint::atEnd;
        EXPECT_EQ(c.line->encloses3D(c.p, c.tol), on) << c.p;
    }
    EXPECT_EQ(Line(CadPoint(1, 1, 1), CadPoint(1, 1, 1)).positionOf3D(CadPoint(1, 1, 1)), CadPoint::none);

    Line line(CadPoint(0, 0, 0), CadPoint(10, 0, 0));
    EXPECT_TRUE(near3D(line.closestPointTo3D(CadPoint(3, 4, 5)), CadPoint(3, 0, 0), 1e-12));
    EXPECT_TRUE(near3D(line.closestPointTo3D(CadPoint(13, 4, 5)), CadPoint(13, 0, 0), 1e-12));
    EXPECT_TRUE(near3D(line.closestPointAlong3D(CadPoint(13, 4, 5)), CadPoint(10, 0, 0)));
    EXPECT_TRUE(near3D(line.closestPointAlong3D(CadPoint(-2, 1, 1)), CadPoint(0, 0, 0)));
    EXPECT_TRUE(
        near3D(sloped.closestPointAlong3D(CadPoint(2, 2, 0)), CadPoint(4 / 3.0, 4 / 3.0, 4 / 3.0), 1e-12));
    EXPECT_TRUE(near3D(Line(CadPoint(5, 5, 5), CadPoint(5, 5, 5)).closestPointTo3D(CadPoint(0, 0, 0)),
                       CadPoint(5, 5, 5)));
}

TEST(LineTest, IntersectionsInPlan) {
    struct Case {
        Line a, b;
        bool found;
        CadPoint at;
        CadPoint::Pos posA, posB;
    } cases[] = {
        {{{0, 0}, {10, 0}}, {{5, -5}, {5, 5}}, true, {5, 0}, CadPoint::along, CadPoint::along},
        {{{0, 0}, {1, 0}}, {{5, -1}, {5, 1}}, true, {5, 0}, CadPoint::outside, CadPoint::along},
        {{{2, 0}, {1, 0}}, {{5, -1}, {5, 1}}, true, {5, 0}, CadPoint::inside, CadPoint::along},
        {{{0, 0}, {10, 0}}, {{10, -1}, {10, 1}}, true, {10, 0}, CadPoint::atEnd, CadPoint::along},
        {{{0, 0}, {10, 0}}, {{0, 0}, {0, 3}}, true, {0, 0}, CadPoint::atOrigin, CadPoint::atOrigin},
        {{{0, 0}, {4, 4}}, {{0, 4}, {1, 3}}, true, {2, 2}, CadPoint::along, CadPoint::outside},
        {{{0, 0}, {10, 0}}, {{0, 1}, {10, 1}}, false, {}, CadPoint::none, CadPoint::none},
        {{{0, 0}, {10, 0}}, {{3, 3}, {3, 3}}, false, {}, CadPoint::none, CadPoint::none},
    };
    for (auto const& c : cases) {
        IntersectList list;
        EXPECT_EQ(c.a.intersectionWith2D(c.b, list), c.found) << c.a.origin() << c.b.origin();
        ASSERT_EQ(list.size(), c.found ? 1u : 0u);
        CadPoint at;
        EXPECT_EQ(c.a.intersectionWith2D(c.b, at), c.found);
        if (!c.found)
            continue;
        EXPECT_TRUE(near3D(*list.front(), c.at, 1e-12));
        EXPECT_TRUE(near3D(at, c.at, 1e-12));
        EXPECT_EQ(list.front()->getPosition(InterPoint::first), c.posA) << c.a.origin() << c.b.origin();
        EXPECT_EQ(list.front()->getPosition(InterPoint::second), c.posB) << c.a.origin() << c.b.origin();

        // A list that wants points on both segments drops crossings beyond an end.
        IntersectList within(Intercept(CadPoint::Pos(0x0E)), Intercept(CadPoint::Pos(0x0E)));
        bool onBoth = (c.posA & 0x0E) && (c.posB & 0x0E);
        EXPECT_EQ(c.a.intersectionWith2D(c.b, within), onBoth);
        EXPECT_EQ(within.size(), onBoth ? 1u : 0u);

        // Swapped, the codes trade places and each filter still sees its own operand's code.
        IntersectList swapped(Intercept(), Intercept(CadPoint::Pos(0x0E)));
        swapped.swapSpec();
        bool kept = (c.posA & 0x0E) != 0;
        EXPECT_EQ(c.a.intersectionWith2D(c.b, swapped), kept);
        if (kept) {
            EXPECT_EQ(swapped.front()->getPosition(InterPoint::first), c.posB);
            EXPECT_EQ(swapped.front()->getPosition(InterPoint::second), c.posA);
        }
    }
}

TEST(LineTest, IntersectionsInSpace) {
    Line x(CadPoint(0, 0, 0), CadPoint(10, 0, 0));
    IntersectList list;
    EXPECT_TRUE(x.intersectionWith3D(Line(CadPoint(5, -5, 0), CadPoint(5, 5, 0)), list));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_TRUE(near3D(*list.back(), CadPoint(5, 0, 0), 1e-9));
    EXPECT_EQ(list.back()->getPosition(InterPoint::first), CadPoint::along);

    // Skew lines meet only when their distance is within the tolerance; the point lies midway.
    Line above(CadPoint(5, -5, 0.004), CadPoint(5, 5, 0.004));
    EXPECT_FALSE(x.intersectionWith3D(above, list));
    EXPECT_EQ(list.size(), 1u);
    EXPECT_TRUE(x.intersectionWith3D(above, list, 0.005));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_TRUE(near3D(*list.back(), CadPoint(5, 0, 0.002), 1e-9));
    EXPECT_FALSE(x.intersectionWith3D(Line(CadPoint(5, -5, 0.006), CadPoint(5, 5, 0.006)), list, 0.005));

    IntersectList sloped;
    Line a(CadPoint(0, 0, 0), CadPoint(2, 2, 2));
    Line b(CadPoint(0, 2, 0), CadPoint(2, 0, 2));
    EXPECT_TRUE(a.intersectionWith3D(b, sloped));
    ASSERT_EQ(sloped.size(), 1u);
    EXPECT_TRUE(near3D(*sloped.front(), CadPoint(1, 1, 1), 1e-9));
    EXPECT_EQ(sloped.front()->getPosition(InterPoint::first), CadPoint::along);
    EXPECT_EQ(sloped.front()->getPosition(InterPoint::second), CadPoint::along);

    IntersectList beyond(Intercept(CadPoint::Pos(0x0E)), Intercept());
    EXPECT_FALSE(Line(CadPoint(0, 0, 0), CadPoint(0.5, 0.5, 0.5)).intersectionWith3D(b, beyond));
    EXPECT_TRUE(beyond.empty());

    IntersectList parallel;
    EXPECT_FALSE(x.intersectionWith3D(Line(CadPoint(0, 1, 1), CadPoint(5, 1, 1)), parallel));
    EXPECT_FALSE(x.intersectionWith3D(Line(CadPoint(3, 3, 3), CadPoint(3, 3, 3)), parallel));
    EXPECT_TRUE(parallel.empty());
}

TEST(LineTest, MeasuresAndTests) {
    Line line(CadPoint(0, 0, 0), CadPoint(3, 0, 4));
    EXPECT_EQ(line.length3D(), 5.0);
    EXPECT_EQ(line.length2D(), 3.0);
    EXPECT_NEAR(line.altitudeAngle(), std::atan(4.0 / 3.0), 1e-12);
    EXPECT_TRUE(near3D(line.midpoint(), CadPoint(1.5, 0, 2)));
    line.extend(2);
    EXPECT_TRUE(near3D(line.end(), CadPoint(4.2, 0, 5.6), 1e-12));
    line.extend(-7);
    EXPECT_TRUE(near3D(line.end(), CadPoint(0, 0, 0), 1e-12));

    EXPECT_EQ(Line(CadPoint(0, 0, 2), CadPoint(5, 5, 2)).heightAt(CadPoint(100, -3, 0)), 2.0);
    Line ramp(CadPoint(0, 0, 0), CadPoint(10, 0, 10));
    EXPECT_NEAR(ramp.heightAt(CadPoint(4, 7)), 4.0, 1e-12);
    EXPECT_NEAR(ramp.heightAt(CadPoint(-2, 1)), -2.0, 1e-12);
    EXPECT_EQ(Line(CadPoint(1, 1, 0), CadPoint(1, 1, 5)).heightAt(CadPoint(3, 3)), 0.0);

    Line east(CadPoint(0, 0), CadPoint(1, 0));
    Line north(CadPoint(0, 0), CadPoint(0, 1));
    EXPECT_NEAR(east.angleTo2D(north), kPi / 2, 1e-12);
    EXPECT_NEAR(north.angleTo2D(east), 3 * kPi / 2, 1e-12);
    EXPECT_NEAR(east.angleTo(north), kPi / 2, 1e-12);
    EXPECT_NEAR(north.angleTo(east), kPi / 2, 1e-12);

    Line west(CadPoint(5, 5), CadPoint(3, 5));
    EXPECT_FALSE(east.isParallelTo2D(west));
    EXPECT_TRUE(east.isParallelTo3D(west));
    EXPECT_TRUE(east.isParallelTo2D(Line(CadPoint(0, 1), CadPoint(3, 1))));
    EXPECT_TRUE(east.isParallelTo2D(Line(CadPoint(4, 4), CadPoint(4, 4, 7)))); // no plan length
    EXPECT_FALSE(east.isParallelTo2D(Line(CadPoint(0, 0), CadPoint(1, 0.001))));
    EXPECT_TRUE(east.isColinearTo2D(Line(CadPoint(5, 0), CadPoint(7, 0))));
    EXPECT_FALSE(east.isColinearTo2D(Line(CadPoint(5, 1), CadPoint(7, 1))));
    EXPECT_FALSE(east.isColinearTo2D(Line(CadPoint(5, 0.004), CadPoint(7, 0.004))));
    EXPECT_TRUE(east.isColinearTo2D(Line(CadPoint(5, 0.004), CadPoint(7, 0.004)), 0.005));
    EXPECT_TRUE(Line(CadPoint(0, 0, 0), CadPoint(1, 1, 1))
                    .isColinearTo3D(Line(CadPoint(2, 2, 2), CadPoint(5, 5, 5))));
    EXPECT_FALSE(Line(CadPoint(0, 0, 0), CadPoint(1, 1, 1))
                     .isColinearTo3D(Line(CadPoint(2, 2, 3), CadPoint(5, 5, 6))));

    Line diagonal(CadPoint(0, 0, 0), CadPoint(1, 1, 0));
    Line reversed(CadPoint(1, 1, 3), CadPoint(0, 0, 3));
    EXPECT_TRUE(diagonal.isEqual2D(reversed));
    EXPECT_FALSE(diagonal.isEqual3D(reversed));
    EXPECT_TRUE(diagonal == Line(CadPoint(1, 1, 0), CadPoint(0, 0, 0)));
    EXPECT_TRUE(diagonal != reversed);
}

TEST(LineTest, ConstructionAndChanges) {
    Line polar(CadPoint(1, 1, 3), 2.0, kPi / 2);
    EXPECT_TRUE(near3D(polar.end(), CadPoint(1, 3, 3), 1e-12));
    EXPECT_NEAR(polar.azimuthAngle(), kPi / 2, 1e-12);

    API_Sector sector{{1, 2}, {3, 4}};
    Line fromSector(sector, 5.0);
    EXPECT_TRUE(near3D(fromSector.origin(), CadPoint(1, 2, 5)));
    EXPECT_TRUE(near3D(fromSector.end(), CadPoint(3, 4, 5)));
    fromSector = sector;
    EXPECT_TRUE(near3D(fromSector.end(), CadPoint(3, 4, 0)));
    API_Sector back = Line(CadPoint(7, 8, 9), CadPoint(10, 11, 12));
    EXPECT_EQ(back.c1.x, 7);
    EXPECT_EQ(back.c2.y, 11);

    Line line(CadPoint(1, 0, 0), CadPoint(2, 0, 0));
    line += CadPoint(0, 1, 0);
    line = line * 2.0;
    EXPECT_TRUE(near3D(line.origin(), CadPoint(2, 2, 0)));
    line = line - CadPoint(2, 2, 0);
    line *= Matrix3x3::createZRotate(kPi / 2);
    EXPECT_TRUE(near3D(line.end(), CadPoint(0, 2, 0), 1e-12));
    line.flip();
    EXPECT_TRUE(near3D(line.origin(), CadPoint(0, 2, 0), 1e-12));
    line.movePolar(1, 0);
    EXPECT_TRUE(near3D(line.end(), CadPoint(1, 0, 0), 1e-12));
    line.movePolar(2, 0, kPi / 2);
    EXPECT_TRUE(near3D(line.end(), CadPoint(1, 0, 2), 1e-12));
    Line const& self = line;
    line = self;
    EXPECT_TRUE(near3D(line.end(), CadPoint(1, 0, 2), 1e-12));
}
