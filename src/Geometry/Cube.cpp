#include "Geometry/Cube.h"

#include "Geometry/Rotater.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

namespace zelvane {

namespace {

constexpr double fixedTol = 1e-5;

// Equal within tol, or above it by more than tol.
bool isAtLeast(double value, double limit, double tol) {
    return value - limit > tol || std::fabs(value - limit) <= tol;
}

} // namespace

Cube::Cube(API_Box const& b) : m_origin(b.xMin, b.yMin, 0.0), m_end(b.xMax, b.yMax, 0.0) {}

Cube::Cube(API_Box3D const& b) : m_origin(b.xMin, b.yMin, b.zMin), m_end(b.xMax, b.yMax, b.zMax) {}

Cube::Cube(Box3D const& b) : m_origin(b.xMin, b.yMin, b.zMin), m_end(b.xMax, b.yMax, b.zMax) {}

Cube& Cube::operator=(Cube const& other) {
    if (this != &other) {
        m_origin = other.m_origin;
        m_end = other.m_end;
    }
    return *this;
}

bool Cube::operator==(Cube const& other) const {
    return isEqual3D(other, fixedTol);
}

bool Cube::operator!=(Cube const& other) const {
    return !(*this == other);
}

Cube Cube::operator+(CadPoint const& offset) const {
    return Cube(*this) += offset;
}

Cube& Cube::operator+=(CadPoint const& offset) {
    m_origin += offset;
    m_end += offset;
    return *this;
}

Cube Cube::operator-(CadPoint const& offset) const {
    return Cube(*this) -= offset;
}

Cube& Cube::operator-=(CadPoint const& offset) {
    m_origin -= offset;
    m_end -= offset;
    return *this;
}

Cube Cube::operator*(double factor) const {
    return Cube(*this) *= factor;
}

Cube& Cube::operator*=(double factor) {
    m_origin *= factor;
    m_end *= factor;
    return *this;
}

Cube Cube::operator/(double divisor) const {
    return Cube(*this) /= divisor;
}

Cube& Cube::operator/=(double divisor) {
    return *this *= 1.0 / divisor;
}

Cube::operator API_Box() const {
    Cube sorted(*this);
    sorted.sort();
    return API_Box{sorted.m_origin.x(), sorted.m_origin.y(), sorted.m_end.x(), sorted.m_end.y()};
}

CadPoint Cube::getCentre() const {
    return (m_origin + m_end) / 2.0;
}

CadPoint Cube::getAnchor2D(Anchor2D anchor) const {
    Cube sorted(*this);
    sorted.sort();
    int value = int(anchor);
    return sorted.m_origin +
           CadPoint((value % 3) * getWidth() / 2.0, ((value / 3) % 3) * getDepth() / 2.0, 0.0);
}

double Cube::getSize(CadPoint::Axis axis) const {
    switch (axis) {
    case CadPoint::xAxis:
        return getWidth();
    case CadPoint::yAxis:
        return getDepth();
    case CadPoint::zAxis:
        return getHeight();
    }
    throw std::out_of_range("");
}

double Cube::getWidth() const {
    return std::fabs(m_origin.x() - m_end.x());
}

double Cube::getDepth() const {
    return std::fabs(m_origin.y() - m_end.y());
}

double Cube::getHeight() const {
    return std::fabs(m_origin.z() - m_end.z());
}

double Cube::getMaxLength() const {
    return std::max({getWidth(), getDepth(), getHeight()});
}

void Cube::setOrigin(CadPoint const& origin) {
    m_origin = origin;
}

void Cube::moveTo(CadPoint const& point) {
    *this += point - getAnchor2D(minXminY);
}

void Cube::setEnd(CadPoint const& end) {
    m_end = end;
}

void Cube::setCentre(CadPoint const& point) {
    *this += point - getCentre();
}

void Cube::merge(CadPoint const& point) {
    sort();
    for (CadPoint::Axis axis : {CadPoint::xAxis, CadPoint::yAxis, CadPoint::zAxis}) {
        double value = point[axis];
        if (m_origin[axis] > value)
            m_origin[axis] = value;
        else if (value > m_end[axis])
            m_end[axis] = value;
    }
}

void Cube::merge(Cube const& box) {
    merge(box.m_origin);
    merge(box.m_end);
}

void Cube::sort() {
    for (CadPoint::Axis axis : {CadPoint::xAxis, CadPoint::yAxis, CadPoint::zAxis})
        if (m_origin[axis] > m_end[axis])
            std::swap(m_origin[axis], m_end[axis]);
}

void Cube::magnify(double factor) {
    CadPoint centre = getCentre();
    *this *= factor;
    setCentre(centre);
}

void Cube::resize(double d) {
    sort();
    m_origin -= CadPoint(d, d, d);
    m_end += CadPoint(d, d, d);
}

void Cube::rotate(double angle) {
    double hx = getWidth() / 2.0;
    double hy = getDepth() / 2.0;
    CadPoint corner(hx, hy, 0.0);
    CadPoint other(-hx, hy, 0.0);
    ZRotater rotater(angle, 1e-5);
    rotater.transformPt(corner);
    rotater.transformPt(other);
    double width = 2.0 * std::max(std::fabs(corner.x()), std::fabs(other.x()));
    double depth = 2.0 * std::max(std::fabs(corner.y()), std::fabs(other.y()));
    CadPoint centre = getCentre();
    *this = Cube(width, depth);
    setCentre(centre);
}

bool Cube::isEqual3D(Cube const& other, double) const {
    return m_origin.isEqual3D(other.m_origin, fixedTol) && m_end.isEqual3D(other.m_end, fixedTol);
}

CadPoint::Pos Cube::positionOf(CadPoint const& p, int axes, double tol) const {
    bool onFace = false;
    for (int i = 0; i < axes; ++i) {
        CadPoint::Axis axis = CadPoint::Axis(i);
        double lo = m_origin[axis];
        double hi = m_end[axis];
        if (!(hi - lo > tol))
            std::swap(lo, hi);
        double value = p[axis];
        if (lo - value > tol || value - hi > tol)
            return CadPoint::outside;
        if (std::fabs(value - lo) <= tol || std::fabs(value - hi) <= tol)
            onFace = true;
    }
    return onFace ? CadPoint::along : CadPoint::inside;
}

CadPoint::Pos Cube::positionOf3D(CadPoint const& p, double tol) const {
    return positionOf(p, 3, tol);
}

bool Cube::encloses3D(Cube const& other, double tol) const {
    return encloses2D(other, fixedTol) && isAtLeast(other.m_origin.z(), m_origin.z(), tol) &&
           isAtLeast(m_end.z(), other.m_end.z(), tol);
}

bool Cube::isEqual2D(Cube const& other, double) const {
    return m_origin.isEqual2D(other.m_origin, fixedTol) && m_end.isEqual2D(other.m_end, fixedTol);
}

CadPoint::Pos Cube::positionOf2D(CadPoint const& p, double tol) const {
    return positionOf(p, 2, tol);
}

bool Cube::encloses2D(Cube const& other, double) const {
    CadPoint const& a = other.m_origin;
    CadPoint const& b = other.m_end;
    for (CadPoint const& corner :
         {CadPoint(a.x(), a.y()), CadPoint(b.x(), b.y()), CadPoint(a.x(), b.y()), CadPoint(b.x(), a.y())})
        if (positionOf2D(corner, fixedTol) == CadPoint::outside)
            return false;
    return true;
}

bool Cube::overlaps2D(Cube const& other, double) const {
    for (CadPoint::Axis axis : {CadPoint::xAxis, CadPoint::yAxis}) {
        double a0 = std::min(m_origin[axis], m_end[axis]);
        double a1 = std::max(m_origin[axis], m_end[axis]);
        double b0 = std::min(other.m_origin[axis], other.m_end[axis]);
        double b1 = std::max(other.m_origin[axis], other.m_end[axis]);
        if (a0 - b1 >= -fixedTol || b0 - a1 >= -fixedTol)
            return false;
    }
    return true;
}

double Cube::getArea() const {
    return getWidth() * getDepth();
}

double Cube::getVolume() const {
    return getWidth() * getDepth() * getHeight();
}

} // namespace zelvane
