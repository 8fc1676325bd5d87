// The project's floor plan. It shares its elements with the 3D model.
#pragma once

#include "Database/Drawing.h"

namespace zelvane {

class Plan : public Drawing {
public:
    using Drawing::Drawing;

    String getDescription() const override { return "Floor Plan"; }
    API_WindowTypeID getType() const override { return APIWind_FloorPlanID; }
    Int32 getNavigationType() const override { return 2; }
};

} // namespace zelvane
