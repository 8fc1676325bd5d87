// An arc; an elliptic one keeps the ratio of its axes and the rotation of its main axis.
#pragma once

#include "Geometry/CadArc.h"
#include "Primitive/Primitive.h"

namespace zelvane {

class PrimitiveArc : public CadArc, public Primitive {
public:
    // Circular (ratio 1).
    PrimitiveArc(CadArc const& arc, short displayOrder, attribute_index pen, attribute_index lineStyle,
                 bool is2D, bool is3D)
        : CadArc(arc), Primitive(displayOrder, pen, lineStyle, is2D, is3D) {}

    // The sweep runs from the begin to the end angle anticlockwise (a whole turn when they meet),
    // negative for a clockwise record.
    PrimitiveArc(API_PrimArc const& record, bool is2D, bool is3D);

    double getAxisRatio() const { return m_ratio; }
    double getMainAxisRotation() const { return m_rotation; }
    void setAxisRatio(double ratio) { m_ratio = ratio; }
    void setMainAxisRotation(double rotation) { m_rotation = rotation; }

    void offset(CadPoint const& v) override { *this += v; }
    // On the arc: at its start, along it or at its end.
    bool encloses2D(CadPoint const& p, double tol) const override;
    std::unique_ptr<Cube> getBounds() const override { return CadArc::getBounds(); }
    // "circle2" for a full turn, else "arc2" with the angles in degrees; an elliptic arc inside
    // "rot2"/"mulx" with its centre taken into that frame, then "del 2".
    bool write2DScript(DataBufferOut& out, ParameterBuilder* builder, CadPoint const& offset,
                       unsigned short indent) const override;
    bool write3DScript(DataBufferOut& out, ParameterBuilder*, CadPoint const&,
                       unsigned short) const override {
        return isGood(out);
    }

    bool renderIn(RenderContext& context, CadPoint const& offset) const override;

private:
    double m_ratio = 1.0;
    double m_rotation = 0.0;
};

} // namespace zelvane
