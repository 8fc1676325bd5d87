// Names one element of the open project without holding it: its kind, GUID, the drawing database
// it was found in, the selection values it had when picked, and the proxy it was seen through.
#pragma once

#include "ACAPI/Elements.hpp"
#include "Database/DrawingLink.h"
#include "Element/ElementID.h"
#include "Environment/Guid.h"

namespace zelvane {

class CutPlane;
class Drawing;
class Library;
class Project;
class Specification;

class ElementLink {
public:
    // The type of a proxy element, through which cut views show model elements.
    static constexpr UInt8 proxyType = 29;

    ElementLink() = default;
    ElementLink(const element_id& kind, API_ElemVariationID variation);
    ElementLink(const element_id& kind, const Drawing* drawing, API_ElemVariationID variation);
    ElementLink(const API_Elem_Head& head, const Drawing* drawing);
    // With a drawing, the whole link is read from the element's header there (a default link when
    // the element cannot be found); without one the link holds only the GUID.
    ElementLink(const Guid& guid, const Drawing* drawing);
    // A selection link from a host selection record; with a drawing, the element's kind, variation
    // and storey are read there.
    ElementLink(const API_Neig& neig, const Drawing* drawing);
    virtual ~ElementLink() = default;

    ElementLink* clone() const { return new ElementLink(*this); }

    // The kind; computed from the selection-record kind (and kept) when only that is known.
    element_id getType() const;
    API_ElemVariationID getVariation() const { return m_variation; }
    element_id getProxyKind() const { return m_proxyKind; }
    // A type and a GUID.
    bool isValid() const { return getType().getType() != 0 && bool(m_uniqueID); }
    const Guid& getUniqueID() const { return m_uniqueID; }
    const Guid& getProxyID() const { return m_proxyID; }
    bool isSelectionLink() const { return m_isSelection != 0; }
    Int32 getSelectionValue() const { return m_selectionValue; }
    Int32 getSelectionSubValue() const { return m_selectionSubValue; }
    const DrawingLink& getSourceLink() const { return m_source; }
    const DrawingLink& getProxySourceLink() const { return m_proxySource; }

    // The project's drawings that the source and proxy-source links name, or null.
    Drawing* getSource() const;
    Drawing* getProxySource() const;
    Project* getProject() const;
    Library* getLibrary() const;
    // The project's attribute set, or null without a project.
    Specification* getSpec() const;

    // The drawing's link, or a cleared source for null.
    void setSource(const Drawing* drawing);
    void setProxySource(const Drawing* drawing);
    void setUniqueID(const Guid& guid) { m_uniqueID = guid; }
    // The GUID, and the drawing as source; without one an empty source becomes the floor plan.
    void setUniqueID(const Guid& guid, const Drawing* drawing);
    void setVariation(API_ElemVariationID variation) { m_variation = variation; }
    void setType(const element_id& kind) { m_kind = kind; }
    void setProxyKind(const element_id& kind) { m_proxyKind = kind; }
    void setProxyID(const Guid& guid) { m_proxyID = guid; }
    void setNeigID(Int32 neigID) { m_neigID = neigID; }
    void setStoreyIndex(short index) { m_source.setStorey(attribute_index(index)); }
    // Seen through the cut plane: proxy kind 29 unless a proxy source was already set.
    void linkToCutPlane(const CutPlane* cutPlane);
    // Forgets the GUID, the proxy GUID, both selection values and the source drawing.
    void clearIdentity();
    // Takes the kind (subtype 0), variation and GUID of the header, resets the selection values
    // and sets the source's storey to the header's floor; the source drawing is kept.
    void setHeader(const API_Elem_Head& head);
    // Takes the selection values (flag, neig ID and both values) of another link.
    void setSelection(const ElementLink& selected);
    // As setHeader, and forgets the proxy, both selection values and both drawing links.
    ElementLink& operator=(const API_Elem_Head& head);
    // A selection link of the record: no proxy ID and no drawing links.
    ElementLink& operator=(const API_Neig& neig);
    operator API_Elem_Head() const { return getHeader(); }
    operator API_Neig() const { return getSelectHeader(); }

    // A cleared header naming the element, or its proxy when asked and the link was seen through
    // one.
    API_Elem_Head getHeader(bool proxy = false) const;
    // A cleared selection record naming the element, or its proxy as getHeader does.
    API_Neig getSelectHeader(bool proxy = false) const;
    void completeHeader(API_Elem_Head& head, bool withStorey) const;
    // The host selection-record kind: the stored one, or the one of the element type (stored).
    Int32 getSelectedType() const;

    bool operator==(const ElementLink& other) const;
    bool operator!=(const ElementLink& other) const { return !(*this == other); }
    // By type, then subtype where both are not 0, then GUID.
    bool operator<(const ElementLink& other) const;
    bool operator>(const ElementLink& other) const { return other < *this; }

    // The host selection-record kind of an element type; 0 for types without one.
    static Int32 neigIDOfType(UInt8 type);

private:
    bool isSeenThroughProxy() const;

    UInt8 m_isSelection = 0;
    mutable element_id m_kind;
    API_ElemVariationID m_variation = 0;
    element_id m_proxyKind;
    mutable Int32 m_neigID = 0;
    Guid m_uniqueID;
    Guid m_proxyID;
    Int32 m_selectionValue = 1;
    Int32 m_selectionSubValue = 0;
    DrawingLink m_source;
    DrawingLink m_proxySource;
};

} // namespace zelvane
