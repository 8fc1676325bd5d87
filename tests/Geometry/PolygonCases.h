// Polygons for the geometry tests as named data, built in their variants (as listed or reversed,
// with or without holes), and their straight-edged twins as Boost.Geometry polygons, the oracle.
#pragma once

#include "Geometry/CadPolygon.h"
#include "Geometry/PolyVector.h"

#include <boost/geometry.hpp>
#include <boost/geometry/geometries/linestring.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/polygon.hpp>
#include <gtest/gtest.h>

#include <algorithm>
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

inline BoostPolygon toBoost(PolygonCase const& c, bool withHoles) {
    BoostPolygon polygon;
    for (Vertex const& v : c.outline)
        bg::append(polygon.outer(), BoostPoint(v.x, v.y));
    if (withHoles) {
        polygon.inners().resize(c.holes.size());
        for (std::size_t k = 0; k < c.holes.size(); ++k)
            for (Vertex const& v : c.holes[k])
                bg::append(polygon.inners()[k], BoostPoint(v.x, v.y));
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
