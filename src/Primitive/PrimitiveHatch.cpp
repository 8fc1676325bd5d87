#include "Primitive/PrimitiveHatch.h"

#include "ACAPI/ShapePrims.hpp"
#include "Attribute/Fill.h"
#include "Attribute/Pen.h"
#include "Environment/DataBufferOut.h"
#include "Environment/ToString.h"
#include "Library/ParameterBuilder.h"

namespace zelvane {

namespace {

constexpr attribute_id fillKind = 4;
constexpr short radialGradientFill = 32766;
constexpr short linearGradientFill = 32767;

} // namespace

PrimitiveHatch::PrimitiveHatch(API_PrimPoly const& record, API_PrimHatchBorder const& hatch,
                               CadPolygon const& polygon, bool is2D, bool is3D)
    : PrimitivePolygon(record, polygon, attribute_index(hatch.fillPen), is2D, is3D), m_backPen(hatch.backPen),
      m_fill(hatch.fillInd), m_outlined(hatch.outline), m_gradient(hatch.gradient), m_linear(hatch.linear) {}

void PrimitiveHatch::write2DFill(DataBufferOut& out, ParameterBuilder* builder, unsigned short indent) const {
    if (builder == nullptr || !is2D() || !isValid(true, 0.00001))
        return;
    if (!m_gradient) {
        writeAttribute(Fill(m_fill), out, builder, indent, 0, true, true);
        return;
    }
    String& name = m_linear ? builder->linearGradientName() : builder->radialGradientName();
    char const* defaultName = m_linear ? "zelvaneLinearGradient" : "zelvaneRadialGradient";
    short marker = m_linear ? linearGradientFill : radialGradientFill;
    if (name.empty()) {
        writeTabs(out, indent);
        out << (m_linear ? "define linear_gradient_fill " : "define radial_gradient_fill ") << defaultName
            << "\n";
        name = defaultName;
    }
    if (short(builder->getLastAttribute(fillKind) & 0xFFFF) != marker) {
        writeTabs(out, indent);
        out << "set fill " << name << "\n";
        builder->setLastAttribute(fillKind, attribute_index(marker), 0);
    }
}

void PrimitiveHatch::writeFillPens(DataBufferOut& out, ParameterBuilder* builder) const {
    if (builder == nullptr) {
        out << ToString(short(getFillPen())) << ", " << ToString(short(getBackPen()));
        return;
    }
    writeAttribute(Pen(getFillPen()), out, builder, 0, 2, false, false, true);
    out << ", ";
    writeAttribute(Pen(getBackPen()), out, builder, 0, 3, false, false, true);
}

int PrimitiveHatch::write2DPrelude(DataBufferOut& out, ParameterBuilder* builder, CadPoint const& offset,
                                   unsigned short indent) const {
    int n = write2DVertices(out, offset, indent, true);
    if (n == 0)
        return 0;
    writeLineAttributes(out, builder, indent, 0);
    write2DFill(out, builder, indent);
    writeTabs(out, indent);
    return n;
}

void PrimitiveHatch::writePolyStatement(DataBufferOut& out, ParameterBuilder* builder, int n) const {
    if (!isFilled()) {
        out << "poly2_a " << n << ", 1, " << ToString(short(getPen()));
    } else {
        out << "poly2_b " << n << ", " << getFrameFillCode() << ", ";
        writeFillPens(out, builder);
    }
    out << ", get(" << 3 * n << ")\n";
}

bool PrimitiveHatch::write2DScript(DataBufferOut& out, ParameterBuilder* builder, CadPoint const& offset,
                                   unsigned short indent) const {
    if (int n = write2DPrelude(out, builder, offset, indent))
        writePolyStatement(out, builder, n);
    return isGood(out);
}

} // namespace zelvane
