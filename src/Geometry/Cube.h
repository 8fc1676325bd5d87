// An axis-aligned box given by two corners, stored as given until sort() puts the minima first.
#pragma once

#include "Geometry/CadPoint.h"

namespace zelvane {

class Cube {
public:
    // Nine plan anchors: column value mod 3 (min x, centre, max x), row value / 3 (min y, centre,
    // max y).
    enum Anchor2D {
        minXminY = 0,
        midXminY = 1,
        maxXminY = 2,
        minXmidY = 3,
        centre = 4,
        maxXmidY = 5,
        minXmaxY = 6,
        midXmaxY = 7,
        maxXmaxY = 8,
    };

    Cube() = default;
    Cube(CadPoint const& origin, CadPoint const& end) : m_origin(origin), m_end(end) {}
    Cube(double x1, double y1, double z1, double x2, double y2, double z2)
        : m_origin(x1, y1, z1), m_end(x2, y2, z2) {}
    // The flat box from (0, 0, 0) to (width, depth, 0).
    Cube(double width, double depth) : m_end(width, depth, 0.0) {}
    Cube(API_Box const& b);
    Cube(API_Box3D const& b);
    Cube(Box3D const& b);
    Cube(Cube const& other) : m_origin(other.m_origin), m_end(other.m_end) {}
    Cube& operator=(Cube const& other);
    virtual ~Cube() = default;

    virtual bool operator==(Cube const& other) const;
    virtual bool operator!=(Cube const& other) const;
    virtual Cube operator+(CadPoint const& offset) const;
    virtual Cube& operator+=(CadPoint const& offset);
    virtual Cube operator-(CadPoint const& offset) const;
    virtual Cube& operator-=(CadPoint const& offset);
    virtual Cube operator*(double factor) const;
    virtual Cube& operator*=(double factor);
    virtual Cube operator/(double divisor) const;
    virtual Cube& operator/=(double divisor);
    // The sorted plan extent.
    virtual operator API_Box() const;
    virtual CadPoint& origin() { return m_origin; }
    virtual CadPoint& end() { return m_end; }
    CadPoint const& origin() const { return m_origin; }
    CadPoint const& end() const { return m_end; }
    CadPoint const& getOrigin() const { return m_origin; }
    CadPoint const& getEnd() const { return m_end; }
    virtual CadPoint getCentre() const;
    virtual CadPoint getAnchor2D(Anchor2D anchor) const;
    // Throws std::out_of_range for an axis other than x, y or z.
    virtual double getSize(CadPoint::Axis axis) const;
    virtual double getWidth() const;
    virtual double getDepth() const;
    virtual double getHeight() const;
    virtual double getMaxLength() const;
    virtual void setOrigin(CadPoint const& origin);
    // Moves the box so that its minimum corner lands on the point.
    virtual void moveTo(CadPoint const& point);
    virtual void setEnd(CadPoint const& end);
    virtual void setCentre(CadPoint const& point);
    virtual void merge(CadPoint const& point);
    virtual void merge(Cube const& box);
    // Minima into the origin, maxima into the end.
    virtual void sort();
    // Scales the box about its own centre.
    virtual void magnify(double factor);
    // Moves every face outwards by d.
    virtual void resize(double d);
    // Becomes the flat box around the plan rectangle turned by the angle about its centre.
    virtual void rotate(double angle);
    virtual bool isEqual3D(Cube const& other, double tol = 1e-5) const;
    virtual CadPoint::Pos positionOf3D(CadPoint const& p, double tol = 1e-5) const;
    virtual bool encloses3D(Cube const& other, double tol = 1e-5) const;
    virtual bool isEqual2D(Cube const& other, double tol = 1e-5) const;
    virtual CadPoint::Pos positionOf2D(CadPoint const& p, double tol = 1e-5) const;
    virtual bool encloses2D(Cube const& other, double tol = 1e-5) const;
    // The plan ranges overlap by more than 1e-5 on both axes; touching boxes do not overlap.
    virtual bool overlaps2D(Cube const& other, double tol = 1e-5) const;
    virtual double getArea() const;
    virtual double getVolume() const;

private:
    CadPoint::Pos positionOf(CadPoint const& p, int axes, double tol) const;

    CadPoint m_origin;
    CadPoint m_end;
};

} // namespace zelvane
