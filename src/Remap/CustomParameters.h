// Binds a rule's custom parameter list as a "customParameters" element with one "parameter"
// element per parameter, in list order. Parameters without values are not written.
#pragma once

#include "XML/XMLArray.h"

namespace zelvane {
class ParameterList;
}

namespace zelvane::remap {

class CustomParameters : public XMLArray {
public:
    // The list is not owned.
    explicit CustomParameters(ParameterList& parameters) : m_parameters(&parameters) {}

    char const* getTag() const override { return "customParameters"; }
    std::size_t shippingSize() const override;
    Shipping* getShipping(std::size_t index, bool attributes) override;
    using XMLArray::addShipping;
    // Each "parameter" element appends a parameter once it was read whole.
    Shipping* addShipping(String const& tag, String const& nameSpace) override;
    // Empties the list.
    void setDefault() override;

private:
    ParameterList* m_parameters;
};

} // namespace zelvane::remap
