#include "Geometry/CadPolygon.h"
#include "Geometry/Faceter.h"
#include "Geometry/Line.h"
#include "Geometry/LinearEquation.h"
#include "Geometry/PolyEdge.h"
#include "Geometry/PolyList.h"
#include "Geometry/PolyVector.h"
#include "PointExpect.h"
#include "PolygonCases.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace zelvane {

namespace {

CadPolygon rectangle(double x0, double y0, double x1, double y1) {
    CadPolygon polygon;
    fill(polygon, {{x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0}});
    return polygon;
}

double totalArea(PolyList const& list) {
    double sum = 0.0;
    for (CadPolygon const* polygon : list)
        sum += polygon->getArea(true, false);
    return sum;
}

} // namespace

TEST(CadPolygonSplitTest, SplitByLine) {
    struct Case {
        char const* name;
        CadPolygon polygon;
        LinearEquation line;
        std::size_t rightCount, leftCount;
        double rightArea, leftArea;
        int leftHoles;
    };
    CadPolygon holeAbove = rectangle(0, 0, 4, 4);
    holeAbove.addHole(new CadPolygon(rectangle(1, 2.5, 2, 3.5)))->reverse();
    CadPolygon holeCut = rectangle(0, 0, 4, 4);
    holeCut.addHole(new CadPolygon(rectangle(1, 1, 3, 3)))->reverse();
    CadPolygon comb;
    fill(comb, {{0, 0, 0}, {4, 0, 0}, {4, 3, 0}, {3, 1, 0}, {2, 3, 0}, {1, 1, 0}, {0, 3, 0}});
    std::vector<Case> cases = {
        {"square across", rectangle(0, 0, 2, 2), LinearEquation(0.0, CadPoint(0, 1, 0)), 1, 1, 2, 2, 0},
        {"square turned", rectangle(0, 0, 2, 2), LinearEquation(kPi, CadPoint(0, 1, 0)), 1, 1, 2, 2, 0},
        {"corner touch", rectangle(0, 0, 2, 2), LinearEquation(CadPoint(0, 0, 0), 1, -1), 0, 1, 0, 4, 0},
        {"along an edge", rectangle(0, 0, 2, 2), LinearEquation(0.0, CadPoint(0, 0, 0)), 0, 1, 0, 4, 0},
        {"hole above", holeAbove, LinearEquation(0.0, CadPoint(0, 2, 0)), 1, 1, 8, 7, 1},
        {"through hole", holeCut, LinearEquation(0.0, CadPoint(0, 2, 0)), 1, 1, 6, 6, 0},
        {"comb teeth", comb, LinearEquation(0.0, CadPoint(0, 2, 0)), 1, 3, 7, 1, 0},
        {"comb through vertices", comb, LinearEquation(0.0, CadPoint(0, 1, 0)), 1, 3, 4, 4, 0},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        PolyList right, left;
        c.polygon.splitWith(c.line, &right, &left);
        EXPECT_EQ(right.size(), c.rightCount);
        EXPECT_EQ(left.size(), c.leftCount);
        EXPECT_NEAR(totalArea(right), c.rightArea, 1e-9);
        EXPECT_NEAR(totalArea(left), c.leftArea, 1e-9);
        int holes = 0;
        for (CadPolygon const* piece : left) {
            holes += piece->getHoleCount();
            EXPECT_TRUE(piece->isValid(true));
        }
        EXPECT_EQ(holes, c.leftHoles);
        PolyList onlyRight;
        c.polygon.splitWith(c.line, &onlyRight, nullptr);
        EXPECT_EQ(onlyRight.size(), c.rightCount);
    }
}

TEST(CadPolygonSplitTest, SplitByPolygon) {
    struct Case {
        char const* name;
        CadPolygon a, b;
        std::size_t insideCount, outsideCount;
        double insideArea, outsideArea;
    };
    CadPolygon framed = rectangle(0, 0, 10, 10);
    framed.addHole(new CadPolygon(rectangle(2, 2, 4, 4)))->reverse();
    // A second hole lies inside the cutting square, away from every crossing: it stays a hole of
    // the inside piece and is no hole of the remainder.
    CadPolygon twoHoles(framed);
    twoHoles.addHole(new CadPolygon(rectangle(4.5, 4.5, 4.8, 4.8)))->reverse();
    CadPolygon ring = rectangle(0, 0, 4, 4);
    ring.addHole(new CadPolygon(rectangle(1, 1, 3, 3)))->reverse();
    std::vector<Case> cases = {
        {"disjoint", rectangle(0, 0, 1, 1), rectangle(2, 0, 3, 1), 0, 1, 0, 1},
        {"inside", rectangle(1, 1, 2, 2), rectangle(0, 0, 4, 4), 1, 0, 1, 0},
        {"enclosing", rectangle(0, 0, 4, 4), rectangle(1, 1, 2, 2), 1, 1, 1, 15},
        {"shared edge", rectangle(0, 0, 1, 1), rectangle(1, 0, 2, 1), 0, 1, 0, 1},
        {"corner overlap", rectangle(0, 0, 2, 2), rectangle(1, 1, 3, 3), 1, 1, 1, 3},
        {"vertex touch", rectangle(0, 0, 1, 1), rectangle(1, 1, 2, 2), 0, 1, 0, 1},
        {"equal", rectangle(0, 0, 1, 1), rectangle(0, 0, 1, 1), 1, 0, 1, 0},
        {"across a hole", framed, rectangle(3, 3, 5, 5), 1, 1, 3, 93},
        {"hole inside the cut", twoHoles, rectangle(3, 3, 5, 5), 1, 1, 2.91, 93},
        {"other has a hole", rectangle(-1, 1.5, 5, 2.5), ring, 2, 3, 2, 4},
        {"half over", rectangle(0, 0, 2, 2), rectangle(1, -1, 3, 3), 1, 1, 2, 2},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        PolyList inside, outside;
        c.a.splitWith(c.b, &inside, &outside);
        EXPECT_EQ(inside.size(), c.insideCount);
        EXPECT_EQ(outside.size(), c.outsideCount);
        EXPECT_NEAR(totalArea(inside), c.insideArea, 1e-9);
        EXPECT_NEAR(totalArea(outside), c.outsideArea, 1e-9);
        for (CadPolygon const* piece : inside)
            EXPECT_TRUE(piece->isValid(false));
        PolyList none;
        c.a.splitWith(c.b, nullptr, &none);
        EXPECT_EQ(none.size(), c.outsideCount);
    }
}

TEST(CadPolygonSplitTest, ArcsAndTouchingHoles) {
    // A disc of two half-circle edges, cut through its centre and off-centre.
    CadPolygon disc;
    disc.push_back(new PolyPoint(CadPoint(1, 0, 0), kPi, 0));
    disc.push_back(new PolyPoint(CadPoint(-1, 0, 0), kPi, 0));
    struct Case {
        double offset;
        std::size_t pieces;
    };
    for (Case const& c : {Case{0.0, 1}, Case{0.5, 1}, Case{-0.25, 1}}) {
        SCOPED_TRACE(c.offset);
        PolyList right, left;
        disc.splitWith(LinearEquation(0.3, CadPoint(0, c.offset, 0)), &right, &left);
        ASSERT_EQ(right.size(), c.pieces);
        ASSERT_EQ(left.size(), c.pieces);
        // The segment cut off at distance h from the centre.
        double h = std::fabs(c.offset * std::cos(0.3));
        double segment = std::acos(h) - h * std::sqrt(1.0 - h * h);
        double smaller = std::min(right.front()->getArea(true, false), left.front()->getArea(true, false));
        EXPECT_NEAR(smaller, segment, 1e-9);
        EXPECT_NEAR(totalArea(right) + totalArea(left), kPi, 1e-9);
        EXPECT_GT(right.front()->getArcCount(true), 0);
    }
    // The disc split by a square across its edge keeps arcs on both sides.
    PolyList inside, outside;
    disc.splitWith(rectangle(0, -2, 2, 2), &inside, &outside);
    ASSERT_EQ(inside.size(), 1U);
    ASSERT_EQ(outside.size(), 1U);
    EXPECT_NEAR(totalArea(inside), kPi / 2.0, 1e-9);
    EXPECT_NEAR(totalArea(outside), kPi / 2.0, 1e-9);

    // A hole touching the outline at one vertex.
    CadPolygon notched = rectangle(0, 0, 4, 4);
    CadPolygon* hole = notched.addHole(nullptr);
    fill(*hole, {{2, 0, 0}, {1, 1, 0}, {3, 1, 0}});
    ASSERT_NEAR(notched.getArea(true, false), 15.0, 1e-9);
    PolyList above, below;
    notched.splitWith(LinearEquation(0.0, CadPoint(0, 2, 0)), &below, &above);
    EXPECT_NEAR(totalArea(below), 7.0, 1e-9);
    EXPECT_NEAR(totalArea(above), 8.0, 1e-9);
    PolyList across, rest;
    notched.splitWith(LinearEquation(0.0, CadPoint(0, 0.5, 0)), &across, &rest);
    EXPECT_NEAR(totalArea(across), 2.0 - 0.25, 1e-9);
    EXPECT_NEAR(totalArea(rest), 13.25, 1e-9);
    PolyList in, out;
    notched.splitWith(rectangle(-1, -1, 5, 2), &in, &out);
    EXPECT_NEAR(totalArea(in), 7.0, 1e-9);
    EXPECT_NEAR(totalArea(out), 8.0, 1e-9);
}

TEST(CadPolygonSplitTest, Predicates) {
    CadPolygon square = rectangle(0, 0, 2, 2);
    EXPECT_TRUE(square.crosses(Line(CadPoint(0, 0, 0), CadPoint(2, 2, 0))));
    EXPECT_TRUE(square.crosses(Line(CadPoint(-1, 1, 0), CadPoint(3, 1, 0))));
    EXPECT_FALSE(square.crosses(Line(CadPoint(0, 0, 0), CadPoint(2, 0, 0))));
    EXPECT_FALSE(square.crosses(Line(CadPoint(3, 0, 0), CadPoint(3, 2, 0))));

    struct Case {
        char const* name;
        CadPolygon a, b;
        bool aEnclosesB, bEnclosesA, overlap;
    };
    CadPolygon holed = rectangle(0, 0, 4, 4);
    holed.addHole(new CadPolygon(rectangle(1, 1, 3, 3)))->reverse();
    std::vector<Case> cases = {
        {"disjoint", rectangle(0, 0, 1, 1), rectangle(2, 2, 3, 3), false, false, false},
        {"equal", rectangle(0, 0, 1, 1), rectangle(0, 0, 1, 1), true, true, true},
        {"shared edge", rectangle(0, 0, 1, 1), rectangle(1, 0, 2, 1), false, false, false},
        {"vertex touch", rectangle(0, 0, 1, 1), rectangle(1, 1, 2, 2), false, false, false},
        {"inner", rectangle(0, 0, 4, 4), rectangle(1, 1, 2, 2), true, false, true},
        {"inner on edge", rectangle(0, 0, 4, 4), rectangle(0, 1, 2, 2), true, false, true},
        {"in the hole", holed, rectangle(1.5, 1.5, 2.5, 2.5), false, false, false},
        {"filling the hole", holed, rectangle(1, 1, 3, 3), false, false, false},
        {"over the hole", holed, rectangle(0.5, 0.5, 3.5, 3.5), false, false, true},
        {"corner overlap", rectangle(0, 0, 2, 2), rectangle(1, 1, 3, 3), false, false, true},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.a.encloses(c.b), c.aEnclosesB);
        EXPECT_EQ(c.b.encloses(c.a), c.bEnclosesA);
        EXPECT_EQ(c.a.overlaps(c.b), c.overlap);
        EXPECT_EQ(c.b.overlaps(c.a), c.overlap);
    }
}

TEST(CadPolygonSplitTest, ResolveSelfIntersect) {
    CadPolygon bowTie;
    fill(bowTie, {{0, 0, 0}, {2, 2, 0}, {2, 0, 0}, {0, 2, 0}});
    PolyList out;
    out.push_back(new CadPolygon(rectangle(5, 5, 6, 6)));
    EXPECT_EQ(bowTie.resolveSelfIntersect(out), 2);
    ASSERT_EQ(out.size(), 3U);
    for (auto it = std::next(out.begin()); it != out.end(); ++it) {
        EXPECT_EQ((*it)->vertSize(), 3);
        EXPECT_NEAR((*it)->getArea(true, false), 1.0, 1e-9);
        EXPECT_TRUE((*it)->isValid(true));
    }

    PolyList none;
    EXPECT_EQ(rectangle(0, 0, 1, 1).resolveSelfIntersect(none), 0);
    EXPECT_TRUE(none.empty());

    CadPolygon repeated = rectangle(0, 0, 1, 1);
    repeated.insert(repeated.begin(), new PolyPoint(CadPoint(0, 1, 0), 0.0, 0));
    EXPECT_EQ(repeated.resolveSelfIntersect(none), 1);
    ASSERT_EQ(none.size(), 1U);
    EXPECT_EQ(none.front()->vertSize(), 4);

    // Two loops touching at one vertex come apart there.
    CadPolygon eight;
    fill(eight, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {2, 1, 0}, {2, 2, 0}, {1, 2, 0}, {1, 1, 0}, {0, 1, 0}});
    PolyList loops;
    EXPECT_EQ(eight.resolveSelfIntersect(loops), 2);
    EXPECT_NEAR(totalArea(loops), 2.0, 1e-9);

    // A figure-eight with a hole in one loop keeps the hole out of that loop.
    CadPolygon holedTie;
    fill(holedTie, {{0, 0, 0}, {4, 4, 0}, {4, 0, 0}, {0, 4, 0}});
    holedTie.addHole(new CadPolygon(rectangle(0.5, 1.5, 1, 2.5)))->reverse();
    PolyList pieces;
    EXPECT_EQ(holedTie.resolveSelfIntersect(pieces), 2);
    EXPECT_NEAR(totalArea(pieces), 8.0 - 0.5, 1e-9);
}

TEST(CadPolygonSplitTest, FacetKeepsChordsNearTheArc) {
    struct Case {
        char const* name;
        CadPoint start;
        PolyPoint end;
    };
    std::vector<Case> cases = {
        {"half circle", CadPoint(1, 0, 0), PolyPoint(CadPoint(-1, 0, 0), kPi, 0)},
        {"clockwise across +X", CadPoint(std::cos(0.5), std::sin(0.5), 0),
         PolyPoint(CadPoint(std::cos(-0.5), std::sin(-0.5), 0), -1.0, 0)},
        {"anticlockwise across +X", CadPoint(std::cos(-0.7), std::sin(-0.7), 0),
         PolyPoint(CadPoint(std::cos(0.4), std::sin(0.4), 0), 1.1, 0)},
        {"large clockwise", CadPoint(5, 0, 0), PolyPoint(CadPoint(-5, 0, 0), -kPi, 0)},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        CadPolygon polygon;
        polygon.push_back(new PolyPoint(c.start, 0.0, 1));
        polygon.push_back(new PolyPoint(c.end));
        polygon.push_back(new PolyPoint(CadPoint(0, 0, 0), 0.0, 2));
        double radius = c.start.lengthTo2D(CadPoint(0, 0, 0));
        double area = polygon.getArea(false, false);
        polygon.facet();
        ASSERT_GT(polygon.vertSize(), 3);
        double step = 2.0 * std::acos(radius / (radius + 0.002));
        step = 2.0 * kPi / (std::trunc(2.0 * kPi / step) + 1.0);
        for (int i = 1; i < polygon.vertSize() - 1; ++i) {
            CadPolygon const& faceted = polygon;
            PolyPoint const& v = faceted[i];
            EXPECT_EQ(v.getSweep(), 0.0);
            EXPECT_NEAR(v.lengthTo2D(CadPoint(0, 0, 0)), radius, 1e-9);
            // Consecutive vertices are at most one step apart, so each chord stays within 0.002.
            CadPoint mid = (faceted[i - 1] + v) / 2.0;
            EXPECT_LE(radius - mid.lengthTo2D(CadPoint(0, 0, 0)), 0.002 + 1e-9);
            if (i > 1 && i < polygon.vertSize() - 2) {
                double angle = std::atan2(v.y(), v.x());
                EXPECT_NEAR(std::remainder(angle, step), 0.0, 1e-9);
            }
        }
        EXPECT_NEAR(polygon.getArea(false, false), area, 0.002 * radius * std::fabs(c.end.getSweep()) + 1e-9);
    }
    // An arc shorter than one step and an arc too tight for the deviation keep their midpoint.
    CadPolygon small;
    small.push_back(new PolyPoint(CadPoint(1, 0, 0), 0.0, 0));
    small.push_back(new PolyPoint(CadPoint(std::cos(0.05), std::sin(0.05), 0), 0.05, 0));
    small.push_back(new PolyPoint(CadPoint(0, 0, 0), 0.0, 0));
    small.facet();
    EXPECT_EQ(small.vertSize(), 4);
    EXPECT_TRUE(near3D(static_cast<CadPolygon const&>(small)[1],
                       CadPoint(std::cos(0.025), std::sin(0.025), 0), 1e-9));
    CadPolygon tiny;
    tiny.push_back(new PolyPoint(CadPoint(0.001, 0, 0), 0.0, 0));
    tiny.push_back(new PolyPoint(CadPoint(-0.001, 0, 0), kPi, 0));
    tiny.push_back(new PolyPoint(CadPoint(0.001, 0, 0), kPi, 0));
    tiny.facet();
    EXPECT_EQ(tiny.vertSize(), 5);
}

TEST(CadPolygonSplitTest, FaceterStraightAndIteration) {
    Faceter straight(CadPoint(0, 0, 0), PolyPoint(CadPoint(10, 0, 0), 0.0, 0), 3.0);
    EXPECT_EQ(straight.getCount(), 4);
    std::vector<double> xs;
    for (Faceter f(straight); f.getIndex() != f.getCount(); ++f)
        xs.push_back(f.getVertex().x());
    EXPECT_EQ(xs, (std::vector<double>{0, 3, 6, 9}));
    Faceter copy = straight++;
    EXPECT_EQ(copy.getIndex(), 0);
    EXPECT_EQ(straight.getIndex(), 1);
    Faceter end(straight);
    for (int i = 0; i < 10; ++i)
        ++end;
    EXPECT_EQ(end.getIndex(), end.getCount());
    EXPECT_NEAR(end.getVertex().x(), 10.0, 1e-12);
}

TEST(CadPolygonSplitTest, Optimise) {
    CadPolygon extra;
    fill(extra, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}, {0, 2, 0}});
    CadPolygon kept(extra);
    extra.optimise(true);
    EXPECT_EQ(extra.vertSize(), 4);
    kept.optimise(false);
    EXPECT_EQ(kept.vertSize(), 5);
    // Every vertex in one place: stops at two rather than emptying the polygon.
    CadPolygon collapsed;
    fill(collapsed, {{1, 1, 0}, {1, 1, 0}, {1, 1, 0}, {1, 1, 0}});
    collapsed.optimise(true);
    EXPECT_EQ(collapsed.vertSize(), 2);
    CadPolygon line;
    fill(line, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}});
    line.optimise(true);
    EXPECT_EQ(line.vertSize(), 2);
}

} // namespace zelvane
