// A macro: a part called by other parts' scripts.
#pragma once

#include "Library/ComponentSource.h"

namespace zelvane {

class MacroSource : public ComponentSource {
public:
    static constexpr API_LibTypeID typeID = APILib_MacroID;

    using ComponentSource::ComponentSource;
    MacroSource(const MacroSource&) = default;

    // A new source of a record of this type, else null.
    static ComponentSource* create(const API_LibPart& record, const ComponentLink& link) {
        return record.typeID == typeID ? new MacroSource(record, link) : nullptr;
    }
    MacroSource* clone() const override { return new MacroSource(*this); }
};

} // namespace zelvane
