#include "Remap/CustomParameters.h"

#include "Library/ParameterList.h"
#include "Remap/ParameterShipping.h"

namespace zelvane::remap {

std::size_t CustomParameters::shippingSize() const {
    return m_parameters->size();
}

Shipping* CustomParameters::getShipping(std::size_t index, bool attributes) {
    Parameter const* parameter = m_parameters->getParameter(index);
    if (attributes || parameter == nullptr || ParameterShipping::kindOf(*parameter) == nullptr) {
        return nullptr;
    }
    if (m_kept->parameters.empty()) {
        return new ParameterShipping(*parameter);
    }
    auto kept = m_kept->parameters.find(ParameterShipping::keptKey(*m_parameters, index));
    return new ParameterShipping(*parameter, kept != m_kept->parameters.end() ? &kept->second : nullptr);
}

Shipping* CustomParameters::addShipping(String const& tag, String const&) {
    return tag == "parameter" ? new ParameterShipping(*m_parameters, &m_kept->parameters) : nullptr;
}

void CustomParameters::setDefault() {
    m_parameters->deleteAllParameters();
    m_kept->list.clear();
    m_kept->parameters.clear();
}

} // namespace zelvane::remap
