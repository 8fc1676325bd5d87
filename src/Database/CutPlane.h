// A view that cuts the model (sections and elevations): it shows model elements through proxy
// elements, which listing and selecting resolve to the model elements behind them.
#pragma once

#include "Database/Drawing.h"
#include "Database/ElementLink.h"

namespace zelvane {

class CutPlaneReference;
class ElementLinkList;

class CutPlane : public Drawing {
public:
    using Drawing::Drawing;

    // The element type of the marker that stands for the view on the floor plan.
    virtual UInt8 getRefType() const = 0;
    // A link seen through this view is loaded from its source drawing.
    Element* operator[](const ElementLink& link) override;
    virtual bool setProxyType(ElementLink& link) const { return makeProxyType(link); }
    ElementLink initSeekLink(const ElementLink& link, const Filter& filter) const override {
        return proxySeekLink(link, filter);
    }

    // The marker that stands for this view on the floor plan (a new element, the caller deletes
    // it), or null.
    CutPlaneReference* getPlanReference();
    // The link, as seen in this view, of the element the link names; a default link when the view
    // does not show it.
    ElementLink findElementProxy(const ElementLink& link);
    // Appends the links, as seen in this view, of the elements of `in` that it shows; answers how
    // many were appended.
    std::size_t findElementProxy(const ElementLinkList& in, ElementLinkList& out);

protected:
    bool isProxyView() const override { return true; }
};

} // namespace zelvane
