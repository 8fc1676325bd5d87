#include "Memo/ConstructionMemo.h"

#include "Environment/Memory.h"
#include "Memo/MemoStore.h"

namespace zelvane {
namespace {

template <typename T>
std::unique_ptr<Vector<T>> copyOf(const std::unique_ptr<Vector<T>>& list) {
    return std::unique_ptr<Vector<T>>(list != nullptr ? list->clone() : nullptr);
}

// Frees the handle the slot holds, so that packing into a store twice leaves no block behind.
template <typename T>
void disposeSlot(T*** slot) {
    char** old = reinterpret_cast<char**>(*slot);
    *slot = nullptr;
    disposeHandle(&old);
}

template <typename T>
int entriesOf(T** handle) {
    return handle == nullptr ? 0 : getHandleSize(reinterpret_cast<char**>(handle)) / int(sizeof(T));
}

} // namespace

ConstructionMemo::ConstructionMemo(const ConstructionMemo& other)
    : Memo(other), m_cores(copyOf(other.m_cores)), m_edges(copyOf(other.m_edges)) {}

ConstructionMemo& ConstructionMemo::operator=(const ConstructionMemo& other) {
    if (this != &other) {
        Memo::operator=(other);
        m_cores = copyOf(other.m_cores);
        m_edges = copyOf(other.m_edges);
    }
    return *this;
}

ConstructionMemo::~ConstructionMemo() = default;

int ConstructionMemo::getCoreCount() const {
    confirmLoad(getFilter());
    return m_cores != nullptr ? int(m_cores->size()) : 0;
}

int ConstructionMemo::getEdgeCount() const {
    confirmLoad(getFilter());
    return m_edges != nullptr ? int(m_edges->size()) : 0;
}

ConstructionMemo::Core* ConstructionMemo::getCore(int i) const {
    return i >= 0 && i < getCoreCount() ? (*m_cores)[std::size_t(i)] : nullptr;
}

ConstructionMemo::Edge* ConstructionMemo::getEdge(int i) const {
    return i >= 0 && i < getEdgeCount() ? (*m_edges)[std::size_t(i)] : nullptr;
}

bool ConstructionMemo::setCore(Core* core, int i) {
    if (i < 0 || i >= getCoreCount()) {
        return false;
    }
    Core*& slot = (*m_cores)[std::size_t(i)];
    if (slot != core) {
        delete slot;
        slot = core;
    }
    return true;
}

bool ConstructionMemo::pack(MemoStore* store) const {
    confirmLoad(getFilter());
    if (!isValid() || m_edges->size() != m_cores->size() + 1) {
        return false;
    }
    const int cores = int(m_cores->size());
    API_CWallComponent*** skins = store->cwall_compItems();
    API_CWallLineComponent*** lines = store->cwall_compLItems();
    disposeSlot(skins);
    disposeSlot(lines);
    *skins = reinterpret_cast<API_CWallComponent**>(allocateHandle(int(cores * sizeof(API_CWallComponent))));
    *lines = reinterpret_cast<API_CWallLineComponent**>(
        allocateHandle(int((cores + 1) * sizeof(API_CWallLineComponent))));
    for (int i = 0; i < cores; ++i) {
        const Edge* edge = (*m_edges)[std::size_t(i)];
        const Core* core = (*m_cores)[std::size_t(i)];
        (**lines)[i] = edge != nullptr ? edge->getRecord() : API_CWallLineComponent();
        (**skins)[i] = core != nullptr ? core->getRecord() : API_CWallComponent();
    }
    const Edge* last = m_edges->back();
    (**lines)[cores] = last != nullptr ? last->getRecord() : API_CWallLineComponent();
    return true;
}

bool ConstructionMemo::unpack(const MemoStore& store) const {
    setLoaded(false);
    m_cores.reset();
    API_CWallComponent** skins = store.cwall_compItems();
    const int cores = entriesOf(skins);
    if (cores < 1) {
        return false;
    }
    m_edges.reset();
    API_CWallLineComponent** lines = store.cwall_compLItems();
    const int edges = entriesOf(lines);
    if (edges != cores + 1) {
        return false;
    }
    std::unique_ptr<Vector<Core>> coreList(new Vector<Core>(std::size_t(cores)));
    for (int i = 0; i < cores; ++i) {
        coreList->push_back(new Core((*skins)[i]));
    }
    std::unique_ptr<Vector<Edge>> edgeList(new Vector<Edge>(std::size_t(edges)));
    for (int i = 0; i < edges; ++i) {
        edgeList->push_back(new Edge((*lines)[i]));
    }
    m_cores = std::move(coreList);
    m_edges = std::move(edgeList);
    setLoaded(true);
    return true;
}

} // namespace zelvane
