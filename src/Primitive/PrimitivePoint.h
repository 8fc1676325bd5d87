// A hotspot.
#pragma once

#include "Geometry/CadPoint.h"
#include "Primitive/Primitive.h"

namespace zelvane {

class PrimitivePoint : public CadPoint, public Primitive {
public:
    // Line style 1.
    PrimitivePoint(CadPoint const& point, short displayOrder, attribute_index pen, bool is2D, bool is3D)
        : CadPoint(point), Primitive(displayOrder, pen, attribute_index(1), is2D, is3D) {}

    // Line style 1.
    PrimitivePoint(API_PrimPoint const& record, bool is2D, bool is3D);

    void offset(CadPoint const& v) override { *this += v; }
    bool encloses2D(CadPoint const& p, double tol) const override { return isEqual2D(p, tol); }
    std::unique_ptr<Cube> getBounds() const override;
    // "hotspot2 x, y"
    bool write2DScript(DataBufferOut& out, ParameterBuilder* builder, CadPoint const& offset,
                       unsigned short indent) const override;
    // "hotspot x, y, z"
    bool write3DScript(DataBufferOut& out, ParameterBuilder* builder, CadPoint const& offset,
                       unsigned short indent) const override;

    bool renderIn(RenderContext&, CadPoint const&) const override { return true; }
};

} // namespace zelvane
