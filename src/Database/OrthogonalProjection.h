// An axonometric view of the 3D window, held as its view transformation and the inverse.
#pragma once

#include "Database/Projection.h"

namespace zelvane {

class OrthogonalProjection : public Projection {
public:
    OrthogonalProjection() = default;
    OrthogonalProjection(const API_AxonoPars& pars, double factor) : m_pars(pars), m_factor(factor) {}

    // Outside the 3D model's box, looking at its centre; the origin when the model cannot be read.
    CadPoint getCameraPosition() const override;
    Vector3 getCameraDirection() const override;
    Vector3 getCameraVertical() const override;
    // A view has no position of its own.
    void setCameraPosition(const CadPoint&) override {}
    void setCameraDirection(const Vector3& direction, bool useLength) override;
    // Its vertical follows from the direction.
    void setCameraVertical(const Vector3&) override {}
    void getData(API_3DProjectionInfo& info) const override;

    const API_AxonoPars& getPars() const { return m_pars; }
    double getFactor() const { return m_factor; }

private:
    API_AxonoPars m_pars;
    double m_factor = 1.0;
};

} // namespace zelvane
