// The project's 3D model window. It shares its elements with the floor plan.
#pragma once

#include "Database/Drawing.h"

namespace zelvane {

class Model : public Drawing {
public:
    using Drawing::Drawing;

    String getDescription() const override { return "3D Window"; }
    API_WindowTypeID getType() const override { return APIWind_3DModelID; }
    Int32 getNavigationType() const override { return 6; }
    // The project's library, where the model's parts come from.
    virtual Library* getSource() const { return getLibrary(); }
};

} // namespace zelvane
