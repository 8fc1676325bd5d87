// Walks the chord vertices of one polygon edge: for an arc, the points of an absolute angle grid
// (multiples of one step angle from +X) so that arcs on one circle share vertices; for a straight
// edge, points at a fixed step from its start.
#pragma once

#include "Geometry/CadArc.h"
#include "Geometry/CadPoint.h"
#include "Geometry/PolyEdge.h"

namespace zelvane {

class Faceter {
public:
    // The arc from start to end (end's sweep), its chords deviating from it by at most deviation.
    Faceter(CadPoint const& start, PolyPoint const& end, bool includeStart, bool includeEnd,
            double deviation);
    // The edge from start to end in steps of the given length.
    Faceter(CadPoint const& start, PolyPoint const& end, double step);
    Faceter(Faceter const& other) = default;
    Faceter& operator=(Faceter const& other) = default;

    Faceter& operator++();
    Faceter operator++(int);
    CadPoint getVertex() const;

    // The current index runs from 0 to the count (downward, for a clockwise arc, to a negative count).
    int getIndex() const { return m_current; }
    int getCount() const { return m_last - m_first; }
    double getStepAngle() const { return m_stepAngle; }
    // The range actually walked (an arc form).
    CadArc const& getArc() const { return m_arc; }
    bool isStraight() const { return m_straight; }

private:
    bool m_straight = false;
    PolyEdge m_edge;
    double m_step = 0.0;
    double m_remainder = 0.0;
    CadArc m_arc;
    double m_stepAngle = 0.0;
    Int32 m_current = 0;
    Int32 m_first = 0;
    Int32 m_last = 0;
};

} // namespace zelvane
