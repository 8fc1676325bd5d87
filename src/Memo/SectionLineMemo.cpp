#include "Memo/SectionLineMemo.h"

#include "Environment/Memory.h"
#include "Memo/MemoStore.h"

namespace zelvane {

SectionLineMemo::SectionLineMemo(const SectionLineMemo& other)
    : Memo(other), m_polygon(other.m_polygon != nullptr ? other.m_polygon->clone() : nullptr) {}

SectionLineMemo& SectionLineMemo::operator=(const SectionLineMemo& other) {
    if (this != &other) {
        Memo::operator=(other);
        m_polygon.reset(other.m_polygon != nullptr ? other.m_polygon->clone() : nullptr);
    }
    return *this;
}

SectionLineMemo::~SectionLineMemo() = default;

bool SectionLineMemo::isValid() const {
    return m_polygon != nullptr && m_polygon->isValid(false, 1e-5);
}

CadPolygon* SectionLineMemo::getPolygon() {
    confirmLoad(getFilter());
    return m_polygon.get();
}

const CadPolygon* SectionLineMemo::getPolygon() const {
    confirmLoad(getFilter());
    return m_polygon.get();
}

void SectionLineMemo::setPolygon(CadPolygon* polygon) {
    setLoaded(true);
    if (polygon != m_polygon.get()) {
        m_polygon.reset(polygon);
    }
}

void SectionLineMemo::fillDescription(API_Polygon& description) const {
    description = API_Polygon();
    if (confirmLoad(getFilter())) {
        description.nSubPolys = 1;
        description.nCoords = m_polygon->vertSize();
    }
}

bool SectionLineMemo::pack(MemoStore* store) const {
    confirmLoad(getFilter());
    if (!isValid()) {
        return false;
    }
    API_Polygon description;
    fillDescription(description);
    API_Coord** slot = store->sectionLineCoords();
    char* block = allocatePtr(int(description.nCoords * sizeof(API_Coord)));
    char* old = reinterpret_cast<char*>(*slot);
    disposePtr(&old);
    *slot = reinterpret_cast<API_Coord*>(block);
    for (int i = 0; i < description.nCoords; ++i) {
        const PolyPoint& vertex = static_cast<const CadPolygon&>(*m_polygon)[i];
        (*slot)[i] = API_Coord{vertex.x(), vertex.y()};
    }
    return true;
}

bool SectionLineMemo::unpack(const MemoStore& store) const {
    setLoaded(false);
    m_polygon.reset();
    const API_Coord* coords = store.sectionLineCoords();
    const API_Polygon& description = getPolyData(store);
    // The description's count is held to what the block holds.
    if (coords == nullptr || description.nCoords < 2 ||
        description.nCoords > getPtrSize(reinterpret_cast<const char*>(coords)) / int(sizeof(API_Coord))) {
        return false;
    }
    std::unique_ptr<CadPolygon> polygon(new CadPolygon(description.nCoords, 0, false));
    for (int i = 0; i < description.nCoords; ++i) {
        polygon->push_back(new PolyPoint(coords[i], 0.0, 0));
    }
    polygon->setClosed(false);
    m_polygon = std::move(polygon);
    setLoaded(true);
    return true;
}

} // namespace zelvane
