// A label part.
#pragma once

#include "Library/ObjectSource.h"

namespace zelvane {

class LabelSource : public ObjectSource {
public:
    static constexpr API_LibTypeID typeID = APILib_LabelID;

    using ObjectSource::ObjectSource;
    LabelSource(const LabelSource&) = default;

    // A new source of a record of this type, else null.
    static ComponentSource* create(const API_LibPart& record, const ComponentLink& link) {
        return record.typeID == typeID ? new LabelSource(record, link) : nullptr;
    }
    LabelSource* clone() const override { return new LabelSource(*this); }
};

} // namespace zelvane
