// An owning list of element links, with a flag that remembers whether it was sorted.
#pragma once

#include "Database/ElementLink.h"
#include "Environment/Vector.h"
#include "GSRoot/Array.hpp"

namespace zelvane {

class CutPlane;
class Drawing;

class ElementLinkList : public Vector<ElementLink> {
public:
    ElementLinkList() = default;
    explicit ElementLinkList(unsigned long capacity) : Vector<ElementLink>(capacity) {}

    ElementLinkList* clone() const override { return new ElementLinkList(*this); }

    // A link for each GUID read in the drawing; those that end without a GUID or a source are left
    // out. Answers how many were appended.
    std::size_t append(const GS::Array<API_Guid>& guids, const Drawing& drawing);
    // A link for each GUID read in the drawing, all elements of the kind, named by GUID, kind and
    // drawing only: the host is not asked for their headers. Null GUIDs are left out. Answers how
    // many were appended.
    std::size_t appendOfKind(const GS::Array<API_Guid>& guids, const Drawing& drawing,
                             const element_id& kind);
    // Copies of the other list's links (null slots left out); answers how many.
    std::size_t append(const ElementLinkList& other);
    bool contains(const ElementLink& link) const;
    // Sorts by type, subtype and GUID, once.
    void sort();
    bool isSorted() const { return m_isSorted; }

    // A new host handle of one header (or selection record) per link, in list order; null for an
    // empty list or when the handle cannot be made. The caller frees it.
    API_Elem_Head** getHeaderList(bool proxy) const;
    API_Neig** getSelectList(bool proxy) const;

    // Points every link whose element the cut plane shows through a proxy at that proxy.
    void updateProxy(const CutPlane& cutPlane);

private:
    bool m_isSorted = false;
};

} // namespace zelvane
