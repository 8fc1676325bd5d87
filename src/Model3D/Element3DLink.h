// Names one element of a 3D model: the element's link, the model view it was read from and its
// index in the model (from 0).
#pragma once

#include "Database/ElementLink.h"

namespace zelvane {

class ModelProxy;

class Element3DLink : public ElementLink {
public:
    Element3DLink(Int32 index = 0, ModelProxy* proxy = nullptr) : m_proxy(proxy), m_index(index) {}
    Element3DLink(const ElementLink& link, ModelProxy* proxy, Int32 index)
        : ElementLink(link), m_proxy(proxy), m_index(index) {}

    Element3DLink* clone() const { return new Element3DLink(*this); }

    // The model view, as iterators reach it.
    ModelProxy* getSource() const { return m_proxy; }
    ModelProxy* getProxy() const { return m_proxy; }
    Int32 getIndex() const { return m_index; }

    bool operator==(const Element3DLink& other) const {
        return ElementLink::operator==(other) && m_index == other.m_index;
    }
    bool operator!=(const Element3DLink& other) const { return !(*this == other); }

private:
    ModelProxy* m_proxy; // not owned
    Int32 m_index;
};

} // namespace zelvane
