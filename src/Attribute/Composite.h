// A composite structure of the project: skins of building materials with lines between them.
// Its index may be kept negative (as element records hold it); the host sees it positive.
#pragma once

#include "Attribute/Pattern.h"
#include "Attribute/RecordAttribute.h"
#include "Memo/ConstructionMemo.h"

namespace zelvane {

class Composite : public RecordAttribute<Composite, API_CompWallType, 5>,
                  public Pattern,
                  public ConstructionMemo {
public:
    using RecordAttribute::RecordAttribute;

    bool exists() const override { return Attribute::exists(); }
    // The link's index negated.
    attribute_index getIndex() const override;
    const AttributeLink& getLink() const override { return Attribute::getLink(); }
    String getName() const override { return Attribute::getName(); }

    void getMemo(UInt64 mask, MemoStore*& store) const override { readMemo(*this, mask, store); }
    API_AttributeDefExt* getMemo() const override { return writeMemo(*this); }
};

} // namespace zelvane
