// An elevation of the project: a cut view whose marker on the floor plan is an elevation reference.
#pragma once

#include "Database/CutPlane.h"

namespace zelvane {

class Elevation : public CutPlane {
public:
    using CutPlane::CutPlane;

    String getDescription() const override { return "Elevation"; }
    API_WindowTypeID getType() const override { return APIWind_ElevationID; }
    Int32 getNavigationType() const override { return 20; }
    UInt8 getRefType() const override { return 33; }
};

} // namespace zelvane
