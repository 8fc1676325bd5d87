// One quantity query to the host for an element: the members asked for (the mask), the element's
// own quantities and the quantities of each skin of a composite structure.
#pragma once

#include "ACAPI/ElementQuantities.hpp"

namespace zelvane {

class ElementLink;

class ElementQuantity {
public:
    ElementQuantity();
    ElementQuantity(const ElementQuantity& other);
    ElementQuantity& operator=(const ElementQuantity& other);
    virtual ~ElementQuantity() = default;

    // The mask of the element's members and of the skin members; setMask marks one member of
    // either.
    API_ElementQuantity& elementMask() { return m_mask.elements; }
    API_CompositeQuantity& compositeMask() { return m_mask.composites; }
    static void setMask(void* member) { *static_cast<unsigned char*>(member) = 0xFF; }

    // Clears the results and asks the host for the marked members; true when it answered.
    bool measure(const ElementLink& link);

    const API_ElementQuantity& getElement() const { return m_element; }
    const GS::Array<API_CompositeQuantity>& getComposites() const { return m_composites; }

private:
    API_Quantities m_quantities;
    GS::Array<API_CompositeQuantity> m_composites;
    API_ElementQuantity m_element;
    API_QuantitiesMask m_mask;
};

} // namespace zelvane
