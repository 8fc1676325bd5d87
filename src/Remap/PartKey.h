// A library part as an element names it (its library, type and index), hashed: the tables a
// command keeps of the parts it met grow with the project's parts and are asked once an element.
#pragma once

#include "Database/ComponentLink.h"

#include <cstddef>
#include <functional>

namespace zelvane::remap {

struct PartKey {
    explicit PartKey(const ComponentLink& link)
        : library(link.getLibrary()), type(link.getType()), index(link.getIndex()) {}

    bool operator==(const PartKey& other) const {
        return library == other.library && type == other.type && index == other.index;
    }

    const Library* library;
    API_LibTypeID type;
    Int32 index;
};

struct PartKeyHash {
    std::size_t operator()(const PartKey& key) const {
        std::size_t hash = std::hash<const Library*>()(key.library);
        hash = hash * 31 + std::hash<Int32>()(key.type);
        return hash * 31 + std::hash<Int32>()(key.index);
    }
};

} // namespace zelvane::remap
