// The host's 2D polygon operations, built on Boost.Geometry.
//
// Arcs: Boost.Geometry knows only straight edges, so every arc is replaced by chords before an
// operation (at most 0.002 from the arc), and results come back with chords where the input had
// arcs; no arc record is ever produced. Vertex data: a result vertex whose coordinates match an
// input coordinate takes that coordinate's data; new vertices (chords, corners of an offset) get
// zeroed data. Results are ordered by descending area, then by their lowest-leftmost vertex, and
// each contour starts at its lowest-leftmost vertex, so a call always answers the same records.
#include "Geometry/Polygon2DData.hpp"

#include "GSRoot/BM.hpp"
#include "sim/Geometry.h"
#include "sim/Sim.h"

#include <boost/geometry.hpp>
#include <boost/geometry/geometries/multi_polygon.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/polygon.hpp>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace Geometry {

namespace {

namespace bg = boost::geometry;
using Point = bg::model::d2::point_xy<double>;
// Anticlockwise outlines and clockwise holes, as the records hold them once oriented.
using Polygon = bg::model::polygon<Point, false, true>;
using Ring = Polygon::ring_type;
using MultiPolygon = bg::model::multi_polygon<Polygon>;

constexpr double pi = 3.14159265358979323846;
constexpr double chordDeviation = 0.002;
constexpr double matchTol = 1e-9;

bool malformedPending = false;
std::vector<sim::PolygonRecordSeen> inputsSeen;

const bool registered = sim::registerReset([] {
    malformedPending = false;
    inputsSeen.clear();
});

template <typename T>
T* block(GSHandle handle) {
    return handle == nullptr ? nullptr : reinterpret_cast<T*>(*handle);
}

template <typename T>
const T* block(const GSConstHandle handle) {
    return handle == nullptr ? nullptr : reinterpret_cast<const T*>(*handle);
}

struct Tagged {
    double x;
    double y;
    std::vector<char> data;
};

// The record read and checked: every count against the bytes its handle holds, contour ends
// increasing within the coordinates, arcs on edges of one contour.
struct Reader {
    const Polygon2DData& record;
    const Coord2D* coords = nullptr;
    const PolyArcRec* arcs = nullptr;
    const UInt32* ends = nullptr;
    const char* data = nullptr;

    explicit Reader(const Polygon2DData& r) : record(r) {}

    bool check() {
        const Polygon2DData& r = record;
        if (r.nVertices < 0 || r.nArcs < 0 || r.nContours < 1 || r.vertices == nullptr ||
            r.contourEnds == nullptr)
            return false;
        if (BMGetHandleSize(r.vertices) < GSSize(sizeof(Coord2D)) * (r.nVertices + 1) ||
            BMGetHandleSize(r.contourEnds) < GSSize(sizeof(UInt32)) * (r.nContours + 1))
            return false;
        if (r.nArcs > 0 &&
            (r.arcs == nullptr || BMGetHandleSize(r.arcs) < GSSize(sizeof(PolyArcRec)) * (r.nArcs + 1)))
            return false;
        if (r.vertexDataSize < 0 ||
            (r.vertexDataSize > 0 &&
             (r.vertexData == nullptr ||
              BMGetHandleSize(r.vertexData) < GSSize(r.vertexDataSize) * (r.nVertices + 1))))
            return false;
        coords = block<Coord2D>(r.vertices);
        arcs = block<PolyArcRec>(r.arcs);
        ends = block<UInt32>(r.contourEnds);
        data = r.vertexDataSize > 0 ? block<char>(r.vertexData) : nullptr;
        if (ends[0] != 0)
            return false;
        for (Int32 c = 1; c <= r.nContours; ++c)
            if (ends[c] < ends[c - 1] + 3 || ends[c] > UInt32(r.nVertices))
                return false;
        for (Int32 a = 1; a <= r.nArcs; ++a) {
            const PolyArcRec& arc = arcs[a];
            if (arc.endIndex < 2 || arc.endIndex > r.nVertices || arc.begIndex != arc.endIndex - 1 ||
                !std::isfinite(arc.arcAngle) || std::fabs(arc.arcAngle) >= 2.0 * pi)
                return false;
            for (Int32 c = 1; c <= r.nContours; ++c)
                if (UInt32(arc.begIndex) == ends[c])
                    return false;
        }
        for (Int32 i = 1; i <= r.nVertices; ++i)
            if (!std::isfinite(coords[i].x) || !std::isfinite(coords[i].y))
                return false;
        return true;
    }

    double sweepEndingAt(Int32 index) const {
        double sweep = 0.0;
        for (Int32 a = 1; a <= record.nArcs; ++a)
            if (arcs[a].endIndex == index)
                sweep = arcs[a].arcAngle;
        return sweep;
    }

    // The contour's points, arcs replaced by chords, closed.
    Ring ring(Int32 c) const {
        Ring result;
        UInt32 first = ends[c - 1] + 1;
        bg::append(result, Point(coords[first].x, coords[first].y));
        for (UInt32 i = first + 1; i <= ends[c]; ++i) {
            double sweep = sweepEndingAt(Int32(i));
            if (std::fabs(sweep) > 1e-5)
                appendChords(result, coords[i - 1], coords[i], sweep);
            bg::append(result, Point(coords[i].x, coords[i].y));
        }
        return result;
    }

    static void appendChords(Ring& ring, Coord2D a, Coord2D b, double sweep) {
        double chord = std::hypot(b.x - a.x, b.y - a.y);
        double radius = chord / (2.0 * std::sin(std::fabs(sweep) / 2.0));
        if (chord <= 0.0 || !std::isfinite(radius))
            return;
        double mx = (a.x + b.x) / 2.0, my = (a.y + b.y) / 2.0;
        // The centre lies left of the chord for an anticlockwise arc of less than half a turn.
        double h = radius * std::cos(sweep / 2.0) * (sweep > 0.0 ? 1.0 : -1.0);
        double cx = mx - h * (b.y - a.y) / chord, cy = my + h * (b.x - a.x) / chord;
        double step =
            radius > chordDeviation ? 2.0 * std::acos(radius / (radius + chordDeviation)) : pi / 2.0;
        int count = int(std::ceil(std::fabs(sweep) / step));
        double start = std::atan2(a.y - cy, a.x - cx);
        for (int k = 1; k < count; ++k) {
            double angle = start + sweep * k / count;
            bg::append(ring, Point(cx + radius * std::cos(angle), cy + radius * std::sin(angle)));
        }
    }

    Polygon polygon() const {
        Polygon result;
        result.outer() = ring(1);
        for (Int32 c = 2; c <= record.nContours; ++c)
            result.inners().push_back(ring(c));
        bg::correct(result);
        return result;
    }

    void collect(std::vector<Tagged>& tags) const {
        for (Int32 i = 1; i <= record.nVertices; ++i) {
            Tagged tag{coords[i].x, coords[i].y, {}};
            if (data != nullptr)
                tag.data.assign(data + std::size_t(i) * std::size_t(record.vertexDataSize),
                                data + std::size_t(i + 1) * std::size_t(record.vertexDataSize));
            tags.push_back(std::move(tag));
        }
    }
};

GSHandle allocate(GSSize size) {
    return BMAllocateHandle(size, ALLOCATE_CLEAR, 0);
}

void killHandle(GSHandle& handle) {
    if (handle != nullptr)
        BMKillHandle(&handle);
    handle = nullptr;
}

// The ring without its closing repeat, starting at its lowest-leftmost point.
std::vector<Point> canonical(const Ring& ring) {
    std::vector<Point> points(ring.begin(), ring.end());
    if (points.size() > 1 && bg::equals(points.front(), points.back()))
        points.pop_back();
    auto lowest = std::min_element(points.begin(), points.end(), [](const Point& a, const Point& b) {
        return a.x() < b.x() || (a.x() == b.x() && a.y() < b.y());
    });
    std::rotate(points.begin(), lowest, points.end());
    return points;
}

GSErrCode writeRecord(const Polygon& polygon, const std::vector<Tagged>& tags, Int32 dataSize,
                      Polygon2DData& record) {
    std::vector<std::vector<Point>> contours;
    contours.push_back(canonical(polygon.outer()));
    for (const Ring& inner : polygon.inners())
        contours.push_back(canonical(inner));
    Int32 total = 0;
    for (const auto& contour : contours)
        total += Int32(contour.size()) + 1;
    std::memset(&record, 0, sizeof record);
    record.nVertices = total;
    record.nContours = Int32(contours.size());
    record.vertexDataSize = dataSize;
    record.polygonDataSize = 4;
    record.vertices = allocate(GSSize(sizeof(Coord2D)) * (total + 1));
    record.arcs = allocate(GSSize(sizeof(PolyArcRec)));
    record.contourEnds = allocate(GSSize(sizeof(UInt32)) * (record.nContours + 1));
    record.vertexData = dataSize > 0 ? allocate(GSSize(dataSize) * (total + 1)) : nullptr;
    record.polygonData = allocate(4);
    if (record.vertices == nullptr || record.arcs == nullptr || record.contourEnds == nullptr ||
        (dataSize > 0 && record.vertexData == nullptr) || record.polygonData == nullptr) {
        FreePolygon2DData(&record);
        return ErrMemoryFull;
    }
    Coord2D* coords = block<Coord2D>(record.vertices);
    UInt32* ends = block<UInt32>(record.contourEnds);
    char* data = block<char>(record.vertexData);
    Int32 index = 0;
    for (std::size_t c = 0; c < contours.size(); ++c) {
        const auto& contour = contours[c];
        for (std::size_t k = 0; k <= contour.size(); ++k) {
            const Point& p = contour[k % contour.size()];
            coords[++index] = Coord2D{p.x(), p.y()};
            if (data == nullptr)
                continue;
            for (const Tagged& tag : tags) {
                if (std::fabs(tag.x - p.x()) <= matchTol && std::fabs(tag.y - p.y()) <= matchTol &&
                    Int32(tag.data.size()) == dataSize) {
                    std::memcpy(data + std::size_t(index) * std::size_t(dataSize), tag.data.data(),
                                tag.data.size());
                    break;
                }
            }
        }
        ends[c + 1] = UInt32(index);
    }
    GetPolygon2DDataBoundBox(record, &record.boundBox);
    record.status = Polygon2DClosed | Polygon2DHasVertexData | Polygon2DOriented;
    return NoError;
}

// The polygons appended in a fixed order; on failure nothing is appended.
GSErrCode writeResults(MultiPolygon polygons, const std::vector<Tagged>& tags, Int32 dataSize,
                       GS::VAArray<Polygon2DData>* results) {
    std::vector<std::pair<double, Point>> keys;
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < polygons.size(); ++i) {
        std::vector<Point> outer = canonical(polygons[i].outer());
        keys.emplace_back(bg::area(polygons[i]), outer.empty() ? Point(0, 0) : outer.front());
        order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(), [&keys](std::size_t a, std::size_t b) {
        const auto& ka = keys[a];
        const auto& kb = keys[b];
        if (ka.first != kb.first)
            return ka.first > kb.first;
        if (ka.second.x() != kb.second.x())
            return ka.second.x() < kb.second.x();
        return ka.second.y() < kb.second.y();
    });
    std::vector<Polygon2DData> made;
    for (std::size_t i : order) {
        if (polygons[i].outer().size() < 4)
            continue;
        Polygon2DData record;
        GSErrCode err = writeRecord(polygons[i], tags, dataSize, record);
        if (err != NoError) {
            for (Polygon2DData& done : made)
                FreePolygon2DData(&done);
            return err;
        }
        made.push_back(record);
    }
    if (malformedPending) {
        malformedPending = false;
        Polygon2DData bad;
        Polygon bogus;
        bg::append(bogus.outer(), Point(0, 0));
        bg::append(bogus.outer(), Point(1, 0));
        bg::append(bogus.outer(), Point(0, 1));
        bg::append(bogus.outer(), Point(0, 0));
        if (writeRecord(bogus, tags, dataSize, bad) == NoError) {
            block<UInt32>(bad.contourEnds)[1] = UInt32(bad.nVertices + 5);
            made.push_back(bad);
        }
    }
    for (const Polygon2DData& record : made)
        results->Push(record);
    return NoError;
}

GSErrCode readInput(const Polygon2DData& record, Polygon& polygon, std::vector<Tagged>& tags) {
    Reader reader(record);
    if (!reader.check())
        return ErrParam;
    sim::PolygonRecordSeen seen;
    seen.vertices = record.nVertices;
    seen.arcs = record.nArcs;
    seen.contours = record.nContours;
    seen.status = record.status;
    seen.contourEnds.assign(reader.ends, reader.ends + record.nContours + 1);
    for (Int32 i = 1; i <= record.nVertices; ++i) {
        seen.xs.push_back(reader.coords[i].x);
        seen.ys.push_back(reader.coords[i].y);
        if (record.vertexDataSize == 4) {
            UInt32 id = 0;
            std::memcpy(&id, reader.data + std::size_t(i) * 4, 4);
            seen.vertexData.push_back(id);
        }
    }
    for (Int32 a = 1; a <= record.nArcs; ++a) {
        seen.arcEnds.push_back(reader.arcs[a].endIndex);
        seen.arcAngles.push_back(reader.arcs[a].arcAngle);
    }
    inputsSeen.push_back(std::move(seen));
    polygon = reader.polygon();
    reader.collect(tags);
    return NoError;
}

double signedArea(const Reader& reader, Int32 c) {
    double area = 0.0;
    for (UInt32 i = reader.ends[c - 1] + 2; i <= reader.ends[c]; ++i) {
        const Coord2D& a = reader.coords[i - 1];
        const Coord2D& b = reader.coords[i];
        area += (a.x * b.y - b.x * a.y) / 2.0;
        double sweep = reader.sweepEndingAt(Int32(i));
        if (std::fabs(sweep) > 1e-5) {
            double chord = std::hypot(b.x - a.x, b.y - a.y);
            double r = chord / (2.0 * std::sin(std::fabs(sweep) / 2.0));
            double segment = r * r / 2.0 * (std::fabs(sweep) - std::sin(std::fabs(sweep)));
            area += sweep > 0.0 ? segment : -segment;
        }
    }
    return area;
}

// Boost.Geometry throws on input it cannot handle; the host answers an error instead.
template <typename Operation>
GSErrCode guarded(Operation const& operation) {
    try {
        return operation();
    } catch (...) {
        return Error;
    }
}

} // namespace

void GetPolygon2DDataBoundBox(const Polygon2DData& polygon, Box2DData* box) {
    Box2DData result{0.0, 0.0, 0.0, 0.0};
    Reader reader(polygon);
    if (reader.check()) {
        bool first = true;
        for (Int32 c = 1; c <= polygon.nContours; ++c) {
            for (const Point& p : reader.ring(c)) {
                if (first || p.x() < result.xMin)
                    result.xMin = p.x();
                if (first || p.y() < result.yMin)
                    result.yMin = p.y();
                if (first || p.x() > result.xMax)
                    result.xMax = p.x();
                if (first || p.y() > result.yMax)
                    result.yMax = p.y();
                first = false;
            }
        }
    }
    if (box != nullptr)
        *box = result;
}

GSErrCode OrientPolygon2DData(Polygon2DData* polygon) {
    if (GSErrCode err = sim::enter("OrientPolygon2DData"))
        return err;
    if (polygon == nullptr)
        return ErrParam;
    Reader reader(*polygon);
    if (!reader.check())
        return ErrParam;
    Coord2D* coords = block<Coord2D>(polygon->vertices);
    PolyArcRec* arcs = block<PolyArcRec>(polygon->arcs);
    char* data = block<char>(polygon->vertexData);
    std::size_t size = std::size_t(polygon->vertexDataSize);
    for (Int32 c = 1; c <= polygon->nContours; ++c) {
        double area = signedArea(reader, c);
        if (area == 0.0 || (area > 0.0) == (c == 1))
            continue;
        UInt32 first = reader.ends[c - 1] + 1;
        UInt32 last = reader.ends[c];
        std::reverse(coords + first, coords + last + 1);
        if (data != nullptr)
            for (UInt32 i = first, j = last; i < j; ++i, --j)
                std::swap_ranges(data + i * size, data + (i + 1) * size, data + j * size);
        // The arc that ended at index e now runs from the mirror of e to the mirror of e - 1.
        for (Int32 a = 1; a <= polygon->nArcs; ++a) {
            PolyArcRec& arc = arcs[a];
            if (UInt32(arc.endIndex) < first + 1 || UInt32(arc.endIndex) > last)
                continue;
            Int32 begin = Int32(first + last) - arc.endIndex;
            arc = PolyArcRec{begin, begin + 1, -arc.arcAngle};
        }
    }
    polygon->status |= Polygon2DOriented;
    return NoError;
}

GSErrCode OffsetPolygon2DDataEdge(const Polygon2DData& polygon, Int32 edgeIndex, double offset,
                                  GS::VAArray<Polygon2DData>* results) {
    if (GSErrCode err = sim::enter("OffsetPolygon2DDataEdge", edgeIndex))
        return err;
    return guarded([&]() -> GSErrCode {
        Polygon shape;
        std::vector<Tagged> tags;
        if (results == nullptr || !std::isfinite(offset))
            return ErrParam;
        if (GSErrCode err = readInput(polygon, shape, tags))
            return err;
        Reader reader(polygon);
        reader.check();
        Int32 contour = 0;
        for (Int32 c = 1; c <= polygon.nContours && contour == 0; ++c)
            if (UInt32(edgeIndex) > reader.ends[c - 1] && UInt32(edgeIndex) < reader.ends[c])
                contour = c;
        if (edgeIndex < 1 || contour == 0)
            return ErrParam;
        UInt32 first = reader.ends[contour - 1] + 1;
        UInt32 last = reader.ends[contour];
        // The edge's neighbours: the coordinate before its start and after its end, within the contour.
        UInt32 before = UInt32(edgeIndex) == first ? last - 1 : UInt32(edgeIndex) - 1;
        UInt32 after = UInt32(edgeIndex) + 1 == last ? first + 1 : UInt32(edgeIndex) + 2;
        Coord2D p0 = reader.coords[before], a = reader.coords[edgeIndex], b = reader.coords[edgeIndex + 1],
                p3 = reader.coords[after];
        double length = std::hypot(b.x - a.x, b.y - a.y);
        if (length <= 1e-9)
            return ErrParam;
        // The arc on the edge, if any, is offset as its chord.
        double nx = -(b.y - a.y) / length * offset, ny = (b.x - a.x) / length * offset;
        auto slide = [&](Coord2D from, Coord2D along, Coord2D fallback) {
            // Where the moved edge's line meets the neighbour's line through from and along.
            double dx = along.x - from.x, dy = along.y - from.y;
            double ex = b.x - a.x, ey = b.y - a.y;
            double denominator = dx * ey - dy * ex;
            Coord2D moved{fallback.x + nx, fallback.y + ny};
            if (std::fabs(denominator) <= 1e-12 * std::hypot(dx, dy) * length)
                return moved;
            double t = ((moved.x - from.x) * ey - (moved.y - from.y) * ex) / denominator;
            return Coord2D{from.x + t * dx, from.y + t * dy};
        };
        Coord2D a2 = slide(p0, a, a);
        Coord2D b2 = slide(p3, b, b);
        Polygon strip;
        for (const Coord2D& q : {a, b, b2, a2, a})
            bg::append(strip.outer(), Point(q.x, q.y));
        bg::correct(strip);
        if (!bg::is_valid(strip))
            return ErrParam;
        MultiPolygon result;
        // Left of every edge lies material once the record is oriented: a positive offset moves the
        // edge into it.
        if (offset > 0.0)
            bg::difference(shape, strip, result);
        else
            bg::union_(shape, strip, result);
        return writeResults(result, tags, polygon.vertexDataSize, results);
    });
}

GSErrCode ResizePolygon2DDataContour(const Polygon2DData& polygon, Int32 contourIndex, double offset,
                                     GS::VAArray<Polygon2DData>* results) {
    if (GSErrCode err = sim::enter("ResizePolygon2DDataContour", contourIndex))
        return err;
    return guarded([&]() -> GSErrCode {
        Polygon shape;
        std::vector<Tagged> tags;
        if (results == nullptr || contourIndex != 1 || !std::isfinite(offset))
            return ErrParam;
        if (GSErrCode err = readInput(polygon, shape, tags))
            return err;
        Polygon outline;
        outline.outer() = shape.outer();
        MultiPolygon grown;
        bg::buffer(outline, grown, bg::strategy::buffer::distance_symmetric<double>(offset),
                   bg::strategy::buffer::side_straight(), bg::strategy::buffer::join_miter(),
                   bg::strategy::buffer::end_flat(), bg::strategy::buffer::point_square());
        // The buffer leaves points along straight sides; only the corners are kept.
        MultiPolygon simplified;
        bg::simplify(grown, simplified, 1e-9);
        grown = simplified;
        MultiPolygon holes;
        for (const Ring& inner : shape.inners()) {
            Polygon hole;
            hole.outer().assign(inner.rbegin(), inner.rend());
            bg::correct(hole);
            MultiPolygon merged;
            bg::union_(holes, hole, merged);
            holes = merged;
        }
        MultiPolygon result;
        bg::difference(grown, holes, result);
        return writeResults(result, tags, polygon.vertexDataSize, results);
    });
}

GSErrCode UnifyPolygon2DData(const Polygon2DData& polygon1, const Polygon2DData& polygon2,
                             GS::VAArray<Polygon2DData>* results) {
    if (GSErrCode err = sim::enter("UnifyPolygon2DData"))
        return err;
    return guarded([&]() -> GSErrCode {
        Polygon a, b;
        std::vector<Tagged> tags;
        if (results == nullptr)
            return ErrParam;
        if (GSErrCode err = readInput(polygon1, a, tags))
            return err;
        if (GSErrCode err = readInput(polygon2, b, tags))
            return err;
        if (polygon1.vertexDataSize != polygon2.vertexDataSize)
            return ErrParam;
        MultiPolygon result;
        bg::union_(a, b, result);
        return writeResults(result, tags, polygon1.vertexDataSize, results);
    });
}

void FreePolygon2DData(Polygon2DData* polygon) {
    sim::log("FreePolygon2DData");
    if (polygon == nullptr)
        return;
    killHandle(polygon->vertices);
    killHandle(polygon->arcs);
    killHandle(polygon->contourEnds);
    killHandle(polygon->vertexData);
    killHandle(polygon->polygonData);
    std::memset(polygon, 0, sizeof *polygon);
}

} // namespace Geometry

namespace sim {

void appendMalformedPolygonResult() {
    Geometry::malformedPending = true;
}

const std::vector<PolygonRecordSeen>& polygonInputs() {
    return Geometry::inputsSeen;
}

} // namespace sim
