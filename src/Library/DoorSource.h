// A door part.
#pragma once

#include "Library/OpeningSource.h"

namespace zelvane {

class DoorSource : public OpeningSource {
public:
    static constexpr API_LibTypeID typeID = APILib_DoorID;

    using OpeningSource::OpeningSource;
    DoorSource(const DoorSource&) = default;

    // A new source of a record of this type, else null.
    static ComponentSource* create(const API_LibPart& record, const ComponentLink& link) {
        return record.typeID == typeID ? new DoorSource(record, link) : nullptr;
    }
    DoorSource* clone() const override { return new DoorSource(*this); }
};

} // namespace zelvane
