// A window part.
#pragma once

#include "Library/OpeningSource.h"

namespace zelvane {

class WindowSource : public OpeningSource {
public:
    static constexpr API_LibTypeID typeID = APILib_WindowID;

    using OpeningSource::OpeningSource;
    WindowSource(const WindowSource&) = default;

    // A new source of a record of this type, else null.
    static ComponentSource* create(const API_LibPart& record, const ComponentLink& link) {
        return record.typeID == typeID ? new WindowSource(record, link) : nullptr;
    }
    WindowSource* clone() const override { return new WindowSource(*this); }
};

} // namespace zelvane
