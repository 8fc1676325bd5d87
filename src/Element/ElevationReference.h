// An elevation marker (host element type 33).
#pragma once

#include "Element/CutPlaneReference.h"

namespace zelvane {

class ElevationReference : public CutPlaneReference {
public:
    static constexpr UInt8 type = 33;

    // A new elevation marker from the tool's defaults.
    ElevationReference();
    ElevationReference(const API_Element& record, const ElementLink& link)
        : CutPlaneReference(record, link) {}

    // The factory of the drawings' registry: a marker for a type-33 record, else null.
    static Element* create(const API_Element& record, const ElementLink& link);

    Element* clone() const override { return new ElevationReference(*this); }
};

} // namespace zelvane
