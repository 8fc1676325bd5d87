// A zone stamp part.
#pragma once

#include "Library/ObjectSource.h"

namespace zelvane {

class ZoneSource : public ObjectSource {
public:
    static constexpr API_LibTypeID typeID = APILib_RoomID;

    using ObjectSource::ObjectSource;
    ZoneSource(const ZoneSource&) = default;

    // A new source of a record of this type, else null.
    static ComponentSource* create(const API_LibPart& record, const ComponentLink& link) {
        return record.typeID == typeID ? new ZoneSource(record, link) : nullptr;
    }
    ZoneSource* clone() const override { return new ZoneSource(*this); }
};

} // namespace zelvane
