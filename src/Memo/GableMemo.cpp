#include "Memo/GableMemo.h"

#include "Environment/Memory.h"
#include "Memo/MemoStore.h"

#include <stdexcept>

namespace zelvane {
namespace {

bool inside(int i, std::size_t size) {
    return i >= 0 && std::size_t(i) < size;
}

} // namespace

GableMemo& GableMemo::operator=(const GableMemo& other) {
    if (this != &other) {
        Memo::operator=(other);
        m_gables = other.m_gables; // whole or not at all
    }
    return *this;
}

bool GableMemo::pack(MemoStore* store) const {
    if (!confirmLoad(getFilter()) || m_gables.empty()) {
        return true;
    }
    API_Gable*** slot = store->gables();
    char** old = reinterpret_cast<char**>(*slot);
    *slot = nullptr;
    disposeHandle(&old);
    API_Gable** handle = m_gables.pack();
    *slot = handle;
    return handle != nullptr;
}

bool GableMemo::unpack(const MemoStore& store) const {
    setLoaded(false);
    m_gables.unpack(store.gables());
    setLoaded(true);
    return true;
}

int GableMemo::getGableCount() const {
    confirmLoad(getFilter());
    return int(m_gables.size());
}

Gable* GableMemo::getGable(int i) const {
    if (!confirmLoad(getFilter()) || m_gables.empty()) {
        return nullptr;
    }
    if (!inside(i, m_gables.size())) {
        throw std::out_of_range("gable index");
    }
    return m_gables[std::size_t(i)];
}

void GableMemo::setGable(Gable* gable, int i) {
    confirmLoad(getFilter());
    if (inside(i, m_gables.size())) {
        Gable*& slot = m_gables[std::size_t(i)];
        if (slot != gable) {
            delete slot;
            slot = gable;
        }
    } else {
        m_gables.push_back(gable);
    }
}

void GableMemo::insertGable(Gable* gable, int i) {
    confirmLoad(getFilter());
    if (inside(i, m_gables.size())) {
        m_gables.insert(m_gables.begin() + i, gable);
    } else {
        m_gables.push_back(gable);
    }
}

void GableMemo::addGable(Gable* gable) {
    confirmLoad(getFilter());
    m_gables.push_back(gable);
}

void GableMemo::deleteGable(int i) {
    confirmLoad(getFilter());
    if (inside(i, m_gables.size())) {
        m_gables.erase(m_gables.begin() + i);
    }
}

void GableMemo::clear() {
    confirmLoad(getFilter());
    m_gables.clear();
}

} // namespace zelvane
