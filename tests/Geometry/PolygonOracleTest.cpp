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
#include <string>
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
// The centres about which the outline and each hole are star-shaped go to centres when given.
PolygonCase randomCase(std::mt19937& rng, double cx, double cy, double scale, int maxHoles,
                       std::vector<Vertex>* centres = nullptr) {
    std::uniform_int_distribution<int> vertices(8, 20);
    std::uniform_int_distribution<int> holeCount(0, maxHoles);
    std::uniform_real_distribution<double> place(-3.5, 3.5);
    PolygonCase c;
    c.name = "random";
    c.outline = star(rng, cx, cy, 6.0 * scale, 10.0 * scale, vertices(rng));
    if (centres != nullptr)
        centres->push_back({cx, cy, 0.0});
    int holes = holeCount(rng);
    std::vector<std::pair<double, double>> placed;
    for (int attempt = 0; attempt < 20 && int(c.holes.size()) < holes; ++attempt) {
        double hx = place(rng), hy = place(rng);
        if (hx * hx + hy * hy > 3.5 * 3.5)
            continue;
        bool apart = true;
        for (auto const& other : placed)
            apart = apart && std::hypot(other.first - hx, other.second - hy) > 2.6;
        if (!apart)
            continue;
        placed.emplace_back(hx, hy);
        if (centres != nullptr)
            centres->push_back({cx + hx * scale, cy + hy * scale, 0.0});
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

constexpr double away = 1e-3;
// Crossings are found to the geometry's tolerance of 1e-5, on cuts some 20 units long.
constexpr double areaTol = 1e-3;

// How a random case is laid out: where and at what scale, and with which of the details real
// projects hold.
struct Variant {
    char const* name;
    double offset;
    double scale;
    bool repeated; // every vertex twice
    bool pushed;   // a vertex in the middle of every edge, 1e-6 off it
    bool arcs;     // every other edge an arc
};

std::vector<Variant> const& variants() {
    static std::vector<Variant> const all = {
        {"plain", 0.0, 1.0, false, false, false},
        {"repeated vertices", 0.0, 1.0, true, false, false},
        {"vertices pushed off edges", 0.0, 1.0, false, true, false},
        {"offset 1e6", 1e6, 1.0, false, false, false},
        {"offset 1e7", 1e7, 10.0, false, false, false},
        {"scale 1e-2", 0.0, 1e-2, false, false, false},
        {"scale 1e-3", 0.0, 1e-3, false, false, false},
        {"arcs", 0.0, 1.0, false, false, true},
        {"far, repeated and pushed", 1e6, 1.0, true, true, false},
    };
    return all;
}

Contour laidOut(Contour const& contour, Variant const& v, std::mt19937& rng) {
    Contour result;
    std::size_t n = contour.size();
    for (std::size_t i = 0; i < n; ++i) {
        Vertex p = contour[i];
        Vertex q = contour[(i + 1) % n];
        p.x = v.offset + v.scale * p.x;
        p.y = v.offset + v.scale * p.y;
        q.x = v.offset + v.scale * q.x;
        q.y = v.offset + v.scale * q.y;
        result.push_back(p);
        if (v.repeated)
            result.push_back(p);
        if (v.pushed) {
            double dx = q.x - p.x, dy = q.y - p.y;
            double length = std::hypot(dx, dy);
            double off = (rng() % 2 == 0 ? 1e-6 : -1e-6) / length;
            result.push_back({(p.x + q.x) / 2.0 - dy * off, (p.y + q.y) / 2.0 + dx * off, 0.0});
        }
    }
    if (v.arcs)
        for (std::size_t i = 0; i < result.size(); i += 2)
            result[i].sweep = 0.3;
    return result;
}

PolygonCase laidOut(PolygonCase const& c, Variant const& v, std::mt19937& rng) {
    PolygonCase result{c.name, laidOut(c.outline, v, rng), {}};
    for (Contour const& hole : c.holes)
        result.holes.push_back(laidOut(hole, v, rng));
    return result;
}

using Point2 = std::pair<double, double>;

// The points of the straight ring measured from (ox, oy).
std::vector<Point2> relative(Contour const& ring, double ox, double oy) {
    std::vector<Point2> points;
    for (Vertex const& v : ring)
        points.emplace_back(v.x - ox, v.y - oy);
    return points;
}

// The part of the closed run of points where side(point) is not negative (Sutherland-Hodgman
// against one half-plane): the points on that side and the crossings of the edges that change side.
template <typename Side>
std::vector<Point2> clippedToSide(std::vector<Point2> const& points, Side side) {
    std::vector<Point2> kept;
    for (std::size_t i = 0; i < points.size(); ++i) {
        auto const& p = points[i];
        auto const& q = points[(i + 1) % points.size()];
        double sp = side(p), sq = side(q);
        if (sp >= 0.0)
            kept.push_back(p);
        if ((sp > 0.0 && sq < 0.0) || (sp < 0.0 && sq > 0.0)) {
            double f = sp / (sp - sq);
            kept.emplace_back(p.first + (q.first - p.first) * f, p.second + (q.second - p.second) * f);
        }
    }
    return kept;
}

// The signed area of a closed run of points (the shoelace formula).
double shoelaceArea(std::vector<Point2> const& points) {
    double sum = 0.0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        auto const& u = points[i];
        auto const& w = points[(i + 1) % points.size()];
        sum += u.first * w.second - w.first * u.second;
    }
    return sum / 2.0;
}

// The signed area of the part of the straight ring on the right of the line through p0 at angle a
// (Sutherland-Hodgman against one half-plane), measured from p0.
double clippedArea(Contour const& ring, Vertex const& p0, double a) {
    double nx = std::sin(a), ny = -std::cos(a);
    return shoelaceArea(clippedToSide(relative(ring, p0.x, p0.y),
                                      [&](Point2 const& p) { return nx * p.first + ny * p.second; }));
}

// The exact area of the case (outline less holes) on the right of the line.
double clippedArea(PolygonCase const& c, Vertex const& p0, double a) {
    double area = clippedArea(c.outline, p0, a);
    for (Contour const& hole : c.holes)
        area -= clippedArea(hole, p0, a);
    return area;
}

} // namespace

// Every variant, cut by random lines, by lines through a vertex and by lines along an edge: the
// pieces keep the area to 1e-9 of it, match an exact clip on each side, and hold the right points.
TEST(PolygonOracleTest, SplitByLine) {
    std::mt19937 rng(1201);
    std::uniform_real_distribution<double> coordinate(-5.0, 5.0);
    std::uniform_real_distribution<double> angle(0.0, 2.0 * kPi);
    std::uniform_real_distribution<double> unit(-1.1, 1.1);
    for (Variant const& v : variants()) {
        int cut = 0;
        for (int round = 0; round < 45; ++round) {
            SCOPED_TRACE(std::string(v.name) + " round " + std::to_string(round));
            PolygonCase c = laidOut(randomCase(rng, 0.0, 0.0, 1.0, 3), v, rng);
            auto polygon = build(c, round % 2 == 1, true);
            double whole = polygon->getArea(true, false);
            double a = angle(rng);
            Vertex p0{v.offset + v.scale * coordinate(rng), v.offset + v.scale * coordinate(rng), 0.0};
            if (round % 3 == 1) {
                p0 = c.outline[std::size_t(rng()) % c.outline.size()];
            } else if (round % 3 == 2) {
                // Along an edge of the outline between two distinct vertices.
                std::size_t i = std::size_t(rng()) % c.outline.size();
                Vertex q = c.outline[(i + 1) % c.outline.size()];
                if (q.x == c.outline[i].x && q.y == c.outline[i].y)
                    q = c.outline[(i + 2) % c.outline.size()];
                p0 = c.outline[i];
                a = std::atan2(q.y - p0.y, q.x - p0.x);
            }
            LinearEquation line(a, CadPoint(p0.x, p0.y, 0.0));
            PolyList right, left;
            polygon->splitWith(line, &right, &left);
            cut += !right.empty() && !left.empty() ? 1 : 0;
            EXPECT_NEAR(totalArea(right) + totalArea(left), whole, 1e-9 * whole);
            if (v.arcs)
                continue;
            // A vertex within the tolerance of the line lets the cut follow it.
            double band = 1e-9 * whole;
            double nx = std::sin(a), ny = -std::cos(a);
            std::vector<Contour const*> rings{&c.outline};
            for (Contour const& hole : c.holes)
                rings.push_back(&hole);
            for (Contour const* ring : rings) {
                for (Vertex const& p : *ring) {
                    double s = std::fabs(nx * (p.x - p0.x) + ny * (p.y - p0.y));
                    if (s <= 2e-5)
                        band += s * 4.0 * 20.0 * v.scale;
                }
            }
            double expectedRight = clippedArea(c, p0, a);
            EXPECT_NEAR(totalArea(right), expectedRight, band);
            EXPECT_NEAR(totalArea(left), whole - expectedRight, band);
            BoostPolygon oracle = zelvane::toBoost(c, true);
            // Clear of the tolerance in which points count as on the boundary.
            double clearance = std::max(away * v.scale, 1e-4);
            for (int s = 0; s < 60; ++s) {
                CadPoint p(v.offset + v.scale * 11.0 * unit(rng), v.offset + v.scale * 11.0 * unit(rng), 0.0);
                BoostPoint q(p.x(), p.y());
                if (distanceToBoundary(oracle, q) < clearance || line.lengthTo(p) < clearance)
                    continue;
                bool inPolygon = bg::within(q, oracle);
                bool onRight = line.positionOf(p) == CadPoint::inside;
                ASSERT_EQ(holding(right, p), inPolygon && onRight ? 1 : 0) << p;
                ASSERT_EQ(holding(left, p), inPolygon && !onRight ? 1 : 0) << p;
            }
        }
        EXPECT_GT(cut, 20) << v.name;
    }
}

namespace {

// The signed area of the straight ring clipped to the convex anticlockwise polygon (Sutherland-
// Hodgman, one half-plane after another), measured from the polygon's first vertex.
double clippedArea(Contour const& ring, Contour const& convex) {
    double ox = convex[0].x, oy = convex[0].y;
    std::vector<Point2> points = relative(ring, ox, oy);
    for (std::size_t k = 0; k < convex.size() && !points.empty(); ++k) {
        double ax = convex[k].x - ox, ay = convex[k].y - oy;
        double bx = convex[(k + 1) % convex.size()].x - ox, by = convex[(k + 1) % convex.size()].y - oy;
        double length = std::hypot(bx - ax, by - ay);
        if (length == 0.0)
            continue;
        points = clippedToSide(points, [&](Point2 const& p) {
            return ((bx - ax) * (p.second - ay) - (by - ay) * (p.first - ax)) / length;
        });
    }
    return shoelaceArea(points);
}

// A polygon as anticlockwise convex parts, each added or taken away: the exact oracle for areas
// inside it.
struct ConvexParts {
    std::vector<Contour> parts;
    std::vector<double> signs;

    // The fan of triangles from the centre of a star-shaped anticlockwise ring.
    void addFan(Contour const& ring, Vertex const& centre, double sign) {
        for (std::size_t i = 0; i < ring.size(); ++i) {
            Vertex const& a = ring[i];
            Vertex const& b = ring[(i + 1) % ring.size()];
            if ((a.x - centre.x) * (b.y - centre.y) - (a.y - centre.y) * (b.x - centre.x) <= 0.0)
                continue;
            parts.push_back({centre, a, b});
            signs.push_back(sign);
        }
    }

    // The area of the case (outline less holes, all anticlockwise) inside these parts.
    double areaOf(PolygonCase const& c) const {
        double area = 0.0;
        for (std::size_t k = 0; k < parts.size(); ++k) {
            double inPart = clippedArea(c.outline, parts[k]);
            for (Contour const& hole : c.holes)
                inPart -= clippedArea(hole, parts[k]);
            area += signs[k] * inPart;
        }
        return area;
    }
};

double plainArea(PolygonCase const& c) {
    auto polygon = build(c, false, true);
    return polygon->getArea(true, false);
}

} // namespace

// Every variant split by random star-shaped polygons with a hole, and by triangles sharing an
// edge or a vertex with the subject: the pieces keep the area to 1e-9 of it, match the exact area
// inside the cutter, and hold the right points.
TEST(PolygonOracleTest, SplitByPolygon) {
    std::mt19937 rng(1202);
    std::uniform_real_distribution<double> centre(-7.0, 7.0);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    for (Variant const& v : variants()) {
        int cut = 0;
        for (int round = 0; round < 30; ++round) {
            SCOPED_TRACE(std::string(v.name) + " round " + std::to_string(round));
            std::vector<Vertex> centres, cutterCentres;
            PolygonCase ca = laidOut(randomCase(rng, 0.0, 0.0, 1.0, 3, &centres), v, rng);
            PolygonCase cb;
            ConvexParts oracle;
            auto place = [&v](Vertex p) {
                return Vertex{v.offset + v.scale * p.x, v.offset + v.scale * p.y, 0.0};
            };
            if (round % 3 == 0) {
                cb = laidOut(randomCase(rng, centre(rng), centre(rng), 0.5, 1, &cutterCentres), v, rng);
                oracle.addFan(cb.outline, place(cutterCentres[0]), 1.0);
                for (std::size_t k = 0; k < cb.holes.size(); ++k)
                    oracle.addFan(cb.holes[k], place(cutterCentres[k + 1]), -1.0);
            } else {
                // A triangle on an edge of the outline (inwards or outwards), or on one vertex.
                std::size_t i = std::size_t(rng()) % ca.outline.size();
                Vertex a = ca.outline[i];
                Vertex b = ca.outline[(i + 1) % ca.outline.size()];
                if (b.x == a.x && b.y == a.y)
                    b = ca.outline[(i + 2) % ca.outline.size()];
                Vertex p = place({6.0 * unit(rng), 6.0 * unit(rng), 0.0});
                if (round % 3 == 2)
                    b = place({6.0 * unit(rng), 6.0 * unit(rng), 0.0});
                cb.name = "triangle";
                cb.outline = {a, b, p};
                double turn = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
                if (turn == 0.0)
                    continue;
                if (turn < 0.0)
                    std::swap(cb.outline[1], cb.outline[2]);
                oracle.parts.push_back(cb.outline);
                oracle.signs.push_back(1.0);
            }
            auto a = build(ca, round % 2 == 1, true);
            auto b = build(cb, round % 4 == 1, true);
            double whole = plainArea(ca);
            PolyList inside, outside;
            a->splitWith(*b, &inside, &outside);
            cut += !inside.empty() && !outside.empty() ? 1 : 0;
            double expectedInside = oracle.areaOf(ca);
            EXPECT_NEAR(totalArea(inside) + totalArea(outside), whole, 1e-9 * whole);
            // Arcs have no exact oracle here: their pieces keep the area.
            if (v.arcs)
                continue;
            BoostPolygon oa = zelvane::toBoost(ca, true);
            BoostPolygon ob = zelvane::toBoost(cb, true);
            // A vertex within the tolerance of the other boundary lets the cut follow it.
            double band = 1e-9 * whole;
            auto near = [&band, &v](PolygonCase const& c, BoostPolygon const& other) {
                std::vector<Contour const*> rings{&c.outline};
                for (Contour const& hole : c.holes)
                    rings.push_back(&hole);
                for (Contour const* ring : rings)
                    for (Vertex const& p : *ring)
                        if (distanceToBoundary(other, BoostPoint(p.x, p.y)) <= 2e-5)
                            band += 2e-5 * 40.0 * v.scale;
            };
            near(ca, ob);
            near(cb, oa);
            EXPECT_NEAR(totalArea(inside), expectedInside, band);
            EXPECT_NEAR(totalArea(outside), whole - expectedInside, band);
            double clearance = std::max(away * v.scale, 1e-4);
            for (int s = 0; s < 60; ++s) {
                CadPoint p(v.offset + v.scale * 11.0 * unit(rng), v.offset + v.scale * 11.0 * unit(rng), 0.0);
                BoostPoint q(p.x(), p.y());
                if (distanceToBoundary(oa, q) < clearance || distanceToBoundary(ob, q) < clearance)
                    continue;
                bool inA = bg::within(q, oa);
                bool inB = bg::within(q, ob);
                ASSERT_EQ(holding(inside, p), inA && inB ? 1 : 0) << p;
                ASSERT_EQ(holding(outside, p), inA && !inB ? 1 : 0) << p;
            }
        }
        EXPECT_GT(cut, 8) << v.name;
    }
}

// The predicates against Boost.Geometry on random polygons in every straight variant, with cutters
// that share edges and vertices with the subject.
TEST(PolygonOracleTest, OverlapAndEnclosure) {
    std::mt19937 rng(1204);
    std::uniform_real_distribution<double> centre(-7.0, 7.0);
    for (Variant const& v : variants()) {
        if (v.arcs)
            continue;
        for (int round = 0; round < 30; ++round) {
            SCOPED_TRACE(std::string(v.name) + " round " + std::to_string(round));
            PolygonCase ca = laidOut(randomCase(rng, 0.0, 0.0, 1.0, 3), v, rng);
            PolygonCase cb = laidOut(randomCase(rng, centre(rng), centre(rng), 0.5, 1), v, rng);
            if (round % 3 == 1) {
                // Half of the subject's outline, closed across.
                cb.outline.assign(ca.outline.begin(), ca.outline.begin() + long(ca.outline.size() / 2 + 1));
                cb.holes.clear();
            }
            auto a = build(ca, round % 2 == 1, true);
            auto b = build(cb, round % 3 == 2, true);
            BoostPolygon oa = zelvane::toBoost(ca, true);
            BoostPolygon ob = zelvane::toBoost(cb, true);
            BoostMulti common;
            bg::intersection(oa, ob, common);
            double scale = v.scale * v.scale;
            EXPECT_EQ(a->overlaps(*b), bg::area(common) > 1e-6 * scale);
            EXPECT_EQ(b->encloses(*a), bg::covered_by(oa, ob));
            EXPECT_EQ(a->encloses(*b), bg::covered_by(ob, oa));
        }
    }
}

// Long star outlines, some with a hole inside or across the outline, some with two vertices swapped
// or one pulled across the middle: the simple test agrees with Boost.Geometry's validity, near the
// origin, far from it and at centimetre scale.
TEST(PolygonOracleTest, SimpleTestOnLongOutlines) {
    std::mt19937 rng(1205);
    std::uniform_int_distribution<int> vertices(20, 400);
    std::uniform_real_distribution<double> radius(0.8, 1.2);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    struct Layout {
        char const* name;
        double offset;
        double scale;
    };
    int simple = 0, crossing = 0;
    for (Layout const& layout :
         {Layout{"metres", 0.0, 1.0}, Layout{"offset 1e6", 1e6, 1.0}, Layout{"centimetres", 0.0, 0.01}}) {
        for (int round = 0; round < 24; ++round) {
            SCOPED_TRACE(std::string(layout.name) + " round " + std::to_string(round));
            int n = vertices(rng);
            PolygonCase c{"star", {}, {}};
            for (int i = 0; i < n; ++i) {
                double a = 2.0 * kPi * (i + 0.4 * unit(rng)) / n;
                double r = radius(rng);
                c.outline.push_back({r * std::cos(a), r * std::sin(a), 0.0});
            }
            std::size_t i = std::size_t(rng()) % c.outline.size();
            std::size_t j = std::size_t(rng()) % c.outline.size();
            switch (round % 6) {
            case 1:
                std::swap(c.outline[i], c.outline[j]);
                break;
            case 2:
                c.outline[i] = {-0.5 * c.outline[i].x, -0.5 * c.outline[i].y, 0.0};
                break;
            case 3:
                c.holes.push_back(reversed(star(rng, 0.0, 0.0, 0.2, 0.4, 12)));
                break;
            case 4:
                c.holes.push_back(reversed(star(rng, c.outline[i].x, c.outline[i].y, 0.1, 0.2, 8)));
                break;
            default:
                break;
            }
            for (Contour* ring : {&c.outline, c.holes.empty() ? nullptr : &c.holes[0]}) {
                if (ring == nullptr)
                    continue;
                for (Vertex& v : *ring) {
                    v.x = layout.offset + layout.scale * v.x;
                    v.y = layout.offset + layout.scale * v.y;
                }
            }
            CadPolygon polygon;
            fill(polygon, c.outline);
            for (Contour const& hole : c.holes)
                fill(*polygon.addHole(nullptr), hole);
            bool valid = bg::is_valid(toBoost(c, true));
            EXPECT_EQ(polygon.isValid(true), valid);
            (valid ? simple : crossing) += 1;
        }
    }
    EXPECT_GT(simple, 20);
    EXPECT_GT(crossing, 20);
}

// Random outlines, most of them crossing themselves, in every straight variant: the simple test
// agrees with Boost.Geometry on the plain ones, and the resolved pieces, counted with their
// directions, keep the winding number of the outline about every point away from it.
TEST(PolygonOracleTest, SimpleTestAndResolveKeepWindingNumbers) {
    std::mt19937 rng(1203);
    std::uniform_real_distribution<double> coordinate(0.0, 10.0);
    std::uniform_int_distribution<int> vertices(4, 8);
    std::uniform_real_distribution<double> sample(-1.0, 11.0);
    for (Variant const& v : variants()) {
        if (v.arcs)
            continue;
        int resolved = 0;
        for (int round = 0; round < 40; ++round) {
            SCOPED_TRACE(std::string(v.name) + " round " + std::to_string(round));
            Contour drawn;
            int n = vertices(rng);
            for (int i = 0; i < n; ++i)
                drawn.push_back({coordinate(rng), coordinate(rng), 0.0});
            Contour contour = laidOut(drawn, v, rng);
            CadPolygon polygon;
            fill(polygon, contour);
            bg::model::linestring<BoostPoint> boundary;
            for (Vertex const& p : contour)
                bg::append(boundary, BoostPoint(p.x, p.y));
            bg::append(boundary, BoostPoint(contour[0].x, contour[0].y));
            if (std::string(v.name) == "plain") {
                BoostPolygon simple;
                for (Vertex const& p : contour)
                    bg::append(simple.outer(), BoostPoint(p.x, p.y));
                bg::correct(simple);
                EXPECT_EQ(polygon.isValid(true), bg::is_valid(simple));
            }
            PolyList pieces;
            int count = polygon.resolveSelfIntersect(pieces);
            EXPECT_EQ(count, int(pieces.size()));
            if (count == 0) {
                EXPECT_TRUE(polygon.isValid(true));
                continue;
            }
            ++resolved;
            // At millimetre scale random outlines have spikes narrower than the tolerance, whose
            // sides count as meeting; the pieces there are only checked by their winding numbers.
            if (v.scale >= 1e-2) {
                for (CadPolygon const* piece : pieces)
                    EXPECT_TRUE(piece->isValid(true));
            }
            double clearance = std::max(away * v.scale, 1e-4);
            for (int s = 0; s < 100; ++s) {
                CadPoint p(v.offset + v.scale * sample(rng), v.offset + v.scale * sample(rng), 0.0);
                if (bg::distance(BoostPoint(p.x(), p.y()), boundary) < clearance)
                    continue;
                // The winding number of the outline about the point, measured from the point.
                int winding = 0;
                std::size_t m = contour.size();
                for (std::size_t i = 0; i < m; ++i) {
                    double ux = contour[i].x - p.x(), uy = contour[i].y - p.y();
                    double wx = contour[(i + 1) % m].x - p.x(), wy = contour[(i + 1) % m].y - p.y();
                    double cross = wx * uy - ux * wy;
                    if (uy <= 0.0 && wy > 0.0 && cross < 0)
                        ++winding;
                    else if (uy > 0.0 && wy <= 0.0 && cross > 0)
                        --winding;
                }
                int sum = 0;
                for (CadPolygon const* piece : pieces)
                    if (piece->positionOf(p) == CadPoint::inside)
                        sum += piece->getArea(false, true) > 0.0 ? 1 : -1;
                ASSERT_EQ(sum, winding) << p;
            }
        }
        EXPECT_GT(resolved, 12) << v.name;
    }
}

} // namespace zelvane
