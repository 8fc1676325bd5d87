// Random simple polygons with holes split, intersected and resolved, checked against
// Boost.Geometry: total areas, piece counts, and the side of sample points away from boundaries.
#include "Geometry/CadPolygon.h"
#include "Geometry/LinearEquation.h"
#include "Geometry/PolyList.h"
#include "Geometry/PolyVector.h"
#include "PointExpect.h"
#include "PolygonCases.h"

#include <gtest/gtest.h>

#include <boost/geometry/geometries/multi_polygon.hpp>
#include <boost/geometry/geometries/segment.hpp>

#include <cmath>
#include <random>
#include <vector>

namespace zelvane {

namespace {

using BoostMulti = bg::model::multi_polygon<BoostPolygon>;

// A star-shaped contour about (cx, cy), anticlockwise: simple whatever the radii.
Contour star(std::mt19937& rng, double cx, double cy, double rMin, double rMax, int n) {
    std::uniform_real_distribution<double> jitter(-0.3, 0.3);
    std::uniform_real_distribution<double> radius(rMin, rMax);
    Contour contour;
    for (int i = 0; i < n; ++i) {
        double a = (i + jitter(rng)) * 2.0 * kPi / n;
        double r = radius(rng);
        contour.push_back({cx + r * std::cos(a), cy + r * std::sin(a), 0.0});
    }
    return contour;
}

// An outline of radius 6..10 about (cx, cy) with up to three small holes well inside it.
PolygonCase randomCase(std::mt19937& rng, double cx, double cy, double scale, int maxHoles) {
    std::uniform_int_distribution<int> vertices(8, 20);
    std::uniform_int_distribution<int> holeCount(0, maxHoles);
    std::uniform_real_distribution<double> place(-3.5, 3.5);
    PolygonCase c;
    c.name = "random";
    c.outline = star(rng, cx, cy, 6.0 * scale, 10.0 * scale, vertices(rng));
    int holes = holeCount(rng);
    std::vector<std::pair<double, double>> centres;
    for (int attempt = 0; attempt < 20 && int(c.holes.size()) < holes; ++attempt) {
        double hx = place(rng), hy = place(rng);
        if (hx * hx + hy * hy > 3.5 * 3.5)
            continue;
        bool apart = true;
        for (auto const& other : centres)
            apart = apart && std::hypot(other.first - hx, other.second - hy) > 2.6;
        if (!apart)
            continue;
        centres.emplace_back(hx, hy);
        c.holes.push_back(star(rng, cx + hx * scale, cy + hy * scale, 0.5 * scale, 1.2 * scale,
                               std::uniform_int_distribution<int>(5, 8)(rng)));
    }
    return c;
}

double totalArea(PolyList const& list) {
    double sum = 0.0;
    for (CadPolygon const* polygon : list)
        sum += polygon->getArea(true, false);
    return sum;
}

// How many of the pieces hold the point strictly inside.
int holding(PolyList const& pieces, CadPoint const& p) {
    int count = 0;
    for (CadPolygon const* piece : pieces)
        count += piece->positionOf(p) == CadPoint::inside ? 1 : 0;
    return count;
}

double distanceToBoundary(BoostPolygon const& polygon, BoostPoint const& p) {
    double d = bg::distance(p, polygon.outer());
    for (auto const& inner : polygon.inners())
        d = std::min(d, bg::distance(p, inner));
    return d;
}

constexpr double away = 1e-3;
// Crossings are found to the geometry's tolerance of 1e-5, on cuts some 20 units long.
constexpr double areaTol = 1e-3;

} // namespace

TEST(PolygonOracleTest, SplitByLine) {
    std::mt19937 rng(1201);
    std::uniform_real_distribution<double> coordinate(-5.0, 5.0);
    std::uniform_real_distribution<double> angle(0.0, 2.0 * kPi);
    std::uniform_real_distribution<double> sample(-11.0, 11.0);
    int cut = 0;
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE(round);
        PolygonCase c = randomCase(rng, 0.0, 0.0, 1.0, 3);
        auto polygon = build(c, round % 2 == 1, true);
        BoostPolygon oracle = zelvane::toBoost(c, true);
        double a = angle(rng);
        CadPoint through(coordinate(rng), coordinate(rng), 0.0);
        LinearEquation line(a, through);
        PolyList right, left;
        polygon->splitWith(line, &right, &left);

        // The right half-plane: a large rectangle on the right of the directed line.
        double ux = std::cos(a), uy = std::sin(a), nx = std::sin(a), ny = -std::cos(a);
        BoostPolygon halfPlane;
        bg::append(halfPlane.outer(), BoostPoint(through.x() - 100 * ux, through.y() - 100 * uy));
        bg::append(halfPlane.outer(), BoostPoint(through.x() + 100 * ux, through.y() + 100 * uy));
        bg::append(halfPlane.outer(),
                   BoostPoint(through.x() + 100 * ux + 100 * nx, through.y() + 100 * uy + 100 * ny));
        bg::append(halfPlane.outer(),
                   BoostPoint(through.x() - 100 * ux + 100 * nx, through.y() - 100 * uy + 100 * ny));
        bg::correct(halfPlane);
        BoostMulti expectedRight, expectedLeft;
        bg::intersection(oracle, halfPlane, expectedRight);
        bg::difference(oracle, halfPlane, expectedLeft);

        EXPECT_NEAR(totalArea(right), bg::area(expectedRight), areaTol);
        EXPECT_NEAR(totalArea(left), bg::area(expectedLeft), areaTol);
        EXPECT_EQ(right.size(), expectedRight.size());
        EXPECT_EQ(left.size(), expectedLeft.size());
        cut += !right.empty() && !left.empty() ? 1 : 0;
        for (int s = 0; s < 200; ++s) {
            CadPoint p(sample(rng), sample(rng), 0.0);
            BoostPoint q(p.x(), p.y());
            if (distanceToBoundary(oracle, q) < away || line.lengthTo(p) < away)
                continue;
            bool inPolygon = bg::within(q, oracle);
            bool onRight = line.positionOf(p) == CadPoint::inside;
            ASSERT_EQ(holding(right, p), inPolygon && onRight ? 1 : 0) << p;
            ASSERT_EQ(holding(left, p), inPolygon && !onRight ? 1 : 0) << p;
        }
    }
    EXPECT_GT(cut, 30);
}

TEST(PolygonOracleTest, SplitByPolygon) {
    std::mt19937 rng(1202);
    std::uniform_real_distribution<double> centre(-7.0, 7.0);
    std::uniform_real_distribution<double> sample(-14.0, 14.0);
    int cut = 0;
    for (int round = 0; round < 50; ++round) {
        SCOPED_TRACE(round);
        PolygonCase ca = randomCase(rng, 0.0, 0.0, 1.0, 3);
        PolygonCase cb = randomCase(rng, centre(rng), centre(rng), 0.5, 1);
        auto a = build(ca, round % 2 == 1, true);
        auto b = build(cb, round % 3 == 1, true);
        BoostPolygon oa = zelvane::toBoost(ca, true);
        BoostPolygon ob = zelvane::toBoost(cb, true);
        PolyList inside, outside;
        a->splitWith(*b, &inside, &outside);
        BoostMulti expectedInside, expectedOutside;
        bg::intersection(oa, ob, expectedInside);
        bg::difference(oa, ob, expectedOutside);
        EXPECT_NEAR(totalArea(inside), bg::area(expectedInside), areaTol);
        EXPECT_NEAR(totalArea(outside), bg::area(expectedOutside), areaTol);
        EXPECT_EQ(inside.size(), expectedInside.size());
        EXPECT_EQ(outside.size(), expectedOutside.size());
        cut += !inside.empty() && !outside.empty() ? 1 : 0;
        EXPECT_EQ(a->overlaps(*b), bg::area(expectedInside) > 1e-9);
        EXPECT_EQ(b->encloses(*a), bg::covered_by(oa, ob));
        EXPECT_EQ(a->encloses(*b), bg::covered_by(ob, oa));
        for (int s = 0; s < 200; ++s) {
            CadPoint p(sample(rng), sample(rng), 0.0);
            BoostPoint q(p.x(), p.y());
            if (distanceToBoundary(oa, q) < away || distanceToBoundary(ob, q) < away)
                continue;
            bool inA = bg::within(q, oa);
            bool inB = bg::within(q, ob);
            ASSERT_EQ(holding(inside, p), inA && inB ? 1 : 0) << p;
            ASSERT_EQ(holding(outside, p), inA && !inB ? 1 : 0) << p;
        }
    }
    EXPECT_GT(cut, 25);
}

TEST(PolygonOracleTest, SimpleTestAndResolveKeepWindingNumbers) {
    std::mt19937 rng(1203);
    std::uniform_real_distribution<double> coordinate(0.0, 10.0);
    std::uniform_int_distribution<int> vertices(4, 8);
    std::uniform_real_distribution<double> sample(-1.0, 11.0);
    int resolved = 0;
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE(round);
        Contour contour;
        int n = vertices(rng);
        for (int i = 0; i < n; ++i)
            contour.push_back({coordinate(rng), coordinate(rng), 0.0});
        CadPolygon polygon;
        fill(polygon, contour);
        bg::model::linestring<BoostPoint> boundary;
        for (Vertex const& v : contour)
            bg::append(boundary, BoostPoint(v.x, v.y));
        bg::append(boundary, BoostPoint(contour[0].x, contour[0].y));
        BoostPolygon simple;
        for (Vertex const& v : contour)
            bg::append(simple.outer(), BoostPoint(v.x, v.y));
        bg::correct(simple);
        EXPECT_EQ(polygon.isValid(true), bg::is_valid(simple));
        PolyList pieces;
        int count = polygon.resolveSelfIntersect(pieces);
        EXPECT_EQ(count, int(pieces.size()));
        if (count == 0) {
            EXPECT_TRUE(polygon.isValid(true));
            continue;
        }
        ++resolved;
        for (CadPolygon const* piece : pieces)
            EXPECT_TRUE(piece->isValid(true));
        for (int s = 0; s < 200; ++s) {
            CadPoint p(sample(rng), sample(rng), 0.0);
            if (bg::distance(BoostPoint(p.x(), p.y()), boundary) < away)
                continue;
            // The winding number of the original outline about the point.
            int winding = 0;
            for (int i = 0; i < n; ++i) {
                Vertex const& u = contour[i];
                Vertex const& v = contour[(i + 1) % n];
                double cross = (v.x - u.x) * (p.y() - u.y) - (p.x() - u.x) * (v.y - u.y);
                if (u.y <= p.y() && v.y > p.y() && cross > 0)
                    ++winding;
                else if (u.y > p.y() && v.y <= p.y() && cross < 0)
                    --winding;
            }
            int sum = 0;
            for (CadPolygon const* piece : pieces)
                if (piece->positionOf(p) == CadPoint::inside)
                    sum += piece->getArea(false, true) > 0.0 ? 1 : -1;
            ASSERT_EQ(sum, winding) << p;
        }
    }
    EXPECT_GT(resolved, 20);
}

} // namespace zelvane
