// Edge offset, resize and union through the host's polygon library: results, ids carried by
// coordinates, the host calls made, and every host record freed whatever fails.
#include "Geometry/CadPolygon.h"
#include "Geometry/PolyList.h"
#include "Geometry/PolyVector.h"
#include "PointExpect.h"
#include "PolygonCases.h"

#include "sim/Geometry.h"
#include "sim/Memory.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace zelvane {

namespace {

CadPolygon square(double x0, double y0, double x1, double y1, unsigned int firstId) {
    CadPolygon polygon;
    fill(polygon, {{x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0}});
    for (int i = 0; i < 4; ++i)
        polygon[i]->setID(firstId + unsigned(i));
    polygon.setTopId(firstId + 3);
    return polygon;
}

unsigned int idAt(CadPolygon const& polygon, double x, double y) {
    int i = polygon.findVertexByLocation(CadPoint(x, y, 0), nullptr);
    return i == CadPolygon::notFound ? 0xFFFFFFFF : polygon[i].getID();
}

} // namespace

TEST(HostPolygonTest, MergeUnitesAndKeepsIds) {
    CadPolygon a = square(0, 0, 2, 2, 1);
    CadPolygon b = square(1, 1, 3, 3, 11);
    PolyList out;
    std::size_t before = sim::memoryStats().liveHandles;
    EXPECT_TRUE(a.merge2D(b, out));
    ASSERT_EQ(out.size(), 1U);
    CadPolygon const& merged = *out.front();
    EXPECT_EQ(merged.vertSize(), 8);
    EXPECT_NEAR(merged.getArea(true, false), 7.0, 1e-9);
    EXPECT_TRUE(merged.isClosed());
    EXPECT_EQ(idAt(merged, 0, 0), 1U);
    EXPECT_EQ(idAt(merged, 3, 3), 13U);
    EXPECT_EQ(idAt(merged, 2, 1), 0U) << "a crossing is a new vertex";
    EXPECT_EQ(sim::callCount("UnifyPolygon2DData"), 1U);
    EXPECT_EQ(sim::callCount("OrientPolygon2DData"), 2U);
    // The result record and both input records.
    EXPECT_EQ(sim::callCount("FreePolygon2DData"), 3U);
    EXPECT_EQ(sim::memoryStats().liveHandles, before);

    // Disjoint polygons come back in a fixed order: the larger first.
    PolyList apart;
    EXPECT_TRUE(square(0, 0, 1, 1, 1).merge2D(square(5, 5, 7, 7, 5), apart));
    ASSERT_EQ(apart.size(), 2U);
    EXPECT_NEAR(apart.front()->getArea(true, false), 4.0, 1e-9);
    EXPECT_NEAR(apart.back()->getArea(true, false), 1.0, 1e-9);

    // A polygon without vertices hands back a copy of the other, without asking the host.
    sim::clearCalls();
    PolyList copy;
    EXPECT_TRUE(CadPolygon().merge2D(b, copy));
    ASSERT_EQ(copy.size(), 1U);
    EXPECT_TRUE(copy.front()->isEqual2D(b));
    EXPECT_EQ(sim::callCount("UnifyPolygon2DData"), 0U);
}

TEST(HostPolygonTest, ConversionKeepsContoursAndArcs) {
    // Two touching squares, the first with a hole: the hole survives the round trip.
    CadPolygon framed = square(0, 0, 4, 4, 1);
    framed.addHole(new CadPolygon(square(1, 1, 2, 2, 0)))->reverse();
    PolyList out;
    EXPECT_TRUE(framed.merge2D(square(4, 0, 5, 4, 21), out));
    ASSERT_EQ(out.size(), 1U);
    EXPECT_EQ(out.front()->getHoleCount(), 1);
    EXPECT_NEAR(out.front()->getArea(true, false), 16.0 + 4.0 - 1.0, 1e-9);
    EXPECT_EQ(out.front()->getHole(0).getDirection(), PolyPoint::clockwise);

    // An arc comes back as chords that stay within 0.002 of it.
    CadPolygon halfDisc;
    halfDisc.push_back(new PolyPoint(CadPoint(1, 0, 0), 0.0, 1));
    halfDisc.push_back(new PolyPoint(CadPoint(-1, 0, 0), kPi, 2));
    PolyList chords;
    EXPECT_TRUE(halfDisc.merge2D(square(5, 0, 6, 1, 3), chords));
    ASSERT_EQ(chords.size(), 2U);
    CadPolygon const& faceted = *chords.front();
    EXPECT_GT(faceted.vertSize(), 20);
    EXPECT_EQ(faceted.getArcCount(true), 0);
    EXPECT_NEAR(faceted.getArea(true, false), kPi / 2.0, kPi * 0.002);
    EXPECT_EQ(idAt(faceted, 1, 0), 1U);
    EXPECT_EQ(idAt(faceted, -1, 0), 2U);
    // A clockwise outline is turned by the host before it works on it.
    CadPolygon clockwise = square(0, 0, 1, 1, 1);
    clockwise.reverse();
    PolyList turned;
    EXPECT_TRUE(clockwise.merge2D(square(1, 0, 2, 1, 5), turned));
    ASSERT_EQ(turned.size(), 1U);
    EXPECT_NEAR(turned.front()->getArea(true, false), 2.0, 1e-9);
}

TEST(HostPolygonTest, RecordLayout) {
    // An anticlockwise outline of 4 vertices (an arc on its closing edge) and a hole of 3.
    CadPolygon polygon = square(0, 0, 4, 4, 1);
    polygon[0]->setSweep(0.5);
    CadPolygon* hole = polygon.addHole(nullptr);
    fill(*hole, {{1, 1, 0}, {1, 2, 0}, {2, 1, 0}});
    (*hole)[0]->setID(7);
    PolyList out;
    EXPECT_TRUE(polygon.resizePolygon(out, 0.1));
    ASSERT_EQ(sim::polygonInputs().size(), 1U);
    sim::PolygonRecordSeen const& seen = sim::polygonInputs().front();
    EXPECT_EQ(seen.contours, 2);
    EXPECT_EQ(seen.vertices, 4 + 3 + 2);
    EXPECT_EQ(seen.contourEnds, (std::vector<UInt32>{0, 5, 9}));
    EXPECT_EQ(seen.status, 7U);
    EXPECT_EQ(seen.vertexData, (std::vector<UInt32>{1, 2, 3, 4, 1, 7, 0, 0, 7}));
    // Each contour repeats its first vertex at its end.
    EXPECT_EQ(seen.xs[0], seen.xs[4]);
    EXPECT_EQ(seen.xs[5], seen.xs[8]);
    // The closing edge's arc sits on the repeated coordinate; the hole was already clockwise.
    EXPECT_EQ(seen.arcEnds, (std::vector<Int32>{5}));
    EXPECT_EQ(seen.arcAngles, (std::vector<double>{0.5}));
}

TEST(HostPolygonTest, OffsetEdge) {
    struct Case {
        char const* name;
        bool reversed;
        int edge;
        double distance;
        double area;
    };
    // Edge 1 of the square runs (0,0) to (2,0) as given, or (2,0) to (0,0) when reversed. A
    // positive distance moves it to its left.
    Case const cases[] = {
        {"inwards", false, 1, 0.5, 3.0},
        {"outwards", false, 1, -0.5, 5.0},
        {"reversed order, outwards", true, 1, 0.5, 5.0},
        {"reversed order, inwards", true, 1, -0.5, 3.0},
        {"closing edge", false, 0, 0.25, 3.5},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        CadPolygon polygon = square(0, 0, 2, 2, 1);
        if (c.reversed) {
            polygon.reverse();
            // Keep (0,0) before (2,0) as edge 1's start and end points in reverse.
            std::rotate(polygon.begin(), polygon.begin() + 3, polygon.end());
        }
        PolyList out;
        EXPECT_TRUE(polygon.offsetEdge(out, c.edge, c.distance, 0));
        ASSERT_EQ(out.size(), 1U);
        EXPECT_NEAR(out.front()->getArea(true, false), c.area, 1e-9);
    }
    // A hole's edge moved into the material widens the hole.
    CadPolygon framed = square(0, 0, 4, 4, 1);
    framed.addHole(new CadPolygon(square(1, 1, 2, 2, 0)))->reverse();
    PolyList out;
    EXPECT_TRUE(framed.offsetEdge(out, 1, 0.5, 1));
    ASSERT_EQ(out.size(), 1U);
    EXPECT_NEAR(out.front()->getArea(true, false), 16.0 - 1.5, 1e-9);
    EXPECT_THROW(framed.offsetEdge(out, 1, 0.5, 2), std::out_of_range);
    EXPECT_EQ(out.size(), 1U);
}

TEST(HostPolygonTest, Resize) {
    CadPolygon framed = square(0, 0, 4, 4, 1);
    framed.addHole(new CadPolygon(square(1, 1, 2, 2, 0)))->reverse();
    struct Case {
        double distance;
        double area;
    };
    for (Case const& c : {Case{1.0, 36.0 - 1.0}, Case{-0.5, 9.0 - 1.0}}) {
        SCOPED_TRACE(c.distance);
        PolyList out;
        EXPECT_TRUE(framed.resizePolygon(out, c.distance));
        ASSERT_EQ(out.size(), 1U);
        EXPECT_NEAR(out.front()->getArea(true, false), c.area, 1e-5);
        EXPECT_EQ(out.front()->getHoleCount(), 1);
        EXPECT_EQ(out.front()->vertSize(), 4) << "mitred corners";
    }
    // Shrunk to nothing: no polygon comes back.
    PolyList none;
    EXPECT_FALSE(square(0, 0, 1, 1, 1).resizePolygon(none, -1.0));
    EXPECT_TRUE(none.empty());
}

TEST(HostPolygonTest, FailuresAddNothingAndFreeEverything) {
    CadPolygon a = square(0, 0, 2, 2, 1);
    CadPolygon b = square(1, 1, 3, 3, 11);
    std::size_t before = sim::memoryStats().liveHandles;

    // A failing host call answers false, also when the list held polygons before.
    PolyList out;
    out.push_back(new CadPolygon(b));
    sim::failCall("UnifyPolygon2DData", Error);
    EXPECT_FALSE(a.merge2D(b, out));
    EXPECT_EQ(out.size(), 1U);
    sim::failCall("ResizePolygon2DDataContour", Error);
    EXPECT_FALSE(a.resizePolygon(out, 1.0));
    sim::failCall("OffsetPolygon2DDataEdge", Error);
    EXPECT_FALSE(a.offsetEdge(out, 1, 0.5, 0));
    sim::failCall("OrientPolygon2DData", Error);
    EXPECT_FALSE(a.merge2D(b, out));
    EXPECT_EQ(out.size(), 1U);
    EXPECT_EQ(sim::memoryStats().liveHandles, before);

    // A malformed result record is skipped, and freed with the others.
    sim::clearCalls();
    sim::appendMalformedPolygonResult();
    PolyList merged;
    EXPECT_TRUE(a.merge2D(b, merged));
    EXPECT_EQ(merged.size(), 1U);
    EXPECT_EQ(sim::callCount("FreePolygon2DData"), 4U);
    sim::appendMalformedPolygonResult();
    PolyList none;
    EXPECT_FALSE(square(0, 0, 1, 1, 1).resizePolygon(none, -1.0));
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(sim::memoryStats().liveHandles, before);

    // Every allocation of a merge may fail: the call then answers false and frees what it made.
    int failures = 0;
    for (int skip = 0; skip < 40; ++skip) {
        PolyList result;
        sim::failNextAllocations(1, ErrMemoryFull, skip);
        bool appended = a.merge2D(b, result);
        EXPECT_EQ(appended, !result.empty());
        failures += appended ? 0 : 1;
        sim::failNextAllocations(0);
        EXPECT_EQ(sim::memoryStats().liveHandles, before) << skip;
    }
    EXPECT_GT(failures, 5);
}

} // namespace zelvane
