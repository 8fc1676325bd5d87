// One edge of a polygon as a value: a start point and an end vertex whose sweep makes the edge an
// arc. The edge is straight when |sweep| <= 1e-5, whatever tolerance a query receives, and is then
// handled as a Line; otherwise as the CadArc from the start to the end vertex.
#pragma once

#include "Geometry/CadPoint.h"
#include "Geometry/PolyPoint.h"

namespace zelvane {

class CadArc;
class IntersectList;
class Line;
class Matrix3x3;

class PolyEdge {
public:
    PolyEdge() = default;
    PolyEdge(CadPoint const& start, PolyPoint const& end);
    // A straight edge to a new end vertex, then given the radius (see setRadius) when |radius| > tol.
    PolyEdge(CadPoint const& start, CadPoint const& end, double radius, PolyPoint::Rotation rotation,
             double tol = 1e-5);
    explicit PolyEdge(CadArc const& arc);
    PolyEdge(PolyEdge const& other);
    PolyEdge& operator=(PolyEdge const& other);
    virtual ~PolyEdge() = default;

    virtual CadPoint& origin() { return m_start; }
    virtual PolyPoint& end() { return m_end; }
    // Moves the start to the point's projection on the edge (or its circle). With flag, a straight
    // edge takes a point beyond its end as its new end and its old end as its start.
    virtual void stretchOrigin(CadPoint const& point, bool flag, double tol = 1e-5);
    virtual void stretchEnd(CadPoint const& point, double tol = 1e-5);
    virtual void setBaseLevel(double z);
    // A positive radius puts the centre right of the chord, a negative one left of it; a radius too
    // small for the chord makes the edge straight. Only the sweep changes.
    virtual void setRadius(double radius, PolyPoint::Rotation rotation, double tol = 1e-5);
    virtual CadPoint const& origin() const { return m_start; }
    virtual PolyPoint const& end() const { return m_end; }
    virtual double getSweep() const { return m_end.getSweep(); }
    // 0 for a straight edge; signed: negative when the centre lies left of the chord.
    virtual double getRadius(bool isSigned) const;
    virtual bool operator==(PolyEdge const& other) const;
    virtual bool operator!=(PolyEdge const& other) const;
    virtual PolyEdge operator+(CadPoint const& offset) const;
    virtual PolyEdge& operator+=(CadPoint const& offset);
    virtual PolyEdge operator-(CadPoint const& offset) const;
    virtual PolyEdge& operator-=(CadPoint const& offset);
    virtual PolyEdge operator*(double factor) const;
    virtual PolyEdge& operator*=(double factor);
    virtual PolyEdge operator*(Matrix3x3 m) const;
    // The ends are transformed; the sweep is kept, also by a mirroring matrix.
    virtual PolyEdge& operator*=(Matrix3x3 m);
    // Sideways by d, to the left of the direction for positive d; an arc changes its radius instead.
    virtual void offset(double d);
    // Lengthens the edge at its end (shortens for negative len); an arc keeps its circle.
    virtual void extend(double len);
    // Moves the end (atEnd) or the start to the point's projection on the edge's line or circle.
    virtual void extend(CadPoint const& point, bool atEnd);
    // Cuts the edge at the point's nearest point: with keepStart this edge keeps the part at its
    // start and other receives the rest; without it this edge keeps the part at its end.
    virtual void split(CadPoint const& point, PolyEdge& other, bool keepStart);
    // The chord's bearing, also for an arc.
    virtual double azimuthAngle() const;
    virtual double altitudeAngle() const;
    virtual double startTangent() const;
    virtual double endTangent() const;
    // The direction of travel at the point (not brought into [0, 2pi) for an arc).
    virtual double getTangentAt(CadPoint const& point) const;
    // The chord's midpoint, or the arc's centre.
    virtual CadPoint centre() const;
    // On the arc for an arc edge.
    virtual CadPoint midpoint() const;
    // The circular segment between chord and arc, with the sweep's sign when isSigned; 0 when straight.
    virtual double getArea(bool isSigned) const;
    virtual bool isEqual3D(PolyEdge const& other, double tol = 1e-5) const;
    virtual double length3D() const;
    virtual CadPoint closestPointTo3D(CadPoint const& p, double tol = 1e-5) const;
    virtual CadPoint closestPointAlong3D(CadPoint const& p, double tol = 1e-5) const;
    // The number of points the list accepted; this edge's codes go to the list's first operand.
    virtual int intersectionWith3D(PolyEdge const& other, IntersectList& list, double tol = 1e-5) const;
    virtual CadPoint::Pos positionOf3D(CadPoint const& p, double tol = 1e-5) const;
    virtual bool isParallelTo3D(PolyEdge const& other, double tol = 1e-5) const;
    virtual bool encloses3D(CadPoint const& p, double tol = 1e-5) const;
    virtual bool isColinearTo3D(PolyEdge const& other, double tol = 1e-5) const;
    // The same curve, in either direction.
    virtual bool isEqual2D(PolyEdge const& other, double tol = 1e-5) const;
    virtual double length2D() const;
    virtual CadPoint closestPointTo2D(CadPoint const& p, double tol = 1e-5) const;
    virtual CadPoint closestPointAlong2D(CadPoint const& p, double tol = 1e-5) const;
    virtual int intersectionWith2D(PolyEdge const& other, IntersectList& list, double tol = 1e-5) const;
    virtual CadPoint::Pos positionOf2D(CadPoint const& p, double tol = 1e-5) const;
    virtual bool isParallelTo2D(PolyEdge const& other, double tol = 1e-5) const;
    virtual bool encloses2D(CadPoint const& p, double tol = 1e-5) const;
    // Part of one edge runs along the other (1e-5; tol is not used). Straight never overlaps arc.
    virtual bool overlaps2D(PolyEdge const& other, double tol = 1e-5) const;
    virtual bool isColinearTo2D(PolyEdge const& other, double tol = 1e-5) const;
    // The other edge ends where this starts and leaves in the same direction within angleTol.
    virtual bool isTangentialTo2D(PolyEdge const& other, double tol, double angleTol) const;
    virtual void movePolar(double len, double azimuth, double altitude);
    virtual void movePolar(double len, double azimuth);
    // The same curve run the other way; the end keeps its id.
    virtual void flip();

    bool isStraight() const;
    Line asLine() const;
    CadArc asArc() const;

private:
    // Takes the start, and the end with its sweep, from the arc; the end keeps its id.
    void takeEnds(CadArc const& arc);

    CadPoint m_start;
    PolyPoint m_end;
};

} // namespace zelvane
