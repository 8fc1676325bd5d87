#include "Geometry/Faceter.h"

#include <cmath>

namespace zelvane {

namespace {

constexpr double fixedTol = 1e-5;
constexpr double pi = 3.14159265358979323846;

} // namespace

Faceter::Faceter(CadPoint const& start, PolyPoint const& end, bool includeStart, bool includeEnd,
                 double deviation)
    : m_arc(start, end) {
    double r = m_arc.getRadius();
    double e = deviation;
    if (!m_arc.isValid(fixedTol) || 2.0 * e - r > fixedTol || std::fabs(r - 2.0 * e) <= fixedTol)
        return;
    double d = 2.0 * std::acos(r / (r + e));
    if (std::fabs(std::fmod(2.0 * pi, d)) > fixedTol)
        d = 2.0 * pi / (std::trunc(2.0 * pi / d) + 1.0);
    m_stepAngle = d;
    double a = m_arc.getStartAngle();
    double w = m_arc.getSweep();
    double low = w >= 0.0 ? a : a + w;
    double high = w >= 0.0 ? a + w : a;
    bool includeLow = w >= 0.0 ? includeStart : includeEnd;
    bool includeHigh = w >= 0.0 ? includeEnd : includeStart;
    if (low > high)
        high += 2.0 * pi;
    // floor, not truncation: a low angle below zero (a clockwise arc across +X) must round down too.
    double first = std::floor((low + fixedTol) / d);
    if (!includeLow) {
        first += 1.0;
        low = first * d;
    }
    double last = std::floor(high / d);
    double m = high - last * d;
    if (d - m <= fixedTol) {
        last += 1.0;
        m = 0.0;
    }
    if (includeHigh) {
        if (m > fixedTol)
            last += 1.0;
    } else {
        if (m <= fixedTol)
            last -= 1.0;
        high = last * d;
    }
    if (low > high)
        low = high;
    if (last < first)
        last = first;
    if (w >= 0.0) {
        m_arc.setStartAngle(low);
        m_arc.setSweep(high - low);
        m_first = Int32(first);
        m_last = Int32(last);
    } else {
        m_arc.setStartAngle(high);
        m_arc.setSweep(low - high);
        m_first = Int32(last);
        m_last = Int32(first);
    }
}

Faceter::Faceter(CadPoint const& start, PolyPoint const& end, double step)
    : m_straight(true), m_edge(start, end), m_step(std::fabs(step)) {
    if (m_step <= fixedTol)
        return;
    double length = m_edge.length3D();
    m_last = Int32(std::trunc(length / m_step)) + 1;
    m_remainder = std::fmod(length, m_step);
    if (m_remainder <= fixedTol || m_step - m_remainder <= fixedTol)
        m_remainder = 0.0;
}

Faceter& Faceter::operator++() {
    int count = getCount();
    if (m_current != count)
        m_current += count > 0 ? 1 : -1;
    return *this;
}

Faceter Faceter::operator++(int) {
    Faceter before(*this);
    ++*this;
    return before;
}

CadPoint Faceter::getVertex() const {
    if (m_straight) {
        // Never beyond the edge's end, also when its length is no whole multiple of the step.
        double along = std::fmin(std::fabs(double(m_current)) * m_step, m_edge.length3D());
        PolyEdge edge(m_edge);
        edge.flip();
        edge.extend(-along);
        edge.flip();
        return edge.origin();
    }
    double angle;
    if (m_current == getCount())
        angle = m_arc.getStartAngle() + m_arc.getSweep();
    else if (m_current == 0)
        angle = m_arc.getStartAngle();
    else
        angle = double(m_first + m_current) * m_stepAngle;
    CadPoint p(m_arc.centre());
    p.movePolar(m_arc.getRadius(), angle);
    return p;
}

} // namespace zelvane
