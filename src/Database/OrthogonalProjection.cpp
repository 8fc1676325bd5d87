#include "Database/OrthogonalProjection.h"

#include "Database/Model.h"
#include "Database/Project.h"
#include "Environment/Host.h"
#include "Geometry/Cube.h"
#include "Geometry/Matrix4x4.h"
#include "Geometry/Rotater.h"

#include <cmath>
#include <memory>

namespace zelvane {

namespace {

constexpr double tolerance = 1e-5;
constexpr double quarterTurn = 1.5707963267948966;

} // namespace

Vector3 OrthogonalProjection::getCameraDirection() const {
    Matrix4x4 inverse(m_pars.invtranmat);
    CadPoint far(0.0, 0.0, -1.0), origin(0.0, 0.0, 0.0);
    far *= inverse;
    origin *= inverse;
    return Vector3(far) - Vector3(origin);
}

Vector3 OrthogonalProjection::getCameraVertical() const {
    Vector3 direction = getCameraDirection();
    CadPoint up(0.0, 0.0, 1.0);
    // Turned about Y the constructor's way (from +x towards +z), so that the vertical stays
    // perpendicular to a direction that climbs.
    YRotater(direction.altitudeAngle(), tolerance).transformPt(up);
    ZRotater(direction.azimuthAngle(), tolerance).transformPt(up);
    return Vector3(up);
}

void OrthogonalProjection::setCameraDirection(const Vector3& direction, bool) {
    if (direction.magnitude() == 0.0) {
        return;
    }
    Matrix4x4 view = Matrix4x4::createXRotate(direction.altitudeAngle() + quarterTurn);
    view *= Matrix4x4::createZRotate(quarterTurn - direction.azimuthAngle());
    m_pars.tranmat = API_Tranmat(view);
    m_pars.invtranmat = API_Tranmat(view.getInverse());
}

CadPoint OrthogonalProjection::getCameraPosition() const {
    Project* project = host.getProject();
    if (project == nullptr) {
        return CadPoint();
    }
    std::unique_ptr<Cube> bounds(project->getModel()->getBounds());
    if (bounds == nullptr) {
        return CadPoint();
    }
    CadPoint centre = bounds->getCentre();
    double diagonal = bounds->getOrigin().lengthTo3D(bounds->getEnd());
    Vector3 direction = getCameraDirection();
    centre.movePolar(-diagonal / 2.0, direction.azimuthAngle(), direction.altitudeAngle());
    return centre;
}

void OrthogonalProjection::getData(API_3DProjectionInfo& info) const {
    info = API_3DProjectionInfo();
    info.isPersp = false;
    info.u_axono = m_pars;
}

} // namespace zelvane
