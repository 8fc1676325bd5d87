#include "Geometry/LinearEquation.h"

#include "Geometry/InterPoint.h"
#include "Geometry/Line.h"

#include <algorithm>
#include <cmath>

namespace zelvane {

namespace {

constexpr double fixedTol = 1e-5;
constexpr double pi = 3.14159265358979323846;

} // namespace

LinearEquation::LinearEquation(double angle, CadPoint const& point) {
    calculate(point, std::cos(angle), std::sin(angle));
}

LinearEquation::LinearEquation(CadPoint const& point, double dx, double dy) {
    calculate(point, dx, dy);
}

LinearEquation::LinearEquation(Line const& line) {
    calculate(line.origin(), line.end().x() - line.origin().x(), line.end().y() - line.origin().y());
}

void LinearEquation::calculate(CadPoint const& point, double dx, double dy) {
    if (std::fabs(dx) <= fixedTol) {
        m_a = dy >= 0.0 ? 1.0 : -1.0;
        m_b = 0.0;
        m_c = -point.x() * m_a;
    } else if (std::fabs(dy) <= fixedTol) {
        m_a = 0.0;
        m_b = dx >= 0.0 ? -1.0 : 1.0;
        m_c = dx >= 0.0 ? point.y() : -point.y();
    } else {
        double k = std::max(std::fabs(1.0 / dx), std::fabs(1.0 / dy));
        m_a = dy * k;
        m_b = -dx * k;
        m_c = -(point.x() * m_a) - point.y() * m_b;
    }
}

std::unique_ptr<LinearEquation> LinearEquation::getEquation(CadPoint const& from, CadPoint const& to) {
    double dx = to.x() - from.x();
    double dy = to.y() - from.y();
    if (std::fabs(dx) <= fixedTol && std::fabs(dy) <= fixedTol)
        return nullptr;
    return std::make_unique<LinearEquation>(from, dx, dy);
}

std::unique_ptr<LinearEquation> LinearEquation::create(CadPoint const& point) {
    return getEquation(CadPoint(), point);
}

std::unique_ptr<LinearEquation> LinearEquation::create(CadPoint const& from, CadPoint const& to) {
    return getEquation(from, to);
}

std::unique_ptr<LinearEquation> LinearEquation::create(Line const& line) {
    return getEquation(line.origin(), line.end());
}

std::unique_ptr<LinearEquation> LinearEquation::getFlipped() const {
    auto result = std::make_unique<LinearEquation>(*this);
    result->m_a = -m_a;
    result->m_b = -m_b;
    result->m_c = -m_c;
    return result;
}

std::unique_ptr<LinearEquation> LinearEquation::getPerpendicular(CadPoint const& point) const {
    return std::make_unique<LinearEquation>(perpendicularAt(point));
}

LinearEquation LinearEquation::perpendicularAt(CadPoint const& point) const {
    LinearEquation result;
    result.m_a = m_b;
    result.m_b = -m_a;
    result.m_c = -(point.x() * m_b) - point.y() * (-m_a);
    return result;
}

std::unique_ptr<LinearEquation> LinearEquation::getParallel(CadPoint const& point) const {
    double t = azimuthAngle();
    return getEquation(point, point + CadPoint(std::cos(t), std::sin(t), 0.0));
}

double LinearEquation::azimuthAngle() const {
    if (std::fabs(m_b) <= fixedTol)
        return m_a > 0.0 ? pi / 2.0 : 3.0 * pi / 2.0;
    if (std::fabs(m_a) <= fixedTol)
        return m_b < 0.0 ? 0.0 : pi;
    double t = std::atan(m_a / -m_b);
    if (m_b > 0.0)
        return t + pi;
    return t < -fixedTol ? t + 2.0 * pi : t;
}

double LinearEquation::angleTo(LinearEquation const& other) const {
    double angle = other.azimuthAngle() - azimuthAngle();
    return angle < 0.0 ? angle + 2.0 * pi : angle;
}

bool LinearEquation::operator==(LinearEquation const& other) const {
    return std::fabs(m_a - other.m_a) <= fixedTol && std::fabs(m_b - other.m_b) <= fixedTol &&
           std::fabs(m_c - other.m_c) <= fixedTol;
}

bool LinearEquation::operator!=(LinearEquation const& other) const {
    return !(*this == other);
}

bool LinearEquation::operator<(LinearEquation const& other) const {
    return azimuthAngle() < other.azimuthAngle();
}

bool LinearEquation::operator==(CadPoint const& point) const {
    if (std::fabs(m_a) <= fixedTol) {
        if (std::fabs(m_b) <= fixedTol)
            return false;
        return std::fabs(point.y() - (-(m_a * point.x()) - m_c) / m_b) <= fixedTol;
    }
    return std::fabs(point.x() - (-(m_b * point.y()) - m_c) / m_a) <= fixedTol;
}

bool LinearEquation::xAtY(double y, double& x) const {
    if (std::fabs(m_a) <= fixedTol)
        return false;
    x = (-(y * m_b) - m_c) / m_a;
    return true;
}

bool LinearEquation::yAtX(double x, double& y) const {
    if (std::fabs(m_b) <= fixedTol)
        return false;
    y = (-(x * m_a) - m_c) / m_b;
    return true;
}

bool LinearEquation::isParallelTo(LinearEquation const& other, double tol) const {
    if (std::fabs(m_b) <= tol)
        return std::fabs(other.m_b) <= tol;
    if (std::fabs(other.m_b) <= tol)
        return false;
    return std::fabs(m_a / m_b - other.m_a / other.m_b) <= tol;
}

bool LinearEquation::isPerpendicularTo(LinearEquation const& other, double tol) const {
    return (std::fabs(m_a - other.m_b) <= tol && std::fabs(m_b + other.m_a) <= tol) ||
           (std::fabs(m_a + other.m_b) <= tol && std::fabs(m_b - other.m_a) <= tol);
}

std::unique_ptr<InterPoint> LinearEquation::intersectionWith(LinearEquation const& other, double tol) const {
    CadPoint crossing;
    if (!crossingWith(other, tol, crossing))
        return nullptr;
    return std::make_unique<InterPoint>(crossing, CadPoint::none, CadPoint::none);
}

bool LinearEquation::crossingWith(LinearEquation const& other, double tol, CadPoint& result) const {
    bool steep = std::fabs(m_b) <= tol;
    bool otherSteep = std::fabs(other.m_b) <= tol;
    if (steep && otherSteep)
        return false;
    if (!steep && !otherSteep && std::fabs(m_a / m_b - other.m_a / other.m_b) <= tol)
        return false;
    // Both coordinates by Cramer's rule: x does not go through a division by a coefficient that is
    // close to zero on a nearly horizontal line.
    double det = other.m_a * m_b - m_a * other.m_b;
    result =
        CadPoint((m_b * other.m_c - m_c * other.m_b) / -det, (m_a * other.m_c - m_c * other.m_a) / det, 0.0);
    return true;
}

double LinearEquation::lengthTo(CadPoint const& point) const {
    CadPoint foot;
    return crossingWith(perpendicularAt(point), fixedTol, foot) ? foot.lengthTo2D(point) : 0.0;
}

CadPoint LinearEquation::closestPointTo(CadPoint const& point) const {
    CadPoint foot;
    return crossingWith(perpendicularAt(point), fixedTol, foot) ? foot : point;
}

CadPoint::Pos LinearEquation::positionOf(CadPoint const& point, double tol) const {
    if (std::fabs(m_a) <= tol && std::fabs(m_b) <= tol)
        return CadPoint::none;
    if (std::fabs(lengthTo(point)) <= tol)
        return CadPoint::along;
    return m_a * point.x() + m_b * point.y() + m_c < 0.0 ? CadPoint::outside : CadPoint::inside;
}

} // namespace zelvane
