// The project's drawing databases of one kind, keyed by database ID in the host's GUID order; the
// list owns them.
#pragma once

#include "Database/DrawingLink.h"
#include "GSRoot/Guid.hpp"

#include <iterator>
#include <map>
#include <memory>

namespace zelvane {

struct DatabaseGuidOrder {
    bool operator()(const DatabaseGuid& a, const DatabaseGuid& b) const {
        return GS::Guid(a).Compare(GS::Guid(b)) < 0;
    }
};

template <typename T>
class DatabaseList : public std::map<DatabaseGuid, T*, DatabaseGuidOrder> {
    using Base = std::map<DatabaseGuid, T*, DatabaseGuidOrder>;

public:
    DatabaseList() = default;
    DatabaseList(const DatabaseList&) = delete;
    DatabaseList& operator=(const DatabaseList&) = delete;
    ~DatabaseList() { reset(); }

    // Deletes every database and empties the list.
    void reset() {
        for (auto& entry : *this) {
            delete entry.second;
        }
        Base::clear();
    }
    // Stores the database under its ID, deleting one held there before.
    void put(const DatabaseGuid& id, T* database) {
        std::unique_ptr<T> held(database); // deleted should the list fail to store it
        auto [it, inserted] = this->emplace(id, database);
        held.release();
        if (!inserted && it->second != database) {
            delete it->second;
            it->second = database;
        }
    }
    // The database of the ID, or null.
    T* find(const DatabaseGuid& id) const {
        auto it = Base::find(id);
        return it == this->end() ? nullptr : it->second;
    }
    // The database at a position in key order, or null outside the list.
    T* at(int position) const {
        if (position < 0 || std::size_t(position) >= this->size()) {
            return nullptr;
        }
        auto it = this->begin();
        std::advance(it, position);
        return it->second;
    }
};

} // namespace zelvane
