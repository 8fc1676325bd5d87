// A polygon or polyline of owned vertices whose edges are straight or circular arcs, with owned
// holes. Edge i runs from vertex i-1 to vertex i and carries vertex i's sweep; vertex 0's sweep
// belongs to the closing edge from the last vertex. Indices wrap. Contour 0 is the outline, contour
// k >= 1 the hole k-1. Vertex ids identify vertices across edits; 0 means no id.
#pragma once

#include "Environment/Vector.h"
#include "Geometry/InterPoint.h"
#include "Geometry/PolyPoint.h"

#include <memory>

namespace zelvane {

class CadArc;
class Cube;
class IntersectList;
class Line;
class LinearEquation;
class Matrix3x3;
class Plane;
class PolyEdge;
class PolyList;
class PolyVector;

class CadPolygon : public Vector<PolyPoint> {
public:
    // Not found (an index or a contour).
    static constexpr int notFound = 0x7FFFFFFF;

    // No vertices; a hole vector is made only for a non-zero hole capacity.
    explicit CadPolygon(int vertexCapacity = 0, int holeCapacity = 0, bool closed = true);
    // The box's plan rectangle at the lower of its two heights, closed, turned by the angle about the
    // coordinate origin.
    explicit CadPolygon(Cube const& box, double angle = 0.0);
    CadPolygon(CadPolygon const& other);
    // Copies deeply; the copies are made before anything is deleted, so a polygon may be assigned
    // one of its own holes.
    CadPolygon& operator=(CadPolygon const& other);
    ~CadPolygon() override;

    CadPolygon* clone() const override;

    virtual CadPolygon operator+(CadPoint const& offset) const;
    virtual CadPolygon& operator+=(CadPoint const& offset);
    virtual CadPolygon operator-(CadPoint const& offset) const;
    virtual CadPolygon& operator-=(CadPoint const& offset);
    virtual CadPolygon operator*(double const& factor) const;
    virtual CadPolygon& operator*=(double const& factor);
    virtual CadPolygon operator*(Matrix3x3 const& m) const;
    // A matrix that mirrors the plan also negates the sweeps, so arcs stay mirror images.
    virtual CadPolygon& operator*=(Matrix3x3 const& m);
    virtual CadPolygon operator/(double const& divisor) const;
    virtual CadPolygon& operator/=(double const& divisor);

    virtual int vertSize() const { return int(size()); }
    virtual unsigned int getTopID() const { return m_topID; }
    virtual int getHoleCount() const;
    // Throws std::out_of_range for a hole that does not exist.
    virtual CadPolygon& getHole(int i);
    virtual CadPolygon const& getHole(int i) const;
    // Null when the polygon has no holes.
    virtual PolyVector* getHoles() const { return m_holes.get(); }
    // Null without vertices; holes take no part.
    virtual std::unique_ptr<Cube> getBounds() const;
    virtual double getPerimeter2D() const;
    virtual double getPerimeter3D() const;
    // Sets point to the point at the distance along the outline and answers the index of the vertex
    // where that edge starts.
    virtual int tracePerimeter(double distance, PolyPoint& point) const;
    // 0 for an invalid polygon; signed: positive anticlockwise.
    virtual double getArea(bool subtractHoles, bool isSigned) const;
    // The index of the vertex with the id (searched from the last), or notFound; with a contour, the
    // holes are searched too and *contour is set.
    virtual int findVertexById(unsigned int id, int* contour) const;
    virtual int findVertexByLocation(CadPoint const& p, int* contour, double tol = 1e-5) const;
    // The outline for 0, else hole k-1.
    virtual CadPolygon const& getShape(int k) const;
    virtual CadPolygon& getShape(int k);
    virtual iterator iteratorAt(int i);
    virtual const_iterator iteratorAt(int i) const;
    // i wrapped into the vertices; 0 for a polygon without vertices.
    virtual int wrapIndex(int i) const;
    virtual bool isHole() const { return m_isHole; }
    virtual bool isClosed() const { return m_closed; }
    // With check, also false when an edge meets the polygon anywhere but at its own ends.
    virtual bool isValid(bool checkSelfIntersection, double tol = 1e-5) const;
    virtual unsigned int allocateID() { return ++m_topID; }
    virtual void setTopId(unsigned int id) { m_topID = id; }
    virtual void setHole(bool hole) { m_isHole = hole; }
    virtual void setClosed(bool closed) { m_closed = closed; }
    // Adopts the hole (a new empty one for null): marks it a hole, drops its own holes and its ids.
    // Throws std::invalid_argument for the polygon itself; one of its own holes is answered as it is.
    virtual CadPolygon* addHole(CadPolygon* hole);
    // Adopts the holes as they are (null for none), deleting the present ones.
    virtual void setHoles(PolyVector* holes);
    virtual void removeHole(int i);
    virtual std::unique_ptr<CadPolygon> releaseHole(int i);
    // Takes the vertex over; refuses (and deletes) it when a vertex lies at that place already. The
    // index notFound appends.
    virtual bool insertUniqueVertex(PolyPoint* vertex, int index);
    virtual std::unique_ptr<PolyVector> releaseHoles();
    // Reverses each valid contour that does not run the wanted way (holes the other way when
    // holesOpposite).
    virtual void setDirection(PolyPoint::Rotation direction, bool withHoles, bool holesOpposite);
    // Reverses the outline's vertex order; every arc keeps its shape.
    virtual void reverse();
    // Removes all vertices and holes and sets the two flags.
    virtual void initialise(bool closed, bool hole);
    // Gives every vertex without an id, or with an id seen before, a fresh one (all: every vertex).
    virtual void renumber(bool all);
    virtual void setBaseLevel(double z);
    // Every vertex onto the plane's height above it.
    virtual void alignTo(Plane const& plane);
    virtual bool isEqual3D(CadPolygon const& other, double tol = 1e-5) const;
    // The nearest boundary point, with the position code, the index of the edge's end vertex and the
    // contour in its first intercept.
    virtual InterPoint closestPointAlong3D(CadPoint const& point, bool withHoles, double tol = 1e-5) const;
    // Removes consecutive equal vertices of every contour, keeping at least one in each; true when one
    // was removed.
    virtual bool removeDuplicates3D(double tol = 1e-5);
    // Same vertices in the same order, contour by contour; sweeps and ids are not compared.
    virtual bool isEqual2D(CadPolygon const& other, double tol = 1e-5) const;
    virtual InterPoint closestPointAlong2D(CadPoint const& point, bool withHoles, double tol = 1e-5) const;
    virtual bool removeDuplicates2D(double tol = 1e-5);
    // The edge leaving the vertex continues the edge arriving at it within the angle tolerance.
    virtual bool isTangentialAt(int vertex, double angleTol) const;
    // outside, along (on the boundary of the outline or a hole) or inside.
    virtual CadPoint::Pos positionOf(CadPoint const& point, double tol = 1e-5) const;
    // Insert the boundary's intersections into the list, recording the polygon's codes, vertices
    // (the edge's end vertex) and contours in its own intercept; answer the sum of the edge queries.
    virtual int intersectionWith(Line const& line, IntersectList& list, double tol = 1e-5) const;
    virtual int intersectionWith(CadArc const& arc, IntersectList& list, double tol = 1e-5) const;
    virtual int intersectionWith(PolyEdge const& edge, IntersectList& list, double tol = 1e-5) const;
    virtual int intersectionWith(CadPolygon const& other, IntersectList& list, double tol = 1e-5) const;
    virtual bool encloses(CadPoint const& point, double tol = 1e-5) const;
    virtual PolyPoint::Rotation getDirection() const;
    // Appends the pieces right of the line (its side inside) to right and those left of it to left;
    // a null list drops its pieces. The polygon is not changed.
    virtual void splitWith(LinearEquation const& line, PolyList* right, PolyList* left,
                           double tol = 1e-5) const;
    // Appends the pieces inside the other polygon to inside and those outside it to outside.
    virtual void splitWith(CadPolygon const& other, PolyList* inside, PolyList* outside,
                           double tol = 1e-5) const;
    // Some part of the segment runs through the interior.
    virtual bool crosses(Line const& line, double tol = 1e-5) const;
    virtual bool encloses(CadPolygon const& other, double tol = 1e-5) const;
    // The two polygons share interior.
    virtual bool overlaps(CadPolygon const& other, double tol = 1e-5) const;
    // Appends the simple polygons that make up this one; answers how many (0 when it needed nothing).
    virtual int resolveSelfIntersect(PolyList& out, double tol = 1e-5) const;
    // Replaces every arc edge of the outline by chords.
    virtual void facet();
    // Removes repeated vertices and, with removeColinear, vertices between collinear edges.
    virtual void optimise(bool removeColinear, double tol = 1e-5);
    // Through the host's polygon library: offset one edge (of the outline for contour 0, else of hole
    // contour-1), resize the outline, unite with another polygon. Each appends its results and
    // answers whether it appended a polygon.
    virtual bool offsetEdge(PolyList& out, int edgeIndex, double distance, int contour) const;
    virtual bool resizePolygon(PolyList& out, double distance) const;
    virtual bool merge2D(CadPolygon const& other, PolyList& out) const;

    // The vertex at wrapIndex(i); throws std::out_of_range for a polygon without vertices.
    PolyPoint const& operator[](int i) const;
    PolyPoint*& operator[](int i);
    int getVertexCount(bool outlineOnly) const;
    int getArcCount(bool outlineOnly) const;
    // The interior angle at the vertex, in [0, 2pi).
    double getInternalAngleAt(int i) const;
    // The line touches the boundary at the vertex without crossing it.
    bool isReflection(int vertex, LinearEquation const& line, double tol = 1e-5) const;
    // Makes the point a vertex when it lies inside an edge; answers the id of the vertex at the point,
    // or 0 when it lies on no edge. The search starts at the vertex with the id.
    unsigned int addNodeAlong(unsigned int id, CadPoint const& point, double tol = 1e-5);
    // Empties vertices and holes and resets the flags and the top id.
    void clear();

    // The edge from vertex i-1 to vertex i.
    PolyEdge edgeTo(int i) const;

private:
    // The vertex ends an arc edge: its sweep is beyond 1e-5.
    static bool isArc(PolyPoint const& vertex);
    PolyPoint& vertexAt(int i);
    PolyPoint const& vertexAt(int i) const { return (*this)[i]; }
    template <typename Equal>
    bool removeDuplicates(Equal const& equal);
    template <typename EdgeQuery, typename HoleQuery>
    int intersectEdges(IntersectList& list, EdgeQuery const& edgeQuery, HoleQuery const& holeQuery) const;
    InterPoint closestPointAlong(CadPoint const& point, bool withHoles, bool in3D, double tol) const;
    // Same hole count and, contour by contour, equal vertices in plan or in 3D.
    bool hasEqualVertices(CadPolygon const& other, bool in3D, double tol) const;

    bool m_isHole = false;
    bool m_closed = true;
    unsigned int m_topID = 0;
    std::unique_ptr<PolyVector> m_holes;
};

} // namespace zelvane
