#include "Memo/ParameterMemo.h"

#include "ACAPI/LibraryParts.hpp"
#include "Memo/MemoStore.h"

namespace zelvane {

void ParameterMemo::applyDelta(const Memo& changed, const Memo& base) {
    auto* after = dynamic_cast<const ParameterMemo*>(&changed);
    auto* before = dynamic_cast<const ParameterMemo*>(&base);
    if (after != nullptr && before != nullptr) {
        confirmLoad(getFilter());
        ParameterList::applyDelta(after->list(), before->list());
    }
}

bool ParameterMemo::pack(MemoStore* store) const {
    confirmLoad(getFilter());
    if (ParameterList::size() == 0) {
        return true;
    }
    if (store == nullptr) {
        return false;
    }
    API_AddParType*** handle = store->params();
    ACAPI_DisposeAddParHdl(handle);
    packParameter(*handle);
    return *handle != nullptr;
}

bool ParameterMemo::unpack(const MemoStore& store) const {
    setLoaded(false);
    ParameterList read;
    if (!read.unpackParameter(store.params())) {
        return false;
    }
    // The list lives in the part's mutable state, as loading happens behind const getters.
    const_cast<ParameterMemo*>(this)->swap(read);
    setLoaded(true);
    return true;
}

std::size_t ParameterMemo::size() const {
    confirmLoad(getFilter());
    return ParameterList::size();
}

std::size_t ParameterMemo::getParameterIndex(const String& name) const {
    confirmLoad(getFilter());
    return ParameterList::getParameterIndex(name);
}

Parameter* ParameterMemo::getParameter(const String& name) {
    confirmLoad(getFilter());
    return ParameterList::getParameter(name);
}

const Parameter* ParameterMemo::getParameter(const String& name) const {
    confirmLoad(getFilter());
    return ParameterList::getParameter(name);
}

Parameter* ParameterMemo::getParameter(std::size_t position) {
    confirmLoad(getFilter());
    return ParameterList::getParameter(position);
}

const Parameter* ParameterMemo::getParameter(std::size_t position) const {
    confirmLoad(getFilter());
    return ParameterList::getParameter(position);
}

void ParameterMemo::deleteParameter(std::size_t position) {
    confirmLoad(getFilter());
    ParameterList::deleteParameter(position);
}

void ParameterMemo::deleteAllParameters() {
    confirmLoad(getFilter());
    ParameterList::deleteAllParameters();
}

void ParameterMemo::setParameter(Parameter* parameter, std::size_t position) {
    confirmLoad(getFilter());
    ParameterList::setParameter(parameter, position);
}

void ParameterMemo::insertParameter(Parameter* parameter, std::size_t position) {
    confirmLoad(getFilter());
    ParameterList::insertParameter(parameter, position);
}

void ParameterMemo::addParameter(Parameter* parameter) {
    confirmLoad(getFilter());
    ParameterList::addParameter(parameter);
}

std::size_t ParameterMemo::sizeParameters() const {
    confirmLoad(getFilter());
    return ParameterList::size();
}

ParameterList& ParameterMemo::getParameterList() {
    confirmLoad(getFilter());
    return *this;
}

const ParameterList& ParameterMemo::getParameterList() const {
    confirmLoad(getFilter());
    return *this;
}

void ParameterMemo::setParameterList(const ParameterList& other) {
    ParameterList copy(other);
    swap(copy);
    setLoaded(true);
}

void ParameterMemo::copyParametersFrom(const ParameterList& other, bool skipSizes, bool allowRowChange,
                                       bool allowColumnChange) {
    confirmLoad(getFilter());
    ParameterList::copyFrom(other, skipSizes, allowRowChange, allowColumnChange);
}

void ParameterMemo::copyParametersFrom(const ParameterMemo& other, bool skipSizes, bool allowRowChange,
                                       bool allowColumnChange) {
    copyParametersFrom(other.list(), skipSizes, allowRowChange, allowColumnChange);
}

void ParameterMemo::copyParameterFrom(const ParameterMemo& other, const String& name, std::size_t rows,
                                      std::size_t columns) {
    confirmLoad(getFilter());
    ParameterList::copyFrom(other.list(), name, rows, columns, true, true);
}

void ParameterMemo::setDefaultParameters() {
    confirmLoad(getFilter());
    ParameterList::setDefault();
}

void ParameterMemo::clearParameters() {
    confirmLoad(getFilter());
    ParameterList::clear();
}

} // namespace zelvane
