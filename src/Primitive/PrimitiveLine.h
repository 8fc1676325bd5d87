// A straight line; a hatch's fill line writes its pen as a hatch-line pen.
#pragma once

#include "Geometry/Line.h"
#include "Primitive/Primitive.h"

namespace zelvane {

class PrimitiveLine : public Line, public Primitive {
public:
    PrimitiveLine(CadPoint const& origin, CadPoint const& end, short displayOrder, attribute_index pen,
                  attribute_index lineStyle, bool is2D, bool is3D)
        : Line(origin, end), Primitive(displayOrder, pen, lineStyle, is2D, is3D) {}

    PrimitiveLine(API_PrimLine const& record, bool is2D, bool is3D);
    // With the element's pen, line style and display order.
    PrimitiveLine(CadPoint const& origin, CadPoint const& end, Element const& element, bool is2D, bool is3D)
        : Line(origin, end), Primitive(element, is2D, is3D) {}

    void offset(CadPoint const& v) override { *this += v; }
    bool encloses2D(CadPoint const& p, double tol) const override { return Line::encloses2D(p, tol); }
    std::unique_ptr<Cube> getBounds() const override;
    // "line2 x1, y1, x2, y2"
    bool write2DScript(DataBufferOut& out, ParameterBuilder* builder, CadPoint const& offset,
                       unsigned short indent) const override;
    // "lin_ x1, y1, z1, x2, y2, z2"
    bool write3DScript(DataBufferOut& out, ParameterBuilder* builder, CadPoint const& offset,
                       unsigned short indent) const override;

    bool renderIn(RenderContext& context, CadPoint const& offset) const override;
};

} // namespace zelvane
