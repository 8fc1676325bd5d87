#include "Primitive/PrimitivePoint.h"

#include "ACAPI/ShapePrims.hpp"
#include "Environment/DataBufferOut.h"
#include "Geometry/Cube.h"

namespace zelvane {

PrimitivePoint::PrimitivePoint(API_PrimPoint const& record, bool is2D, bool is3D)
    : CadPoint(record.loc), Primitive(record.head, attribute_index(1), is2D, is3D) {}

std::unique_ptr<Cube> PrimitivePoint::getBounds() const {
    return std::make_unique<Cube>(*this, *this);
}

bool PrimitivePoint::write2DScript(DataBufferOut& out, ParameterBuilder*, CadPoint const& offset,
                                   unsigned short indent) const {
    if (is2D()) {
        writeTabs(out, indent);
        out << "hotspot2 ";
        write2DPoint(out, *this, offset);
        out << "\n";
    }
    return isGood(out);
}

bool PrimitivePoint::write3DScript(DataBufferOut& out, ParameterBuilder*, CadPoint const& offset,
                                   unsigned short indent) const {
    if (is3D()) {
        writeTabs(out, indent);
        out << "hotspot ";
        write3DPoint(out, *this, offset);
        out << "\n";
    }
    return isGood(out);
}

} // namespace zelvane
