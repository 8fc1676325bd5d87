// Polygons for the geometry tests as named data, built in their variants (as listed or reversed,
// with or without holes), and their straight-edged twins as Boost.Geometry polygons, the oracle.
#pragma once

#include "Geometry/CadPolygon.h"
#include "Geometry/PolyVector.h"

// Boost.Geometry's rescaling policy trips GCC's flow analysis when inlined at -O2.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <boost/geometry.hpp>
#include <boost/geometry/geometries/linestring.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/polygon.hpp>
#pragma GCC diagnostic pop
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace zelvane {

struct Vertex {
    double x;
    double y;
    double sweep;
};

using Contour = std::vector<Vertex>;

struct PolygonCase {
    std::string name;
    Contour outline; // anticlockwise
    std::vector<Contour> holes;
};

inline std::vector<PolygonCase> const& straightCases() {
    static std::vector<PolygonCase> const cases = {
        {"unit square", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {}},
        {"L shape", {{0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {1, 1, 0}, {1, 2, 0}, {0, 2, 0}}, {}},
        {"comb", {{0, 0, 0}, {4, 0, 0}, {4, 3, 0}, {3, 1, 0}, {2, 3, 0}, {1, 1, 0}, {0, 3, 0}}, {}},
        {"diamond", {{0, -1, 0}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}}, {}},
        {"square with holes",
         {{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}},
         {{{1, 1, 0}, {2, 1, 0}, {2, 2, 0}, {1, 2, 0}}, {{2.5, 2.5, 0}, {3.5, 2.5, 0}, {3, 3.5, 0}}}},
        {"comb with hole",
         {{0, 0, 0}, {4, 0, 0}, {4, 3, 0}, {3, 1, 0}, {2, 3, 0}, {1, 1, 0}, {0, 3, 0}},
         {{{0.5, 0.25, 0}, {3.5, 0.25, 0}, {2, 0.75, 0}}}},
    };
    return cases;
}

// Seven vertices about the origin joined by arcs of both signs, one of them all but straight.
inline PolygonCase const& sevenArcs() {
    static PolygonCase const arcs = {"seven arcs",
                                     {{9.5529839059873858, 0.9408419578724958, 0.61265310714484478},
                                      {6.5139901491068315, 7.3331364436602184, 0.007076473163077566},
                                      {-3.109293866520241, 8.9166462887213278, 0.30370825574405969},
                                      {-9.823596047768568, 3.9053540413770982, -0.38115518191988773},
                                      {-9.5557541480455566, -3.2438579233334139, -0.16070081225514643},
                                      {-2.3743884984315544, -10.144166807772658, 0.30088253210969251},
                                      {5.6531963956349758, -8.2553024234782253, -0.44895619249102142}},
                                     {}};
    return arcs;
}

// The straight polygon through the listed vertices of the contour (counted from 0), in that order.
inline Contour throughVertices(Contour const& contour, std::vector<std::size_t> const& which) {
    Contour result;
    for (std::size_t i : which)
        result.push_back({contour[i].x, contour[i].y, 0.0});
    return result;
}

// The same vertices with every arc turning the other way.
inline Contour arcsTurned(Contour const& contour) {
    Contour result(contour);
    for (Vertex& v : result)
        v.sweep = -v.sweep;
    return result;
}

// Reversing a contour's order moves each sweep onto the vertex that now ends its arc, negated.
inline Contour reversed(Contour const& contour) {
    Contour result(contour.rbegin(), contour.rend());
    std::size_t n = result.size();
    std::vector<double> sweeps;
    for (Vertex const& v : result)
        sweeps.push_back(v.sweep);
    for (std::size_t j = 0; j < n; ++j)
        result[j].sweep = -sweeps[(j + n - 1) % n];
    return result;
}

inline void fill(CadPolygon& polygon, Contour const& contour) {
    for (Vertex const& v : contour)
        polygon.push_back(new PolyPoint(CadPoint(v.x, v.y, 0.0), v.sweep, 0));
}

inline std::unique_ptr<CadPolygon> build(PolygonCase const& c, bool reverse, bool withHoles) {
    auto polygon = std::make_unique<CadPolygon>();
    fill(*polygon, reverse ? reversed(c.outline) : c.outline);
    if (withHoles) {
        for (Contour const& hole : c.holes) {
            CadPolygon* h = polygon->addHole(nullptr);
            // Holes run against the outline.
            fill(*h, reverse ? hole : reversed(hole));
        }
    }
    return polygon;
}

namespace bg = boost::geometry;
using BoostPoint = bg::model::d2::point_xy<double>;
using BoostPolygon = bg::model::polygon<BoostPoint>;

// The contour's vertices appended to the ring; with a deviation, each arc edge first gets chord
// vertices evenly along it, so that no chord strays farther than that from its arc.
template <typename Ring>
void appendContour(Ring& ring, Contour const& contour, double deviation) {
    std::size_t n = contour.size();
    for (std::size_t j = 0; j < n; ++j) {
        Vertex const& a = contour[(j + n - 1) % n];
        Vertex const& b = contour[j];
        if (deviation > 0.0 && std::fabs(b.sweep) > 1e-5) {
            double dx = b.x - a.x, dy = b.y - a.y;
            double r = std::hypot(dx, dy) / 2.0 / std::fabs(std::sin(b.sweep / 2.0));
            // The centre lies on the chord's left normal for a positive sweep below a half turn.
            double d = 1.0 / std::tan(b.sweep / 2.0) / 2.0;
            double cx = (a.x + b.x) / 2.0 - dy * d, cy = (a.y + b.y) / 2.0 + dx * d;
            double start = std::atan2(a.y - cy, a.x - cx);
            double step = 2.0 * std::acos(r / (r + deviation));
            int count = int(std::ceil(std::fabs(b.sweep) / step));
            for (int i = 1; i < count; ++i) {
                double t = start + b.sweep * i / count;
                bg::append(ring, BoostPoint(cx + r * std::cos(t), cy + r * std::sin(t)));
            }
        }
        bg::append(ring, BoostPoint(b.x, b.y));
    }
}

// The case's straight-edged twin; with a deviation, its arcs as chords within that of them.
inline BoostPolygon toBoost(PolygonCase const& c, bool withHoles, double deviation = 0.0) {
    BoostPolygon polygon;
    appendContour(polygon.outer(), c.outline, deviation);
    if (withHoles) {
        polygon.inners().resize(c.holes.size());
        for (std::size_t k = 0; k < c.holes.size(); ++k)
            appendContour(polygon.inners()[k], c.holes[k], deviation);
    }
    bg::correct(polygon);
    return polygon;
}

// The distance from the point to the nearest boundary (outline or hole), also for points inside:
// each ring is measured as a line string, not as an area.
inline double distanceToBoundary(BoostPolygon const& polygon, BoostPoint const& p) {
    auto ringDistance = [&p](auto const& ring) {
        bg::model::linestring<BoostPoint> line(ring.begin(), ring.end());
        if (!line.empty())
            line.push_back(line.front());
        return bg::distance(p, line);
    };
    double d = ringDistance(polygon.outer());
    for (auto const& inner : polygon.inners())
        d = std::min(d, ringDistance(inner));
    return d;
}

// Runs check on every straight case in all four variants (as listed or reversed, without or with
// its holes), each under a trace naming it; stops at the first fatal failure.
template <typename Check>
void forEachStraightVariant(Check const& check) {
    for (PolygonCase const& c : straightCases()) {
        for (bool reverse : {false, true}) {
            for (bool withHoles : {false, true}) {
                SCOPED_TRACE(c.name + (reverse ? " reversed" : "") + (withHoles ? " with holes" : ""));
                check(c, reverse, withHoles, build(c, reverse, withHoles), toBoost(c, withHoles));
                if (::testing::Test::HasFatalFailure())
                    return;
            }
        }
    }
}

} // namespace zelvane
