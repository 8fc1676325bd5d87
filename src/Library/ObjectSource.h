// An object part, and the base of labels, lamps and zone stamps.
#pragma once

#include "Library/ParametricSource.h"

namespace zelvane {

class ObjectSource : public ParametricSource {
public:
    static constexpr API_LibTypeID typeID = APILib_ObjectID;

    // A new object, not yet in a library.
    ObjectSource() : ParametricSource(ComponentLink(0, typeID, nullptr)) {}
    using ParametricSource::ParametricSource;
    ObjectSource(const ObjectSource&) = default;

    static ComponentSource* create(const API_LibPart& record, const ComponentLink& link) {
        return record.typeID == typeID ? new ObjectSource(record, link) : nullptr;
    }
    ObjectSource* clone() const override { return new ObjectSource(*this); }

    bool isFixedSize() const { return getDetails().fixSize; }
    void setFixedSize(bool fixed) { getDetails().fixSize = fixed; }
    bool isCustomUIDefault() const { return getDetails().customUI; }
    void setCustomUIDefault(bool custom) { getDetails().customUI = custom; }
};

} // namespace zelvane
