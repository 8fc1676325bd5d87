#include "Memo/ParameterListPopulator.h"

namespace zelvane {

bool ParameterListPopulator::populate(ParameterList& target, const MemoStore& store) {
    list().clear();
    if (!unpack(store)) {
        return false;
    }
    target = list();
    return true;
}

bool ParameterListPopulator::copyTo(ParameterList& target, const MemoStore& store, bool skipSizes,
                                    bool allowRowChange, bool allowColumnChange) {
    list().clear();
    if (!unpack(store)) {
        return false;
    }
    target.copyFrom(list(), skipSizes, allowRowChange, allowColumnChange);
    return true;
}

} // namespace zelvane
