// The owning vector of polygons that holds a polygon's holes; copies are deep.
#pragma once

#include "Environment/Vector.h"
#include "Geometry/CadPolygon.h"

namespace zelvane {

class PolyVector : public Vector<CadPolygon> {
public:
    PolyVector() = default;
    // Room for count polygons.
    explicit PolyVector(unsigned long count) : Vector<CadPolygon>(count) {}
    PolyVector(PolyVector const&) = default;
    PolyVector& operator=(PolyVector const&) = default;
    ~PolyVector() override = default;

    PolyVector* clone() const override { return new PolyVector(*this); }
};

} // namespace zelvane
