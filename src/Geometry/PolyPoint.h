// A polygon vertex: a point with the sweep of the arc that ends at it and a vertex id.
#pragma once

#include "Geometry/CadPoint.h"

namespace zelvane {

class Line;

class PolyPoint : public CadPoint {
public:
    // The turning direction of polygons and edges.
    enum Rotation {
        noRotation = 0,
        clockwise = 1,     // negative sweep or signed area
        anticlockwise = 2, // positive
    };

    PolyPoint() = default;
    PolyPoint(CadPoint const& p, double sweep, unsigned int id) : CadPoint(p), m_sweep(sweep), m_id(id) {}
    PolyPoint(API_Coord const& c, double sweep, unsigned int id)
        : CadPoint(c, 0.0), m_sweep(sweep), m_id(id) {}
    PolyPoint(PolyPoint const&) = default;
    PolyPoint& operator=(PolyPoint const& other);
    using CadPoint::operator=;

    PolyPoint* clone() const override;
    double lengthTo2D(CadPoint const& other) const override;

    // The angle of the arc that ends here, from the previous vertex; 0 is a straight edge.
    double getSweep() const { return m_sweep; }
    void setSweep(double sweep) { m_sweep = sweep; }
    unsigned int getID() const { return m_id; }
    void setID(unsigned int id) { m_id = id; }

    // The sweep of the arc from the radius line's end (the arc's start, the line running from the
    // centre) to this vertex: negative when this vertex lies right of the radius line.
    void setSweep(Line const& radius);
    // The sweep of the arc leaving the tangent line's end along the line's direction and ending here.
    void setSweepParallel(Line const& tangent);

private:
    double m_sweep = 0.0;
    unsigned int m_id = 0;
};

} // namespace zelvane
