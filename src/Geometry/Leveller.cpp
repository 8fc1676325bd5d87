#include "Geometry/Leveller.h"

#include "Geometry/CadArc.h"
#include "Geometry/CadPoint.h"
#include "Geometry/CadPolygon.h"
#include "Geometry/Line.h"

namespace zelvane {

Leveller::Leveller() {
    setRotation(Vector3(0.0, 0.0, 1.0), 0.0, 1e-5);
}

Leveller::Leveller(Vector3 const& normal, double angle, double tol) {
    setRotation(normal, angle, tol);
}

Leveller::Leveller(Leveller const& other)
    : m_normal(other.m_normal), m_zRotater(other.m_zRotater->clone()), m_yRotater(other.m_yRotater->clone()),
      m_xRotater(other.m_xRotater->clone()) {}

Leveller& Leveller::operator=(Leveller const& other) {
    if (this != &other) {
        m_normal = other.m_normal;
        m_zRotater.reset(other.m_zRotater->clone());
        m_yRotater.reset(other.m_yRotater->clone());
        m_xRotater.reset(other.m_xRotater->clone());
    }
    return *this;
}

Vector3 const& Leveller::getNormal() const {
    return m_normal;
}

void Leveller::setRotation(Vector3 const& normal, double angle, double tol) {
    m_normal = normal;
    m_zRotater = std::make_unique<ZRotater>(-angle, tol);
    // Turn the normal about Y into the YZ plane, then about X onto +Z.
    CadPoint origin;
    double bearing = origin.azimuthAngleTo(CadPoint(normal.z(), -normal.x(), 0.0));
    m_yRotater = std::make_unique<YRotater>(-bearing, tol);
    Vector3 v = normal;
    m_yRotater->transform(v);
    m_xRotater = std::make_unique<XRotater>(origin.azimuthAngleTo(CadPoint(v.z(), v.y(), 0.0)), tol);
}

void Leveller::setZRotation(double angle) {
    m_zRotater = std::make_unique<ZRotater>(-angle, 1e-5);
}

void Leveller::transform(CadPoint& point) const {
    m_yRotater->transformPt(point);
    m_xRotater->transformPt(point);
    m_zRotater->transformPt(point);
}

void Leveller::transform(Line& line) const {
    transform(line.origin());
    transform(line.end());
}

void Leveller::transform(CadArc& arc) const {
    transform(arc.centre());
    CadPoint normal = arc.getNormal();
    transform(normal);
    arc.setNormal(Vector3(normal));
}

void Leveller::transform(CadPolygon& polygon) const {
    for (int k = 0; k <= int(polygon.getHoleCount()); ++k) {
        CadPolygon& contour = polygon.getShape(k);
        for (int i = 0; i < int(contour.vertSize()); ++i)
            transform(*contour[i]);
    }
}

void Leveller::reverse() {
    std::swap(m_zRotater, m_yRotater);
    m_zRotater->reverse();
    m_yRotater->reverse();
    m_xRotater->reverse();
}

} // namespace zelvane
