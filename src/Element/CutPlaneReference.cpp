#include "Element/CutPlaneReference.h"

#include "ACAPI/ElementTable.hpp"
#include "Attribute/Storey.h"
#include "Database/Drawing.h"
#include "Environment/Memory.h"
#include "Geometry/Line.h"
#include "Memo/ElementMemoStore.h"

#include <memory>

namespace zelvane {
namespace {

constexpr unsigned long long lineBit = 0x1;
constexpr unsigned long long parametersPacked = 0x4;
constexpr unsigned long long linePacked = 0x4000;
constexpr unsigned long long secondLinePacked = 0x8000;

} // namespace

CutPlaneReference::CutPlaneReference(const ElementLink& link) : Element(link) {
    initialise();
}

CutPlaneReference::CutPlaneReference(const API_Element& record, const ElementLink& link)
    : Element(link), m_record(record) {}

void CutPlaneReference::initialise() {
    loadToolDefaults(m_record, getType().getType(), true);
}

API_MarkerType& CutPlaneReference::marker() {
    return m_record.header.typeID == API_ElevationID ? m_record.elevation : m_record.cutPlane;
}

const API_MarkerType& CutPlaneReference::marker() const {
    return m_record.header.typeID == API_ElevationID ? m_record.elevation : m_record.cutPlane;
}

bool CutPlaneReference::getStoreyLevel(double& level) const {
    const Storey* storey = getStorey();
    if (storey == nullptr) {
        return false;
    }
    level = storey->getLevel();
    return true;
}

ElementLink CutPlaneReference::getStartMarkerLink() const {
    ElementLink link(getType(), getSource(), 0);
    link.setUniqueID(Guid(marker().startMarkerGuid));
    return link;
}

Pen CutPlaneReference::getPen(Pen::Use use) const {
    const auto index = UInt8(use) <= 1 ? marker().markerPen : short(0);
    return Pen(attribute_index(index));
}

void CutPlaneReference::setPen(const Pen& pen, Pen::Use use) {
    if (UInt8(use) <= 1) {
        marker().markerPen = short(pen.getIndex());
    }
}

double CutPlaneReference::getBaseLevel(bool absolute) const {
    double storey = 0.0;
    return marker().bottomLevel - (!absolute && getStoreyLevel(storey) ? storey : 0.0);
}

void CutPlaneReference::setBaseLevel(double level, bool absolute) {
    double storey = 0.0;
    marker().bottomLevel = level + (!absolute && getStoreyLevel(storey) ? storey : 0.0);
}

void CutPlaneReference::setHeight(double height) {
    marker().topLevel = marker().bottomLevel + height;
}

CadPoint CutPlaneReference::getOrigin() const {
    const CadPolygon* line = getPolygon();
    if (line == nullptr || line->vertSize() == 0) {
        return CadPoint(0.0, 0.0, 0.0);
    }
    return CadPoint((*line)[0], getBaseLevel(true));
}

void CutPlaneReference::setOrigin(const CadPoint& origin) {
    if (CadPolygon* line = getPolygon()) {
        CadPoint offset = origin - getOrigin();
        *line += CadPoint(offset.x(), offset.y(), 0.0);
        for (API_Coord& point : m_secondLine) {
            point.x += offset.x();
            point.y += offset.y();
        }
    }
    setBaseLevel(origin.z(), true);
}

const std::vector<API_Coord>& CutPlaneReference::getSecondLine() const {
    confirmLoad(getFilter());
    return m_secondLine;
}

double CutPlaneReference::getRotation2D() const {
    Line direction(CadPoint(0.0, 0.0, 0.0), CadPoint(1.0, 0.0, 0.0));
    const CadPolygon* line = getPolygon();
    if (line != nullptr && line->isValid(false, 1e-5)) {
        direction = Line((*line)[0], (*line)[1]);
    }
    if (!isForwardDirection()) {
        direction.flip();
    }
    return direction.azimuthAngle();
}

const API_Polygon& CutPlaneReference::getPolyData(const MemoStore&) const {
    m_polyData = API_Polygon();
    m_polyData.nCoords = marker().nLineCoords;
    return m_polyData;
}

API_Element* CutPlaneReference::getData() const {
    auto* record = new API_Element(m_record);
    getLink().completeHeader(record->header, true);
    // The record must count the points of the line that is put with it.
    if (isLoaded()) {
        API_Polygon description;
        fillDescription(description);
        (record->header.typeID == API_ElevationID ? record->elevation : record->cutPlane).nLineCoords =
            description.nCoords;
    }
    return record;
}

API_ElementMemo* CutPlaneReference::getMemo(unsigned long long& mask) const {
    mask = 0;
    ElementMemoStore store;
    if (!pack(&store)) {
        return nullptr;
    }
    store.setKeep(true);
    API_ElementMemo* record = store.getTarget();
    if (record->params != nullptr) {
        mask |= parametersPacked;
    }
    if (record->sectionLineCoords != nullptr) {
        mask |= linePacked;
    }
    if (!m_secondLine.empty()) {
        const int size = int(m_secondLine.size() * sizeof(API_Coord));
        record->sectionSecondLineCoords = reinterpret_cast<API_Coord*>(allocatePtr(size));
        copyMemory(record->sectionSecondLineCoords, m_secondLine.data(), size);
        mask |= secondLinePacked;
    }
    return record;
}

void CutPlaneReference::getMemo(unsigned long long mask, MemoStore*& store) const {
    Element::getMemo(mask, store);
    if (!m_isMinData && (!isLoaded() || !isValid())) {
        mask |= lineBit;
    }
    if (store == nullptr) {
        Drawing* drawing = getSource();
        if (drawing == nullptr) {
            setLoaded(true);
            return;
        }
        API_ElementMemo* record = drawing->getMemo(getLink(), mask);
        if (record == nullptr) {
            return;
        }
        store = new ElementMemoStore(record);
    }
    if ((mask & lineBit) != 0) {
        unpack(*store);
        // The second line comes in the same read as the section line.
        m_secondLine.clear();
        const auto* memo = dynamic_cast<const ElementMemoStore*>(store);
        const API_Coord* second = memo != nullptr ? memo->getTarget()->sectionSecondLineCoords : nullptr;
        if (second != nullptr) {
            const int count = getPtrSize(reinterpret_cast<const char*>(second)) / int(sizeof(API_Coord));
            m_secondLine.assign(second, second + count);
        }
    }
}

void CutPlaneReference::getMemo(UInt64 mask, MemoStore*& store) const {
    getMemo((unsigned long long)mask, store);
}

} // namespace zelvane
