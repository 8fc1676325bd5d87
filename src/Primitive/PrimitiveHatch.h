// A hatched polygon: a fill (or a linear or radial gradient) over a background pen, outlined or
// not.
#pragma once

#include "Primitive/PrimitivePolygon.h"

namespace zelvane {

class PrimitiveHatch : public PrimitivePolygon {
public:
    PrimitiveHatch(CadPolygon const& polygon, short displayOrder, attribute_index pen,
                   attribute_index lineStyle, bool is2D, bool is3D)
        : PrimitivePolygon(polygon, displayOrder, pen, lineStyle, is2D, is3D) {}

    PrimitiveHatch(API_PrimPoly const& record, API_PrimHatchBorder const& hatch, CadPolygon const& polygon,
                   bool is2D, bool is3D);

    bool write2DScript(DataBufferOut& out, ParameterBuilder* builder, CadPoint const& offset,
                       unsigned short indent) const override;
    // A fill other than 0, or a gradient.
    virtual bool isFilled() const { return short(m_fill) != 0 || m_gradient; }
    virtual bool isOutlined() const { return m_outlined; }
    virtual bool isGradient() const { return m_gradient; }
    virtual bool isLinear() const { return m_linear; }
    // The background pen when filled, else the fill pen.
    virtual attribute_index getBackPen() const { return isFilled() ? m_backPen : getFillPen(); }
    virtual attribute_index getFill() const { return m_fill; }
    virtual void setOutlined(bool state) { m_outlined = state; }
    virtual void setGradient(bool state) { m_gradient = state; }
    virtual void setLinearFill(bool state) { m_linear = state; }
    virtual void setBackPen(attribute_index pen) { m_backPen = pen; }
    virtual void setFill(attribute_index fill) { m_fill = fill; }

protected:
    // The put data, the line attributes, the fill and the indent of the statement that follows;
    // the number of vertices written, 0 (and nothing more written) for no valid contour.
    int write2DPrelude(DataBufferOut& out, ParameterBuilder* builder, CadPoint const& offset,
                       unsigned short indent) const;
    // "poly2_a" unfilled, else "poly2_b" with the fill pens, over the n vertices put.
    void writePolyStatement(DataBufferOut& out, ParameterBuilder* builder, int n) const;
    // With a builder: the fill statement, or the gradient's definition (once per builder) and
    // "set fill" when another fill was set since.
    void write2DFill(DataBufferOut& out, ParameterBuilder* builder, unsigned short indent) const;
    // The frame/fill code: outlined + 2 when filled.
    int getFrameFillCode() const { return (m_outlined ? 1 : 0) + (isFilled() ? 2 : 0); }
    // The fill and background pens, inline.
    void writeFillPens(DataBufferOut& out, ParameterBuilder* builder) const;

private:
    attribute_index m_backPen;
    attribute_index m_fill;
    bool m_outlined = false;
    bool m_gradient = false;
    bool m_linear = false;
};

} // namespace zelvane
