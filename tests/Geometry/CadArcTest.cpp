#include "Geometry/CadArc.h"

#include "Geometry/Cube.h"
#include "Geometry/IntersectList.h"
#include "Geometry/Leveller.h"
#include "Geometry/Line.h"
#include "Geometry/Matrix3x3.h"
#include "Geometry/Plane.h"
#include "Geometry/Rotater.h"
#include "PointExpect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <type_traits>
#include <vector>

namespace zelvane {
namespace {

const double s2 = std::sqrt(2.0);

CadArc quarterArc() {
    return CadArc(CadPoint(1, 1, 0), 2.0, kPi / 2.0, 0.0);
}

bool allFinite(IntersectList const& list) {
    for (InterPoint const* p : list)
        if (!std::isfinite(p->x()) || !std::isfinite(p->y()) || !std::isfinite(p->z()))
            return false;
    return true;
}

// Arcs are deleted through base pointers of their derived kinds.
static_assert(std::has_virtual_destructor<CadArc>::value, "CadArc is a base class");

TEST(CadArcTest, Construction) {
    CadArc arc = quarterArc();
    EXPECT_TRUE(near3D(arc.getOrigin(), CadPoint(3, 1, 0)));
    EXPECT_TRUE(near3D(arc.getEnd(), CadPoint(1, 3, 0)));
    EXPECT_TRUE(near3D(arc.midpoint(), CadPoint(1 + s2, 1 + s2, 0)));
    EXPECT_DOUBLE_EQ(arc.length2D(), kPi);
    EXPECT_DOUBLE_EQ(arc.getEndAngle(), kPi / 2.0);

    EXPECT_DOUBLE_EQ(CadArc(CadPoint(), CadPoint(1, 0, 0), CadPoint(0, 1, 0), true).getSweep(), -1.5 * kPi);
    EXPECT_DOUBLE_EQ(CadArc(CadPoint(), CadPoint(1, 0, 0), CadPoint(0, 1, 0), false).getSweep(), kPi / 2.0);
    // A zero sweep stays zero in either sense.
    EXPECT_EQ(CadArc(CadPoint(), CadPoint(1, 0, 0), CadPoint(5, 0, 0), true).getSweep(), 0.0);

    CadArc upper(CadPoint(1, 0, 0), CadPoint(0, 1, 0), CadPoint(-1, 0, 0));
    EXPECT_TRUE(near3D(upper.centre(), CadPoint()));
    EXPECT_NEAR(upper.getRadius(), 1.0, 1e-12);
    EXPECT_NEAR(upper.getStartAngle(), 0.0, 1e-12);
    EXPECT_NEAR(upper.getSweep(), kPi, 1e-12);
    EXPECT_NEAR(CadArc(CadPoint(1, 0, 0), CadPoint(0, -1, 0), CadPoint(-1, 0, 0)).getSweep(), -kPi, 1e-12);
    // Three points at one height give a centre at that height.
    CadArc raised(CadPoint(1, 0, 5), CadPoint(0, 1, 5), CadPoint(-1, 0, 5));
    EXPECT_TRUE(near3D(raised.centre(), CadPoint(0, 0, 5)));
    EXPECT_FALSE(CadArc(CadPoint(0, 0, 0), CadPoint(1, 1, 0), CadPoint(2, 2, 0)).isValid());

    // A sloped arc through three points passes through them.
    CadPoint p1(2, 0, 0), p2(0, 2, 1), p3(-2, 0, 2);
    CadArc sloped(p1, p2, p3);
    ASSERT_TRUE(sloped.isValid());
    EXPECT_GE(sloped.getNormal().z(), 0.0);
    EXPECT_TRUE(near3D(sloped.getOrigin(), p1, 1e-9));
    EXPECT_TRUE(near3D(sloped.getEnd(), p3, 1e-9));
    EXPECT_EQ(sloped.positionOf3D(p2), CadPoint::along);
    // Positions on a sloped arc are taken in its own plane.
    CadPoint a(1, 2, 3), b(-2, 0.5, 1), c(3, -1, 0.5);
    CadArc tilted(a, b, c);
    ASSERT_TRUE(tilted.isValid());
    EXPECT_EQ(tilted.positionOf3D(b, 1e-6), CadPoint::along);
    EXPECT_EQ(tilted.positionOf3D(tilted.midpoint(), 1e-6), CadPoint::along);
    EXPECT_EQ(tilted.positionOf3D(a, 1e-6), CadPoint::atOrigin);
    EXPECT_EQ(tilted.positionOf3D(c, 1e-6), CadPoint::atEnd);
    EXPECT_EQ(tilted.positionOf3D(tilted.centre(), 1e-6), CadPoint::inside);
    CadPoint opposite = tilted.midpoint() + (tilted.centre() - tilted.midpoint()) * 2.0;
    EXPECT_EQ(tilted.positionOf3D(opposite, 1e-6), CadPoint::offSweep);
    CadPoint beyond = tilted.midpoint() + (tilted.midpoint() - tilted.centre());
    EXPECT_EQ(tilted.positionOf3D(beyond, 1e-6), CadPoint::outside);
    // A line through the plane at a point of the arc meets it there.
    IntersectList hit(Intercept(CadPoint::Pos(0x0E)));
    EXPECT_EQ(tilted.intersectionWith3D(Line(b - CadPoint(0, 0, 1), b + CadPoint(0, 0, 1)), hit), 1);
    ASSERT_EQ(hit.size(), 1u);
    EXPECT_TRUE(near3D(*hit.front(), b, 1e-9));
    EXPECT_EQ(hit.front()->getPosition(InterPoint::first), CadPoint::along);

    CadArc copy;
    copy = arc;
    EXPECT_TRUE(copy == arc);
    CadArc* cloned = arc.clone();
    EXPECT_TRUE(*cloned == arc);
    delete cloned;
    CadArc base = quarterArc();
    base += CadPoint(0, 0, 1);
    EXPECT_TRUE(base != arc);
}

// The arc of a polygon edge ends at the end vertex, whatever its sweep.
TEST(CadArcTest, PolygonEdgeArc) {
    CadArc below(CadPoint(0, 0, 0), PolyPoint(CadPoint(2, 0, 0), kPi, 0));
    EXPECT_NEAR(below.getRadius(), 1.0, 1e-12);
    EXPECT_TRUE(near3D(below.centre(), CadPoint(1, 0, 0)));
    EXPECT_NEAR(below.getStartAngle(), kPi, 1e-12);
    EXPECT_TRUE(near3D(below.midpoint(), CadPoint(1, -1, 0)));
    CadArc above(CadPoint(0, 0, 0), PolyPoint(CadPoint(2, 0, 0), -kPi, 0));
    EXPECT_TRUE(near3D(above.centre(), CadPoint(1, 0, 0)));
    EXPECT_NEAR(above.getStartAngle(), kPi, 1e-12);
    EXPECT_TRUE(near3D(above.midpoint(), CadPoint(1, 1, 0)));

    CadPoint start(1, -2, 3);
    CadPoint end(4, 2, 3);
    for (double sweep : {kPi / 3.0, -kPi / 3.0, 1.5 * kPi, -1.5 * kPi, 1e-3, -1.9 * kPi}) {
        CadArc arc(start, PolyPoint(end, sweep, 7));
        SCOPED_TRACE(sweep);
        EXPECT_TRUE(near3D(arc.getOrigin(), start, 1e-9));
        EXPECT_TRUE(near3D(arc.getEnd(), end, 1e-6));
        EXPECT_DOUBLE_EQ(arc.getSweep(), sweep);
        // The vertex sweep found from the radius line agrees up to a half turn.
        if (std::fabs(sweep) <= kPi) {
            PolyPoint vertex(end, 0.0, 0);
            vertex.setSweep(Line(arc.centre(), start));
            EXPECT_NEAR(vertex.getSweep(), sweep, 1e-9);
        }
    }
    EXPECT_FALSE(CadArc(start, PolyPoint(end, 1e-5, 0)).isValid());
    EXPECT_FALSE(CadArc(start, PolyPoint(start, 1.0, 0)).isValid());
}

TEST(CadArcTest, PositionInPlan) {
    struct Case {
        char const* name;
        CadPoint point;
        CadPoint::Pos expected;
    };
    Case const cases[] = {
        {"centre side", CadPoint(1, 1, 0), CadPoint::inside},
        {"far", CadPoint(4, 4, 0), CadPoint::outside},
        {"start", CadPoint(3, 1, 0), CadPoint::atOrigin},
        {"end", CadPoint(1, 3, 0), CadPoint::atEnd},
        {"middle", CadPoint(1 + s2, 1 + s2, 0), CadPoint::along},
        {"opposite", CadPoint(-1, 1, 0), CadPoint::offSweep},
        {"just past the end", CadPoint(1 + 2 * std::cos(kPi / 2 + 1e-3), 1 + 2 * std::sin(kPi / 2 + 1e-3), 0),
         CadPoint::offSweep},
    };
    CadArc arc = quarterArc();
    CadArc flipped = quarterArc();
    flipped.flip();
    EXPECT_TRUE(near3D(flipped.getOrigin(), arc.getEnd()));
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(arc.positionOf2D(c.point), c.expected);
        CadPoint::Pos mirrored = c.expected == CadPoint::atOrigin ? CadPoint::atEnd
                                 : c.expected == CadPoint::atEnd  ? CadPoint::atOrigin
                                                                  : c.expected;
        EXPECT_EQ(flipped.positionOf2D(c.point), mirrored);
        EXPECT_EQ(arc.positionOf3D(c.point + CadPoint(0, 0, 1)), CadPoint::none);
    }
    // A range that starts below angle 0 after flipping still covers the angles just below 0.
    CadArc across(CadPoint(), 1.0, -1.0, 0.5);
    across.flip();
    EXPECT_EQ(across.positionOf2D(CadPoint(std::cos(-0.25), std::sin(-0.25), 0)), CadPoint::along);
    EXPECT_EQ(across.positionOf2D(CadPoint(std::cos(0.75), std::sin(0.75), 0)), CadPoint::offSweep);
    EXPECT_EQ(CadArc().positionOf2D(CadPoint()), CadPoint::none);
    EXPECT_TRUE(arc.encloses2D(CadPoint(1, 1, 0)));
    EXPECT_FALSE(arc.encloses2D(CadPoint(-1, 1, 0)));
    EXPECT_TRUE(arc.encloses3D(CadPoint(2, 2, 0)));
    EXPECT_FALSE(arc.encloses3D(CadPoint(2, 2, 0.1)));
}

// Bounds from the ends and the quarter points, against a dense sampling of each arc.
TEST(CadArcTest, BoundsFromQuarterPoints) {
    struct Case {
        double start;
        double sweep;
    };
    Case const cases[] = {{0.0, kPi / 2},      {0.0, kPi},  {0.3, 0.2},       {kPi / 2, kPi / 2},
                          {5.5, 1.5},          {1.0, -2.5}, {0.2, 1.9 * kPi}, {4.0, -1.7 * kPi},
                          {3 * kPi / 2, -kPi}, {-0.5, 1.0}, {2.0, 4.0}};
    CadPoint centre(1, -2, 0.5);
    double radius = 3.0;
    for (Case const& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << " " << c.sweep);
        CadArc arc(centre, radius, c.sweep, c.start);
        auto box = arc.getBounds();
        ASSERT_TRUE(box);
        double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
        for (int i = 0; i <= 20000; ++i) {
            double a = c.start + c.sweep * i / 20000.0;
            double x = centre.x() + radius * std::cos(a), y = centre.y() + radius * std::sin(a);
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
        }
        EXPECT_NEAR(box->getOrigin().x(), minX, 1e-6);
        EXPECT_NEAR(box->getOrigin().y(), minY, 1e-6);
        EXPECT_NEAR(box->getEnd().x(), maxX, 1e-6);
        EXPECT_NEAR(box->getEnd().y(), maxY, 1e-6);
        EXPECT_DOUBLE_EQ(box->getOrigin().z(), 0.5);
    }
    auto quarter = quarterArc().getBounds();
    EXPECT_TRUE(near3D(quarter->getOrigin(), CadPoint(1, 1, 0)));
    EXPECT_TRUE(near3D(quarter->getEnd(), CadPoint(3, 3, 0)));
    EXPECT_FALSE(CadArc(CadPoint(), 1.0, 1.0, 0.0, Vector3(1, 0, 1)).getBounds());
    EXPECT_TRUE(CadArc(CadPoint(), 1.0, 1.0, 0.0, Vector3(0, 0, -2)).getBounds());
}

// Segment area r^2 / 2 (t - sin t), also beyond a half turn, with the sweep's sign when kept.
TEST(CadArcTest, Areas) {
    for (double sweep : {0.3, kPi / 2, kPi, 1.2 * kPi, 1.5 * kPi, 1.9 * kPi}) {
        for (double sense : {1.0, -1.0}) {
            SCOPED_TRACE(sweep * sense);
            double r = 1.5;
            CadArc arc(CadPoint(2, 3, 0), r, sweep * sense, 0.7);
            double segment = r * r / 2 * (sweep - std::sin(sweep));
            EXPECT_NEAR(arc.getArea(true, false), segment, 1e-9);
            EXPECT_NEAR(arc.getArea(true, true), sense * segment, 1e-9);
            EXPECT_NEAR(arc.getArea(false, true), sense * r * r * sweep / 2, 1e-12);
            EXPECT_NEAR(arc.getArea(false, false), r * r * sweep / 2, 1e-12);
        }
    }
    CadArc half(CadPoint(), 1.0, kPi, 0.0);
    EXPECT_NEAR(half.getArea(false, false), kPi / 2, 1e-12);
    EXPECT_NEAR(half.getArea(true, false), kPi / 2, 1e-12);
    EXPECT_EQ(CadArc().getArea(true, true), 0.0);
}

TEST(CadArcTest, CircleWithCircle) {
    CadArc left(CadPoint(), 1.0, 2 * kPi - 0.01, 0.005);
    IntersectList touching;
    EXPECT_EQ(left.intersectionWith2D(CadArc(CadPoint(2, 0, 0), 1.0, 2 * kPi - 0.01, kPi + 0.005), touching),
              1);
    ASSERT_EQ(touching.size(), 1u);
    EXPECT_TRUE(near3D(*touching.front(), CadPoint(1, 0, 0), 1e-9));

    IntersectList crossing;
    EXPECT_EQ(left.intersectionWith2D(CadArc(CadPoint(1, 0, 0), 1.0, 2 * kPi - 0.01, kPi + 0.005), crossing),
              2);
    ASSERT_EQ(crossing.size(), 2u);
    EXPECT_TRUE(near3D(*crossing.front(), CadPoint(0.5, std::sqrt(3.0) / 2, 0), 1e-9));
    EXPECT_TRUE(near3D(*crossing.back(), CadPoint(0.5, -std::sqrt(3.0) / 2, 0), 1e-9));
    EXPECT_EQ(crossing.front()->getPosition(InterPoint::first), CadPoint::along);

    IntersectList none;
    EXPECT_EQ(left.intersectionWith2D(CadArc(CadPoint(0.1, 0, 0), 0.5, kPi, 0.0), none), 0);
    EXPECT_EQ(left.intersectionWith2D(CadArc(CadPoint(), 0.5, kPi, 0.0), none), 0);
    EXPECT_EQ(left.intersectionWith2D(CadArc(CadPoint(3, 0, 0), 0.5, kPi, 0.0), none), 0);
    EXPECT_TRUE(none.empty());

    // Just inside the other circle with a fine tolerance: the cosine is clamped, no point is lost to NaN.
    IntersectList fine;
    CadArc inner(CadPoint(0.5 - 5e-6, 0, 0), 0.5, 2 * kPi - 0.01, kPi / 2);
    left.intersectionWith2D(inner, fine, 1e-6);
    EXPECT_TRUE(allFinite(fine));

    // Arcs at different heights in parallel planes meet in plan.
    IntersectList raised;
    EXPECT_EQ(left.intersectionWith2D(CadArc(CadPoint(1, 0, 4), 1.0, 2 * kPi - 0.01, kPi + 0.005), raised),
              2);
}

TEST(CadArcTest, LineWithArc) {
    CadArc upper(CadPoint(), 1.0, kPi, 0.0);
    IntersectList list(Intercept(CadPoint::Pos(0x0E)), Intercept(CadPoint::Pos(0x0E)));
    EXPECT_EQ(upper.intersectionWith2D(Line(CadPoint(-2, 0.5, 0), CadPoint(2, 0.5, 0)), list), 2);
    ASSERT_EQ(list.size(), 2u);
    double x = std::sqrt(0.75);
    EXPECT_TRUE(near3D(*list.front(), CadPoint(-x, 0.5, 0), 1e-9));
    EXPECT_TRUE(near3D(*list.back(), CadPoint(x, 0.5, 0), 1e-9));

    // The lower crossings lie off the sweep and the filter drops them.
    IntersectList filtered(Intercept(CadPoint::Pos(0x0E)));
    EXPECT_EQ(upper.intersectionWith2D(Line(CadPoint(-2, -0.5, 0), CadPoint(2, -0.5, 0)), filtered), 0);
    IntersectList unfiltered;
    EXPECT_EQ(upper.intersectionWith2D(Line(CadPoint(-2, -0.5, 0), CadPoint(2, -0.5, 0)), unfiltered), 2);
    EXPECT_EQ(unfiltered.front()->getPosition(InterPoint::first), CadPoint::offSweep);

    // Tangent, and passing just outside within the tolerance: one point, never NaN.
    for (double gap : {0.0, 5e-8, 5e-6, 9.9e-6}) {
        SCOPED_TRACE(gap);
        IntersectList touch;
        EXPECT_EQ(upper.intersectionWith2D(Line(CadPoint(-2, 1 + gap, 0), CadPoint(2, 1 + gap, 0)), touch),
                  1);
        ASSERT_EQ(touch.size(), 1u);
        EXPECT_TRUE(allFinite(touch));
        EXPECT_TRUE(near3D(*touch.front(), CadPoint(0, 1 + gap, 0), 1e-9));
    }
    IntersectList apart;
    EXPECT_EQ(upper.intersectionWith2D(Line(CadPoint(-2, 1.00002, 0), CadPoint(2, 1.00002, 0)), apart), 0);

    // Through the centre.
    IntersectList through;
    EXPECT_EQ(upper.intersectionWith2D(Line(CadPoint(0, -2, 0), CadPoint(0, 2, 0)), through), 2);

    // A swapped list keeps each operand's code in its own intercept.
    IntersectList swapped(Intercept(CadPoint::Pos(0x0E), 3, 0), Intercept(CadPoint::Pos(0x04), 9, 1));
    swapped.swapSpec();
    EXPECT_EQ(upper.intersectionWith2D(Line(CadPoint(-2, 0.5, 0), CadPoint(2, 0.5, 0)), swapped), 2);
    for (InterPoint const* p : swapped) {
        EXPECT_EQ(p->getPosition(InterPoint::first), CadPoint::along);  // the line
        EXPECT_EQ(p->getPosition(InterPoint::second), CadPoint::along); // the arc
        EXPECT_EQ(p->getIntercept(InterPoint::second).m_vertex, 9);
    }
}

TEST(CadArcTest, SlopedArcKeepsEarlierPoints) {
    // An arc in the plane z = y, and a line in that plane.
    Vector3 normal(0, -1, 1);
    CadArc sloped(CadPoint(0, 0, 0), 1.0, 2 * kPi - 0.2, 0.1, normal);
    IntersectList list;
    list.insert(new InterPoint(CadPoint(7, 8, 9), CadPoint::along, CadPoint::along));
    Line line(CadPoint(-3, 0.2, 0.2), CadPoint(3, 0.2, 0.2));
    EXPECT_EQ(sloped.intersectionWith3D(line, list), 2);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_TRUE(near3D(*list.front(), CadPoint(7, 8, 9)));
    for (auto it = std::next(list.begin()); it != list.end(); ++it) {
        EXPECT_NEAR((*it)->lengthTo3D(CadPoint()), 1.0, 1e-9);
        EXPECT_NEAR((*it)->z(), (*it)->y(), 1e-9);
        EXPECT_NEAR((*it)->y(), 0.2, 1e-9);
    }
    // A line through the plane meets it once; within the disc but off the circle it is inside.
    IntersectList piercing;
    EXPECT_EQ(sloped.intersectionWith3D(Line(CadPoint(0.1, 0, -1), CadPoint(0.1, 0, 1)), piercing), 1);
    ASSERT_EQ(piercing.size(), 1u);
    EXPECT_EQ(piercing.front()->getPosition(InterPoint::first), CadPoint::inside);
    EXPECT_EQ(sloped.intersectionWith3D(Line(CadPoint(5, 0, -1), CadPoint(5, 0, 1)), piercing), 0);
}

TEST(CadArcTest, CrossingPlanes) {
    CadArc level(CadPoint(), 1.0, 2 * kPi - 0.2, 0.1);
    double s = std::sqrt(0.75);
    CadArc upright(CadPoint(0.5, s, 0), CadPoint(0.5, 0, s), CadPoint(0.5, -s, 0));
    ASSERT_TRUE(upright.isValid());
    IntersectList list(Intercept(CadPoint::Pos(0x0E)), Intercept(CadPoint::Pos(0x0E)));
    EXPECT_EQ(level.intersectionWith3D(upright, list), 2);
    ASSERT_EQ(list.size(), 2u);
    int codes = 0;
    for (InterPoint const* p : list) {
        EXPECT_NEAR(p->x(), 0.5, 1e-9);
        EXPECT_NEAR(std::fabs(p->y()), s, 1e-9);
        EXPECT_NEAR(p->z(), 0.0, 1e-9);
        codes |= p->getPosition(InterPoint::second);
    }
    EXPECT_EQ(codes, CadPoint::atOrigin | CadPoint::atEnd);
    // The other arc's filter decides: only points along it.
    IntersectList alongOnly(Intercept(), Intercept(CadPoint::along));
    EXPECT_EQ(level.intersectionWith3D(upright, alongOnly), 0);
    EXPECT_TRUE(alongOnly.empty());
    EXPECT_EQ(alongOnly.getSpec(InterPoint::second).m_position, CadPoint::along);

    IntersectList cut;
    EXPECT_EQ(level.intersectionWith(Plane(CadPoint(0.5, 0, 0), Vector3(1, 0, 0)), cut), 2);
    EXPECT_EQ(level.intersectionWith(Plane(CadPoint(0, 0, 1), Vector3(0, 0, 1)), cut), 0);
}

TEST(CadArcTest, ClosestPointsAndComparisons) {
    CadArc arc = quarterArc();
    EXPECT_TRUE(near3D(arc.closestPointAlong2D(CadPoint(5, 1, 0)), CadPoint(3, 1, 0), 1e-9));
    EXPECT_TRUE(near3D(arc.closestPointAlong2D(CadPoint(4, 4, 0)), CadPoint(1 + s2, 1 + s2, 0), 1e-9));
    EXPECT_TRUE(near3D(arc.closestPointAlong2D(CadPoint(1, -5, 0)), CadPoint(3, 1, 0), 1e-9));
    EXPECT_TRUE(near3D(arc.closestPointAlong2D(CadPoint(-5, 1.5, 0)), CadPoint(1, 3, 0), 1e-9));
    EXPECT_TRUE(near3D(arc.closestPointTo2D(CadPoint(1, -5, 0)), CadPoint(1, -1, 0), 1e-9));
    EXPECT_TRUE(near3D(arc.closestPointAlong3D(CadPoint(9, 9, 9)), CadPoint()));

    CadArc same(CadPoint(1, 1, 0), 2.0, -kPi / 2.0, kPi / 2.0);
    EXPECT_TRUE(arc.isEqual2D(same));
    EXPECT_TRUE(arc == same);
    EXPECT_FALSE(arc.isEqual3D(same + CadPoint(0, 0, 1)));
    EXPECT_TRUE(arc.isEqual2D(same + CadPoint(0, 0, 1)));
    EXPECT_TRUE(arc.isColinearTo3D(CadArc(CadPoint(1, 1, 0), 2.0, 1.0, 3.0)));
    EXPECT_TRUE(arc.isColinearTo2D(CadArc(CadPoint(1, 1, 0), 2.0, 1.0, 3.0)));
    EXPECT_FALSE(arc.isColinearTo3D(CadArc(CadPoint(1, 1, 0), 2.5, 1.0, 3.0)));
    EXPECT_TRUE(arc.isParallelTo2D(CadArc(CadPoint(1, 1, 3), 5.0, 1.0, 3.0)));
    EXPECT_FALSE(arc.isParallelTo3D(CadArc(CadPoint(1, 1, 3), 5.0, 1.0, 3.0)));

    CadArc scaled = arc * 2.0;
    EXPECT_TRUE(near3D(scaled.getOrigin(), CadPoint(6, 2, 0), 1e-9));
    CadArc doubled = arc * Matrix3x3::createScale(2, 2, 2);
    EXPECT_NEAR(doubled.getRadius(), 4.0, 1e-12);
    EXPECT_TRUE(near3D(doubled.centre(), CadPoint(2, 2, 0), 1e-12));
    EXPECT_TRUE(near3D(doubled.getOrigin(), CadPoint(6, 2, 0), 1e-12));
    CadArc moved = arc;
    moved.movePolar(1.0, kPi);
    EXPECT_TRUE(near3D(moved.centre(), CadPoint(0, 1, 0), 1e-12));
}

TEST(CadArcTest, TurnedAndLevelled) {
    CadArc arc = quarterArc();
    ZRotater turn(kPi / 2, 1e-5);
    turn.transform(arc);
    EXPECT_TRUE(near3D(arc.getOrigin(), CadPoint(-1, 3, 0), 1e-9));
    EXPECT_TRUE(near3D(arc.getEnd(), CadPoint(-3, 1, 0), 1e-9));
    EXPECT_NEAR(arc.getSweep(), kPi / 2, 1e-9);

    CadArc sloped(CadPoint(1, 2, 3), 2.0, 1.0, 0.5, Vector3(0, -1, 1));
    CadPoint end = sloped.getEnd();
    Leveller leveller(sloped.getNormal(), 0.0);
    leveller.transform(sloped);
    EXPECT_TRUE(sloped.getNormal().isParallelTo(Vector3(0, 0, 1)));
    leveller.reverse();
    leveller.transform(sloped);
    EXPECT_TRUE(near3D(sloped.getEnd(), end, 1e-9));
}

} // namespace
} // namespace zelvane
