// What callers hand a drawing as "a selection": the elements it holds, and the headers a tool
// command leaves them with.
#pragma once

#include "ACAPI/Elements.hpp"

namespace zelvane {

class ElementLinkList;

class BaseElemSelection {
public:
    virtual ~BaseElemSelection() = default;

    // A new list of the selection's elements (the caller deletes it).
    virtual ElementLinkList* getElementLinks() const = 0;
    // The headers of the elements after a tool command, in list order.
    virtual void setElementHeaders(const API_Elem_Head* heads, Int32 count) = 0;
};

} // namespace zelvane
