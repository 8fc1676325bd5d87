// Binds a rule's custom parameter list as a "customParameters" element with one "parameter"
// element per parameter, in list order. Parameters without values are not written.
#pragma once

#include "Remap/ParameterShipping.h"
#include "XML/KeptMarkup.h"
#include "XML/XMLArray.h"

namespace zelvane {
class ParameterList;
}

namespace zelvane::remap {

class CustomParameters : public XMLArray {
public:
    // What the element, and each parameter's element, held beside their fields when read,
    // written back with them.
    struct Kept {
        KeptMarkup list;
        KeptParameters parameters;
    };

    // The list and what is kept are not owned.
    CustomParameters(ParameterList& parameters, Kept& kept) : m_parameters(&parameters), m_kept(&kept) {}

    char const* getTag() const override { return "customParameters"; }
    std::size_t shippingSize() const override;
    Shipping* getShipping(std::size_t index, bool attributes) override;
    using XMLArray::addShipping;
    // Each "parameter" element appends a parameter once it was read whole.
    Shipping* addShipping(String const& tag, String const& nameSpace) override;
    // Empties the list and what was kept.
    void setDefault() override;
    KeptMarkup* getKept() override { return &m_kept->list; }

private:
    ParameterList* m_parameters;
    Kept* m_kept;
};

} // namespace zelvane::remap
