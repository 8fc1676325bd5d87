#include "Geometry/CadArc.h"

#include "Geometry/ArcAngles.h"
#include "Geometry/Cube.h"
#include "Geometry/InterPoint.h"
#include "Geometry/IntersectList.h"
#include "Geometry/Leveller.h"
#include "Geometry/Line.h"
#include "Geometry/LinearEquation.h"
#include "Geometry/Matrix3x3.h"
#include "Geometry/Plane.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace zelvane {

namespace {

constexpr double fixedTol = 1e-5;
constexpr double pi = 3.14159265358979323846;

double sign(double value) {
    return value > 0.0 ? 1.0 : (value < 0.0 ? -1.0 : 0.0);
}

bool isFinite(CadPoint const& p) {
    return std::isfinite(p.x()) && std::isfinite(p.y()) && std::isfinite(p.z());
}

// Turns the points that a query appended after the first `count` back out of a levelled frame.
void levelBack(IntersectList& list, std::size_t count, Leveller& leveller) {
    leveller.reverse();
    auto it = list.begin();
    std::advance(it, std::min(count, list.size()));
    for (; it != list.end(); ++it)
        leveller.transform(**it);
}

} // namespace

CadArc::CadArc() : m_normal(0.0, 0.0, 1.0) {}

CadArc::CadArc(CadPoint const& centre, double radius, double sweep, double start, Vector3 const& normal)
    : m_centre(centre), m_normal(normal), m_radius(radius), m_start(start), m_sweep(sweep) {}

CadArc::CadArc(CadPoint const& centre, CadPoint const& start, CadPoint const& end, bool clockwise)
    : m_centre(centre), m_normal(0.0, 0.0, 1.0) {
    m_radius = centre.lengthTo2D(start);
    m_start = centre.azimuthAngleTo(start);
    m_sweep = centre.azimuthAngleTo(end) - m_start;
    if (clockwise) {
        if (m_sweep > 0.0)
            m_sweep -= 2.0 * pi;
    } else if (m_sweep < 0.0) {
        m_sweep += 2.0 * pi;
    }
}

CadArc::CadArc(CadPoint const& p1, CadPoint const& p2, CadPoint const& p3) : m_normal(0.0, 0.0, 1.0) {
    auto plane = Plane::create(p1, p2, p3);
    if (!plane)
        return;
    Vector3 normal = plane->getNormal();
    if (normal.z() < 0.0)
        normal = normal * -1.0;
    Leveller leveller(normal, 1e-8, 1e-5);
    CadPoint a(p1), b(p2), c(p3);
    leveller.transform(a);
    leveller.transform(b);
    leveller.transform(c);
    auto first = LinearEquation::create(a, b);
    auto second = LinearEquation::create(b, c);
    if (!first || !second)
        return;
    auto hit = first->getPerpendicular((a + b) / 2.0)
                   ->intersectionWith(*second->getPerpendicular((b + c) / 2.0), fixedTol);
    if (!hit)
        return;
    // The three levelled points share one height: the centre takes it.
    CadPoint centre(hit->x(), hit->y(), a.z());
    double radius = centre.lengthTo2D(a);
    double start = centre.azimuthAngleTo(a);
    double sweep = std::fmod(centre.azimuthAngleTo(c) - start + 2.0 * pi, 2.0 * pi);
    auto chord = LinearEquation::create(a, c);
    if (chord && chord->positionOf(b, fixedTol) == CadPoint::outside)
        sweep -= 2.0 * pi;
    leveller.reverse();
    leveller.transform(centre);
    m_centre = centre;
    m_normal = normal;
    m_radius = radius;
    m_start = start;
    m_sweep = sweep;
}

CadArc::CadArc(CadPoint const& start, PolyPoint const& end) : m_normal(0.0, 0.0, 1.0) {
    if (std::fabs(end.getSweep()) <= fixedTol || start.isEqual2D(end, fixedTol))
        return;
    m_sweep = end.getSweep();
    double chord = start.lengthTo2D(end);
    double half = std::fabs(m_sweep) / 2.0;
    m_radius = chord / (2.0 * std::sin(half));
    m_centre = CadPoint(start.x(), start.y(), start.z());
    m_centre.movePolar(m_radius, start.azimuthAngleTo(end) + sign(m_sweep) * (pi / 2.0 - half));
    m_start = m_centre.azimuthAngleTo(start);
}

CadArc::CadArc(CadArc const& other)
    : m_centre(other.m_centre), m_normal(other.m_normal), m_radius(other.m_radius), m_start(other.m_start),
      m_sweep(other.m_sweep) {}

CadArc& CadArc::operator=(CadArc const& other) {
    if (this != &other) {
        m_centre = other.m_centre;
        m_normal = other.m_normal;
        m_radius = other.m_radius;
        m_start = other.m_start;
        m_sweep = other.m_sweep;
    }
    return *this;
}

CadArc* CadArc::clone() const {
    return new CadArc(*this);
}

CadPoint CadArc::pointAt(double angle) const {
    Leveller leveller;
    initLevel(leveller, fixedTol);
    CadPoint point(m_centre);
    leveller.transform(point);
    point.movePolar(m_radius, angle);
    leveller.reverse();
    leveller.transform(point);
    return point;
}

CadPoint CadArc::getOrigin() const {
    return pointAt(m_start);
}

PolyPoint CadArc::getEnd() const {
    return PolyPoint(pointAt(m_start + m_sweep), 0.0, 0);
}

CadPoint CadArc::midpoint() const {
    return pointAt(m_start + m_sweep / 2.0);
}

bool CadArc::isValid(double tol) const {
    return m_radius > tol && std::fabs(m_sweep) > tol && !m_normal.isEmpty(tol);
}

Plane CadArc::getPlane() const {
    auto plane = Plane::create(m_centre, m_normal);
    return plane ? *plane : Plane();
}

std::unique_ptr<Cube> CadArc::getBounds() const {
    if (!m_normal.isParallelTo(Vector3(0.0, 0.0, 1.0), fixedTol))
        return nullptr;
    auto box = std::make_unique<Cube>(getOrigin(), getEnd());
    double lo = m_sweep >= 0.0 ? m_start : m_start + m_sweep;
    double hi = m_sweep >= 0.0 ? m_start + m_sweep : m_start;
    if (lo > hi)
        hi += 2.0 * pi;
    double m = std::fmod(lo + 2.0 * pi, pi / 2.0);
    if (std::fabs(m - pi / 2.0) <= fixedTol)
        m = 0.0;
    // The quarter points of the circle within the angle range bound the arc with its ends.
    double quarter = std::fabs(m) <= fixedTol ? lo : lo - m + pi / 2.0;
    for (; hi > quarter; quarter += pi / 2.0)
        box->merge(m_centre + CadPoint(m_radius * std::cos(quarter), m_radius * std::sin(quarter), 0.0));
    box->sort();
    return box;
}

double CadArc::getArea(bool segment, bool keepSign) const {
    double area = m_radius * m_radius * m_sweep / 2.0;
    if (segment) {
        double chord = getOrigin().lengthTo2D(getEnd());
        // Beyond a half turn the cosine is negative and the triangle is added.
        area -= chord * m_radius * std::cos(m_sweep / 2.0) * 0.5 * sign(area);
    }
    return keepSign ? area : std::fabs(area);
}

bool CadArc::operator==(CadArc const& other) const {
    return isEqual3D(other, fixedTol);
}

bool CadArc::operator!=(CadArc const& other) const {
    return !(*this == other);
}

CadArc CadArc::operator+(CadPoint const& offset) const {
    return CadArc(*this) += offset;
}

CadArc& CadArc::operator+=(CadPoint const& offset) {
    m_centre += offset;
    return *this;
}

CadArc CadArc::operator-(CadPoint const& offset) const {
    return CadArc(*this) -= offset;
}

CadArc& CadArc::operator-=(CadPoint const& offset) {
    m_centre -= offset;
    return *this;
}

CadArc CadArc::operator*(double factor) const {
    return CadArc(*this) *= factor;
}

CadArc& CadArc::operator*=(double factor) {
    m_centre *= factor;
    m_radius *= factor;
    return *this;
}

CadArc CadArc::operator*(Matrix3x3 m) const {
    return CadArc(*this) *= m;
}

CadArc& CadArc::operator*=(Matrix3x3 m) {
    CadPoint start = getOrigin();
    start *= m;
    m_centre *= m;
    m_normal *= m;
    m_radius = m_centre.lengthTo3D(start);
    return *this;
}

int CadArc::intersectionWith(Plane const& plane, IntersectList& list, double tol) const {
    // Everything on the meeting line counts for the other operand.
    InterPoint::Part other = list.isSwapped() ? InterPoint::first : InterPoint::second;
    Intercept saved = list.getSpec(other);
    list.getSpec(other) = Intercept();
    auto meeting = getPlane().intersectionWith(plane, tol);
    int count = meeting ? intersectionWith3D(*meeting, list, tol) : 0;
    list.getSpec(other) = saved;
    return count;
}

double CadArc::length3D() const {
    return std::fabs(m_sweep) * m_radius;
}

bool CadArc::isEqual3D(CadArc const& other, double tol) const {
    double low = m_sweep >= 0.0 ? m_start : m_start + m_sweep;
    double otherLow = other.m_sweep >= 0.0 ? other.m_start : other.m_start + other.m_sweep;
    return m_centre.isEqual3D(other.m_centre, tol) && m_normal.isParallelTo(other.m_normal, tol) &&
           std::fabs(m_radius - other.m_radius) <= tol &&
           std::fabs(std::fabs(m_sweep) - std::fabs(other.m_sweep)) <= tol &&
           std::fabs(low - otherLow) <= tol;
}

CadPoint CadArc::closestPointAlong3D(CadPoint const&, double) const {
    return CadPoint();
}

CadPoint CadArc::closestPointTo3D(CadPoint const& p, double) const {
    Leveller leveller;
    initLevel(leveller, fixedTol);
    CadPoint centre(m_centre), target(p);
    leveller.transform(centre);
    leveller.transform(target);
    CadPoint result(centre);
    result.movePolar(m_radius, centre.azimuthAngleTo(target));
    leveller.reverse();
    leveller.transform(result);
    return result;
}

int CadArc::intersectionWith3D(Line const& line, IntersectList& list, double tol) const {
    if (Vector3(line).isPerpendicularTo(m_normal, tol))
        return intersectionWithLevel(line, list, tol);
    auto plane = Plane::create(m_centre, m_normal);
    if (!plane)
        return 0;
    auto hit = plane->intersectionWith(line, tol);
    if (!hit || !isFinite(*hit))
        return 0;
    CadPoint::Pos code = positionOf3D(*hit, fixedTol);
    if (code == CadPoint::none || code == CadPoint::outside)
        return 0;
    // Both codes are set, so that a swapped list filters each operand on its own code.
    hit->setPosition(InterPoint::first, code);
    hit->setPosition(InterPoint::second, line.positionOf3D(*hit, fixedTol));
    return list.insert(hit.release()) ? 1 : 0;
}

int CadArc::intersectionWith3D(CadArc const& other, IntersectList& list, double tol) const {
    if (m_centre.isEqual3D(other.m_centre, tol))
        return 0;
    auto plane = Plane::create(m_centre, m_normal);
    auto otherPlane = Plane::create(other.m_centre, other.m_normal);
    if (!plane || !otherPlane)
        return 0;
    if (plane->isParallelTo(*otherPlane, fixedTol))
        return std::fabs(otherPlane->lengthTo(m_centre)) <= tol ? intersectionWithLevel(other, list, tol) : 0;
    auto meeting = plane->intersectionWith(*otherPlane, tol);
    if (!meeting)
        return 0;
    // The points on this arc are found along the line where the planes meet, taking any position on
    // that line; then each is placed on the other arc and filtered for it.
    InterPoint::Part part = list.isSwapped() ? InterPoint::first : InterPoint::second;
    CadPoint::Pos saved = list.getSpec(part).m_position;
    std::size_t before = list.size();
    list.getSpec(part).m_position = CadPoint::none;
    intersectionWithLevel(*meeting, list, tol);
    list.getSpec(part).m_position = saved;
    auto it = list.begin();
    std::advance(it, before);
    int kept = 0;
    while (it != list.end()) {
        CadPoint::Pos code = other.positionOf3D(**it, fixedTol);
        (*it)->setPosition(part, code);
        if (list.withPos(part, code)) {
            ++kept;
            ++it;
        } else {
            it = list.erase(it);
        }
    }
    return kept;
}

CadPoint::Pos CadArc::positionOf3D(CadPoint const& p, double tol) const {
    if (!isValid(tol))
        return CadPoint::none;
    auto plane = Plane::create(m_centre, m_normal);
    if (!plane || std::fabs(plane->lengthTo(p)) > tol)
        return CadPoint::none;
    // Placed in the levelled frame, where the start angle is measured; for a horizontal arc that is
    // the plan itself.
    Leveller leveller;
    initLevel(leveller, fixedTol);
    CadArc levelled(*this);
    CadPoint point(p);
    leveller.transform(levelled);
    leveller.transform(point);
    return levelled.positionOf2D(point, tol);
}

bool CadArc::isParallelTo3D(CadArc const& other, double tol) const {
    return m_centre.isEqual3D(other.m_centre, tol) && m_normal.isParallelTo(other.m_normal, tol);
}

bool CadArc::encloses3D(CadPoint const& p, double tol) const {
    auto plane = Plane::create(m_centre, m_normal);
    if (!plane || std::fabs(plane->lengthTo(p)) > tol)
        return false;
    double d = m_centre.lengthTo3D(p);
    return m_radius - d > tol || std::fabs(d - m_radius) <= tol;
}

bool CadArc::isColinearTo3D(CadArc const& other, double tol) const {
    return m_centre.isEqual3D(other.m_centre, tol) && std::fabs(m_radius - other.m_radius) <= tol &&
           m_normal.isParallelTo(other.m_normal, tol);
}

bool CadArc::isEqual2D(CadArc const& other, double tol) const {
    double low = m_sweep >= 0.0 ? m_start : m_start + m_sweep;
    double otherLow = other.m_sweep >= 0.0 ? other.m_start : other.m_start + other.m_sweep;
    return m_centre.isEqual2D(other.m_centre, tol) && m_normal.isParallelTo(other.m_normal, tol) &&
           std::fabs(m_radius - other.m_radius) <= tol &&
           std::fabs(std::fabs(m_sweep) - std::fabs(other.m_sweep)) <= tol &&
           std::fabs(low - otherLow) <= tol;
}

double CadArc::length2D() const {
    return std::fabs(m_sweep) * m_radius;
}

CadPoint CadArc::closestPointTo2D(CadPoint const& p, double tol) const {
    return closestPointTo3D(p, tol);
}

CadPoint CadArc::closestPointAlong2D(CadPoint const& p, double tol) const {
    if (!isValid(tol) || p.isEqual2D(m_centre, tol))
        return getOrigin();
    IntersectList list(Intercept(CadPoint::Pos(0x3F)), Intercept());
    intersectionWith2D(Line(m_centre, p), list, tol);
    if (list.empty())
        return getOrigin();
    InterPoint const* nearest = list.front();
    if (list.size() == 2 && list.back()->lengthTo2D(p) < nearest->lengthTo2D(p))
        nearest = list.back();
    CadPoint point(nearest->x(), nearest->y(), nearest->z());
    if ((nearest->getPosition(InterPoint::first) & 0xE) != 0)
        return point;
    // On the circle beyond the sweep: the nearer end.
    CadPoint origin = getOrigin();
    PolyPoint end = getEnd();
    return point.lengthTo2D(origin) < point.lengthTo2D(end) ? origin : CadPoint(end);
}

int CadArc::intersectionWith2D(Line const& line, IntersectList& list, double tol) const {
    auto plane = Plane::create(m_centre, m_normal);
    if (!plane)
        return 0;
    CadPoint up(0.0, 0.0, 1.0);
    auto origin = plane->intersectionWith(Line(line.origin(), line.origin() + up), fixedTol);
    auto end = plane->intersectionWith(Line(line.end(), line.end() + up), fixedTol);
    if (!origin || !end)
        return 0;
    return intersectionWithLevel(Line(*origin, *end), list, tol);
}

int CadArc::intersectionWith2D(CadArc const& other, IntersectList& list, double tol) const {
    if (m_centre.isEqual2D(other.m_centre, tol))
        return 0;
    auto plane = Plane::create(m_centre, m_normal);
    auto otherPlane = Plane::create(other.m_centre, other.m_normal);
    if (!plane || !otherPlane || !plane->isParallelTo(*otherPlane, fixedTol))
        return 0;
    CadArc moved(*this);
    if (std::fabs(otherPlane->lengthTo(m_centre)) > tol)
        moved.m_centre.z() = otherPlane->heightAt(m_centre, fixedTol);
    return moved.intersectionWithLevel(other, list, tol);
}

CadPoint::Pos CadArc::positionOf2D(CadPoint const& p, double tol) const {
    if (!isValid(tol))
        return CadPoint::none;
    double d = m_centre.lengthTo2D(p);
    if (d - m_radius > tol)
        return CadPoint::outside;
    if (m_radius - d > tol)
        return CadPoint::inside;
    if (p.isEqual2D(getOrigin(), tol))
        return CadPoint::atOrigin;
    if (p.isEqual2D(getEnd(), tol))
        return CadPoint::atEnd;
    double a = m_centre.azimuthAngleTo(p);
    // The range starts at its lower end, brought into [0, 2pi) like the azimuth.
    double s = normalisedAngle(m_sweep < 0.0 ? m_start + m_sweep : m_start);
    double w = std::fabs(m_sweep);
    if (a < s)
        a += 2.0 * pi;
    double t = tol / m_radius;
    if (a - s < -t)
        return CadPoint::offSweep;
    if ((s + w) - a > t || std::fabs(a - (s + w)) <= t)
        return CadPoint::along;
    return CadPoint::offSweep;
}

bool CadArc::isParallelTo2D(CadArc const& other, double tol) const {
    return m_centre.isEqual2D(other.m_centre, tol);
}

bool CadArc::encloses2D(CadPoint const& p, double tol) const {
    CadPoint::Pos code = positionOf2D(p, tol);
    return code == CadPoint::atOrigin || code == CadPoint::along || code == CadPoint::atEnd ||
           code == CadPoint::inside;
}

bool CadArc::isColinearTo2D(CadArc const& other, double tol) const {
    return isParallelTo2D(other, tol) && std::fabs(m_radius - other.m_radius) <= fixedTol &&
           std::fmod(m_normal.azimuthAngle(), pi) == std::fmod(other.m_normal.azimuthAngle(), pi) &&
           std::fabs(m_normal.altitudeAngle()) == std::fabs(other.m_normal.altitudeAngle());
}

void CadArc::movePolar(double len, double azimuth, double altitude) {
    m_centre.movePolar(len, azimuth, altitude);
}

void CadArc::movePolar(double len, double angle) {
    m_centre.movePolar(len, angle);
}

void CadArc::flip() {
    m_start += m_sweep;
    m_sweep = -m_sweep;
}

void CadArc::initLevel(Leveller& leveller, double angle) const {
    leveller.setRotation(m_normal, angle, fixedTol);
}

int CadArc::createIntersect(CadPoint const& p, CadArc const& arc, CadArc const& other, IntersectList& list,
                            double tol) const {
    if (!isFinite(p))
        return 0;
    return list.insert(new InterPoint(p, arc.positionOf2D(p, tol), other.positionOf2D(p, tol))) ? 1 : 0;
}

int CadArc::createIntersect(CadPoint const& p, CadArc const& arc, Line const& line, IntersectList& list,
                            double tol) const {
    if (!isFinite(p))
        return 0;
    return list.insert(new InterPoint(p, arc.positionOf2D(p, tol), line.positionOf2D(p, tol))) ? 1 : 0;
}

int CadArc::intersectionWithLevel(Line const& line, IntersectList& list, double tol) const {
    if (!isValid(tol))
        return 0;
    Leveller leveller;
    initLevel(leveller, fixedTol);
    CadArc arc(*this);
    Line levelled(line);
    leveller.transform(arc);
    leveller.transform(levelled);
    CadPoint const& centre = arc.centre();
    CadPoint foot = levelled.closestPointTo2D(centre, fixedTol);
    foot.z() = centre.z();
    double d = centre.lengthTo2D(foot);
    double e = d - m_radius;
    if (e > tol)
        return 0;
    std::size_t before = list.size();
    int count = 0;
    if (std::fabs(e) <= tol * 0.01 || e > 0.0) {
        // The line touches the circle, or passes just outside it within the tolerance.
        count = createIntersect(foot, arc, levelled, list, tol);
    } else {
        double base = 0.0;
        double half = pi / 2.0;
        if (std::fabs(d) <= tol)
            base = levelled.azimuthAngle() + pi / 2.0;
        else {
            base = centre.azimuthAngleTo(foot);
            half = std::acos(std::clamp(d / m_radius, -1.0, 1.0));
        }
        for (double angle : {base + half, base - half}) {
            CadPoint point(centre);
            point.movePolar(m_radius, angle);
            count += createIntersect(point, arc, levelled, list, tol);
        }
    }
    levelBack(list, before, leveller);
    return count;
}

int CadArc::intersectionWithLevel(CadArc const& other, IntersectList& list, double tol) const {
    Leveller leveller;
    initLevel(leveller, fixedTol);
    CadArc arc(*this);
    CadArc levelled(other);
    leveller.transform(arc);
    leveller.transform(levelled);
    CadPoint const& centre = arc.centre();
    double d = centre.lengthTo2D(levelled.centre());
    double r1 = arc.m_radius;
    double r2 = levelled.m_radius;
    if (std::fabs(d) <= tol || d - (r1 + r2) > tol || std::fabs(r1 - r2) - d > fixedTol)
        return 0;
    double theta = centre.azimuthAngleTo(levelled.centre());
    std::size_t before = list.size();
    int count = 0;
    bool touchInside = std::fabs(d - std::fabs(r1 - r2)) <= tol;
    if (touchInside || std::fabs(d - (r1 + r2)) <= tol) {
        CadPoint point(centre);
        point.movePolar(r1, touchInside && r1 < r2 ? theta + pi : theta);
        count = createIntersect(point, arc, levelled, list, tol);
    } else {
        // Clamped: with a tolerance below 1e-5 a circle just inside the other gets here.
        double half = std::acos(std::clamp((r1 * r1 + d * d - r2 * r2) / (2.0 * d) / r1, -1.0, 1.0));
        for (double angle : {theta + half, theta - half}) {
            CadPoint point(centre);
            point.movePolar(r1, angle);
            count += createIntersect(point, arc, levelled, list, tol);
        }
    }
    levelBack(list, before, leveller);
    return count;
}

} // namespace zelvane
