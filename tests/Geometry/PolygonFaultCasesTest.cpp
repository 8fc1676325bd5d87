// Small named polygons that once came out wrong: repeated vertices, vertices a hair off the line or
// an edge, projects far from the origin, millimetre details and arcs on the cutting line.
#include "Geometry/CadPolygon.h"
#include "Geometry/LinearEquation.h"
#include "Geometry/PolyList.h"
#include "Geometry/PolyVector.h"
#include "PointExpect.h"
#include "PolygonCases.h"

#include <gtest/gtest.h>

#include <boost/geometry/geometries/multi_polygon.hpp>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace zelvane {

namespace {

double totalArea(PolyList const& list) {
    double sum = 0.0;
    for (CadPolygon const* polygon : list)
        sum += polygon->getArea(true, false);
    return sum;
}

Contour square(double x0, double y0, double side) {
    return {{x0, y0, 0}, {x0 + side, y0, 0}, {x0 + side, y0 + side, 0}, {x0, y0 + side, 0}};
}

} // namespace

TEST(PolygonFaultCasesTest, SplitByLine) {
    struct Case {
        std::string name;
        Contour outline;
        LinearEquation line;
        std::size_t rightCount, leftCount;
        double rightArea, leftArea;
    };
    double const c7 = 1e7 + 500.0;
    double const c6 = 1e6 + 500.0;
    std::vector<Case> const cases = {
        {"repeated vertex on the cut",
         {{0, 0, 0}, {10, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}},
         LinearEquation(CadPoint(10, 0, 0), -1, 1),
         1,
         1,
         50,
         50},
        {"two vertices within the tolerance of the line",
         {{0, 0, 0}, {10, 0, 0}, {10, 5, 0}, {10, 5 + 8e-6, 0}, {10, 10, 0}, {0, 10, 0}},
         LinearEquation(0.0, CadPoint(0, 5, 0)),
         1,
         1,
         50,
         50},
        {"vertex pushed 1e-6 off the edge it cuts",
         {{0, 0, 0}, {5, 1e-6, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}},
         LinearEquation(kPi / 2, CadPoint(5, 0, 0)),
         1,
         1,
         50 - 2.5e-6,
         50 - 2.5e-6},
        {"1000 m square at 1e7 through its centre", square(1e7, 1e7, 1000),
         LinearEquation(CadPoint(c7, c7, 0), 1, 1), 1, 1, 500000, 500000},
        {"1000 m square at 1e6, sloped", square(1e6, 1e6, 1000), LinearEquation(0.3, CadPoint(c6, c6, 0)), 1,
         1, 500000, 500000},
        {"2 mm square", square(0, 0, 0.002), LinearEquation(0.0, CadPoint(0, 0.001, 0)), 1, 1, 2e-6, 2e-6},
        {"half-disc above the line",
         {{-1, 0, kPi}, {1, 0, 0}},
         LinearEquation(0.0, CadPoint()),
         0,
         1,
         0,
         kPi / 2},
        {"half-disc below the line",
         {{1, 0, kPi}, {-1, 0, 0}},
         LinearEquation(0.0, CadPoint()),
         1,
         0,
         kPi / 2,
         0},
        {"arc bulging away from the line",
         {{-1, -1, 0}, {1, -1, 0}, {1, 0, 0}, {-1, 0, kPi}},
         LinearEquation(0.0, CadPoint()),
         1,
         1,
         2,
         kPi / 2},
        {"half-disc cut across",
         {{-1, 0, kPi}, {1, 0, 0}},
         LinearEquation(kPi / 2, CadPoint()),
         1,
         1,
         kPi / 4,
         kPi / 4},
    };
    for (Case const& c : cases) {
        for (bool reverse : {false, true}) {
            SCOPED_TRACE(c.name + (reverse ? " reversed" : ""));
            auto polygon = build(PolygonCase{c.name, c.outline, {}}, reverse, false);
            PolyList right, left;
            polygon->splitWith(c.line, &right, &left);
            double scale = c.rightArea + c.leftArea;
            EXPECT_EQ(right.size(), c.rightCount);
            EXPECT_EQ(left.size(), c.leftCount);
            EXPECT_NEAR(totalArea(right), c.rightArea, 1e-9 * scale);
            EXPECT_NEAR(totalArea(left), c.leftArea, 1e-9 * scale);
            for (PolyList const* list : {&right, &left})
                for (CadPolygon const* piece : *list)
                    EXPECT_TRUE(piece->isValid(true));
        }
    }
}

// A star of 500 vertices, at metre and centimetre scale, asked at points level with its vertices
// or a hair off them: every answer is Boost.Geometry's.
TEST(PolygonFaultCasesTest, PositionsOnALongOutline) {
    for (double scale : {1.0, 0.01}) {
        SCOPED_TRACE(scale);
        std::mt19937 rng(2701);
        std::uniform_real_distribution<double> radius(0.9, 1.1);
        std::uniform_real_distribution<double> across(-1.2, 1.2);
        PolygonCase star{"star", {}, {}};
        int const n = 500;
        for (int i = 0; i < n; ++i) {
            double a = 2.0 * kPi * i / n;
            double r = scale * radius(rng);
            star.outline.push_back({r * std::cos(a), r * std::sin(a), 0});
        }
        auto polygon = build(star, false, false);
        BoostPolygon oracle = toBoost(star, false);
        int checked = 0;
        for (int i = 0; i < n; i += 2) {
            for (double dy : {0.0, 3e-6, -3e-6, 1.1e-5}) {
                CadPoint p(scale * across(rng), star.outline[std::size_t(i)].y + dy, 0);
                BoostPoint q(p.x(), p.y());
                if (distanceToBoundary(oracle, q) < 2e-5)
                    continue;
                ++checked;
                CadPoint::Pos expected = bg::within(q, oracle) ? CadPoint::inside : CadPoint::outside;
                ASSERT_EQ(polygon->positionOf(p), expected) << p;
            }
        }
        EXPECT_GT(checked, 800);
    }
}

// A 2 mm square has an area and a direction; one listed backwards runs clockwise.
TEST(PolygonFaultCasesTest, SmallPolygonsKeepAreaAndDirection) {
    struct Case {
        char const* name;
        double side;
        double offset;
    };
    for (Case const& c : {Case{"2 mm", 0.002, 0.0}, Case{"0.1 mm", 1e-4, 0.0},
                          Case{"2 mm at 1e6", 0.002, 1e6}, Case{"1000 m at 1e7", 1000.0, 1e7}}) {
        SCOPED_TRACE(c.name);
        auto polygon = build(PolygonCase{c.name, square(c.offset, c.offset, c.side), {}}, false, false);
        // The side as the coordinates hold it.
        double side = (c.offset + c.side) - c.offset;
        EXPECT_NEAR(polygon->getArea(false, true), side * side, 1e-9 * side * side);
        EXPECT_EQ(polygon->getDirection(), PolyPoint::anticlockwise);
        polygon->reverse();
        EXPECT_EQ(polygon->getDirection(), PolyPoint::clockwise);
    }
    // A sliver narrower than the tolerance has no area.
    auto sliver = build(PolygonCase{"sliver", {{0, 0, 0}, {10, 0, 0}, {10, 5e-7, 0}}, {}}, false, false);
    EXPECT_EQ(sliver->getArea(false, false), 0.0);
}

// Points level with a vertex, or a hair above or below it, on a long outline whose neighbouring
// vertices lie just over the tolerance apart: each is counted once.
TEST(PolygonFaultCasesTest, PositionsLevelWithVertices) {
    struct Case {
        char const* name;
        double scale;
    };
    for (Case const& c : {Case{"metres", 1.0}, Case{"centimetres", 0.01}}) {
        SCOPED_TRACE(c.name);
        // A saw of teeth 1.2e-5 apart in height, so that neighbouring vertices lie just over the
        // tolerance from each other.
        PolygonCase saw{"saw", {{0, 0, 0}}, {}};
        for (int i = 0; i < 200; ++i) {
            saw.outline.push_back({c.scale * (1.0 + 0.01 * i), c.scale * (0.5 * (i % 2)) + 1.2e-5 * i, 0});
        }
        saw.outline.push_back({c.scale * 3.0, c.scale * 2.0, 0});
        saw.outline.push_back({0, c.scale * 2.0, 0});
        auto polygon = build(saw, false, false);
        BoostPolygon oracle = toBoost(saw, false);
        int checked = 0;
        for (std::size_t i = 0; i < saw.outline.size(); i += 2) {
            Vertex const& v = saw.outline[i];
            for (double dy : {0.0, 1e-7, -1e-7, 6e-6, -6e-6, 3e-5}) {
                for (double dx : {-0.3, 0.05}) {
                    CadPoint p(v.x + dx * c.scale, v.y + dy, 0);
                    BoostPoint q(p.x(), p.y());
                    if (distanceToBoundary(oracle, q) < 1e-4)
                        continue;
                    ++checked;
                    CadPoint::Pos expected = bg::within(q, oracle) ? CadPoint::inside : CadPoint::outside;
                    ASSERT_EQ(polygon->positionOf(p), expected) << p;
                }
            }
        }
        EXPECT_GT(checked, 300);
    }
}

} // namespace zelvane

namespace zelvane {

namespace {

// A figure of eight of n vertices: two loops about (-1, 0) and (1, 0) meeting at the origin, each
// edge through it with collinear neighbours.
Contour figureEight(int n) {
    Contour contour;
    int half = n / 2;
    for (int loop = 0; loop < 2; ++loop) {
        double cx = loop == 0 ? 1.0 : -1.0;
        for (int i = 0; i < half; ++i) {
            double a = kPi + 2.0 * kPi * (i + 0.5) / half;
            double x = cx + std::cos(a) * (loop == 0 ? 1.0 : -1.0);
            contour.push_back({x, std::sin(a), 0});
        }
    }
    return contour;
}

} // namespace

TEST(PolygonFaultCasesTest, SelfIntersections) {
    struct Case {
        std::string name;
        Contour outline;
        bool simple;
        int pieces;
        double area; // the pieces' areas added up
    };
    double const c = std::cos(0.5), s = std::sin(0.5);
    std::vector<Case> const cases = {
        {"square", square(0, 0, 2), true, 0, 0},
        {"bow tie", {{0, 0, 0}, {2, 2, 0}, {2, 0, 0}, {0, 2, 0}}, false, 2, 2},
        {"bow tie with collinear neighbours",
         {{0, 0, 0},
          {0.5, 0.5, 0},
          {1.5, 1.5, 0},
          {2, 2, 0},
          {2, 0, 0},
          {1.5, 0.5, 0},
          {0.5, 1.5, 0},
          {0, 2, 0}},
         false,
         2,
         2},
        {"bow tie crossing at a vertex",
         {{0, 0, 0}, {1, 1, 0}, {2, 2, 0}, {2, 0, 0}, {0, 2, 0}},
         false,
         2,
         2},
        {"repeated first vertex", {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}, {0, 0, 0}}, true, 1, 4},
        {"figure of eight, 1000 vertices", figureEight(1000), false, 2, 0},
        // Spikes that run out from the square's corner and back 1e-6 beside themselves.
        {"spike folding back over itself",
         {{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {4.5, 4, 0}, {4, 4 + 1e-6, 0}, {0, 4, 0}},
         false,
         1,
         16},
        {"spike 1.5e-5 long",
         {{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {4 + 1.5e-5, 4, 0}, {4, 4 + 1e-6, 0}, {0, 4, 0}},
         false,
         1,
         16},
        {"spike 3e-5 long",
         {{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {4 + 3e-5, 4, 0}, {4, 4 + 1e-6, 0}, {0, 4, 0}},
         false,
         1,
         16},
        {"vertex 5e-6 off the line of its neighbours",
         {{0, 0, 0}, {2, 5e-6, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}},
         true,
         0,
         0},
        // Triangles whose sides run within 5e-6 or 3e-5 of each other, one of them sloped.
        {"sliver 5e-6 high", {{0, 0, 0}, {3, 0, 0}, {3 - 2e-5, 5e-6, 0}}, false, 0, 0},
        {"sliver 3e-5 high", {{0, 0, 0}, {3, 0, 0}, {3 - 2e-5, 3e-5, 0}}, true, 0, 0},
        {"sloped sliver 5e-6 high",
         {{0, 0, 0}, {3 * c, 3 * s, 0}, {1.5 * c - 5e-6 * s, 1.5 * s + 5e-6 * c, 0}},
         false,
         0,
         0},
        {"sloped sliver 3e-5 high",
         {{0, 0, 0}, {3 * c, 3 * s, 0}, {1.5 * c - 3e-5 * s, 1.5 * s + 3e-5 * c, 0}},
         true,
         0,
         0},
        // A notch from the top side whose tip comes near the bottom side.
        {"notch reaching 5e-6 short of the far side",
         {{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {2.5, 4, 0}, {2, 5e-6, 0}, {1.5, 4, 0}, {0, 4, 0}},
         false,
         2,
         0},
        {"notch reaching 3e-5 short of the far side",
         {{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {2.5, 4, 0}, {2, 3e-5, 0}, {1.5, 4, 0}, {0, 4, 0}},
         true,
         0,
         0},
        {"notch crossing the far side by 5e-6",
         {{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {2.5, 4, 0}, {2, -5e-6, 0}, {1.5, 4, 0}, {0, 4, 0}},
         false,
         2,
         0},
        {"notch at 1e6 reaching 5e-6 short of the far side",
         {{1e6, 1e6, 0},
          {1e6 + 4, 1e6, 0},
          {1e6 + 4, 1e6 + 4, 0},
          {1e6 + 2.5, 1e6 + 4, 0},
          {1e6 + 2, 1e6 + 5e-6, 0},
          {1e6 + 1.5, 1e6 + 4, 0},
          {1e6, 1e6 + 4, 0}},
         false,
         2,
         0},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        CadPolygon polygon;
        fill(polygon, c.outline);
        if (c.name != "repeated first vertex") {
            EXPECT_EQ(polygon.isValid(true), c.simple);
        }
        PolyList pieces;
        EXPECT_EQ(polygon.resolveSelfIntersect(pieces), c.pieces);
        ASSERT_EQ(int(pieces.size()), c.pieces);
        double area = 0.0;
        for (CadPolygon const* piece : pieces) {
            EXPECT_TRUE(piece->isValid(true));
            area += piece->getArea(false, false);
        }
        if (c.area > 0.0) {
            EXPECT_NEAR(area, c.area, 1e-9);
        }
    }
}

} // namespace zelvane

namespace zelvane {

namespace {

struct SplitAreas {
    double inside, outside;
};

// The areas Boost.Geometry finds inside and outside the cutter, on chords within 1e-7 of every arc.
SplitAreas oracleSplit(PolygonCase const& subject, PolygonCase const& cutter) {
    using Multi = bg::model::multi_polygon<BoostPolygon>;
    BoostPolygon a = toBoost(subject, true, 1e-7);
    BoostPolygon b = toBoost(cutter, true, 1e-7);
    Multi inside, outside;
    bg::intersection(a, b, inside);
    bg::difference(a, b, outside);
    return {bg::area(inside), bg::area(outside)};
}

} // namespace

TEST(PolygonFaultCasesTest, SplitByPolygon) {
    struct Case {
        std::string name;
        PolygonCase subject;
        PolygonCase cutter;
        std::size_t insideCount, outsideCount;
        double insideArea, outsideArea;
        // Relative to the whole area: the chords of the oracle's arcs lose a little of it.
        double areaTol = 1e-9;
    };
    PolygonCase const& arcs = sevenArcs();
    PolygonCase turned{"turned", arcsTurned(arcs.outline), {}};
    // Its edge from the last vertex to the first is the chord of the outline's arc between them.
    PolygonCase everyOther{"every other vertex", throughVertices(arcs.outline, {0, 2, 4, 6}), {}};
    PolygonCase fourOfSeven{"four vertices", throughVertices(arcs.outline, {0, 4, 5, 6}), {}};
    SplitAreas const byEveryOther = oracleSplit(arcs, everyOther);
    SplitAreas const turnedByEveryOther = oracleSplit(turned, everyOther);
    SplitAreas const byFour = oracleSplit(arcs, fourOfSeven);
    // The square (0,0)..(10,10) with the hole (4,4)..(6,6), listed anticlockwise like every contour
    // here.
    PolygonCase framed{"framed", square(0, 0, 10), {square(4, 4, 2)}};
    std::vector<Case> const cases = {
        // It touches the outline only at the corner (10, 10) and crosses the hole: the outline must
        // stay, and the hole loses the unit the cutter covers.
        {"cutter touching the outline at a vertex and crossing the hole", framed,
         PolygonCase{"cutter", {{10, 10, 0}, {5, 9, 0}, {5, 5, 0}, {9, 5, 0}}, {}}, 1, 1, 20 - 1,
         100 - 4 - 19},
        {"cutter along an outline edge and across the hole", framed,
         PolygonCase{"cutter", {{10, 0, 0}, {10, 10, 0}, {5, 5, 0}}, {}}, 1, 1, 25 - 1, 100 - 4 - 24},
        {"vertex 5e-6 off a shared edge",
         PolygonCase{
             "subject", {{0, 0, 0}, {10, 0, 0}, {10, 5, 0}, {10 + 5e-6, 6, 0}, {10, 10, 0}, {0, 10, 0}}, {}},
         PolygonCase{"cutter", square(10, 0, 10), {}}, 0, 1, 0, 100 + 5e-6 * 5 / 2},
        {"cutter vertex 5e-6 inside a shared edge", PolygonCase{"subject", square(0, 0, 10), {}},
         PolygonCase{"cutter", {{10, 0, 0}, {20, 0, 0}, {20, 10, 0}, {10, 10, 0}, {10 - 5e-6, 5, 0}}, {}}, 0,
         1, 0, 100},
        // The hole's tip pokes just over the tolerance across the cutter's lower edge: its short
        // edges run within the tolerance of that edge all along.
        {"hole tip just across the cutter's edge",
         PolygonCase{"subject", square(0, 0, 10), {{{4, 4, 0}, {6, 4, 0}, {5, 5 + 1.05e-5, 0}}}},
         PolygonCase{"cutter", {{0, 5, 0}, {10, 5, 0}, {10, 10, 0}, {0, 10, 0}}, {}}, 1, 1, 50, 49 - 1.05e-5},
        {"repeated vertices on both",
         PolygonCase{"subject", {{0, 0, 0}, {4, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}}, {}},
         PolygonCase{"cutter", {{2, 2, 0}, {6, 2, 0}, {6, 6, 0}, {6, 6, 0}, {2, 6, 0}}, {}}, 1, 1, 4, 12},
        {"equal squares", PolygonCase{"subject", square(0, 0, 2), {}},
         PolygonCase{"cutter", square(0, 0, 2), {}}, 1, 0, 4, 0},
        {"1000 m squares at 1e7 overlapping by half", PolygonCase{"subject", square(1e7, 1e7, 1000), {}},
         PolygonCase{"cutter", square(1e7 + 500, 1e7, 1000), {}}, 1, 1, 500000, 500000},
        {"2 mm squares overlapping by a quarter", PolygonCase{"subject", square(0, 0, 0.002), {}},
         PolygonCase{"cutter", square(0.001, 0.001, 0.002), {}}, 1, 1, 1e-6, 3e-6},
        {"arcs of both signs by the polygon of every other vertex", arcs, everyOther, 1, 4,
         byEveryOther.inside, byEveryOther.outside, 1e-7},
        {"arcs turned the other way by the polygon of every other vertex", turned, everyOther, 1, 3,
         turnedByEveryOther.inside, turnedByEveryOther.outside, 1e-7},
        {"arcs of both signs by the polygon of four vertices", arcs, fourOfSeven, 1, 3, byFour.inside,
         byFour.outside, 1e-7},
    };
    for (Case const& c : cases) {
        for (bool reverse : {false, true}) {
            SCOPED_TRACE(c.name + (reverse ? " reversed" : ""));
            auto subject = build(c.subject, reverse, true);
            auto cutter = build(c.cutter, !reverse, true);
            PolyList inside, outside;
            subject->splitWith(*cutter, &inside, &outside);
            double scale = c.insideArea + c.outsideArea;
            EXPECT_EQ(inside.size(), c.insideCount);
            EXPECT_EQ(outside.size(), c.outsideCount);
            EXPECT_NEAR(totalArea(inside), c.insideArea, c.areaTol * scale);
            EXPECT_NEAR(totalArea(outside), c.outsideArea, c.areaTol * scale);
            // Every outline is simple (a hole may touch it at a vertex).
            for (PolyList const* list : {&inside, &outside}) {
                for (CadPolygon const* piece : *list) {
                    CadPolygon outline(*piece);
                    outline.setHoles(nullptr);
                    EXPECT_TRUE(outline.isValid(true));
                }
            }
        }
    }
}

} // namespace zelvane

namespace zelvane {

// Polygons without area are cut by nothing and go whole, as they are, to one side.
TEST(PolygonFaultCasesTest, DegenerateOperands) {
    struct Case {
        char const* name;
        Contour subject;
        Contour cutter;
        std::size_t inside, outside;
        std::size_t linePieces; // cut by the line y = 1
    };
    std::vector<Case> const cases = {
        {"flat cutter", square(0, 0, 2), {{-1, 1, 0}, {3, 1, 0}, {1, 1, 0}}, 0, 1, 2},
        {"cutter of one point", square(0, 0, 2), {{1, 1, 0}, {1, 1, 0}, {1, 1, 0}}, 0, 1, 2},
        {"flat subject", {{0, 0, 0}, {4, 0, 0}, {2, 0, 0}}, square(1, -1, 2), 0, 1, 1},
        {"empty subject", {}, square(1, -1, 2), 0, 1, 1},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        CadPolygon subject, cutter;
        fill(subject, c.subject);
        fill(cutter, c.cutter);
        PolyList inside, outside;
        subject.splitWith(cutter, &inside, &outside);
        ASSERT_EQ(inside.size(), c.inside);
        ASSERT_EQ(outside.size(), c.outside);
        EXPECT_TRUE(outside.front()->isEqual2D(subject));
        PolyList right, left;
        subject.splitWith(LinearEquation(0.0, CadPoint(0, 1, 0)), &right, &left);
        EXPECT_EQ(right.size() + left.size(),
                  c.subject.size() >= 3 && c.name != std::string("flat subject") ? 2U : 1U);
    }
}

} // namespace zelvane
