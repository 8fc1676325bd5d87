#include "Primitive/PrimitiveLine.h"

#include "ACAPI/ShapePrims.hpp"
#include "Environment/DataBufferOut.h"
#include "Geometry/Cube.h"
#include "Primitive/RenderContext.h"

#include <algorithm>

namespace zelvane {

PrimitiveLine::PrimitiveLine(API_PrimLine const& record, bool is2D, bool is3D)
    : Line(CadPoint(record.c1), CadPoint(record.c2)),
      Primitive(record.head, attribute_index(record.ltypeInd), is2D, is3D) {}

std::unique_ptr<Cube> PrimitiveLine::getBounds() const {
    CadPoint const& a = origin();
    CadPoint const& b = end();
    return std::make_unique<Cube>(std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::min(a.z(), b.z()),
                                  std::max(a.x(), b.x()), std::max(a.y(), b.y()), std::max(a.z(), b.z()));
}

bool PrimitiveLine::write2DScript(DataBufferOut& out, ParameterBuilder* builder, CadPoint const& offset,
                                  unsigned short indent) const {
    if (!is2D())
        return isGood(out);
    writeLineAttributes(out, builder, indent, isHatchLine() ? 2 : 0);
    writeTabs(out, indent);
    out << "line2 ";
    write2DPoint(out, origin(), offset, true);
    out << " ";
    write2DPoint(out, end(), offset);
    out << "\n";
    return isGood(out);
}

bool PrimitiveLine::write3DScript(DataBufferOut& out, ParameterBuilder*, CadPoint const& offset,
                                  unsigned short indent) const {
    if (is3D()) {
        writeTabs(out, indent);
        out << "lin_ ";
        write3DPoint(out, origin(), offset, true);
        out << " ";
        write3DPoint(out, end(), offset);
        out << "\n";
    }
    return isGood(out);
}

bool PrimitiveLine::renderIn(RenderContext& context, CadPoint const& offset) const {
    if (is2D())
        context.drawLine(*this, offset);
    return true;
}

} // namespace zelvane
