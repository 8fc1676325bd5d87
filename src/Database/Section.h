// A section of the project: a cut view whose marker on the floor plan is a section reference.
#pragma once

#include "Database/CutPlane.h"

namespace zelvane {

class Section : public CutPlane {
public:
    using CutPlane::CutPlane;

    String getDescription() const override { return "Section"; }
    API_WindowTypeID getType() const override { return APIWind_SectionID; }
    Int32 getNavigationType() const override { return 3; }
    UInt8 getRefType() const override { return 25; }
};

} // namespace zelvane
