#include "Primitive/PrimitiveDistortedHatch.h"

#include "ACAPI/ShapePrims.hpp"
#include "Environment/DataBufferOut.h"

namespace zelvane {

PrimitiveDistortedHatch::PrimitiveDistortedHatch(API_PrimPoly const& record, API_PrimHatchBorder const& hatch,
                                                 CadPolygon const& polygon, bool is2D, bool is3D)
    : PrimitiveHatch(record, hatch, polygon, is2D, is3D), m_origin(hatch.origin),
      m_innerRadius(hatch.innerRadius) {
    setFillMatrix(hatch.matrix[0], hatch.matrix[1], hatch.matrix[2], hatch.matrix[3]);
}

void PrimitiveDistortedHatch::setFillMatrix(double a, double b, double c, double d) {
    m_matrix[0] = a;
    m_matrix[1] = b;
    m_matrix[2] = c;
    m_matrix[3] = d;
}

bool PrimitiveDistortedHatch::write2DScript(DataBufferOut& out, ParameterBuilder* builder,
                                            CadPoint const& offset, unsigned short indent) const {
    int n = write2DPrelude(out, builder, offset, indent);
    if (n == 0)
        return isGood(out);
    if (!isFilled() || builder == nullptr) {
        writePolyStatement(out, builder, n);
    } else {
        out << "poly2_b{5} " << n << ", " << getFrameFillCode() << ", 1, " << m_flags << ",\n";
        writeTabs(out, indent + 1);
        writeFillPens(out, builder);
        out << ",\n";
        writeTabs(out, indent + 1);
        write2DPoint(out, m_origin, CadPoint(), true);
        out << "\n";
        writeTabs(out, indent + 1);
        for (int i = 0; i < 4; ++i) {
            writeNumber(out, m_matrix[i]);
            out << (i < 3 ? ", " : ",\n");
        }
        writeTabs(out, indent + 1);
        writeNumber(out, m_innerRadius);
        out << ",\n";
        writeTabs(out, indent + 1);
        out << "get(" << 3 * n << ")\n";
    }
    return isGood(out);
}

} // namespace zelvane
