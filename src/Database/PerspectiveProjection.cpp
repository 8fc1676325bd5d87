#include "Database/PerspectiveProjection.h"

#include "Geometry/Rotater.h"

#include <cmath>

namespace zelvane {

namespace {

constexpr double tolerance = 1e-5;

} // namespace

CadPoint PerspectiveProjection::getCameraPosition() const {
    return CadPoint(m_pars.pos.x, m_pars.pos.y, m_pars.cameraZ);
}

Vector3 PerspectiveProjection::getCameraDirection() const {
    return Vector3(m_pars.target.x - m_pars.pos.x, m_pars.target.y - m_pars.pos.y,
                   m_pars.targetZ - m_pars.cameraZ);
}

Vector3 PerspectiveProjection::getCameraVertical() const {
    Vector3 direction = getCameraDirection();
    CadPoint up(0.0, 0.0, 1.0);
    XRotater(m_pars.rollAngle, tolerance).transformPt(up);
    // Turned about Y the way setAngle turns (from +z towards +x), so that the vertical stays
    // perpendicular to a direction that climbs.
    YRotater tilt;
    tilt.setAngle(-direction.altitudeAngle(), tolerance);
    tilt.transformPt(up);
    ZRotater(direction.azimuthAngle(), tolerance).transformPt(up);
    return Vector3(up);
}

void PerspectiveProjection::setCameraDirection(const Vector3& direction, bool useLength) {
    double length = direction.magnitude();
    if (length == 0.0) {
        return;
    }
    if (useLength) {
        m_pars.distance = length;
    } else {
        length = m_pars.distance;
    }
    CadPoint target = getCameraPosition();
    target.movePolar(length, direction.azimuthAngle(), direction.altitudeAngle());
    m_pars.target.x = target.x();
    m_pars.target.y = target.y();
    m_pars.targetZ = target.z();
}

void PerspectiveProjection::setCameraPosition(const CadPoint& position) {
    Vector3 direction = getCameraDirection();
    m_pars.pos.x = position.x();
    m_pars.pos.y = position.y();
    m_pars.cameraZ = position.z();
    setCameraDirection(direction, true);
}

void PerspectiveProjection::setCameraVertical(const Vector3& vertical) {
    Vector3 direction = getCameraDirection();
    // Back into the camera's frame: the inverse turns of getCameraVertical, in reverse order.
    CadPoint up(vertical);
    ZRotater(-direction.azimuthAngle(), tolerance).transformPt(up);
    YRotater tilt;
    tilt.setAngle(direction.altitudeAngle(), tolerance);
    tilt.transformPt(up);
    // The roll turns (0, 0, 1) to (0, -sin roll, cos roll).
    m_pars.rollAngle = std::atan2(-up.y(), up.z());
}

void PerspectiveProjection::getData(API_3DProjectionInfo& info) const {
    info = API_3DProjectionInfo();
    info.isPersp = true;
    info.u_persp = m_pars;
}

} // namespace zelvane
