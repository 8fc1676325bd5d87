#include "Geometry/PolyEdge.h"

#include "Geometry/ArcAngles.h"
#include "Geometry/CadArc.h"
#include "Geometry/IntersectList.h"
#include "Geometry/Line.h"
#include "Geometry/LinearEquation.h"
#include "Geometry/Matrix3x3.h"

#include <cmath>
#include <utility>

namespace zelvane {

namespace {

constexpr double fixedTol = 1e-5;
constexpr double pi = 3.14159265358979323846;

double sign(double value) {
    return value > 0.0 ? 1.0 : (value < 0.0 ? -1.0 : 0.0);
}

void setCoordinates(CadPoint& target, CadPoint const& source) {
    target.x() = source.x();
    target.y() = source.y();
    target.z() = source.z();
}

} // namespace

PolyEdge::PolyEdge(CadPoint const& start, PolyPoint const& end)
    : m_start(start.x(), start.y(), start.z()), m_end(end) {}

PolyEdge::PolyEdge(CadPoint const& start, CadPoint const& end, double radius, PolyPoint::Rotation rotation,
                   double tol)
    : m_start(start.x(), start.y(), start.z()), m_end(CadPoint(end.x(), end.y(), end.z()), 0.0, 0) {
    if (std::fabs(radius) > tol && !start.isEqual2D(end, fixedTol))
        setRadius(radius, rotation, tol);
}

PolyEdge::PolyEdge(CadArc const& arc) : m_start(arc.getOrigin()), m_end(arc.getEnd(), arc.getSweep(), 0) {}

PolyEdge::PolyEdge(PolyEdge const& other) : m_start(other.m_start), m_end(other.m_end) {}

PolyEdge& PolyEdge::operator=(PolyEdge const& other) {
    if (this != &other) {
        m_start = other.m_start;
        m_end = other.m_end;
    }
    return *this;
}

bool PolyEdge::isStraight() const {
    return std::fabs(m_end.getSweep()) <= fixedTol;
}

Line PolyEdge::asLine() const {
    return Line(m_start, m_end);
}

CadArc PolyEdge::asArc() const {
    return CadArc(m_start, m_end);
}

void PolyEdge::takeEnds(CadArc const& arc) {
    setCoordinates(m_start, arc.getOrigin());
    setCoordinates(m_end, arc.getEnd());
    m_end.setSweep(arc.getSweep());
}

void PolyEdge::stretchOrigin(CadPoint const& point, bool flag, double) {
    CadPoint p = closestPointTo2D(point, fixedTol);
    CadPoint::Pos code = positionOf2D(p, fixedTol);
    if (isStraight()) {
        if (!flag) {
            setCoordinates(m_start, p);
        } else if (code == CadPoint::outside) {
            setCoordinates(m_start, m_end);
            setCoordinates(m_end, p);
        } else if (code == CadPoint::inside || code == CadPoint::along) {
            setCoordinates(m_start, p);
        }
        return;
    }
    if (code == CadPoint::along) {
        // The arc from the end back through the start to p covers the rest of the circle; the point
        // opposite its midpoint lies between p and the end, so the arc through it keeps the circle.
        CadArc rest(m_end, m_start, p);
        CadPoint middle = rest.midpoint();
        CadPoint opposite(middle);
        opposite.movePolar(2.0 * middle.lengthTo2D(rest.centre()), middle.azimuthAngleTo(rest.centre()));
        takeEnds(CadArc(p, opposite, m_end));
    } else if (code == CadPoint::offSweep) {
        takeEnds(CadArc(p, m_start, m_end));
    }
}

void PolyEdge::stretchEnd(CadPoint const& point, double tol) {
    flip();
    stretchOrigin(point, false, tol);
    flip();
}

void PolyEdge::setBaseLevel(double z) {
    m_start.z() = z;
    m_end.z() = z;
}

void PolyEdge::setRadius(double radius, PolyPoint::Rotation rotation, double tol) {
    if (std::fabs(radius) <= tol) {
        m_end.setSweep(0.0);
        return;
    }
    if (rotation == PolyPoint::noRotation)
        rotation = isStraight() || getSweep() > 0.0 ? PolyPoint::anticlockwise : PolyPoint::clockwise;
    double chord = m_start.lengthTo2D(m_end);
    double diameter = std::fabs(2.0 * radius);
    if (diameter - chord > fixedTol) {
        // Laid out on the chord from (0, 0) to (chord, 0): a positive radius puts the centre below it,
        // on the right of the direction.
        double half = chord / 2.0;
        CadPoint centre(half, -sign(radius) * std::sqrt(radius * radius - half * half), 0.0);
        m_end.setSweep(CadArc(centre, CadPoint(), CadPoint(chord, 0.0, 0.0), rotation == PolyPoint::clockwise)
                           .getSweep());
    } else if (std::fabs(chord - diameter) <= fixedTol) {
        m_end.setSweep(rotation == PolyPoint::clockwise ? -pi : pi);
    } else {
        m_end.setSweep(0.0);
    }
}

double PolyEdge::getRadius(bool isSigned) const {
    if (isStraight())
        return 0.0;
    CadArc arc = asArc();
    double radius = arc.getRadius();
    if (isSigned &&
        LinearEquation(azimuthAngle(), m_start).positionOf(arc.centre(), fixedTol) == CadPoint::outside)
        radius = -radius;
    return radius;
}

bool PolyEdge::operator==(PolyEdge const& other) const {
    return isEqual3D(other, fixedTol);
}

bool PolyEdge::operator!=(PolyEdge const& other) const {
    return !(*this == other);
}

PolyEdge PolyEdge::operator+(CadPoint const& offset) const {
    return PolyEdge(*this) += offset;
}

PolyEdge& PolyEdge::operator+=(CadPoint const& offset) {
    m_start += offset;
    m_end += offset;
    return *this;
}

PolyEdge PolyEdge::operator-(CadPoint const& offset) const {
    return PolyEdge(*this) -= offset;
}

PolyEdge& PolyEdge::operator-=(CadPoint const& offset) {
    m_start -= offset;
    m_end -= offset;
    return *this;
}

PolyEdge PolyEdge::operator*(double factor) const {
    return PolyEdge(*this) *= factor;
}

PolyEdge& PolyEdge::operator*=(double factor) {
    m_start *= factor;
    m_end *= factor;
    return *this;
}

PolyEdge PolyEdge::operator*(Matrix3x3 m) const {
    return PolyEdge(*this) *= m;
}

PolyEdge& PolyEdge::operator*=(Matrix3x3 m) {
    m_start *= m;
    m_end *= m;
    return *this;
}

void PolyEdge::offset(double d) {
    if (isStraight()) {
        movePolar(d, azimuthAngle() + pi / 2.0);
        return;
    }
    CadArc arc = asArc();
    // An anticlockwise arc has its centre on the left, so moving left shrinks it.
    arc.expand(getSweep() > fixedTol ? -d : d);
    takeEnds(arc);
}

void PolyEdge::extend(double len) {
    if (std::fabs(len) <= fixedTol)
        return;
    if (isStraight()) {
        double azimuth = azimuthAngle();
        double altitude = altitudeAngle();
        m_end.movePolar(len, azimuth, altitude);
        return;
    }
    CadArc arc = asArc();
    double sweep = getSweep() + sign(getSweep()) * len / arc.getRadius();
    if (std::fabs(sweep) >= 2.0 * pi - fixedTol)
        sweep = 2.0 * pi * sign(sweep);
    arc.setSweep(sweep);
    setCoordinates(m_end, arc.getEnd());
    m_end.setSweep(sweep);
}

void PolyEdge::extend(CadPoint const& point, bool atEnd) {
    CadPoint p = closestPointTo2D(point, fixedTol);
    if (isStraight()) {
        setCoordinates(atEnd ? static_cast<CadPoint&>(m_end) : m_start, p);
        return;
    }
    CadArc arc = asArc();
    bool clockwise = getSweep() < 0.0;
    if (atEnd) {
        CadArc longer(arc.centre(), m_start, p, clockwise);
        setCoordinates(m_end, longer.getEnd());
        m_end.setSweep(longer.getSweep());
    } else {
        takeEnds(CadArc(arc.centre(), p, m_end, clockwise));
    }
}

void PolyEdge::split(CadPoint const& point, PolyEdge& other, bool keepStart) {
    other = *this;
    CadPoint ref = keepStart ? m_start : CadPoint(m_end);
    CadPoint p = closestPointAlong2D(point, fixedTol);
    CadPoint::Pos code = positionOf2D(p, fixedTol);
    if (code == CadPoint::none)
        return;
    if (code == CadPoint::atOrigin) {
        // This edge collapses onto its start; other is the whole edge.
        setCoordinates(m_end, m_start);
        m_end.setSweep(0.0);
    } else if (code == CadPoint::atEnd) {
        setCoordinates(other.m_start, other.m_end);
        other.m_end.setSweep(0.0);
    } else {
        double sweep = 0.0;
        if (!isStraight())
            sweep = CadArc(asArc().centre(), m_start, p, getSweep() < 0.0).getSweep();
        double rest = getSweep() - sweep;
        m_end = PolyPoint(p, sweep, 0);
        setCoordinates(other.m_start, p);
        other.m_end.setSweep(rest);
    }
    CadPoint const& kept = keepStart ? m_start : m_end;
    if (!kept.isEqual2D(ref, fixedTol))
        std::swap(*this, other);
}

double PolyEdge::azimuthAngle() const {
    return m_start.azimuthAngleTo(m_end);
}

double PolyEdge::altitudeAngle() const {
    double length = m_start.lengthTo2D(m_end);
    double dz = m_end.z() - m_start.z();
    if (length > fixedTol)
        return std::atan(dz / length);
    if (std::fabs(dz) <= fixedTol)
        return 0.0;
    return dz > 0.0 ? pi / 2.0 : -pi / 2.0;
}

double PolyEdge::startTangent() const {
    return getTangentAt(m_start);
}

double PolyEdge::endTangent() const {
    return getTangentAt(m_end);
}

double PolyEdge::getTangentAt(CadPoint const& point) const {
    if (isStraight())
        return azimuthAngle();
    return asArc().centre().azimuthAngleTo(point) + (getSweep() > 0.0 ? pi / 2.0 : -pi / 2.0);
}

CadPoint PolyEdge::centre() const {
    if (isStraight())
        return (m_start + m_end) / 2.0;
    return asArc().centre();
}

CadPoint PolyEdge::midpoint() const {
    if (isStraight())
        return (m_start + m_end) / 2.0;
    return asArc().midpoint();
}

double PolyEdge::getArea(bool isSigned) const {
    if (isStraight())
        return 0.0;
    return asArc().getArea(true, isSigned);
}

bool PolyEdge::isEqual3D(PolyEdge const& other, double tol) const {
    if (m_start.isEqual3D(other.m_start, fixedTol) && m_end.isEqual3D(other.m_end, fixedTol) &&
        std::fabs(getSweep() - other.getSweep()) <= tol)
        return true;
    return m_start.isEqual3D(other.m_end, fixedTol) && m_end.isEqual3D(other.m_start, fixedTol) &&
           std::fabs(getSweep() + other.getSweep()) <= tol;
}

double PolyEdge::length3D() const {
    return isStraight() ? m_start.lengthTo3D(m_end) : asArc().length3D();
}

CadPoint PolyEdge::closestPointTo3D(CadPoint const& p, double tol) const {
    return isStraight() ? asLine().closestPointTo3D(p, tol) : asArc().closestPointTo3D(p, tol);
}

CadPoint PolyEdge::closestPointAlong3D(CadPoint const& p, double tol) const {
    return isStraight() ? asLine().closestPointAlong3D(p, tol) : asArc().closestPointAlong3D(p, tol);
}

int PolyEdge::intersectionWith3D(PolyEdge const& other, IntersectList& list, double tol) const {
    if (isStraight()) {
        if (other.isStraight())
            return asLine().intersectionWith3D(other.asLine(), list, tol) ? 1 : 0;
        // Asked the other way round, with the list swapped so that this edge's codes stay first.
        list.swapSpec();
        int count = other.asArc().intersectionWith3D(asLine(), list, tol);
        list.swapSpec();
        return count;
    }
    if (other.isStraight())
        return asArc().intersectionWith3D(other.asLine(), list, tol);
    return asArc().intersectionWith3D(other.asArc(), list, tol);
}

CadPoint::Pos PolyEdge::positionOf3D(CadPoint const& p, double tol) const {
    return isStraight() ? asLine().positionOf3D(p, tol) : asArc().positionOf3D(p, tol);
}

bool PolyEdge::isParallelTo3D(PolyEdge const& other, double tol) const {
    if (isStraight() != other.isStraight())
        return false;
    if (isStraight())
        return asLine().isParallelTo3D(other.asLine(), tol);
    return asArc().isParallelTo3D(other.asArc(), tol);
}

bool PolyEdge::encloses3D(CadPoint const& p, double tol) const {
    CadPoint::Pos code = positionOf3D(p, tol);
    return code == CadPoint::atOrigin || code == CadPoint::along || code == CadPoint::atEnd;
}

bool PolyEdge::isColinearTo3D(PolyEdge const& other, double tol) const {
    return isParallelTo3D(other, tol) &&
           other.m_start.lengthTo3D(closestPointTo3D(other.m_start, tol)) <= tol;
}

bool PolyEdge::isEqual2D(PolyEdge const& other, double tol) const {
    if (m_start.isEqual2D(other.m_start, tol) && m_end.isEqual2D(other.m_end, tol) &&
        std::fabs(getSweep() - other.getSweep()) <= tol)
        return true;
    return m_start.isEqual2D(other.m_end, tol) && m_end.isEqual2D(other.m_start, tol) &&
           std::fabs(getSweep() + other.getSweep()) <= tol;
}

double PolyEdge::length2D() const {
    return isStraight() ? m_start.lengthTo2D(m_end) : asArc().length2D();
}

CadPoint PolyEdge::closestPointTo2D(CadPoint const& p, double tol) const {
    return isStraight() ? asLine().closestPointTo2D(p, tol) : asArc().closestPointTo2D(p, tol);
}

CadPoint PolyEdge::closestPointAlong2D(CadPoint const& p, double tol) const {
    return isStraight() ? asLine().closestPointAlong2D(p, tol) : asArc().closestPointAlong2D(p, tol);
}

int PolyEdge::intersectionWith2D(PolyEdge const& other, IntersectList& list, double tol) const {
    if (isStraight()) {
        if (other.isStraight())
            return asLine().intersectionWith2D(other.asLine(), list, tol) ? 1 : 0;
        list.swapSpec();
        int count = other.asArc().intersectionWith2D(asLine(), list, tol);
        list.swapSpec();
        return count;
    }
    if (other.isStraight())
        return asArc().intersectionWith2D(other.asLine(), list, tol);
    return asArc().intersectionWith2D(other.asArc(), list, tol);
}

CadPoint::Pos PolyEdge::positionOf2D(CadPoint const& p, double tol) const {
    return isStraight() ? asLine().positionOf2D(p, tol) : asArc().positionOf2D(p, tol);
}

bool PolyEdge::isParallelTo2D(PolyEdge const& other, double tol) const {
    if (isStraight() != other.isStraight())
        return false;
    if (isStraight())
        return asLine().isParallelTo2D(other.asLine(), tol);
    return asArc().isParallelTo2D(other.asArc(), tol);
}

bool PolyEdge::encloses2D(CadPoint const& p, double tol) const {
    CadPoint::Pos code = positionOf2D(p, tol);
    return code == CadPoint::atOrigin || code == CadPoint::along || code == CadPoint::atEnd;
}

bool PolyEdge::overlaps2D(PolyEdge const& other, double) const {
    if (isStraight() != other.isStraight())
        return false;
    bool thisLonger = length2D() >= other.length2D();
    PolyEdge const& longer = thisLonger ? *this : other;
    PolyEdge const& shorter = thisLonger ? other : *this;
    for (CadPoint const& probe : {shorter.midpoint(), shorter.m_start, CadPoint(shorter.m_end)})
        if (longer.positionOf2D(probe, fixedTol) == CadPoint::along)
            return true;
    return false;
}

bool PolyEdge::isColinearTo2D(PolyEdge const& other, double tol) const {
    return isParallelTo2D(other, tol) &&
           other.m_start.lengthTo2D(closestPointTo2D(other.m_start, tol)) <= tol;
}

bool PolyEdge::isTangentialTo2D(PolyEdge const& other, double, double angleTol) const {
    if (!other.m_end.isEqual2D(m_start, fixedTol))
        return false;
    double arriving = normalisedAngle(other.endTangent());
    double leaving = normalisedAngle(startTangent());
    if (std::fabs(arriving - leaving) <= angleTol)
        return true;
    // Directions just below a full turn are the same as those just above 0.
    if (std::fabs(arriving - 2.0 * pi) <= angleTol)
        arriving = 0.0;
    if (std::fabs(leaving - 2.0 * pi) <= angleTol)
        leaving = 0.0;
    return std::fabs(arriving - leaving) <= angleTol;
}

void PolyEdge::movePolar(double len, double azimuth, double altitude) {
    m_start.movePolar(len, azimuth, altitude);
    m_end.movePolar(len, azimuth, altitude);
}

void PolyEdge::movePolar(double len, double azimuth) {
    m_start.movePolar(len, azimuth);
    m_end.movePolar(len, azimuth);
}

void PolyEdge::flip() {
    CadPoint start(m_start);
    setCoordinates(m_start, m_end);
    setCoordinates(m_end, start);
    m_end.setSweep(-m_end.getSweep());
}

} // namespace zelvane
