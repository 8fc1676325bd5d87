// Reads a memo store's parameter handle into a list: a parameter memo without an owner.
#pragma once

#include "Memo/ParameterMemo.h"

namespace zelvane {

class ParameterListPopulator : public ParameterMemo {
public:
    void getMemo(UInt64, MemoStore*&) const override {}

    // The target becomes a copy of the store's parameters; false when they cannot be read.
    bool populate(ParameterList& target, const MemoStore& store);
    // The target takes the values of the store's parameters of its names (ParameterList::copyFrom).
    bool copyTo(ParameterList& target, const MemoStore& store, bool skipSizes, bool allowRowChange,
                bool allowColumnChange);
};

} // namespace zelvane
