// A perspective camera of the 3D window.
#pragma once

#include "Database/Projection.h"

namespace zelvane {

class PerspectiveProjection : public Projection {
public:
    PerspectiveProjection() = default;
    explicit PerspectiveProjection(const API_PerspPars& pars) : m_pars(pars) {}

    CadPoint getCameraPosition() const override;
    Vector3 getCameraDirection() const override;
    // Up in the camera's frame: perpendicular to the direction, turned by the roll angle.
    Vector3 getCameraVertical() const override;
    // The target moves with the camera.
    void setCameraPosition(const CadPoint& position) override;
    void setCameraDirection(const Vector3& direction, bool useLength) override;
    // Sets the roll angle that gives this vertical (as far as it is perpendicular to the
    // direction).
    void setCameraVertical(const Vector3& vertical) override;
    void getData(API_3DProjectionInfo& info) const override;

    const API_PerspPars& getPars() const { return m_pars; }

private:
    API_PerspPars m_pars;
};

} // namespace zelvane
