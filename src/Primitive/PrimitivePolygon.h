// A polygon with holes and arc edges, drawn outlined or filled solid with a fill pen.
#pragma once

#include "Geometry/CadPolygon.h"
#include "Primitive/Primitive.h"

namespace zelvane {

class PrimitivePolygon : public CadPolygon, public Primitive {
public:
    PrimitivePolygon(CadPolygon const& polygon, short displayOrder, attribute_index pen,
                     attribute_index lineStyle, bool is2D, bool is3D)
        : CadPolygon(polygon), Primitive(displayOrder, pen, lineStyle, is2D, is3D) {}

    // Solid when the record says so; the fill pen is the given one, or the pen when that is 0.
    PrimitivePolygon(API_PrimPoly const& record, CadPolygon const& polygon, attribute_index fillPen,
                     bool is2D, bool is3D);
    // Not filled, fill pen 0.
    PrimitivePolygon(API_PrimPLine const& record, CadPolygon const& polygon, bool is2D, bool is3D);
    // Solid when the record says so, filled with the pen.
    PrimitivePolygon(API_PrimTri const& record, CadPolygon const& polygon, bool is2D, bool is3D);

    std::unique_ptr<Cube> getBounds() const override { return CadPolygon::getBounds(); }
    void offset(CadPoint const& v) override { *this += v; }
    bool encloses2D(CadPoint const& p, double tol) const override { return encloses(p, tol); }
    virtual bool isSolidFilled() const { return m_solidFilled; }
    virtual attribute_index getFillPen() const { return m_fillPen; }
    // "put" of the contours, the pen and line style statements, then "poly2_a" (outline) or
    // "poly2_b" (solid fill) taking the put data.
    bool write2DScript(DataBufferOut& out, ParameterBuilder* builder, CadPoint const& offset,
                       unsigned short indent) const override;
    bool write3DScript(DataBufferOut& out, ParameterBuilder*, CadPoint const&,
                       unsigned short) const override {
        return isGood(out);
    }
    virtual void setSolidFilled(bool state) { m_solidFilled = state; }
    virtual void setFillPen(attribute_index pen) { m_fillPen = pen; }

protected:
    // The contours as value triples (x, y, status), each contour opened by its first vertex,
    // arc edges as a centre (901) and a sweep (4001), closed by 700 (no holes) or by the first
    // vertex with -1. Answers the triple count, 0 (nothing written) for an invalid polygon.
    int write2DVertices(DataBufferOut& out, CadPoint const& offset, unsigned short indent, bool put) const;

private:
    attribute_index m_fillPen;
    bool m_solidFilled = false;

    bool renderIn(RenderContext&, CadPoint const&) const override { return true; }
};

} // namespace zelvane
