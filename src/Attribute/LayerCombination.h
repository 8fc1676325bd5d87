// A layer combination of the project: a named table of layer states.
#pragma once

#include "Attribute/RecordAttribute.h"
#include "Memo/LayerMapMemo.h"

namespace zelvane {

class LayerCombination : public RecordAttribute<LayerCombination, API_LayerCombType, 8>, public LayerMapMemo {
public:
    using RecordAttribute::RecordAttribute;

    void getMemo(UInt64 mask, MemoStore*& store) const override { readMemo(*this, mask, store); }
    // The packed table (the caller disposes it); the record then counts its entries.
    API_AttributeDefExt* getMemo() const override;
};

} // namespace zelvane
