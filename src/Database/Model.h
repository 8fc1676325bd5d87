// The project's 3D model window. It shares its elements with the floor plan; its body model is
// read from the host's 3D window on first use.
#pragma once

#include "Database/Drawing.h"
#include "Model3D/FinishLookup.h"
#include "Model3D/ModelProxy.h"
#include "Modeler/Model.hpp"

#include <memory>

namespace zelvane {

class Cube;
class Projection;

class Model : public Drawing, public FinishLookup {
public:
    using Drawing::Drawing;
    ~Model() override;

    String getDescription() const override { return "3D Window"; }
    API_WindowTypeID getType() const override { return APIWind_3DModelID; }
    Int32 getNavigationType() const override { return 6; }
    // Drops the selection and the body model (the sight stays).
    void reset() override;
    // The project's library, where the model's parts come from.
    virtual Library* getSource() const { return getLibrary(); }

    // The host's body model of the 3D window, read on first use; null when the window shows
    // nothing.
    ModelerAPI::Model* getModel();
    // The number of elements of the body model; 0 without one.
    Int32 size3D();
    // The box of the body model, as a new box, or null.
    Cube* getBounds();
    // The host's current projection, or an empty pointer when the host refuses.
    std::shared_ptr<Projection> getProjection();
    GSErrCode setProjection(const Projection& projection);

    // Walks the elements of the body model from the first (or the last); at the end at once
    // without a model.
    ModelProxy::const_iterator begin3D(const Filter& filter);
    ModelProxy::const_reverse_iterator rbegin3D(const Filter& filter);
    // The element of the body model at an index (from 0), as a new element, or null.
    Element3D* get3DElement(int index);

    // Material i of the body model (from 1), with its texture; the project's material of that
    // index when the model has too few or names a texture it lacks.
    Finish getFinish(int material) override;
    // The project's material of that index as the 3D model reads it; a default one when the
    // host has none.
    Finish getFinish(attribute_index index) override;

private:
    ModelerAPI::Model* m_model = nullptr;
    Modeler::SightPtr m_sight;
    std::unique_ptr<ModelProxy> m_proxy;
};

} // namespace zelvane
