#include "Memo/PolygonMemo.h"

#include "Environment/Memory.h"
#include "Memo/MemoStore.h"

#include <cmath>

namespace zelvane {
namespace {

constexpr double arcTolerance = 1e-5;

bool isArc(double angle) {
    return std::fabs(angle) > arcTolerance;
}

template <typename T>
int entriesOf(T** handle) {
    return handle == nullptr ? 0 : int(getHandleSize(reinterpret_cast<char**>(handle)) / int(sizeof(T)));
}

// Frees the handle the slot holds, so that packing into a store twice leaves no block behind.
template <typename T>
void disposeSlot(T*** slot) {
    char** old = reinterpret_cast<char**>(*slot);
    *slot = nullptr;
    disposeHandle(&old);
}

template <typename T>
void newHandle(T*** slot, int count) {
    disposeSlot(slot);
    char** made = allocateHandle(int(count * sizeof(T)));
    clearMemory(*made, int(count * sizeof(T)));
    *slot = reinterpret_cast<T**>(made);
}

} // namespace

PolygonMemo::PolygonMemo(const PolygonMemo& other)
    : Memo(other), m_polygon(other.m_polygon != nullptr ? other.m_polygon->clone() : nullptr),
      m_hasVertexIDs(other.m_hasVertexIDs) {}

PolygonMemo& PolygonMemo::operator=(const PolygonMemo& other) {
    if (this != &other) {
        Memo::operator=(other);
        m_polygon.reset(other.m_polygon != nullptr ? other.m_polygon->clone() : nullptr);
        m_hasVertexIDs = other.m_hasVertexIDs;
    }
    return *this;
}

PolygonMemo::~PolygonMemo() = default;

bool PolygonMemo::isValid() const {
    return m_polygon != nullptr && m_polygon->isValid(false, arcTolerance);
}

CadPolygon* PolygonMemo::getPolygon() {
    confirmLoad(1);
    return m_polygon.get();
}

const CadPolygon* PolygonMemo::getPolygon() const {
    confirmLoad(1);
    return m_polygon.get();
}

void PolygonMemo::setPolygon(const CadPolygon& polygon) {
    setLoaded(true);
    m_polygon.reset(polygon.clone());
}

void PolygonMemo::setPolygon(CadPolygon* polygon) {
    setLoaded(true);
    if (polygon != m_polygon.get()) {
        m_polygon.reset(polygon);
    }
}

PolyPoint* PolygonMemo::newVertex(const MemoStore&, int, const CadPoint& point, unsigned int id,
                                  double angle) const {
    return new PolyPoint(point, angle, id);
}

bool PolygonMemo::initPolygon(API_Polygon&, MemoStore*) const {
    return true;
}

void PolygonMemo::putVertex(const PolyPoint&, MemoStore*, int) const {}

API_Polygon& PolygonMemo::getPolyStorage(MemoStore*) const {
    return m_description;
}

void PolygonMemo::fillDescription(API_Polygon& description) const {
    description = API_Polygon();
    if (!confirmLoad(1) || m_polygon == nullptr) {
        return;
    }
    m_polygon->renumber(false);
    if (isHoleSupported()) {
        description.nSubPolys = m_polygon->getHoleCount() + 1;
        description.nCoords = m_polygon->getVertexCount(false) + description.nSubPolys;
        description.nArcs = m_polygon->getArcCount(false);
    } else {
        description.nSubPolys = 1;
        description.nCoords = m_polygon->vertSize() + (isClosedStructure() ? 1 : 0);
        description.nArcs = m_polygon->getArcCount(true);
    }
}

bool PolygonMemo::allocateMemoData(MemoStore* store, const API_Polygon& description, API_Coord*& coords,
                                   Int32*& ends, API_PolyArc*& arcs, UInt32*& ids, double*& heights) const {
    if (description.nCoords < 1 || description.nSubPolys < 1 || description.nArcs < 0) {
        return false;
    }
    int coordinates = description.nCoords + 1;
    newHandle(store->vertexIDs(), coordinates);
    newHandle(store->coords(), coordinates);
    newHandle(store->pends(), description.nSubPolys + 1);
    if (description.nArcs >= 1) {
        newHandle(store->parcs(), description.nArcs);
    } else {
        disposeSlot(store->parcs());
    }
    double*** heightSlot = store->meshPolyZ();
    if (*heightSlot != nullptr) {
        char** resized = reinterpret_cast<char**>(*heightSlot);
        reallocHandle(resized, int(coordinates * sizeof(double)));
        *heightSlot = reinterpret_cast<double**>(resized);
    }
    lockMemoData(*store, description, coords, ends, arcs, ids, heights);
    return true;
}

bool PolygonMemo::lockMemoData(const MemoStore& store, const API_Polygon& description, API_Coord*& coords,
                               Int32*& ends, API_PolyArc*& arcs, UInt32*& ids, double*& heights) const {
    coords = nullptr;
    ends = nullptr;
    arcs = nullptr;
    ids = nullptr;
    heights = nullptr;
    if (description.nCoords < 1 || description.nSubPolys < 1 ||
        (description.nArcs > 0 && store.parcs() == nullptr) || store.coords() == nullptr ||
        store.pends() == nullptr) {
        return false;
    }
    coords = *store.coords();
    ends = *store.pends();
    arcs = store.parcs() != nullptr ? *store.parcs() : nullptr;
    ids = store.vertexIDs() != nullptr ? *store.vertexIDs() : nullptr;
    heights = store.meshPolyZ() != nullptr ? *store.meshPolyZ() : nullptr;
    return true;
}

void PolygonMemo::unlockMemoData(const MemoStore&) const {}

bool PolygonMemo::pack(MemoStore* store) const {
    confirmLoad(1);
    if (!isValid()) {
        return false;
    }
    API_Polygon& description = getPolyStorage(store);
    fillDescription(description);
    if (!initPolygon(description, store)) {
        return false;
    }
    API_Coord* coords = nullptr;
    Int32* ends = nullptr;
    API_PolyArc* arcs = nullptr;
    UInt32* ids = nullptr;
    double* heights = nullptr;
    if (!allocateMemoData(store, description, coords, ends, arcs, ids, heights) || coords == nullptr ||
        ends == nullptr) {
        return false;
    }
    if (ids != nullptr) {
        ids[0] = m_polygon->getTopID();
    }
    int position = 0;
    if (isFirstPackedVertexNull()) {
        coords[0] = API_Coord{isClosedStructure() ? 0.0 : -1.0, 0.0};
        ends[0] = 0;
        if (heights != nullptr) {
            heights[0] = 0.0;
        }
        position = 1;
    } else {
        ends[0] = 0;
    }
    const bool closed = isClosedStructure();
    int arcCount = 0;
    for (int k = 0; k < description.nSubPolys; ++k) {
        const CadPolygon& contour = m_polygon->getShape(k);
        int total = contour.vertSize() + (closed ? 1 : 0);
        for (int i = 0; i < total; ++i) {
            int p = position + i;
            if (p > description.nCoords) {
                break; // the counts were filled from this polygon: never reached
            }
            const PolyPoint& vertex = contour[contour.wrapIndex(i)];
            if (ids != nullptr) {
                ids[p] = vertex.getID();
            }
            coords[p] = API_Coord{vertex.x(), vertex.y()};
            if (heights != nullptr) {
                heights[p] = vertex.z();
            }
            if (arcs != nullptr && i > 0 && isArc(vertex.getSweep()) && arcCount < description.nArcs) {
                arcs[arcCount++] = API_PolyArc{p - 1, p, vertex.getSweep()};
            }
            putVertex(vertex, store, p);
        }
        position += total;
        ends[k + 1] = position - 1;
    }
    unlockMemoData(*store);
    return true;
}

bool PolygonMemo::unpack(const MemoStore& store) const {
    setLoaded(false);
    m_polygon.reset();
    m_hasVertexIDs = store.vertexIDs() != nullptr;
    const API_Polygon& description = getPolyData(store);
    API_Coord* coords = nullptr;
    Int32* ends = nullptr;
    API_PolyArc* arcs = nullptr;
    UInt32* ids = nullptr;
    double* heights = nullptr;
    if (!lockMemoData(store, description, coords, ends, arcs, ids, heights)) {
        return false;
    }
    // Every count is held to what its handle holds: a record that disagrees does not unpack.
    const int available = entriesOf(store.coords());
    const int endCount = entriesOf(store.pends());
    const int arcCount = arcs != nullptr ? description.nArcs : 0;
    const int idCount = m_hasVertexIDs ? entriesOf(store.vertexIDs()) : 0;
    const int heightCount = heights != nullptr ? entriesOf(store.meshPolyZ()) : 0;
    const int contours = ends != nullptr ? description.nSubPolys : 1;
    bool sound = (ends == nullptr || endCount >= contours + 1) && arcCount <= entriesOf(store.parcs()) &&
                 (!m_hasVertexIDs || idCount >= 1);
    std::unique_ptr<CadPolygon> polygon;
    int index = isFirstPackedVertexNull() ? 1 : 0;
    for (int k = 0; sound && k < contours; ++k) {
        long long n = ends != nullptr ? (long long)ends[k + 1] - ends[k] : description.nCoords;
        if (k > 0 || isFirstPackedVertexRepeated()) {
            n -= 1;
            index += 1;
        }
        if (n < 1 || n + index > available) {
            sound = false;
            break;
        }
        CadPolygon* contour = nullptr;
        if (k == 0) {
            polygon.reset(new CadPolygon(int(n), contours - 1, true));
            contour = polygon.get();
        } else {
            contour = polygon->addHole(new CadPolygon(int(n), 0, true));
        }
        for (int i = 0; i < int(n); ++i, ++index) {
            if ((m_hasVertexIDs && index >= idCount) || (heights != nullptr && index >= heightCount)) {
                sound = false;
                break;
            }
            unsigned int id = m_hasVertexIDs ? ids[index] : 0;
            double angle = 0.0;
            for (int a = 0; a < arcCount; ++a) {
                if (arcs[a].endIndex == index) {
                    angle = arcs[a].arcAngle;
                    break;
                }
            }
            double height = heights != nullptr ? heights[index] : 0.0;
            contour->push_back(
                newVertex(store, index, CadPoint(coords[index].x, coords[index].y, height), id, angle));
        }
    }
    if (!sound || polygon == nullptr) {
        unlockMemoData(store);
        return false;
    }
    polygon->setClosed(isClosedStructure());
    if (m_hasVertexIDs) {
        polygon->setTopId(ids[0]);
    } else {
        polygon->renumber(false);
    }
    unlockMemoData(store);
    m_polygon = std::move(polygon);
    setLoaded(true);
    return true;
}

} // namespace zelvane
