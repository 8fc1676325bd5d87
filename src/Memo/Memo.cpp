#include "Memo/Memo.h"

#include "Memo/MemoStore.h"

namespace zelvane {

void Memo::applyDelta(const Memo&, const Memo&) {}

bool Memo::confirmLoad(UInt64 mask) const {
    if (m_loaded && isValid()) {
        return true;
    }
    MemoStore* store = nullptr;
    try {
        getMemo(mask, store);
    } catch (...) {
        // The store (and whether its record survives) is the owner's concern once handed back.
        delete store;
        throw;
    }
    // The store's keep flag decides whether the record survives it.
    delete store;
    return m_loaded && isValid();
}

} // namespace zelvane
