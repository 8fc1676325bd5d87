// A detail drawing of the project.
#pragma once

#include "Database/Drawing.h"

namespace zelvane {

class Detail : public Drawing {
public:
    using Drawing::Drawing;

    String getDescription() const override { return "Detail"; }
    API_WindowTypeID getType() const override { return APIWind_DetailID; }
    Int32 getNavigationType() const override { return 4; }
};

} // namespace zelvane
