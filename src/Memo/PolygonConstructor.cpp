#include "Memo/PolygonConstructor.h"

#include "Memo/ElementMemoStore.h"

namespace zelvane {

CadPolygon* PolygonConstructor::make(const API_Polygon& description, API_Coord** coords, Int32** ends,
                                     API_PolyArc** arcs) {
    m_description = description;
    API_ElementMemo record;
    record.coords = coords;
    record.pends = ends;
    record.parcs = arcs;
    ElementMemoStore store(&record);
    // Kept before unpacking: should unpacking throw, the store must neither dispose the caller's
    // handles nor free the record on the stack.
    store.setKeep(true);
    unpack(store);
    return releasePolygon();
}

} // namespace zelvane
