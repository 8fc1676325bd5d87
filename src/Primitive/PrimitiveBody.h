// An element's 3D model as a primitive of the 3D script, placed at a point that moves it.
#pragma once

#include "Geometry/CadPoint.h"
#include "Primitive/Primitive.h"

#include <memory>

namespace zelvane {

class Element3D;

class PrimitiveBody : public CadPoint, public Primitive {
public:
    // At the origin, pen 1, line style 1, display order 0.
    PrimitiveBody(std::shared_ptr<Element3D> model, bool is2D, bool is3D);

    std::shared_ptr<Element3D> const& getModel() const { return m_model; }

    void offset(CadPoint const& v) override { CadPoint::operator+=(v); }
    bool encloses2D(CadPoint const& p, double tol) const override { return isEqual2D(p, tol); }
    // The model's bounds, null without a model.
    std::unique_ptr<Cube> getBounds() const override;
    bool write2DScript(DataBufferOut& out, ParameterBuilder*, CadPoint const&,
                       unsigned short) const override {
        return isGood(out);
    }
    // Per body "vert", "edge", "vect" (the distinct face normals), "pgon" and "body" statements,
    // the vertices moved by the primitive's point and the offset.
    bool write3DScript(DataBufferOut& out, ParameterBuilder* builder, CadPoint const& offset,
                       unsigned short indent) const override;
    bool renderIn(RenderContext&, CadPoint const&) const override { return true; }

private:
    std::shared_ptr<Element3D> m_model;
};

} // namespace zelvane
