// A text at an anchor point, turned by an angle (radians).
#pragma once

#include "Environment/String.h"
#include "Geometry/CadPoint.h"
#include "Primitive/Primitive.h"

namespace zelvane {

class PrimitiveText : public String, public CadPoint, public Primitive {
public:
    // Line style 1.
    PrimitiveText(String const& text, CadPoint const& anchor, double angle, short displayOrder,
                  attribute_index pen, bool is2D, bool is3D)
        : String(text), CadPoint(anchor), Primitive(displayOrder, pen, attribute_index(1), is2D, is3D),
          m_angle(angle) {}

    // Line style 1.
    PrimitiveText(API_PrimText const& record, String const& text, bool is2D, bool is3D);

    double getAngle() const { return m_angle; }
    void setAngle(double angle) { m_angle = angle; }

    void offset(CadPoint const& v) override { CadPoint::operator+=(v); }
    bool encloses2D(CadPoint const& p, double tol) const override { return isEqual2D(p, tol); }
    std::unique_ptr<Cube> getBounds() const override;
    // "text2 x, y, "text""; a turned text is written at the origin of a moved and turned frame.
    bool write2DScript(DataBufferOut& out, ParameterBuilder* builder, CadPoint const& offset,
                       unsigned short indent) const override;
    bool write3DScript(DataBufferOut& out, ParameterBuilder*, CadPoint const&,
                       unsigned short) const override {
        return isGood(out);
    }

    bool renderIn(RenderContext& context, CadPoint const& offset) const override;

private:
    double m_angle;
};

} // namespace zelvane
