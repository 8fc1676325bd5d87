// A section marker (host element type 25).
#pragma once

#include "Element/CutPlaneReference.h"

namespace zelvane {

class SectionReference : public CutPlaneReference {
public:
    static constexpr UInt8 type = 25;

    // A new section marker from the tool's defaults.
    SectionReference();
    SectionReference(const API_Element& record, const ElementLink& link) : CutPlaneReference(record, link) {}

    // The factory of the drawings' registry: a marker for a type-25 record, else null.
    static Element* create(const API_Element& record, const ElementLink& link);

    Element* clone() const override { return new SectionReference(*this); }
};

} // namespace zelvane
