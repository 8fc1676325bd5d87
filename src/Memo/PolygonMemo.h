// The memo part of an element's polygon: contours (the first is the outline, the others its
// holes), arcs, vertex IDs and heights, packed into the host's polygon description and its
// coordinate, contour-end, arc, vertex-ID and height handles.
//
// Packed form: coordinate 0 is a placeholder when isFirstPackedVertexNull; each closed contour
// repeats its first coordinate as its last; contour-end entry k + 1 is the index of contour k's
// last coordinate (entry 0 is 0); an arc sits on the coordinate that ends its edge; vertex-ID
// entry 0 holds the polygon's top ID.
#pragma once

#include "ACAPI/ElementMemo.hpp"
#include "Geometry/CadPolygon.h"
#include "Memo/Memo.h"

#include <memory>

namespace zelvane {

class MemoStore;

class PolygonMemo : public Memo {
public:
    PolygonMemo() = default;
    PolygonMemo(const PolygonMemo& other);
    PolygonMemo& operator=(const PolygonMemo& other);
    ~PolygonMemo() override;

    bool isValid() const override;
    bool pack(MemoStore* store) const override;
    bool unpack(const MemoStore& store) const override;

    // The polygon, fetched first (null when there is none).
    CadPolygon* getPolygon();
    const CadPolygon* getPolygon() const;
    // A copy of the polygon, which counts as loaded.
    virtual void setPolygon(const CadPolygon& polygon);
    // Takes the polygon over, which counts as loaded.
    virtual void setPolygon(CadPolygon* polygon);
    UInt64 getFilter() const override { return 1; }
    // Counts of the packed form of the polygon into description (all 0 without one).
    void fillDescription(API_Polygon& description) const;
    // Whether the last unpacked record carried vertex IDs.
    bool hasVertexIDs() const { return m_hasVertexIDs; }

protected:
    // The vertex to append while unpacking.
    virtual PolyPoint* newVertex(const MemoStore& store, int index, const CadPoint& point, unsigned int id,
                                 double angle) const;
    // Called while packing once the description is filled; false stops the pack.
    virtual bool initPolygon(API_Polygon& description, MemoStore* store) const;
    // Called for every packed coordinate.
    virtual void putVertex(const PolyPoint& vertex, MemoStore* store, int index) const;
    virtual bool isClosedStructure() const { return true; }
    virtual bool isFirstPackedVertexNull() const { return true; }
    virtual bool isFirstPackedVertexRepeated() const { return isClosedStructure(); }
    virtual bool isHoleSupported() const { return isClosedStructure(); }
    // The description to fill when packing; the memo's own unless the owner keeps one.
    virtual API_Polygon& getPolyStorage(MemoStore* store) const;
    // The description to read when unpacking.
    virtual const API_Polygon& getPolyData(const MemoStore& store) const = 0;
    // New handles for the description's counts, handed out through the references.
    virtual bool allocateMemoData(MemoStore* store, const API_Polygon& description, API_Coord*& coords,
                                  Int32*& ends, API_PolyArc*& arcs, UInt32*& ids, double*& heights) const;
    virtual bool lockMemoData(const MemoStore& store, const API_Polygon& description, API_Coord*& coords,
                              Int32*& ends, API_PolyArc*& arcs, UInt32*& ids, double*& heights) const;
    virtual void unlockMemoData(const MemoStore& store) const;

    // Gives the polygon over to the caller; the memo holds none afterwards.
    CadPolygon* releasePolygon() const { return m_polygon.release(); }

private:
    mutable std::unique_ptr<CadPolygon> m_polygon;
    mutable API_Polygon m_description;
    mutable bool m_hasVertexIDs = false;
};

} // namespace zelvane
