// A picture part.
#pragma once

#include "Library/ComponentSource.h"

namespace zelvane {

class PictureSource : public ComponentSource {
public:
    static constexpr API_LibTypeID typeID = APILib_PictID;

    using ComponentSource::ComponentSource;
    PictureSource(const PictureSource&) = default;

    // A new source of a record of this type, else null.
    static ComponentSource* create(const API_LibPart& record, const ComponentLink& link) {
        return record.typeID == typeID ? new PictureSource(record, link) : nullptr;
    }
    PictureSource* clone() const override { return new PictureSource(*this); }
};

} // namespace zelvane
