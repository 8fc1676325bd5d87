#include "Geometry/PolyEdge.h"

#include "Geometry/CadArc.h"
#include "Geometry/IntersectList.h"
#include "Geometry/Line.h"
#include "Geometry/Matrix3x3.h"
#include "Geometry/Rotater.h"
#include "PointExpect.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zelvane {
namespace {

PolyEdge edge(CadPoint const& a, CadPoint const& b, double sweep = 0.0, unsigned int id = 0) {
    return PolyEdge(a, PolyPoint(b, sweep, id));
}

TEST(PolyEdgeTest, StraightOrArc) {
    PolyEdge flat = edge(CadPoint(0, 0, 0), CadPoint(2, 0, 0), 1e-5);
    PolyEdge bent = edge(CadPoint(0, 0, 0), CadPoint(2, 0, 0), 1.1e-5);
    // The test is always the fixed 1e-5, whatever tolerance a query receives.
    EXPECT_TRUE(flat.isStraight());
    EXPECT_FALSE(bent.isStraight());
    EXPECT_EQ(flat.getRadius(false), 0.0);
    EXPECT_GT(bent.getRadius(false), 1000.0);
    EXPECT_EQ(flat.getArea(true), 0.0);
    EXPECT_EQ(flat.positionOf2D(CadPoint(1, 1e-4, 0), 1e-3), CadPoint::along);

    PolyEdge half = edge(CadPoint(0, 0, 0), CadPoint(2, 0, 0), kPi);
    EXPECT_NEAR(half.length2D(), kPi, 1e-12);
    EXPECT_TRUE(near3D(half.centre(), CadPoint(1, 0, 0), 1e-12));
    EXPECT_TRUE(near3D(half.midpoint(), CadPoint(1, -1, 0), 1e-12));
    EXPECT_NEAR(half.getArea(true), kPi / 2, 1e-12);
    EXPECT_NEAR(edge(CadPoint(0, 0, 0), CadPoint(2, 0, 0), -kPi).getArea(true), -kPi / 2, 1e-12);
    EXPECT_NEAR(edge(CadPoint(0, 0, 0), CadPoint(2, 0, 0), -kPi).getArea(false), kPi / 2, 1e-12);
    EXPECT_DOUBLE_EQ(half.azimuthAngle(), 0.0);
    EXPECT_NEAR(half.startTangent(), 3 * kPi / 2, 1e-12);
    EXPECT_NEAR(half.endTangent(), kPi / 2, 1e-12);

    EXPECT_DOUBLE_EQ(edge(CadPoint(0, 0, 0), CadPoint(0, 0, 3)).altitudeAngle(), kPi / 2);
    EXPECT_DOUBLE_EQ(edge(CadPoint(0, 0, 0), CadPoint(0, 0, -3)).altitudeAngle(), -kPi / 2);
    EXPECT_DOUBLE_EQ(edge(CadPoint(0, 0, 0), CadPoint(3, 0, 3)).altitudeAngle(), kPi / 4);

    PolyEdge fromArc(CadArc(CadPoint(1, 1, 0), 2.0, kPi / 2, 0.0));
    EXPECT_TRUE(near3D(fromArc.origin(), CadPoint(3, 1, 0), 1e-12));
    EXPECT_TRUE(near3D(fromArc.end(), CadPoint(1, 3, 0), 1e-12));
    EXPECT_DOUBLE_EQ(fromArc.getSweep(), kPi / 2);
}

TEST(PolyEdgeTest, SetRadius) {
    struct Case {
        char const* name;
        double radius;
        PolyPoint::Rotation rotation;
        double sweep;
        double signedRadius;
        CadPoint midpoint;
    };
    double r3 = std::sqrt(3.0);
    Case const cases[] = {
        {"diameter anticlockwise", 1.0, PolyPoint::anticlockwise, kPi, 1.0, CadPoint(1, -1, 0)},
        {"diameter clockwise", 1.0, PolyPoint::clockwise, -kPi, 1.0, CadPoint(1, 1, 0)},
        {"too small", 0.5, PolyPoint::anticlockwise, 0.0, 0.0, CadPoint(1, 0, 0)},
        {"left centre, short arc", -2.0, PolyPoint::anticlockwise, kPi / 3, -2.0, CadPoint(1, r3 - 2, 0)},
        {"right centre, long arc", 2.0, PolyPoint::anticlockwise, 5 * kPi / 3, 2.0, CadPoint(1, -r3 - 2, 0)},
        {"right centre, clockwise", 2.0, PolyPoint::clockwise, -kPi / 3, 2.0, CadPoint(1, 2 - r3, 0)},
        {"zero", 1e-6, PolyPoint::clockwise, 0.0, 0.0, CadPoint(1, 0, 0)},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        PolyEdge e = edge(CadPoint(0, 0, 0), CadPoint(2, 0, 0));
        e.setRadius(c.radius, c.rotation);
        EXPECT_NEAR(e.getSweep(), c.sweep, 1e-9);
        EXPECT_NEAR(e.getRadius(true), c.signedRadius, 1e-9);
        EXPECT_NEAR(e.getRadius(false), std::fabs(c.signedRadius), 1e-9);
        EXPECT_TRUE(near3D(e.midpoint(), c.midpoint, 1e-9));
        EXPECT_TRUE(near3D(e.end(), CadPoint(2, 0, 0)));
        // The radius constructor gives the same edge.
        PolyEdge made(CadPoint(0, 0, 0), CadPoint(2, 0, 0), c.radius, c.rotation);
        EXPECT_NEAR(made.getSweep(), c.sweep, 1e-9);
    }
    // No rotation keeps the present sense.
    PolyEdge clockwise = edge(CadPoint(0, 0, 0), CadPoint(2, 0, 0), -0.5);
    clockwise.setRadius(1.0, PolyPoint::noRotation);
    EXPECT_NEAR(clockwise.getSweep(), -kPi, 1e-12);
}

TEST(PolyEdgeTest, OffsetExtendAndStretch) {
    PolyEdge straight = edge(CadPoint(0, 0, 0), CadPoint(2, 0, 0));
    PolyEdge moved = straight;
    moved.offset(1.0);
    EXPECT_TRUE(near3D(moved.origin(), CadPoint(0, 1, 0), 1e-12));
    EXPECT_TRUE(near3D(moved.end(), CadPoint(2, 1, 0), 1e-12));

    PolyEdge arc(CadArc(CadPoint(), 3.0, kPi / 2, 0.0));
    arc.offset(1.0);
    EXPECT_NEAR(arc.getRadius(false), 2.0, 1e-9);
    EXPECT_TRUE(near3D(arc.origin(), CadPoint(2, 0, 0), 1e-9));
    EXPECT_TRUE(near3D(arc.end(), CadPoint(0, 2, 0), 1e-9));
    PolyEdge clockwiseArc(CadArc(CadPoint(), 3.0, -kPi / 2, 0.0));
    clockwiseArc.offset(1.0);
    EXPECT_NEAR(clockwiseArc.getRadius(false), 4.0, 1e-9);

    PolyEdge longer = straight;
    longer.extend(1.0);
    EXPECT_TRUE(near3D(longer.end(), CadPoint(3, 0, 0), 1e-12));
    PolyEdge shorter = straight;
    shorter.extend(-1.0);
    EXPECT_TRUE(near3D(shorter.end(), CadPoint(1, 0, 0), 1e-12));
    PolyEdge same = straight;
    same.extend(1e-6);
    EXPECT_TRUE(near3D(same.end(), CadPoint(2, 0, 0)));

    PolyEdge nearlyFull(CadArc(CadPoint(), 1.0, 6.0, 0.0));
    nearlyFull.extend(1.0);
    EXPECT_DOUBLE_EQ(nearlyFull.getSweep(), 2 * kPi);
    PolyEdge quarter(CadArc(CadPoint(), 2.0, kPi / 2, 0.0));
    quarter.extend(kPi);
    EXPECT_NEAR(quarter.getSweep(), kPi, 1e-12);
    EXPECT_TRUE(near3D(quarter.end(), CadPoint(-2, 0, 0), 1e-9));

    PolyEdge toPoint = straight;
    toPoint.extend(CadPoint(5, 3, 0), true);
    EXPECT_TRUE(near3D(toPoint.end(), CadPoint(5, 0, 0), 1e-12));
    toPoint.extend(CadPoint(-1, -3, 0), false);
    EXPECT_TRUE(near3D(toPoint.origin(), CadPoint(-1, 0, 0), 1e-12));
    PolyEdge arcToPoint(CadArc(CadPoint(), 1.0, kPi / 2, 0.0));
    arcToPoint.extend(CadPoint(-3, 0, 0), true);
    EXPECT_NEAR(arcToPoint.getSweep(), kPi, 1e-9);
    EXPECT_TRUE(near3D(arcToPoint.end(), CadPoint(-1, 0, 0), 1e-9));

    // Stretching the start onto the line, and with the flag past the end.
    PolyEdge stretched = straight;
    stretched.stretchOrigin(CadPoint(0.5, 4, 0), false);
    EXPECT_TRUE(near3D(stretched.origin(), CadPoint(0.5, 0, 0), 1e-12));
    PolyEdge beyond = straight;
    beyond.stretchOrigin(CadPoint(3, 1, 0), true);
    EXPECT_TRUE(near3D(beyond.origin(), CadPoint(2, 0, 0), 1e-12));
    EXPECT_TRUE(near3D(beyond.end(), CadPoint(3, 0, 0), 1e-12));
    PolyEdge atStart = straight;
    atStart.stretchOrigin(CadPoint(0, 1, 0), true);
    EXPECT_TRUE(near3D(atStart.origin(), CadPoint(0, 0, 0), 1e-12));
    PolyEdge endStretched = straight;
    endStretched.stretchEnd(CadPoint(4, 2, 0));
    EXPECT_TRUE(near3D(endStretched.end(), CadPoint(4, 0, 0), 1e-12));

    // An arc keeps its circle and end: shortened to a point within it, lengthened back to one beyond.
    PolyEdge bent(CadArc(CadPoint(), 1.0, kPi / 2, 0.0));
    bent.stretchOrigin(CadPoint(2, 2, 0), false);
    EXPECT_TRUE(near3D(bent.origin(), CadPoint(std::sqrt(0.5), std::sqrt(0.5), 0), 1e-9));
    EXPECT_TRUE(near3D(bent.end(), CadPoint(0, 1, 0), 1e-9));
    EXPECT_NEAR(bent.getSweep(), kPi / 4, 1e-9);
    bent.stretchOrigin(CadPoint(0, -3, 0), false);
    EXPECT_TRUE(near3D(bent.origin(), CadPoint(0, -1, 0), 1e-9));
    EXPECT_NEAR(bent.getSweep(), kPi, 1e-9);
    EXPECT_NEAR(bent.getRadius(false), 1.0, 1e-9);
}

TEST(PolyEdgeTest, Split) {
    PolyEdge straight = edge(CadPoint(0, 0, 0), CadPoint(2, 0, 0), 0.0, 4);
    PolyEdge a = straight, rest;
    a.split(CadPoint(1, 0, 0), rest, true);
    EXPECT_TRUE(near3D(a.origin(), CadPoint(0, 0, 0)));
    EXPECT_TRUE(near3D(a.end(), CadPoint(1, 0, 0)));
    EXPECT_TRUE(near3D(rest.origin(), CadPoint(1, 0, 0)));
    EXPECT_TRUE(near3D(rest.end(), CadPoint(2, 0, 0)));
    EXPECT_EQ(rest.end().getID(), 4u);
    PolyEdge b = straight;
    b.split(CadPoint(1, 0, 0), rest, false);
    EXPECT_TRUE(near3D(b.origin(), CadPoint(1, 0, 0)));
    EXPECT_TRUE(near3D(b.end(), CadPoint(2, 0, 0)));
    EXPECT_TRUE(near3D(rest.origin(), CadPoint(0, 0, 0)));
    EXPECT_TRUE(near3D(rest.end(), CadPoint(1, 0, 0)));

    // At the start: this edge collapses and the other is the whole edge.
    PolyEdge c = straight;
    c.split(CadPoint(-1, 0, 0), rest, true);
    EXPECT_TRUE(near3D(c.end(), CadPoint(0, 0, 0)));
    EXPECT_TRUE(rest.isEqual2D(straight));

    // An arc shares its sweep out.
    PolyEdge half(CadPoint(0, 0, 0), PolyPoint(CadPoint(2, 0, 0), kPi, 1));
    PolyEdge first = half;
    first.split(CadPoint(1, -3, 0), rest, true);
    EXPECT_TRUE(near3D(first.end(), CadPoint(1, -1, 0), 1e-9));
    EXPECT_NEAR(first.getSweep(), kPi / 2, 1e-9);
    EXPECT_NEAR(rest.getSweep(), kPi / 2, 1e-9);
    EXPECT_NEAR(first.length2D() + rest.length2D(), kPi, 1e-9);
}

TEST(PolyEdgeTest, Comparisons) {
    PolyEdge arc = edge(CadPoint(0, 0, 0), CadPoint(2, 0, 0), kPi / 2);
    PolyEdge flipped = arc;
    flipped.flip();
    EXPECT_TRUE(near3D(flipped.origin(), CadPoint(2, 0, 0)));
    EXPECT_DOUBLE_EQ(flipped.getSweep(), -kPi / 2);
    EXPECT_TRUE(near3D(flipped.midpoint(), arc.midpoint(), 1e-9));
    EXPECT_TRUE(arc.isEqual2D(flipped));
    EXPECT_TRUE(arc.isEqual3D(flipped));
    EXPECT_TRUE(arc == flipped);
    PolyEdge straight = edge(CadPoint(0, 0, 0), CadPoint(2, 0, 0));
    EXPECT_FALSE(arc.isEqual2D(straight));
    EXPECT_FALSE(arc.isEqual3D(straight));
    EXPECT_TRUE(arc != straight);
    EXPECT_FALSE(straight.isEqual3D(straight + CadPoint(0, 0, 1)));
    EXPECT_TRUE(straight.isEqual2D(straight + CadPoint(0, 0, 1)));

    EXPECT_TRUE(straight.overlaps2D(edge(CadPoint(1, 0, 0), CadPoint(3, 0, 0))));
    EXPECT_TRUE(edge(CadPoint(0.5, 0, 0), CadPoint(1, 0, 0)).overlaps2D(straight));
    EXPECT_FALSE(straight.overlaps2D(edge(CadPoint(2, 0, 0), CadPoint(3, 0, 0))));
    EXPECT_FALSE(straight.overlaps2D(arc));
    EXPECT_TRUE(arc.overlaps2D(flipped));

    PolyEdge next = edge(CadPoint(1, 0, 0), CadPoint(2, 0, 0));
    EXPECT_TRUE(next.isTangentialTo2D(edge(CadPoint(0, 0, 0), CadPoint(1, 0, 0)), 1e-5, 1e-5));
    EXPECT_FALSE(next.isTangentialTo2D(edge(CadPoint(0, -1, 0), CadPoint(1, 0, 0)), 1e-5, 1e-5));
    EXPECT_FALSE(next.isTangentialTo2D(edge(CadPoint(0, 0, 0), CadPoint(0.9, 0, 0)), 1e-5, 1e-5));
    // Just below a full turn arriving, 0 leaving.
    PolyEdge arriving = edge(CadPoint(1 - std::cos(6.2831852), -std::sin(6.2831852), 0), CadPoint(1, 0, 0));
    EXPECT_TRUE(next.isTangentialTo2D(arriving, 1e-5, 1e-5));
    // A quarter arc ending upwards continues into a vertical edge.
    PolyEdge up = edge(CadPoint(0, 1, 0), CadPoint(0, 2, 0));
    EXPECT_TRUE(
        up.isTangentialTo2D(PolyEdge(CadArc(CadPoint(-1, 1, 0), 1.0, kPi / 2, -kPi / 2)), 1e-5, 1e-6));

    EXPECT_TRUE(straight.isParallelTo2D(edge(CadPoint(0, 1, 0), CadPoint(5, 1, 0))));
    EXPECT_FALSE(straight.isParallelTo2D(arc));
    EXPECT_TRUE(straight.isColinearTo2D(edge(CadPoint(3, 0, 0), CadPoint(5, 0, 0))));
    EXPECT_FALSE(straight.isColinearTo2D(edge(CadPoint(3, 1, 0), CadPoint(5, 1, 0))));
    EXPECT_FALSE(arc.isColinearTo2D(edge(CadPoint(2, 0, 0), CadPoint(0, 0, 0), -1.0)));
}

TEST(PolyEdgeTest, Intersections) {
    PolyEdge straight = edge(CadPoint(-2, 0.5, 0), CadPoint(2, 0.5, 0));
    PolyEdge upper(CadArc(CadPoint(), 1.0, kPi, 0.0));
    // Straight with arc: the list is swapped for the call, so this edge's codes come first.
    IntersectList list(Intercept(CadPoint::Pos(0x0E), 5, 0), Intercept(CadPoint::Pos(0x04), 6, 0));
    EXPECT_EQ(straight.intersectionWith2D(upper, list), 2);
    EXPECT_FALSE(list.isSwapped());
    for (InterPoint const* p : list) {
        EXPECT_EQ(p->getPosition(InterPoint::first), CadPoint::along);
        EXPECT_EQ(p->getIntercept(InterPoint::first).m_vertex, 5);
        EXPECT_NEAR(p->lengthTo2D(CadPoint()), 1.0, 1e-9);
    }
    IntersectList back;
    EXPECT_EQ(upper.intersectionWith2D(straight, back), 2);
    IntersectList lines;
    EXPECT_EQ(straight.intersectionWith2D(edge(CadPoint(0, -1, 0), CadPoint(0, 1, 0)), lines), 1);
    EXPECT_TRUE(near3D(*lines.front(), CadPoint(0, 0.5, 0), 1e-12));
    IntersectList arcs;
    EXPECT_EQ(upper.intersectionWith2D(PolyEdge(CadArc(CadPoint(1, 0, 0), 1.0, kPi, 0.0)), arcs), 2);
    IntersectList spatial;
    EXPECT_EQ(straight.intersectionWith3D(upper, spatial), 2);
}

TEST(PolyEdgeTest, TransformsKeepTheSweep) {
    PolyEdge arc = edge(CadPoint(1, 0, 0), CadPoint(0, 1, 0), kPi / 2, 3);
    PolyEdge mirrored = arc * Matrix3x3(-1, 0, 0, 0, 1, 0, 0, 0, 1);
    EXPECT_TRUE(near3D(mirrored.origin(), CadPoint(-1, 0, 0)));
    EXPECT_DOUBLE_EQ(mirrored.getSweep(), kPi / 2);
    EXPECT_EQ(mirrored.end().getID(), 3u);
    ZRotater turn(kPi / 2);
    turn.transform(arc);
    EXPECT_TRUE(near3D(arc.origin(), CadPoint(0, 1, 0), 1e-12));
    EXPECT_TRUE(near3D(arc.end(), CadPoint(-1, 0, 0), 1e-12));
    EXPECT_DOUBLE_EQ(arc.getSweep(), kPi / 2);
    arc.setBaseLevel(4.0);
    EXPECT_EQ(arc.origin().z(), 4.0);
    EXPECT_EQ(arc.end().z(), 4.0);
    PolyEdge shifted = (arc + CadPoint(1, 1, 0)) - CadPoint(0, 1, 0);
    EXPECT_TRUE(near3D(shifted.origin(), CadPoint(1, 1, 4), 1e-12));
}

// Points sorted by the distance travelled from the edge's start.
TEST(PolyEdgeTest, AlongLengthOf) {
    auto order = [](PolyEdge const& e, std::vector<CadPoint> const& points) {
        IntersectList list;
        for (CadPoint const& p : points)
            list.insert(new InterPoint(p, CadPoint::along, CadPoint::along));
        list.sort(AlongLengthOf(e));
        std::vector<double> xs;
        for (InterPoint const* p : list)
            xs.push_back(p->x());
        return xs;
    };
    PolyEdge straight = edge(CadPoint(0, 0, 0), CadPoint(4, 0, 0));
    EXPECT_EQ(order(straight, {CadPoint(3, 0, 0), CadPoint(1, 0, 0), CadPoint(2, 0, 0)}),
              (std::vector<double>{1, 2, 3}));
    // A clockwise quarter circle over the chord from (0, 0) to (2, 0), bulging above it.
    PolyEdge arc = edge(CadPoint(0, 0, 0), CadPoint(2, 0, 0), -kPi / 2);
    CadArc circle = arc.asArc();
    std::vector<CadPoint> points;
    for (double t : {0.8, 0.2, 0.5})
        points.push_back(circle.centre() +
                         CadPoint(circle.getRadius() * std::cos(circle.getStartAngle() - t * kPi / 2),
                                  circle.getRadius() * std::sin(circle.getStartAngle() - t * kPi / 2), 0));
    std::vector<double> xs = order(arc, points);
    EXPECT_LT(xs[0], xs[1]);
    EXPECT_LT(xs[1], xs[2]);
    EXPECT_NEAR(xs[0], points[1].x(), 1e-12);

    // Beyond a half turn: three quarters of a circle anticlockwise from (1, 0) round to (0, -1).
    PolyEdge major(CadArc(CadPoint(), 1.0, 1.5 * kPi, 0.0));
    IntersectList list;
    for (double t : {0.9, 0.1, 0.45, 0.7})
        list.insert(new InterPoint(CadPoint(std::cos(t * 1.5 * kPi), std::sin(t * 1.5 * kPi), 0),
                                   CadPoint::along, CadPoint::along));
    list.sort(AlongLengthOf(major));
    std::vector<double> turned;
    for (InterPoint const* p : list)
        turned.push_back(std::atan2(p->y(), p->x()));
    std::vector<double> expected;
    for (double t : {0.1, 0.45, 0.7, 0.9})
        expected.push_back(std::atan2(std::sin(t * 1.5 * kPi), std::cos(t * 1.5 * kPi)));
    ASSERT_EQ(turned.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(turned[i], expected[i], 1e-9) << i;
}

} // namespace
} // namespace zelvane
