#include "Geometry/PolyPoint.h"

#include "Geometry/Line.h"
#include "Geometry/LinearEquation.h"

#include <algorithm>
#include <cmath>

namespace zelvane {

namespace {

constexpr double pi = 3.14159265358979323846;

} // namespace

PolyPoint& PolyPoint::operator=(PolyPoint const& other) {
    if (this != &other) {
        CadPoint::operator=(other);
        m_sweep = other.m_sweep;
        m_id = other.m_id;
    }
    return *this;
}

PolyPoint* PolyPoint::clone() const {
    return new PolyPoint(*this);
}

double PolyPoint::lengthTo2D(CadPoint const& other) const {
    return CadPoint::lengthTo2D(other);
}

void PolyPoint::setSweep(Line const& radius) {
    if (*this == radius.end()) {
        m_sweep = 2.0 * pi;
        return;
    }
    double chord = radius.end().lengthTo2D(*this);
    // A vertex farther than a diameter from the start is taken as the opposite point of the circle.
    double ratio = std::min(1.0, chord / (2.0 * radius.length2D()));
    m_sweep = 2.0 * std::asin(ratio);
    auto equation = LinearEquation::create(radius);
    if (equation && equation->positionOf(*this, 1e-5) == CadPoint::inside)
        m_sweep = -m_sweep;
}

void PolyPoint::setSweepParallel(Line const& tangent) {
    auto equation = LinearEquation::create(tangent);
    if (!equation) {
        m_sweep = 0.0;
        return;
    }
    CadPoint::Pos side = equation->positionOf(*this, 1e-5);
    if (side != CadPoint::outside && side != CadPoint::inside) {
        m_sweep = 0.0;
        return;
    }
    double t = std::fmod(tangent.end().azimuthAngleTo(*this) - tangent.azimuthAngle(), 2.0 * pi);
    if (t < 0.0)
        t += 2.0 * pi;
    // Twice the angle between the tangent and the chord, turning towards the vertex's side.
    m_sweep = side == CadPoint::outside ? 2.0 * t : -2.0 * (2.0 * pi - t);
}

} // namespace zelvane
