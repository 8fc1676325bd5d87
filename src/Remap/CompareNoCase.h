// Orderings of names regardless of letter case: the lower-cased texts compared with String's
// less-than. Equal names are left to a stable sort to keep their order.
#pragma once

#include "Environment/String.h"
#include "Remap/ComponentLog.h"

namespace zelvane::remap {

struct CompareNoCase {
    bool operator()(String const& a, String const& b) const { return a.toLowercase() < b.toLowercase(); }
};

struct CompareComponentNoCase {
    bool operator()(ComponentLog const& a, ComponentLog const& b) const {
        return CompareNoCase()(a.getName(), b.getName());
    }
};

} // namespace zelvane::remap
