#include "Geometry/Line.h"

#include "Geometry/InterPoint.h"
#include "Geometry/IntersectList.h"
#include "Geometry/Leveller.h"
#include "Geometry/LinearEquation.h"
#include "Geometry/Matrix3x3.h"
#include "Geometry/Plane.h"
#include "Geometry/Vector3.h"

#include <cmath>
#include <memory>
#include <utility>

namespace zelvane {

namespace {

constexpr double fixedTol = 1e-5;
constexpr double pi = 3.14159265358979323846;

bool isOnSegment(CadPoint::Pos code) {
    return code == CadPoint::atOrigin || code == CadPoint::along || code == CadPoint::atEnd;
}

} // namespace

Line::Line(CadPoint const& origin, double len, double angle) : m_origin(origin), m_end(origin) {
    m_end.movePolar(len, angle);
}

Line::Line(API_Sector const& s, double z) : m_origin(s.c1, z), m_end(s.c2, z) {}

Line& Line::operator=(Line const& other) {
    if (this != &other) {
        m_origin = other.m_origin;
        m_end = other.m_end;
    }
    return *this;
}

Line& Line::operator=(API_Sector const& s) {
    m_origin = CadPoint(s.c1, 0.0);
    m_end = CadPoint(s.c2, 0.0);
    return *this;
}

bool Line::operator==(Line const& other) const {
    return isEqual3D(other, fixedTol);
}

bool Line::operator!=(Line const& other) const {
    return !(*this == other);
}

Line Line::operator+(CadPoint const& offset) const {
    return Line(*this) += offset;
}

Line& Line::operator+=(CadPoint const& offset) {
    m_origin += offset;
    m_end += offset;
    return *this;
}

Line Line::operator-(CadPoint const& offset) const {
    return Line(*this) -= offset;
}

Line& Line::operator-=(CadPoint const& offset) {
    m_origin -= offset;
    m_end -= offset;
    return *this;
}

Line Line::operator*(double factor) const {
    return Line(*this) *= factor;
}

Line& Line::operator*=(double factor) {
    m_origin *= factor;
    m_end *= factor;
    return *this;
}

Line Line::operator*(Matrix3x3 m) const {
    return Line(*this) *= m;
}

Line& Line::operator*=(Matrix3x3 m) {
    m_origin *= m;
    m_end *= m;
    return *this;
}

Line::operator API_Sector() const {
    return API_Sector{API_Coord{m_origin.x(), m_origin.y()}, API_Coord{m_end.x(), m_end.y()}};
}

double Line::azimuthAngle() const {
    return m_origin.azimuthAngleTo(m_end);
}

double Line::altitudeAngle() const {
    return m_origin.altitudeAngleTo(m_end);
}

double Line::angleTo(Line const& other) const {
    return Vector3(*this).angleTo(Vector3(other));
}

CadPoint Line::midpoint() const {
    return (m_origin + m_end) / 2.0;
}

double Line::heightAt(CadPoint const& p) const {
    if (std::fabs(m_origin.z() - m_end.z()) <= fixedTol)
        return m_origin.z();
    auto plane = Plane::create(p, Vector3(m_end.x() - m_origin.x(), m_end.y() - m_origin.y(), 0.0));
    if (!plane)
        return m_origin.z();
    auto hit = plane->intersectionWith(*this, fixedTol);
    return hit ? hit->z() : m_origin.z();
}

bool Line::isEqual3D(Line const& other, double) const {
    return (m_origin.isEqual3D(other.m_origin, fixedTol) && m_end.isEqual3D(other.m_end, fixedTol)) ||
           (m_origin.isEqual3D(other.m_end, fixedTol) && m_end.isEqual3D(other.m_origin, fixedTol));
}

double Line::length3D() const {
    return m_origin.lengthTo3D(m_end);
}

CadPoint Line::closestPointTo3D(CadPoint const& p, double tol) const {
    auto plane = Plane::create(p, Vector3(m_origin - m_end));
    if (!plane)
        return m_origin;
    auto hit = plane->intersectionWith(*this, tol);
    if (!hit)
        return m_origin;
    return CadPoint(hit->x(), hit->y(), hit->z());
}

CadPoint Line::closestPointAlong3D(CadPoint const& p, double tol) const {
    auto plane = Plane::create(p, Vector3(m_origin - m_end));
    if (!plane)
        return m_origin;
    auto hit = plane->intersectionWith(*this, tol);
    if (!hit)
        return m_origin;
    CadPoint foot(hit->x(), hit->y(), hit->z());
    switch (positionOf3D(foot, fixedTol)) {
    case CadPoint::outside:
        return m_end;
    case CadPoint::inside:
        return m_origin;
    default:
        return foot;
    }
}

bool Line::intersectionWith3D(Line const& other, IntersectList& list, double tol) const {
    // The plane that holds this line and runs parallel to the other.
    auto plane = Plane::create(m_origin, m_end, m_origin + (other.m_end - other.m_origin));
    if (!plane)
        return false;
    Leveller leveller(plane->getNormal(), 1e-8, 1e-5);
    Line levelled(*this);
    Line levelledOther(other);
    leveller.transform(levelled);
    leveller.transform(levelledOther);
    double height = levelled.m_origin.z();
    double otherHeight = levelledOther.m_origin.z();
    if (std::fabs(height - otherHeight) > tol)
        return false;
    if (!levelled.intersectionWith2D(levelledOther, list, tol))
        return false;
    InterPoint* point = list.back();
    point->z() = (height + otherHeight) / 2.0;
    leveller.reverse();
    leveller.transform(*point);
    return true;
}

CadPoint::Pos Line::positionOf3D(CadPoint const& p, double tol) const {
    Vector3 direction(m_end - m_origin);
    Leveller leveller(direction, 0.0, 1e-5);
    CadPoint levelledOrigin(m_origin);
    CadPoint levelledPoint(p);
    leveller.transform(levelledOrigin);
    leveller.transform(levelledPoint);
    if (levelledOrigin.lengthTo2D(levelledPoint) > fixedTol)
        return CadPoint::none;
    auto start = Plane::create(m_origin, direction);
    if (!start)
        return CadPoint::none;
    CadPoint::Pos code = start->positionOf(p, tol);
    if (code == CadPoint::along)
        return CadPoint::atOrigin;
    if (code != CadPoint::inside)
        return CadPoint::inside;
    auto finish = Plane::create(m_end, direction);
    if (!finish)
        return CadPoint::none;
    code = finish->positionOf(p, tol);
    if (code == CadPoint::outside)
        return CadPoint::along;
    if (code == CadPoint::along)
        return CadPoint::atEnd;
    return CadPoint::outside;
}

bool Line::isParallelTo3D(Line const& other, double) const {
    return Vector3(*this).isParallelTo(Vector3(other), fixedTol);
}

bool Line::encloses3D(CadPoint const& p, double tol) const {
    return isOnSegment(positionOf3D(p, tol));
}

bool Line::isColinearTo3D(Line const& other, double tol) const {
    return isParallelTo3D(other, tol) &&
           other.m_origin.lengthTo3D(closestPointTo3D(other.m_origin, tol)) <= tol;
}

bool Line::isEqual2D(Line const& other, double) const {
    return (m_origin.isEqual2D(other.m_origin, fixedTol) && m_end.isEqual2D(other.m_end, fixedTol)) ||
           (m_origin.isEqual2D(other.m_end, fixedTol) && m_end.isEqual2D(other.m_origin, fixedTol));
}

double Line::length2D() const {
    return m_origin.lengthTo2D(m_end);
}

double Line::angleTo2D(Line const& other) const {
    double angle = other.azimuthAngle() - azimuthAngle();
    return angle < 0.0 ? angle + 2.0 * pi : angle;
}

CadPoint Line::closestPointTo2D(CadPoint const& p, double tol) const {
    auto equation = LinearEquation::create(*this);
    if (!equation)
        return m_origin;
    auto hit = equation->intersectionWith(*equation->getPerpendicular(p), tol);
    if (!hit)
        return m_origin;
    return CadPoint(hit->x(), hit->y(), 0.0);
}

CadPoint Line::closestPointAlong2D(CadPoint const& p, double tol) const {
    auto equation = LinearEquation::create(*this);
    if (!equation)
        return m_origin;
    auto hit = equation->intersectionWith(*equation->getPerpendicular(p), tol);
    if (!hit)
        return m_origin;
    CadPoint foot(hit->x(), hit->y(), 0.0);
    switch (positionOf2D(foot, fixedTol)) {
    case CadPoint::outside:
        return m_end;
    case CadPoint::inside:
        return m_origin;
    default:
        return foot;
    }
}

bool Line::intersectionWith2D(Line const& other, IntersectList& list, double tol) const {
    CadPoint crossing;
    if (!intersectionWith2D(other, crossing, tol))
        return false;
    auto hit = std::make_unique<InterPoint>(crossing, CadPoint::none, CadPoint::none);
    // Both codes are always set, so a swapped list still filters each operand on its own code.
    hit->setPosition(InterPoint::first, positionOf2D(*hit, tol));
    hit->setPosition(InterPoint::second, other.positionOf2D(*hit, tol));
    return list.insert(hit.release());
}

CadPoint::Pos Line::positionOf2D(CadPoint const& p, double tol) const {
    if (p.isEqual2D(m_origin, tol))
        return CadPoint::atOrigin;
    if (p.isEqual2D(m_end, tol))
        return CadPoint::atEnd;
    if (m_origin.isEqual2D(m_end, fixedTol))
        return CadPoint::none;
    LinearEquation equation(*this);
    if (p.lengthTo2D(equation.closestPointTo(p)) > tol)
        return CadPoint::none;
    LinearEquation perpendicular = equation.perpendicularAt(p);
    CadPoint::Pos originSide = perpendicular.positionOf(m_origin, tol);
    if (originSide == CadPoint::along)
        return CadPoint::atOrigin;
    CadPoint::Pos endSide = perpendicular.positionOf(m_end, tol);
    if (endSide == CadPoint::along)
        return CadPoint::atEnd;
    if (originSide != endSide)
        return CadPoint::along;
    return perpendicular.lengthTo(m_origin) < perpendicular.lengthTo(m_end) ? CadPoint::inside
                                                                            : CadPoint::outside;
}

bool Line::isParallelTo2D(Line const& other, double tol) const {
    Vector3 a(m_end.x() - m_origin.x(), m_end.y() - m_origin.y(), 0.0);
    Vector3 b(other.m_end.x() - other.m_origin.x(), other.m_end.y() - other.m_origin.y(), 0.0);
    double lengthA = a.magnitude();
    double lengthB = b.magnitude();
    if (lengthA <= tol || lengthB <= tol)
        return true;
    if (lengthA > lengthB)
        a *= lengthB / lengthA;
    else
        b *= lengthA / lengthB;
    return (a - b).magnitude() <= fixedTol;
}

bool Line::encloses2D(CadPoint const& p, double tol) const {
    return isOnSegment(positionOf2D(p, tol));
}

bool Line::isColinearTo2D(Line const& other, double tol) const {
    return isParallelTo2D(other, tol) &&
           other.m_origin.lengthTo2D(closestPointTo2D(other.m_origin, tol)) <= tol;
}

void Line::movePolar(double len, double azimuth, double altitude) {
    m_origin.movePolar(len, azimuth, altitude);
    m_end.movePolar(len, azimuth, altitude);
}

void Line::movePolar(double len, double angle) {
    m_origin.movePolar(len, angle);
    m_end.movePolar(len, angle);
}

void Line::flip() {
    std::swap(m_origin, m_end);
}

bool Line::intersectionWith2D(Line const& other, CadPoint& result, double tol) const {
    if (m_origin.isEqual2D(m_end, fixedTol) || other.m_origin.isEqual2D(other.m_end, fixedTol))
        return false;
    return LinearEquation(*this).crossingWith(LinearEquation(other), tol, result);
}

void Line::extend(double len) {
    double azimuth = azimuthAngle();
    double altitude = altitudeAngle();
    m_end.movePolar(len, azimuth, altitude);
}

} // namespace zelvane
