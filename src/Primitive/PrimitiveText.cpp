#include "Primitive/PrimitiveText.h"

#include "ACAPI/ShapePrims.hpp"
#include "Environment/DataBufferOut.h"
#include "Geometry/Cube.h"
#include "Primitive/RenderContext.h"

#include <cmath>

namespace zelvane {

PrimitiveText::PrimitiveText(API_PrimText const& record, String const& text, bool is2D, bool is3D)
    : String(text), CadPoint(record.loc), Primitive(record.head, attribute_index(1), is2D, is3D),
      m_angle(record.angle) {}

std::unique_ptr<Cube> PrimitiveText::getBounds() const {
    CadPoint const& anchor = *this;
    return std::make_unique<Cube>(anchor, anchor);
}

bool PrimitiveText::write2DScript(DataBufferOut& out, ParameterBuilder* builder, CadPoint const& offset,
                                  unsigned short indent) const {
    if (!is2D())
        return isGood(out);
    writeLineAttributes(out, builder, indent, 0);
    CadPoint const& anchor = *this;
    bool turned = std::fabs(m_angle) > 0.00001;
    if (turned) {
        writeTabs(out, indent);
        out << "add2 ";
        write2DPoint(out, anchor, offset);
        out << "\n";
        writeTabs(out, indent);
        out << "rot2 ";
        writeAngle(out, m_angle);
        out << "\n";
    }
    writeTabs(out, indent);
    out << "text2 ";
    if (turned)
        out << "0, 0,";
    else
        write2DPoint(out, anchor, offset, true);
    out << " ";
    writeQuoted(out, *this);
    out << "\n";
    if (turned) {
        writeTabs(out, indent);
        out << "del 2\n";
    }
    return isGood(out);
}

bool PrimitiveText::renderIn(RenderContext& context, CadPoint const& offset) const {
    if (is2D())
        context.drawText(*this, offset);
    return true;
}

} // namespace zelvane
