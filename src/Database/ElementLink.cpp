#include "Database/ElementLink.h"

#include "ACAPI/ElementRequests.hpp"
#include "Database/CutPlane.h"
#include "Database/Drawing.h"
#include "Database/Plan.h"
#include "Database/Project.h"
#include "Environment/Host.h"

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

ElementLink::ElementLink(const Guid& guid, const Drawing* drawing) : m_uniqueID(guid) {
    if (drawing != nullptr) {
        setSource(drawing);
        ElementLink summary;
        const_cast<Drawing*>(drawing)->getElementSummary(guid, &summary);
        *this = summary;
    }
}

ElementLink::ElementLink(const API_Neig& neig, const Drawing* drawing) {
    *this = neig;
    if (drawing != nullptr) {
        setSource(drawing);
        ElementLink summary;
        if (const_cast<Drawing*>(drawing)->getElementSummary(m_uniqueID, &summary)) {
            m_kind = summary.m_kind;
            m_variation = summary.m_variation;
            m_source.setStorey(summary.m_source.getStoreyIndex());
        }
    }
}

element_id ElementLink::getType() const {
    if (m_kind.getType() == 0 && m_neigID != 0) {
        Int32 neig = m_neigID;
        API_ElemTypeID type = 0;
        if (ACAPI_Goodies(APIAny_NeigIDToElemTypeID, &neig, &type) == NoError) {
            m_kind = element_id(UInt8(type), 0);
        }
    }
    return m_kind;
}

Drawing* ElementLink::getSource() const {
    Project* project = getProject();
    return project != nullptr ? (*project)[m_source] : nullptr;
}

Drawing* ElementLink::getProxySource() const {
    Project* project = getProject();
    return project != nullptr ? (*project)[m_proxySource] : nullptr;
}

Project* ElementLink::getProject() const {
    return host.getProject();
}

Library* ElementLink::getLibrary() const {
    Project* project = getProject();
    return project != nullptr ? project->getLibrary() : nullptr;
}

Specification* ElementLink::getSpec() const {
    Project* project = getProject();
    return project != nullptr ? project->getSpecification() : nullptr;
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

void ElementLink::setUniqueID(const Guid& guid, const Drawing* drawing) {
    m_uniqueID = guid;
    if (drawing != nullptr) {
        setSource(drawing);
    } else if (m_source.getType() == 0) {
        Project* project = getProject();
        setSource(project != nullptr ? project->getFloorPlan() : nullptr);
    }
}

void ElementLink::linkToCutPlane(const CutPlane* cutPlane) {
    if (m_proxySource.getType() == 0) {
        m_proxyKind = element_id(proxyType, 0);
    }
    setProxySource(cutPlane);
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

void ElementLink::setSelection(const ElementLink& selected) {
    m_isSelection = selected.m_isSelection;
    m_neigID = selected.m_neigID;
    m_selectionValue = selected.m_selectionValue;
    m_selectionSubValue = selected.m_selectionSubValue;
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

ElementLink& ElementLink::operator=(const API_Neig& neig) {
    m_isSelection = 1;
    m_neigID = neig.neigID;
    m_kind = element_id();
    m_kind = getType(); // from the selection-record kind
    m_proxyKind = m_kind;
    m_variation = 0;
    m_uniqueID = Guid(neig.guid);
    m_proxyID.clear();
    m_selectionValue = neig.elemPartType;
    m_selectionSubValue = neig.elemPartIndex;
    m_source.clear(true);
    m_proxySource.clear(true);
    return *this;
}

bool ElementLink::isSeenThroughProxy() const {
    return m_proxySource.getType() != 0 && m_proxyKind.getType() == proxyType;
}

API_Elem_Head ElementLink::getHeader(bool proxy) const {
    API_Elem_Head head;
    if (proxy && isSeenThroughProxy()) {
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

API_Neig ElementLink::getSelectHeader(bool proxy) const {
    API_Neig neig;
    if (proxy && isSeenThroughProxy()) {
        neig.neigID = neigIDOfType(proxyType);
        neig.guid = GS::Guid(m_proxyID);
    } else {
        neig.neigID = getSelectedType();
        neig.guid = GS::Guid(m_uniqueID);
    }
    neig.elemPartType = m_selectionValue;
    neig.elemPartIndex = m_selectionSubValue;
    return neig;
}

void ElementLink::completeHeader(API_Elem_Head& head, bool withStorey) const {
    head.typeID = getType().getType();
    head.variationID = m_variation;
    head.guid = GS::Guid(m_uniqueID);
    if (withStorey && m_source.hasStoreys()) {
        head.floorInd = m_source.getStoreyIndex();
    }
}

Int32 ElementLink::getSelectedType() const {
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
