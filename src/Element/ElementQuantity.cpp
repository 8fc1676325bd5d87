#include "Element/ElementQuantity.h"

#include "Database/ElementLink.h"

#include <cstring>

namespace zelvane {

namespace {

void zero(API_QuantitiesMask& mask) {
    std::memset(static_cast<void*>(&mask), 0, sizeof(mask));
}

} // namespace

ElementQuantity::ElementQuantity() {
    zero(m_mask);
    m_quantities.elements = &m_element;
    m_quantities.composites = &m_composites;
}

ElementQuantity::ElementQuantity(const ElementQuantity& other)
    : m_composites(other.m_composites), m_element(other.m_element), m_mask(other.m_mask) {
    m_quantities.elements = &m_element;
    m_quantities.composites = &m_composites;
}

ElementQuantity& ElementQuantity::operator=(const ElementQuantity& other) {
    m_composites = other.m_composites;
    m_element = other.m_element;
    m_mask = other.m_mask;
    m_quantities.elements = &m_element;
    m_quantities.composites = &m_composites;
    return *this;
}

bool ElementQuantity::measure(const ElementLink& link) {
    m_element = API_ElementQuantity();
    m_composites.Clear();
    API_QuantityPar params;
    params.minOpeningSize = 1e-5;
    return ACAPI_Element_GetQuantities(link.getUniqueID(), &params, &m_quantities, &m_mask) == NoError;
}

} // namespace zelvane
