// One element of the 3D model, read from the host's body model: the placed element it comes from
// and its box.
#pragma once

#include "Model3D/Element3DLink.h"
#include "Modeler/Model.hpp"

namespace zelvane {

class Cube;

class Element3D {
public:
    Element3D(const Element3DLink& link, const ModelerAPI::Element& element)
        : m_link(link), m_element(element) {}
    virtual ~Element3D() = default;

    virtual Element3D* clone() const { return new Element3D(*this); }

    const Element3DLink& getLink() const { return m_link; }
    Int32 getIndex() const { return m_link.getIndex(); }
    // The element's box as a new box.
    Cube* getBounds() const;

private:
    Element3DLink m_link;
    ModelerAPI::Element m_element;
};

} // namespace zelvane
