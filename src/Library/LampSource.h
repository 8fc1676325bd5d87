// A lamp part.
#pragma once

#include "Library/ObjectSource.h"

namespace zelvane {

class LampSource : public ObjectSource {
public:
    static constexpr API_LibTypeID typeID = APILib_LampID;

    using ObjectSource::ObjectSource;
    LampSource(const LampSource&) = default;

    // A new source of a record of this type, else null.
    static ComponentSource* create(const API_LibPart& record, const ComponentLink& link) {
        return record.typeID == typeID ? new LampSource(record, link) : nullptr;
    }
    LampSource* clone() const override { return new LampSource(*this); }
};

} // namespace zelvane
