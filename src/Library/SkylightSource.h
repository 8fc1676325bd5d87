// A skylight part.
#pragma once

#include "Library/OpeningSource.h"

namespace zelvane {

class SkylightSource : public OpeningSource {
public:
    static constexpr API_LibTypeID typeID = APILib_SkylightID;

    using OpeningSource::OpeningSource;
    SkylightSource(const SkylightSource&) = default;

    // A new source of a record of this type, else null.
    static ComponentSource* create(const API_LibPart& record, const ComponentLink& link) {
        return record.typeID == typeID ? new SkylightSource(record, link) : nullptr;
    }
    SkylightSource* clone() const override { return new SkylightSource(*this); }
};

} // namespace zelvane
