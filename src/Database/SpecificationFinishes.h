// The surface materials of an attribute set as 3D bodies look them up: a material number is the
// attribute index of the set's surface material.
#pragma once

#include "Model3D/FinishLookup.h"

namespace zelvane {

class Specification;

class SpecificationFinishes : public FinishLookup {
public:
    explicit SpecificationFinishes(Specification* specification) : m_specification(specification) {}

    Finish getFinish(int material) override;
    Finish getFinish(attribute_index index) override;

private:
    Specification* m_specification; // not owned
};

} // namespace zelvane
