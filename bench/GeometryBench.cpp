// Polygon queries, splits and resolving on polygons of 10 to 100,000 vertices, beside Boost.Geometry's
// answers to the same questions on the same polygons. Every benchmark reports its complexity in
// the vertex count.
#include "Geometry/CadPolygon.h"
#include "Geometry/LinearEquation.h"
#include "Geometry/PolyList.h"
#include "Geometry/PolyVector.h"

#include <benchmark/benchmark.h>
// Boost.Geometry's rescaling policy trips GCC's flow analysis when inlined at -O2.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <boost/geometry.hpp>
#include <boost/geometry/geometries/multi_polygon.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/polygon.hpp>
#pragma GCC diagnostic pop

#include <cmath>
#include <random>

using namespace zelvane;

namespace {

namespace bg = boost::geometry;
using BoostPoint = bg::model::d2::point_xy<double>;
using BoostPolygon = bg::model::polygon<BoostPoint, false>;
using BoostMulti = bg::model::multi_polygon<BoostPolygon>;

constexpr double pi = 3.14159265358979323846;

// A star-shaped polygon of n vertices about (cx, cy), its radii within 1 / n of 1 (so that two such
// polygons cross a few times whatever n), with a hole of n / 10 vertices (at least 3) of radius 0.3
// about its centre.
CadPolygon makePolygon(int n, double cx, double cy, double rotation, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> radius(1.0 - 1.0 / n, 1.0 + 1.0 / n);
    CadPolygon polygon(n, 1, true);
    for (int i = 0; i < n; ++i) {
        double a = rotation + 2.0 * pi * i / n;
        double r = radius(rng);
        polygon.push_back(new PolyPoint(CadPoint(cx + r * std::cos(a), cy + r * std::sin(a), 0.0), 0.0, 0));
    }
    CadPolygon* hole = polygon.addHole(nullptr);
    int m = std::max(3, n / 10);
    for (int i = m - 1; i >= 0; --i) {
        double a = rotation + 2.0 * pi * i / m;
        hole->push_back(new PolyPoint(CadPoint(cx + 0.3 * std::cos(a), cy + 0.3 * std::sin(a), 0.0), 0.0, 0));
    }
    return polygon;
}

BoostPolygon toBoost(CadPolygon const& polygon) {
    BoostPolygon result;
    for (int i = 0; i <= polygon.vertSize(); ++i)
        bg::append(result.outer(), BoostPoint(polygon[i].x(), polygon[i].y()));
    for (int k = 0; k < polygon.getHoleCount(); ++k) {
        result.inners().emplace_back();
        CadPolygon const& hole = polygon.getHole(k);
        for (int i = 0; i <= hole.vertSize(); ++i)
            bg::append(result.inners().back(), BoostPoint(hole[i].x(), hole[i].y()));
    }
    bg::correct(result);
    return result;
}

CadPolygon subject(benchmark::State const& state) {
    return makePolygon(int(state.range(0)), 0.0, 0.0, 0.0, 7);
}

// The second operand crosses the first a few times, whatever the vertex count.
CadPolygon other(benchmark::State const& state) {
    return makePolygon(int(state.range(0)), 1.2, 0.3, 0.01, 11);
}

void PositionOf(benchmark::State& state) {
    CadPolygon polygon = subject(state);
    CadPoint point(0.6, 0.1, 0.0);
    for (auto _ : state)
        benchmark::DoNotOptimize(polygon.positionOf(point));
    state.SetComplexityN(state.range(0));
}

void BoostWithin(benchmark::State& state) {
    BoostPolygon polygon = toBoost(subject(state));
    BoostPoint point(0.6, 0.1);
    for (auto _ : state)
        benchmark::DoNotOptimize(bg::within(point, polygon));
    state.SetComplexityN(state.range(0));
}

void SplitWithLine(benchmark::State& state) {
    CadPolygon polygon = subject(state);
    LinearEquation line(0.3, CadPoint(0.05, 0.02, 0.0));
    for (auto _ : state) {
        PolyList right, left;
        polygon.splitWith(line, &right, &left);
        benchmark::DoNotOptimize(right.size() + left.size());
    }
    state.SetComplexityN(state.range(0));
}

void SplitWithPolygon(benchmark::State& state) {
    CadPolygon polygon = subject(state);
    CadPolygon cutter = other(state);
    for (auto _ : state) {
        PolyList inside, outside;
        polygon.splitWith(cutter, &inside, &outside);
        benchmark::DoNotOptimize(inside.size() + outside.size());
    }
    state.SetComplexityN(state.range(0));
}

void BoostIntersection(benchmark::State& state) {
    BoostPolygon polygon = toBoost(subject(state));
    BoostPolygon cutter = toBoost(other(state));
    for (auto _ : state) {
        BoostMulti inside, outside;
        bg::intersection(polygon, cutter, inside);
        bg::difference(polygon, cutter, outside);
        benchmark::DoNotOptimize(inside.size() + outside.size());
    }
    state.SetComplexityN(state.range(0));
}

// A figure of eight of n vertices: two loops meeting at the origin, whose edges through it have
// collinear neighbours.
CadPolygon figureEight(int n) {
    CadPolygon polygon(n, 0, true);
    int half = n / 2;
    for (int loop = 0; loop < 2; ++loop) {
        double cx = loop == 0 ? 1.0 : -1.0;
        for (int i = 0; i < half; ++i) {
            double a = pi + 2.0 * pi * (i + 0.5) / half;
            polygon.push_back(new PolyPoint(
                CadPoint(cx + std::cos(a) * (loop == 0 ? 1.0 : -1.0), std::sin(a), 0.0), 0.0, 0));
        }
    }
    return polygon;
}

void ResolveFigureEight(benchmark::State& state) {
    CadPolygon polygon = figureEight(int(state.range(0)));
    for (auto _ : state) {
        PolyList pieces;
        benchmark::DoNotOptimize(polygon.resolveSelfIntersect(pieces));
    }
    state.SetComplexityN(state.range(0));
}

// A simple polygon: the whole work is finding that nothing needs resolving.
void ResolveSimple(benchmark::State& state) {
    CadPolygon polygon = subject(state);
    polygon.setHoles(nullptr);
    for (auto _ : state) {
        PolyList pieces;
        benchmark::DoNotOptimize(polygon.resolveSelfIntersect(pieces));
    }
    state.SetComplexityN(state.range(0));
}

void IsValid(benchmark::State& state) {
    CadPolygon polygon = subject(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(polygon.isValid(true));
    state.SetComplexityN(state.range(0));
}

void BoostIsValid(benchmark::State& state) {
    BoostPolygon polygon = toBoost(subject(state));
    for (auto _ : state)
        benchmark::DoNotOptimize(bg::is_valid(polygon));
    state.SetComplexityN(state.range(0));
}

} // namespace

BENCHMARK(PositionOf)->RangeMultiplier(10)->Range(10, 10000)->Complexity();
BENCHMARK(BoostWithin)->RangeMultiplier(10)->Range(10, 10000)->Complexity();
BENCHMARK(SplitWithLine)->RangeMultiplier(10)->Range(10, 10000)->Complexity();
BENCHMARK(SplitWithPolygon)->RangeMultiplier(10)->Range(10, 10000)->Complexity();
BENCHMARK(BoostIntersection)->RangeMultiplier(10)->Range(10, 10000)->Complexity();
BENCHMARK(ResolveFigureEight)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Complexity()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ResolveSimple)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Complexity()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(IsValid)->RangeMultiplier(10)->Range(10, 10000)->Complexity();
BENCHMARK(BoostIsValid)->RangeMultiplier(10)->Range(10, 10000)->Complexity();

BENCHMARK_MAIN();
