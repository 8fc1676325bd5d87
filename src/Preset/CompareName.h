// The order of (key, record) pairs in every name list: a pair without a record first, then by the
// records' names compared in lower case.
#pragma once

namespace zelvane {

class UserDataRecord;

class CompareName {
public:
    template <typename Pair>
    bool operator()(Pair const& a, Pair const& b) const {
        return less(a.second.get(), b.second.get());
    }

    static bool less(UserDataRecord const* a, UserDataRecord const* b);
};

} // namespace zelvane
