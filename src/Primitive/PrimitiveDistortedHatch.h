// A hatch whose fill pattern is placed by an origin and a matrix (and an inner radius for radial
// gradients).
#pragma once

#include "Geometry/CadPoint.h"
#include "Primitive/PrimitiveHatch.h"

namespace zelvane {

class PrimitiveDistortedHatch : public PrimitiveHatch {
public:
    PrimitiveDistortedHatch(CadPolygon const& polygon, short displayOrder, attribute_index pen,
                            attribute_index lineStyle, bool is2D, bool is3D)
        : PrimitiveHatch(polygon, displayOrder, pen, lineStyle, is2D, is3D) {}

    PrimitiveDistortedHatch(API_PrimPoly const& record, API_PrimHatchBorder const& hatch,
                            CadPolygon const& polygon, bool is2D, bool is3D);

    int getDistortionFlags() const { return m_flags; }
    CadPoint const& getFillOrigin() const { return m_origin; }
    double const* getFillMatrix() const { return m_matrix; }
    double getInnerRadius() const { return m_innerRadius; }
    void setFillOrigin(CadPoint const& origin) { m_origin = origin; }
    void setFillMatrix(double a, double b, double c, double d);
    void setInnerRadius(double radius) { m_innerRadius = radius; }

    // Filled with a builder: "poly2_b{5}" with the distortion, after the hatch's statements.
    bool write2DScript(DataBufferOut& out, ParameterBuilder* builder, CadPoint const& offset,
                       unsigned short indent) const override;

private:
    int m_flags = 8;
    CadPoint m_origin;
    double m_matrix[4] = {1.0, 0.0, 0.0, 1.0};
    double m_innerRadius = 0.0;
};

} // namespace zelvane
