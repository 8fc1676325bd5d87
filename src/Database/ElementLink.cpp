#include "Database/ElementLink.h"

#include "Database/Drawing.h"

namespace zelvane {

namespace {

bool guidBefore(const Guid& a, const Guid& b) {
    return GS::Guid(a).Compare(GS::Guid(b)) < 0;
}

} // namespace

ElementLink::ElementLink(const element_id& kind, API_ElemVariationID variation)
    : m_kind(kind), m_variation(variation) {}

ElementLink::ElementLink(const element_id& kind, const Drawing* drawing, API_ElemVariationID variation)
    : m_kind(kind), m_variation(variation) {
    setSource(drawing);
}

ElementLink::ElementLink(const API_Elem_Head& head, const Drawing* drawing) {
    setSource(drawing);
    setHeader(head);
}

void ElementLink::setSource(const Drawing* drawing) {
    if (drawing != nullptr) {
        m_source = drawing->getLink();
    } else {
        m_source.clear(true);
    }
}

void ElementLink::setProxySource(const Drawing* drawing) {
    if (drawing != nullptr) {
        m_proxySource = drawing->getLink();
    } else {
        m_proxySource.clear(true);
    }
}

void ElementLink::clearIdentity() {
    m_uniqueID.clear();
    m_proxyID.clear();
    m_selectionValue = 0;
    m_selectionSubValue = 0;
    m_source.clear(true);
}

void ElementLink::setHeader(const API_Elem_Head& head) {
    m_isSelection = 0;
    m_neigID = 0;
    m_selectionValue = 1;
    m_selectionSubValue = 0;
    m_kind = element_id(UInt8(head.typeID), 0);
    m_variation = head.variationID;
    m_uniqueID = Guid(head.guid);
    m_source.setStorey(attribute_index(head.floorInd));
}

ElementLink& ElementLink::operator=(const API_Elem_Head& head) {
    m_source.clear(true);
    m_proxySource.clear(true);
    setHeader(head);
    m_proxyKind = element_id();
    m_proxyID.clear();
    m_selectionValue = 0;
    m_selectionSubValue = 0;
    return *this;
}

API_Elem_Head ElementLink::getHeader(bool proxy) const {
    API_Elem_Head head;
    if (proxy && m_proxySource.getType() != 0 && m_proxyKind.getType() == proxyType) {
        head.typeID = proxyType;
        head.guid = GS::Guid(m_proxyID);
    } else {
        completeHeader(head, false);
    }
    if (m_source.hasStoreys()) {
        head.floorInd = m_source.getStoreyIndex();
    }
    return head;
}

void ElementLink::completeHeader(API_Elem_Head& head, bool withStorey) const {
    head.typeID = m_kind.getType();
    head.variationID = m_variation;
    head.guid = GS::Guid(m_uniqueID);
    if (withStorey && m_source.hasStoreys()) {
        head.floorInd = m_source.getStoreyIndex();
    }
}

Int32 ElementLink::getSelectedType() {
    if (m_neigID == 0) {
        m_neigID = neigIDOfType(m_kind.getType());
    }
    return m_neigID;
}

Int32 ElementLink::neigIDOfType(UInt8 type) {
    static const Int32 table[32] = {0,  1,  5,  6,  10, 12, 13, 14, 15, 17, 21, 27, 28, 29, 31, 32,
                                    33, 34, 38, 40, 0,  44, 46, 48, 50, 51, 53, 0,  0,  55, 0,  57};
    return type < 32 ? table[type] : 0;
}

bool ElementLink::operator==(const ElementLink& other) const {
    if (other.m_uniqueID) {
        return m_uniqueID == other.m_uniqueID;
    }
    if (m_uniqueID) {
        return false;
    }
    if (m_isSelection != 0 && other.m_isSelection != 0) {
        if (m_neigID != other.m_neigID || m_selectionValue != other.m_selectionValue ||
            m_selectionSubValue != other.m_selectionSubValue) {
            return false;
        }
    } else if (!m_kind.matches(other.m_kind)) {
        return false;
    }
    if (m_proxyKind.getType() != other.m_proxyKind.getType()) {
        return false;
    }
    if (m_proxyKind.getSubtype() != 0 && other.m_proxyKind.getSubtype() != 0 &&
        m_proxyKind.getSubtype() != other.m_proxyKind.getSubtype()) {
        return false;
    }
    return m_proxyID == other.m_proxyID && m_source == other.m_source && m_proxySource == other.m_proxySource;
}

bool ElementLink::operator<(const ElementLink& other) const {
    if (m_kind.getType() != other.m_kind.getType()) {
        return m_kind.getType() < other.m_kind.getType();
    }
    UInt8 a = m_kind.getSubtype(), b = other.m_kind.getSubtype();
    if (a != 0 && b != 0 && a != b) {
        return a < b;
    }
    return guidBefore(m_uniqueID, other.m_uniqueID);
}

} // namespace zelvane
