// What a document of packages holds that no package takes, kept so that writing the packages back
// puts it where it stood: elements (packages of a later version of the add-on, say), attributes,
// comments, processing instructions and text, before the root element, inside it among the
// packages, after it, and inside each package beside the fields its binding takes. Each is kept
// as the exact text it had in the document (KeptMarkup) and written back unchanged, so that it
// reads as it did, namespaces and all.
#pragma once

#include "XML/KeptMarkup.h"

#include <map>
#include <vector>

namespace zelvane {

class UnknownElements {
public:
    // Whether nothing is kept (the places of packages do not count).
    bool empty() const;
    void clear();

    // What stood before the root element, inside it (for module data the whole document) and
    // after it; inside, an item's place is the number of package elements before it.
    KeptMarkup& markup() { return m_markup; }
    KeptMarkup const& markup() const { return m_markup; }
    // The codes of the package elements, in document order.
    std::vector<unsigned int>& packages() { return m_packages; }
    std::vector<unsigned int> const& packages() const { return m_packages; }
    // What the package of that code held beside its fields; inside() makes the list.
    KeptMarkup& inside(unsigned int code) { return m_inside[code]; }
    KeptMarkup const* findInside(unsigned int code) const;

private:
    KeptMarkup m_markup;
    std::vector<unsigned int> m_packages;
    std::map<unsigned int, KeptMarkup> m_inside;
};

} // namespace zelvane
