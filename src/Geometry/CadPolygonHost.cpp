// CadPolygon reshaped by the host's 2D polygon library: one edge offset, the outline resized, two
// polygons united. The polygons travel as host records; vertex ids ride along as per-vertex data.
#include "Geometry/CadPolygon.h"

#include "Geometry/PolyList.h"
#include "Geometry/PolyVector.h"

#include "GSRoot/BM.hpp"
#include "GSRoot/VAArray.hpp"
#include "Geometry/Polygon2DData.hpp"

#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace zelvane {

namespace {

constexpr double fixedTol = 1e-5;
constexpr UInt32 recordStatus = 7;
constexpr UInt32 resultRoom = 50;

// Frees the record's blocks when it goes out of scope.
class RecordHolder {
public:
    RecordHolder() { std::memset(&m_record, 0, sizeof m_record); }
    ~RecordHolder() { Geometry::FreePolygon2DData(&m_record); }
    RecordHolder(RecordHolder const&) = delete;
    RecordHolder& operator=(RecordHolder const&) = delete;
    Geometry::Polygon2DData& get() { return m_record; }

private:
    Geometry::Polygon2DData m_record;
};

template <typename T>
T* blockOf(GSHandle handle) {
    return reinterpret_cast<T*>(*handle);
}

// Writes the polygon as a host record: outline anticlockwise, holes clockwise. False when the
// host's memory runs out (the record's blocks are then freed by its holder).
bool CadPolyToGS2DPoly(CadPolygon const& polygon, Geometry::Polygon2DData& record) {
    CadPolygon copy(polygon);
    copy.setDirection(PolyPoint::anticlockwise, true, true);
    int contours = copy.getHoleCount() + 1;
    Int32 coordinates = 0;
    Int32 arcCount = 0;
    for (int k = 0; k < contours; ++k) {
        CadPolygon const& contour = copy.getShape(k);
        coordinates += contour.vertSize() + 1;
        for (int j = 1; j <= contour.vertSize(); ++j)
            if (std::fabs(contour[j].getSweep()) > fixedTol)
                ++arcCount;
    }
    record.nVertices = coordinates;
    record.nArcs = arcCount;
    record.nContours = contours;
    record.vertexDataSize = 4;
    record.polygonDataSize = 4;
    record.vertices =
        BMAllocateHandle(GSSize(sizeof(Geometry::Coord2D)) * (coordinates + 1), ALLOCATE_CLEAR, 0);
    record.arcs = BMAllocateHandle(GSSize(sizeof(Geometry::PolyArcRec)) * (arcCount + 1), ALLOCATE_CLEAR, 0);
    record.contourEnds = BMAllocateHandle(GSSize(sizeof(UInt32)) * (contours + 1), ALLOCATE_CLEAR, 0);
    record.vertexData = BMAllocateHandle(GSSize(4) * (coordinates + 1), ALLOCATE_CLEAR, 0);
    record.polygonData = BMAllocateHandle(4, ALLOCATE_CLEAR, 0);
    if (record.vertices == nullptr || record.arcs == nullptr || record.contourEnds == nullptr ||
        record.vertexData == nullptr || record.polygonData == nullptr)
        return false;
    auto* coords = blockOf<Geometry::Coord2D>(record.vertices);
    auto* arcs = blockOf<Geometry::PolyArcRec>(record.arcs);
    auto* ends = blockOf<UInt32>(record.contourEnds);
    auto* ids = blockOf<char>(record.vertexData);
    Int32 index = 0;
    Int32 arc = 0;
    ends[0] = 0;
    for (int k = 0; k < contours; ++k) {
        CadPolygon const& contour = copy.getShape(k);
        for (int j = 0; j <= contour.vertSize(); ++j) {
            PolyPoint const& vertex = contour[j];
            coords[++index] = Geometry::Coord2D{vertex.x(), vertex.y()};
            UInt32 id = vertex.getID();
            std::memcpy(ids + std::size_t(index) * 4, &id, 4);
            if (j > 0 && std::fabs(vertex.getSweep()) > fixedTol)
                arcs[++arc] = Geometry::PolyArcRec{index - 1, index, vertex.getSweep()};
        }
        ends[k + 1] = UInt32(index);
    }
    Geometry::GetPolygon2DDataBoundBox(record, &record.boundBox);
    if (Geometry::OrientPolygon2DData(&record) != NoError)
        return false;
    record.status = recordStatus;
    return true;
}

// Reads a host record into the polygon. A record whose counts do not fit its blocks, whose contour
// ends do not increase within its coordinates or whose arcs name coordinates it does not hold is
// refused whole.
bool GS2DPolyToCadPoly(Geometry::Polygon2DData const& record, CadPolygon& polygon) {
    polygon.initialise(true, false);
    if (record.nVertices < 1 || record.nContours < 1 || record.nArcs < 0 || record.vertices == nullptr ||
        record.contourEnds == nullptr)
        return false;
    if (BMGetHandleSize(record.vertices) < GSSize(sizeof(Geometry::Coord2D)) * (record.nVertices + 1) ||
        BMGetHandleSize(record.contourEnds) < GSSize(sizeof(UInt32)) * (record.nContours + 1))
        return false;
    if (record.nArcs > 0 &&
        (record.arcs == nullptr ||
         BMGetHandleSize(record.arcs) < GSSize(sizeof(Geometry::PolyArcRec)) * (record.nArcs + 1)))
        return false;
    bool withIds = record.vertexDataSize == 4 && record.vertexData != nullptr &&
                   BMGetHandleSize(record.vertexData) >= GSSize(4) * (record.nVertices + 1);
    auto const* coords = blockOf<Geometry::Coord2D>(record.vertices);
    auto const* ends = blockOf<UInt32>(record.contourEnds);
    auto const* arcs = record.nArcs > 0 ? blockOf<Geometry::PolyArcRec>(record.arcs) : nullptr;
    for (Int32 c = 1; c <= record.nContours; ++c)
        if (ends[c] <= ends[c - 1] + 1 || ends[c] > UInt32(record.nVertices))
            return false;
    std::vector<double> sweeps(std::size_t(record.nVertices) + 1, 0.0);
    for (Int32 a = 1; a <= record.nArcs; ++a) {
        if (arcs[a].endIndex < 1 || arcs[a].endIndex > record.nVertices || arcs[a].begIndex < 1 ||
            arcs[a].begIndex > record.nVertices)
            return false;
        sweeps[std::size_t(arcs[a].endIndex)] = arcs[a].arcAngle;
    }
    for (Int32 c = 1; c <= record.nContours; ++c) {
        CadPolygon* target = c == 1 ? &polygon : polygon.addHole(nullptr);
        for (UInt32 i = ends[c - 1] + 2; i <= ends[c]; ++i) {
            UInt32 id = 0;
            if (withIds)
                std::memcpy(&id, blockOf<char>(record.vertexData) + std::size_t(i) * 4, 4);
            target->push_back(new PolyPoint(CadPoint(coords[i].x, coords[i].y, 0.0), sweeps[i], id));
        }
        target->setClosed(true);
    }
    return polygon.isValid(false, fixedTol);
}

// Reads the results into out (valid ones only) and frees every record; answers how many were added.
int collectResults(GS::VAArray<Geometry::Polygon2DData>& results, PolyList& out) {
    int added = 0;
    for (UInt32 i = 1; i <= results.GetLastItemIndex(); ++i) {
        try {
            CadPolygon polygon(5, 0, true);
            if (GS2DPolyToCadPoly(results[i], polygon) && polygon.isValid(false, fixedTol)) {
                out.push_back(polygon.clone());
                ++added;
            }
        } catch (std::bad_alloc const&) {
        }
        Geometry::FreePolygon2DData(&results[i]);
    }
    return added;
}

} // namespace

bool CadPolygon::offsetEdge(PolyList& out, int edgeIndex, double distance, int contour) const {
    CadPolygon const& shape = contour == 0 ? *this : getHole(contour - 1);
    if (shape.empty())
        return false;
    CadPoint const& from = shape[edgeIndex - 1];
    CadPoint const& to = shape[edgeIndex];
    RecordHolder record;
    if (!CadPolyToGS2DPoly(*this, record.get()))
        return false;
    auto const* coords = blockOf<Geometry::Coord2D>(record.get().vertices);
    auto matches = [](Geometry::Coord2D const& c, CadPoint const& p) {
        return std::fabs(c.x - p.x()) <= fixedTol && std::fabs(c.y - p.y()) <= fixedTol;
    };
    Int32 hostEdge = 0;
    bool reversed = false;
    for (Int32 k = 1; k < record.get().nVertices && hostEdge == 0; ++k) {
        if (matches(coords[k], from) && matches(coords[k + 1], to)) {
            hostEdge = k;
        } else if (matches(coords[k], to) && matches(coords[k + 1], from)) {
            hostEdge = k;
            reversed = true;
        }
    }
    if (hostEdge == 0)
        return false;
    // The host moves its edge to the left of the record's direction; a positive distance moves this
    // polygon's edge to the left of its own direction, as PolyEdge::offset does.
    GS::VAArray<Geometry::Polygon2DData> results(resultRoom);
    if (Geometry::OffsetPolygon2DDataEdge(record.get(), hostEdge, reversed ? -distance : distance,
                                          &results) != NoError)
        return false;
    return collectResults(results, out) > 0;
}

bool CadPolygon::resizePolygon(PolyList& out, double distance) const {
    RecordHolder record;
    if (!CadPolyToGS2DPoly(*this, record.get()))
        return false;
    GS::VAArray<Geometry::Polygon2DData> results(resultRoom);
    if (Geometry::ResizePolygon2DDataContour(record.get(), 1, distance, &results) != NoError)
        return false;
    return collectResults(results, out) > 0;
}

bool CadPolygon::merge2D(CadPolygon const& other, PolyList& out) const {
    if (empty()) {
        out.push_back(other.clone());
        return true;
    }
    RecordHolder record;
    RecordHolder otherRecord;
    if (!CadPolyToGS2DPoly(*this, record.get()) || !CadPolyToGS2DPoly(other, otherRecord.get()))
        return false;
    GS::VAArray<Geometry::Polygon2DData> results(resultRoom);
    if (Geometry::UnifyPolygon2DData(record.get(), otherRecord.get(), &results) != NoError)
        return false;
    return collectResults(results, out) > 0;
}

} // namespace zelvane
