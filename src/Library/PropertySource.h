// A property part.
#pragma once

#include "Library/ParametricSource.h"

namespace zelvane {

class PropertySource : public ParametricSource {
public:
    static constexpr API_LibTypeID typeID = APILib_PropertyID;

    using ParametricSource::ParametricSource;
    PropertySource(const PropertySource&) = default;

    // A new source of a record of this type, else null.
    static ComponentSource* create(const API_LibPart& record, const ComponentLink& link) {
        return record.typeID == typeID ? new PropertySource(record, link) : nullptr;
    }
    PropertySource* clone() const override { return new PropertySource(*this); }
};

} // namespace zelvane
