// The 3D window's view as a camera: a position, a viewing direction and a vertical.
#pragma once

#include "ACAPI/Projection3D.hpp"
#include "Geometry/CadPoint.h"
#include "Geometry/Vector3.h"

namespace zelvane {

class Projection {
public:
    virtual ~Projection() = default;

    virtual CadPoint getCameraPosition() const = 0;
    virtual Vector3 getCameraDirection() const = 0;
    virtual Vector3 getCameraVertical() const = 0;
    virtual void setCameraPosition(const CadPoint& position) = 0;
    // With useLength the direction's length becomes the camera's distance to its target; a zero
    // direction changes nothing.
    virtual void setCameraDirection(const Vector3& direction, bool useLength) = 0;
    virtual void setCameraVertical(const Vector3& vertical) = 0;
    // Clears the host record and writes this projection into it.
    virtual void getData(API_3DProjectionInfo& info) const = 0;
};

} // namespace zelvane
