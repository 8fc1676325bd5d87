// A fill pattern of the project.
#pragma once

#include "Attribute/Pattern.h"
#include "Attribute/RecordAttribute.h"

namespace zelvane {

class Fill : public RecordAttribute<Fill, API_FilltypeType, 4>, public Pattern {
public:
    using RecordAttribute::RecordAttribute;

    bool exists() const override { return Attribute::exists(); }
    attribute_index getIndex() const override { return Attribute::getIndex(); }
    const AttributeLink& getLink() const override { return Attribute::getLink(); }
    String getName() const override { return Attribute::getName(); }
};

} // namespace zelvane
