// The 3D model as iterators walk it: element by element, by index.
#pragma once

#include "Database/Drawing.h"
#include "Environment/IteratorBase.h"
#include "Environment/Vector.h"
#include "Model3D/Element3D.h"

namespace zelvane {

class Model;

class ModelProxy {
public:
    using LinkList = Vector<Element3DLink>;
    using const_iterator = ConstIterator<ModelProxy, Element3D, Element3DLink, Drawing::Filter, LinkList>;
    using const_reverse_iterator =
        ConstReverseIterator<ModelProxy, Element3D, Element3DLink, Drawing::Filter, LinkList>;

    explicit ModelProxy(Model* model) : m_model(model) {}

    Model* getModel() const { return m_model; }
    // The element after (or before) the link's, as a new element, or null past either end.
    Element3D* seekNext(const Element3DLink& link, bool forward, const Drawing::Filter& filter);
    // The element of the link's index, or null.
    Element3D* load(const Element3DLink& link, const Drawing::Filter* filter);
    // Elements of the model are read only.
    bool put(Element3D&, bool, bool) { return false; }

private:
    Model* m_model; // not owned
};

} // namespace zelvane
