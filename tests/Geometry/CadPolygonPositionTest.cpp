#include "Geometry/CadPolygon.h"

#include "Geometry/CadArc.h"
#include "Geometry/Cube.h"
#include "Geometry/IntersectList.h"
#include "Geometry/Line.h"
#include "Geometry/LinearEquation.h"
#include "Geometry/PolyEdge.h"
#include "PointExpect.h"
#include "PolygonCases.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace zelvane {
namespace {

CadPoint::Pos oraclePosition(BoostPolygon const& polygon, double x, double y) {
    BoostPoint p(x, y);
    if (bg::within(p, polygon))
        return CadPoint::inside;
    return bg::covered_by(p, polygon) ? CadPoint::along : CadPoint::outside;
}

// A grid on quarter steps puts points on vertices, on edges and on the lines through vertices, so
// that many rays pass exactly through vertices.
TEST(CadPolygonPositionTest, PositionsAgainstBoost) {
    forEachStraightVariant([&](PolygonCase const&, bool, bool, std::unique_ptr<CadPolygon> const& polygon,
                               BoostPolygon const& oracle) {
        int mismatches = 0;
        for (double x = -1.5; x <= 4.5; x += 0.25) {
            for (double y = -1.5; y <= 4.5; y += 0.25) {
                CadPoint::Pos expected = oraclePosition(oracle, x, y);
                CadPoint::Pos actual = polygon->positionOf(CadPoint(x, y, 0));
                if (actual != expected && ++mismatches <= 5)
                    ADD_FAILURE() << "(" << x << ", " << y << "): " << actual << " not " << expected;
                EXPECT_EQ(polygon->encloses(CadPoint(x, y, 0)), expected != CadPoint::outside);
            }
        }
    });
}

// Contours of many edges: a staircase whose edge directions repeat, and a jagged star with a hole,
// checked on a grid away from the boundary and at every vertex and edge midpoint.
TEST(CadPolygonPositionTest, ManyEdgesAgainstBoost) {
    PolygonCase stairs{"staircase", {{0, 0, 0}}, {}};
    for (int i = 0; i < 40; ++i) {
        stairs.outline.push_back({(i + 1) * 0.1, i * 0.1, 0});
        stairs.outline.push_back({(i + 1) * 0.1, (i + 1) * 0.1, 0});
    }
    stairs.outline.push_back({0, 4, 0});
    PolygonCase star{"star", {}, {{}}};
    for (int i = 0; i < 150; ++i) {
        double a = 2.0 * kPi * i / 150.0;
        double r = i % 2 == 0 ? 2.0 : 1.6 + 0.2 * std::sin(7.0 * a);
        star.outline.push_back({2.0 + r * std::cos(a), 2.0 + r * std::sin(a), 0});
    }
    for (int i = 0; i < 70; ++i) {
        double a = 2.0 * kPi * i / 70.0;
        double r = i % 2 == 0 ? 0.8 : 0.5;
        star.holes[0].push_back({2.0 + r * std::cos(a), 2.0 + r * std::sin(a), 0});
    }
    for (PolygonCase const& c : {stairs, star}) {
        for (bool reverse : {false, true}) {
            SCOPED_TRACE(c.name + (reverse ? " reversed" : ""));
            auto polygon = build(c, reverse, true);
            BoostPolygon oracle = toBoost(c, true);
            int mismatches = 0;
            for (double x = -0.5; x <= 4.5; x += 0.13) {
                for (double y = -0.5; y <= 4.5; y += 0.13) {
                    BoostPoint p(x, y);
                    if (distanceToBoundary(oracle, p) < 1e-3)
                        continue;
                    CadPoint::Pos expected = oraclePosition(oracle, x, y);
                    CadPoint::Pos actual = polygon->positionOf(CadPoint(x, y, 0));
                    if (actual != expected && ++mismatches <= 5)
                        ADD_FAILURE() << "(" << x << ", " << y << "): " << actual << " not " << expected;
                }
            }
            for (int k = 0; k <= polygon->getHoleCount(); ++k) {
                CadPolygon const& contour = polygon->getShape(k);
                for (int j = 0; j < contour.vertSize(); ++j) {
                    CadPoint a = contour[j];
                    CadPoint b = contour[j + 1];
                    CadPoint middle((a.x() + b.x()) / 2.0, (a.y() + b.y()) / 2.0, 0.0);
                    EXPECT_EQ(polygon->positionOf(a), CadPoint::along) << k << " " << j;
                    EXPECT_EQ(polygon->positionOf(middle), CadPoint::along) << k << " " << j;
                }
            }
        }
    }
}

// Crossings of segments with the boundary (holes included), each counted once.
TEST(CadPolygonPositionTest, CrossingsAgainstBoost) {
    struct Segment {
        double x1, y1, x2, y2;
    };
    Segment const segments[] = {{-1.3, 0.4, 4.7, 2.9}, {0.6, -1.2, 2.2, 4.1}, {-0.7, 3.6, 4.4, -0.3},
                                {0.1, 0.2, 1.9, 0.7},  {-2, 1.37, 5, 1.37},   {3.3, -2, 3.3, 5}};
    using BoostSegment = bg::model::linestring<BoostPoint>;
    forEachStraightVariant([&](PolygonCase const&, bool, bool, std::unique_ptr<CadPolygon> const& polygon,
                               BoostPolygon const& oracle) {
        for (Segment const& g : segments) {
            SCOPED_TRACE(testing::Message() << g.x1 << " " << g.y1 << " " << g.x2 << " " << g.y2);
            IntersectList list(Intercept(CadPoint::Pos(0x0E)), Intercept(CadPoint::Pos(0x0E)));
            polygon->intersectionWith(Line(CadPoint(g.x1, g.y1, 0), CadPoint(g.x2, g.y2, 0)), list);
            list.removeDuplicates(1e-9);
            BoostSegment segment{BoostPoint(g.x1, g.y1), BoostPoint(g.x2, g.y2)};
            std::vector<BoostPoint> expected;
            for (std::size_t k = 0; k <= oracle.inners().size(); ++k) {
                BoostSegment ring;
                auto const& source = k == 0 ? oracle.outer() : oracle.inners()[k - 1];
                ring.assign(source.begin(), source.end());
                std::vector<BoostPoint> points;
                bg::intersection(segment, ring, points);
                expected.insert(expected.end(), points.begin(), points.end());
            }
            ASSERT_EQ(list.size(), expected.size());
            for (BoostPoint const& e : expected) {
                bool found = false;
                for (InterPoint const* p : list)
                    found = found || p->lengthTo2D(CadPoint(e.x(), e.y(), 0)) < 1e-9;
                EXPECT_TRUE(found) << e.x() << ", " << e.y();
            }
        }
    });
}

TEST(CadPolygonPositionTest, RaysThroughVertices) {
    auto square = build(straightCases()[0], false, false);
    EXPECT_EQ(square->positionOf(CadPoint(0.5, 0.5, 0)), CadPoint::inside);
    EXPECT_EQ(square->positionOf(CadPoint(0.5, 0, 0)), CadPoint::along);
    EXPECT_EQ(square->positionOf(CadPoint(2, 0.5, 0)), CadPoint::outside);
    // The ray runs at pi/4: from (0.25, 0.5) it crosses the top edge once.
    EXPECT_EQ(square->positionOf(CadPoint(0.25, 0.5, 0)), CadPoint::inside);

    // The ray from the centre passes through the hole's corner and the outline's corner.
    auto holey = std::make_unique<CadPolygon>();
    fill(*holey, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
    fill(*holey->addHole(nullptr), {{0.25, 0.25, 0}, {0.25, 0.75, 0}, {0.75, 0.75, 0}, {0.75, 0.25, 0}});
    EXPECT_EQ(holey->positionOf(CadPoint(0.5, 0.5, 0)), CadPoint::outside);
    EXPECT_EQ(holey->positionOf(CadPoint(0.25, 0.5, 0)), CadPoint::along);
    EXPECT_EQ(holey->positionOf(CadPoint(0.1, 0.1, 0)), CadPoint::inside);
    EXPECT_EQ(holey->positionOf(CadPoint(0.9, 0.9, 0)), CadPoint::inside);

    // Through a vertex where the boundary stays on one side (touch) and where it crosses.
    CadPolygon diamond;
    fill(diamond, {{0, -1, 0}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}});
    EXPECT_EQ(diamond.positionOf(CadPoint(-0.5, -0.5 + 1e-3, 0)), CadPoint::inside);
    EXPECT_EQ(diamond.positionOf(CadPoint(-0.9, 0.5, 0)), CadPoint::outside);
    // Its ray runs straight up: through the top vertex, where the boundary crosses it...
    EXPECT_EQ(diamond.positionOf(CadPoint(0, -0.5, 0)), CadPoint::inside);
    // ... and through the right vertex, where the boundary only touches it.
    EXPECT_EQ(diamond.positionOf(CadPoint(1, -0.5, 0)), CadPoint::outside);

    EXPECT_EQ(CadPolygon().positionOf(CadPoint()), CadPoint::outside);
    EXPECT_FALSE(CadPolygon().encloses(CadPoint()));
}

TEST(CadPolygonPositionTest, PositionsNearArcs) {
    // The square (0, 0)..(2, 2) with a half circle about (2, 1) bulging out of its right side.
    CadPolygon bulge;
    fill(bulge, {{0, 0, 0}, {2, 0, 0}, {2, 2, kPi}, {0, 2, 0}});
    double const s = std::sqrt(0.5);
    struct Case {
        char const* name;
        CadPoint point;
        CadPoint::Pos expected;
    };
    Case const cases[] = {
        {"in the bulge", CadPoint(2.9, 1, 0), CadPoint::inside},
        {"on the bulge", CadPoint(3, 1, 0), CadPoint::along},
        {"on the bulge, sloped", CadPoint(2 + s, 1 + s, 0), CadPoint::along},
        {"beside the bulge", CadPoint(2.9, 1.9, 0), CadPoint::outside},
        {"right of the box", CadPoint(3.1, 1, 0), CadPoint::outside},
        {"in the square", CadPoint(1, 1, 0), CadPoint::inside},
        {"just inside the bulge", CadPoint(2 + s * 0.99, 1 - s * 0.99, 0), CadPoint::inside},
        {"just outside the bulge", CadPoint(2 + s * 1.01, 1 - s * 1.01, 0), CadPoint::outside},
        // Its ray at pi/4 only touches the bulge at (2 + s, 1 - s).
        {"tangent ray", CadPoint(2.5, 1.5 - std::sqrt(2.0), 0), CadPoint::outside},
        {"tangent ray, farther back", CadPoint(2.6, 1.6 - std::sqrt(2.0), 0), CadPoint::outside},
    };
    for (bool reverse : {false, true}) {
        CadPolygon polygon(bulge);
        if (reverse)
            polygon.reverse();
        for (Case const& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (reverse ? " reversed" : ""));
            EXPECT_EQ(polygon.positionOf(c.point), c.expected);
        }
    }
    // Points on the chords of arcs of both signs lie inside where the arc bulges out and outside
    // where it bulges in, as Boost.Geometry finds on chords within 1e-5 of the arcs.
    for (bool reverse : {false, true}) {
        PolygonCase const& arcs = sevenArcs();
        auto polygon = build(arcs, reverse, false);
        BoostPolygon oracle = toBoost(arcs, false, 1e-5);
        std::size_t n = arcs.outline.size();
        for (std::size_t j = 0; j < n; ++j) {
            Vertex const& a = arcs.outline[(j + n - 1) % n];
            Vertex const& b = arcs.outline[j];
            for (int k = 1; k < 32; ++k) {
                double f = k / 32.0;
                CadPoint p(a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f, 0);
                BoostPoint q(p.x(), p.y());
                if (distanceToBoundary(oracle, q) < 1e-4)
                    continue;
                SCOPED_TRACE("chord to vertex " + std::to_string(j) + " at " + std::to_string(f) +
                             (reverse ? " reversed" : ""));
                EXPECT_EQ(polygon->positionOf(p),
                          bg::within(q, oracle) ? CadPoint::inside : CadPoint::outside);
            }
        }
    }
    // A disc with a round hole: nothing straight, so the ray runs along +x through the arcs' ends.
    CadPolygon ring;
    fill(ring, {{1, 0, kPi}, {-1, 0, kPi}});
    fill(*ring.addHole(nullptr), {{0.5, 0, -kPi}, {-0.5, 0, -kPi}});
    EXPECT_EQ(ring.positionOf(CadPoint(0.75, 0, 0)), CadPoint::inside);
    EXPECT_EQ(ring.positionOf(CadPoint(-0.75, 0, 0)), CadPoint::inside);
    EXPECT_EQ(ring.positionOf(CadPoint(0, 0, 0)), CadPoint::outside);
    EXPECT_EQ(ring.positionOf(CadPoint(0, 0.7, 0)), CadPoint::inside);
    EXPECT_EQ(ring.positionOf(CadPoint(0, 0.5, 0)), CadPoint::along);
    EXPECT_EQ(ring.positionOf(CadPoint(0.9, 0.9, 0)), CadPoint::outside);
}

TEST(CadPolygonPositionTest, Reflection) {
    auto square = build(straightCases()[0], false, false);
    EXPECT_TRUE(square->isReflection(0, LinearEquation(0.0, CadPoint())));
    EXPECT_TRUE(square->isReflection(0, LinearEquation(CadPoint(), 1, -1)));
    EXPECT_FALSE(square->isReflection(0, LinearEquation(CadPoint(), 1, 1)));
    EXPECT_FALSE(square->isReflection(1, LinearEquation(0.0, CadPoint(0, 0.5, 0))));
    // All vertices on the line.
    CadPolygon flat;
    fill(flat, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});
    EXPECT_TRUE(flat.isReflection(1, LinearEquation(0.0, CadPoint())));
    // A line through the L's reflex corner along the top of its foot enters the polygon there.
    auto l = build(straightCases()[1], false, false);
    EXPECT_FALSE(l->isReflection(3, LinearEquation(kPi / 4, CadPoint(1, 1, 0))));
    EXPECT_TRUE(l->isReflection(3, LinearEquation(-kPi / 4, CadPoint(1, 1, 0))));
    // An arc arriving along the line: its midpoint decides the side; otherwise its tangent.
    CadPolygon cap;
    fill(cap, {{-1, 0, -kPi}, {0, 1, 0}, {1, 0, 0}});
    EXPECT_TRUE(cap.isReflection(0, LinearEquation(kPi / 2, CadPoint(-1, 0, 0))));
    EXPECT_TRUE(cap.isReflection(0, LinearEquation(kPi / 3, CadPoint(-1, 0, 0))));
    EXPECT_FALSE(cap.isReflection(0, LinearEquation(0.0, CadPoint(-1, 0, 0))));
    // Two arcs meeting on the line: the probes along them decide, not the shared far vertex.
    CadPolygon disc;
    fill(disc, {{1, 0, kPi}, {-1, 0, kPi}});
    EXPECT_FALSE(disc.isReflection(0, LinearEquation(0.0, CadPoint())));
    EXPECT_TRUE(disc.isReflection(0, LinearEquation(kPi / 2, CadPoint(1, 0, 0))));
}

TEST(CadPolygonPositionTest, ClosestBoundaryPoint) {
    auto square = build(straightCases()[0], false, false);
    InterPoint p = square->closestPointAlong2D(CadPoint(0.5, -1, 0), false);
    EXPECT_TRUE(near3D(p, CadPoint(0.5, 0, 0)));
    EXPECT_EQ(p.getPosition(InterPoint::first), CadPoint::along);
    EXPECT_EQ(p.getIntercept(InterPoint::first).m_vertex, 1);
    EXPECT_EQ(p.getIntercept(InterPoint::first).m_contour, 0);
    InterPoint corner = square->closestPointAlong2D(CadPoint(1, 0, 0), false);
    EXPECT_TRUE(near3D(corner, CadPoint(1, 0, 0)));
    EXPECT_EQ(corner.getPosition(InterPoint::first), CadPoint::atOrigin);
    EXPECT_EQ(corner.getIntercept(InterPoint::first).m_vertex, 2);
    InterPoint closing = square->closestPointAlong2D(CadPoint(-1, 0.5, 0), false);
    EXPECT_EQ(closing.getIntercept(InterPoint::first).m_vertex, 4);
    EXPECT_TRUE(near3D(closing, CadPoint(0, 0.5, 0)));

    auto holey = build(straightCases()[4], false, true);
    InterPoint inHole = holey->closestPointAlong2D(CadPoint(1.5, 1.4, 0), true);
    EXPECT_TRUE(near3D(inHole, CadPoint(1.5, 1, 0)));
    EXPECT_EQ(inHole.getIntercept(InterPoint::first).m_contour, 1);
    InterPoint outlineOnly = holey->closestPointAlong2D(CadPoint(1.5, 1.4, 0), false);
    EXPECT_TRUE(near3D(outlineOnly, CadPoint(1.5, 0, 0)));

    CadPolygon bulge;
    fill(bulge, {{0, 0, 0}, {2, 0, 0}, {2, 2, kPi}, {0, 2, 0}});
    InterPoint onArc = bulge.closestPointAlong2D(CadPoint(5, 1, 0), false);
    EXPECT_TRUE(near3D(onArc, CadPoint(3, 1, 0), 1e-9));
    EXPECT_EQ(onArc.getIntercept(InterPoint::first).m_vertex, 2);

    InterPoint spatial = square->closestPointAlong3D(CadPoint(0.5, -1, 0), false);
    EXPECT_TRUE(near3D(spatial, CadPoint(0.5, 0, 0)));
    EXPECT_EQ(spatial.getPosition(InterPoint::first), CadPoint::along);
    EXPECT_EQ(spatial.getIntercept(InterPoint::first).m_vertex, 1);
    EXPECT_EQ(square->closestPointAlong3D(CadPoint(-1, 0.5, 0), false).getPosition(InterPoint::first),
              CadPoint::atEnd);
    CadPolygon single;
    fill(single, {{3, 3, 0}});
    EXPECT_TRUE(near3D(single.closestPointAlong2D(CadPoint(1, 1, 0), true), CadPoint()));
}

TEST(CadPolygonPositionTest, IntersectionsStampedAndFiltered) {
    auto holey = build(straightCases()[4], false, true);
    // Along y = 1.5 the line crosses the outline's left and right edges and the first hole twice.
    Line line(CadPoint(-1, 1.5, 0), CadPoint(5, 1.5, 0));
    IntersectList list(Intercept(CadPoint::Pos(0x0E), 0, 0), Intercept(CadPoint::Pos(0x04), 0, 0));
    EXPECT_EQ(holey->intersectionWith(line, list), 4);
    ASSERT_EQ(list.size(), 4u);
    std::set<std::pair<int, int>> records;
    for (InterPoint const* p : list) {
        EXPECT_EQ(p->getPosition(InterPoint::first), CadPoint::along);
        EXPECT_EQ(p->getPosition(InterPoint::second), CadPoint::along);
        EXPECT_NEAR(p->y(), 1.5, 1e-12);
        records.insert(
            {p->getIntercept(InterPoint::first).m_vertex, p->getIntercept(InterPoint::first).m_contour});
        // The polygon's edge records its end vertex: the point lies on the edge arriving there.
        PolyEdge edge = holey->getShape(p->getIntercept(InterPoint::first).m_contour)
                            .edgeTo(p->getIntercept(InterPoint::first).m_vertex);
        EXPECT_EQ(edge.positionOf2D(*p), CadPoint::along);
    }
    // Outline: right edge ends at vertex 2, left (closing) edge at vertex 0; the hole runs clockwise.
    EXPECT_EQ(records, (std::set<std::pair<int, int>>{{2, 0}, {0, 0}, {2, 1}, {0, 1}}));
    EXPECT_EQ(list.getSpec(InterPoint::first).m_vertex, 0);
    EXPECT_EQ(list.getSpec(InterPoint::first).m_contour, 0);

    // The segment's own filter: it ends inside the polygon, so only the crossing within it is kept.
    IntersectList within(Intercept(CadPoint::Pos(0x0E)), Intercept(CadPoint::Pos(0x0E)));
    EXPECT_EQ(holey->intersectionWith(Line(CadPoint(-1, 1.5, 0), CadPoint(0.5, 1.5, 0)), within), 1);
    // A filter on the polygon for vertices only drops crossings inside edges.
    IntersectList ends(Intercept(CadPoint::Pos(0x0A)), Intercept());
    // Each vertex on the diagonal is reported by both of its edges; the crossing inside the
    // triangle's edge is dropped.
    EXPECT_EQ(holey->intersectionWith(Line(CadPoint(-1, -1, 0), CadPoint(5, 5, 0)), ends), 10);
    for (InterPoint const* p : ends)
        EXPECT_NE(p->getPosition(InterPoint::first) & 0x0A, 0);

    // With the polygon as the second operand of a swapped list.
    IntersectList swapped(Intercept(CadPoint::Pos(0x04), 0, 7), Intercept(CadPoint::Pos(0x0E), 0, 3));
    swapped.swapSpec();
    EXPECT_EQ(holey->intersectionWith(line, swapped), 4);
    for (InterPoint const* p : swapped) {
        EXPECT_GE(p->getIntercept(InterPoint::second).m_contour, 3);
        EXPECT_EQ(p->getIntercept(InterPoint::first).m_contour, 7);
    }
    EXPECT_EQ(swapped.getSpec(InterPoint::second).m_contour, 3);

    // Two squares overlapping at a corner: A's records in Intercept 0, B's in Intercept 1.
    CadPolygon a(Cube(CadPoint(0, 0, 0), CadPoint(2, 2, 0)));
    CadPolygon b(Cube(CadPoint(1, 1, 0), CadPoint(3, 3, 0)));
    IntersectList both(Intercept(CadPoint::Pos(0x0E)), Intercept(CadPoint::Pos(0x0E)));
    EXPECT_EQ(a.intersectionWith(b, both), 2);
    ASSERT_EQ(both.size(), 2u);
    for (InterPoint const* p : both) {
        bool right = std::fabs(p->x() - 2) < 1e-12;
        EXPECT_TRUE(near3D(*p, right ? CadPoint(2, 1, 0) : CadPoint(1, 2, 0)));
        EXPECT_EQ(p->getIntercept(InterPoint::first).m_vertex, right ? 2 : 3);
        EXPECT_EQ(p->getIntercept(InterPoint::second).m_vertex, right ? 1 : 0);
        EXPECT_EQ(p->getPosition(InterPoint::first), CadPoint::along);
        EXPECT_EQ(p->getPosition(InterPoint::second), CadPoint::along);
    }
    EXPECT_FALSE(both.isSwapped());

    // Arcs and edges: a circle touching the square's four sides.
    CadArc circle(CadPoint(1, 1, 0), 1.0, 2 * kPi - 0.2, kPi / 4 + 0.1);
    IntersectList withArc(Intercept(CadPoint::Pos(0x0E)), Intercept(CadPoint::Pos(0x0E)));
    EXPECT_EQ(a.intersectionWith(circle, withArc), 4);
    for (InterPoint const* p : withArc)
        EXPECT_EQ(p->getPosition(InterPoint::first), CadPoint::along);
    IntersectList withEdge;
    EXPECT_EQ(a.intersectionWith(PolyEdge(CadPoint(-1, 1, 0), PolyPoint(CadPoint(3, 1, 0), 0, 0)), withEdge),
              2);
    IntersectList withArcEdge;
    EXPECT_EQ(a.intersectionWith(PolyEdge(circle), withArcEdge), 4);
    IntersectList tiny;
    EXPECT_EQ(CadPolygon().intersectionWith(line, tiny), 0);
    EXPECT_EQ(a.intersectionWith(CadPolygon(), tiny), 0);
}

TEST(CadPolygonPositionTest, NodesAlongEdges) {
    auto square = build(straightCases()[0], false, false);
    square->renumber(false);
    std::vector<unsigned int> before;
    for (PolyPoint const* v : *square)
        before.push_back(v->getID());

    unsigned int id = square->addNodeAlong(0, CadPoint(0.5, 0, 0));
    EXPECT_EQ(id, 5u);
    ASSERT_EQ(square->vertSize(), 5);
    CadPolygon const& fixed = *square;
    EXPECT_TRUE(near3D(fixed[1], CadPoint(0.5, 0, 0)));
    EXPECT_EQ(fixed[1].getID(), id);
    EXPECT_EQ(square->getTopID(), 5u);
    // A point at a vertex inserts nothing and names that vertex.
    EXPECT_EQ(square->addNodeAlong(0, CadPoint(1, 0, 0)), before[1]);
    EXPECT_EQ(square->vertSize(), 5);
    EXPECT_EQ(square->addNodeAlong(0, CadPoint(3, 3, 0)), 0u);
    // On the closing edge the node goes in front of vertex 0.
    unsigned int closing = square->addNodeAlong(before[2], CadPoint(0, 0.5, 0));
    EXPECT_EQ(closing, 6u);
    EXPECT_EQ(fixed[0].getID(), closing);
    EXPECT_NEAR(square->getArea(false, false), 1.0, 1e-12);
    // Every old vertex keeps its id; every id is unique and found where its vertex is.
    std::set<unsigned int> ids;
    for (int i = 0; i < square->vertSize(); ++i) {
        EXPECT_TRUE(ids.insert(fixed[i].getID()).second);
        EXPECT_EQ(square->findVertexById(fixed[i].getID(), nullptr), i);
    }
    for (unsigned int old : before)
        EXPECT_TRUE(ids.count(old));

    // An arc edge is shared out between the new vertex and its end.
    for (double fraction : {0.5, 0.25}) {
        SCOPED_TRACE(fraction);
        CadPolygon half;
        fill(half, {{0, 0, 0}, {2, 0, kPi}});
        half.renumber(false);
        double angle = kPi + fraction * kPi;
        CadPoint onArc(1 + std::cos(angle), std::sin(angle), 0);
        unsigned int node = half.addNodeAlong(0, onArc);
        EXPECT_NE(node, 0u);
        ASSERT_EQ(half.vertSize(), 3);
        EXPECT_NEAR(half[1]->getSweep(), fraction * kPi, 1e-9);
        EXPECT_NEAR(half[2]->getSweep(), (1 - fraction) * kPi, 1e-9);
        EXPECT_NEAR(half.getArea(false, false), kPi / 2, 1e-9);
        EXPECT_NEAR(half.getPerimeter2D(), 2 + kPi, 1e-9);
    }
    // An open polyline has no closing edge.
    CadPolygon open;
    fill(open, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
    open.setClosed(false);
    EXPECT_EQ(open.addNodeAlong(0, CadPoint(0.5, 0.5, 0)), 0u);
    EXPECT_NE(open.addNodeAlong(0, CadPoint(1, 0.5, 0)), 0u);
    EXPECT_EQ(CadPolygon().addNodeAlong(0, CadPoint()), 0u);
}

} // namespace
} // namespace zelvane
