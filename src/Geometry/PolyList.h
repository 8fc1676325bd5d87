// The owning list of polygons that receives the results of splitting and reshaping; copies are deep.
#pragma once

#include "Environment/List.h"
#include "Geometry/CadPolygon.h"

namespace zelvane {

class PolyList : public List<CadPolygon> {
public:
    PolyList() = default;
    PolyList(PolyList const&) = default;
    PolyList& operator=(PolyList const&) = default;
    ~PolyList() override = default;

    virtual PolyList* clone() const { return new PolyList(*this); }

    // The polygon of the largest area (holes subtracted); of equal areas the first. end() for an empty
    // list or one whose areas are all 0.
    iterator findLargest();
    const_iterator findLargest() const;
};

} // namespace zelvane
