// The memo part of a layer combination's layer table: a layer map packed as a state for every
// layer of the project.
#pragma once

#include "ACAPI/ElementMemo.hpp"
#include "Attribute/LayerMap.h"
#include "Memo/Memo.h"

#include <memory>

namespace zelvane {

class LayerMapMemo : public Memo {
public:
    LayerMapMemo() = default;
    LayerMapMemo(const LayerMapMemo& other);
    LayerMapMemo& operator=(const LayerMapMemo& other);
    ~LayerMapMemo() override;

    bool isValid() const override { return m_layerMap != nullptr; }
    UInt64 getFilter() const override { return APIMemoMask_All; }
    // A state for every layer of the front attribute set, in index order, those the map does not
    // name hidden; false without a map or a front attribute set.
    bool pack(MemoStore* store) const override;
    bool unpack(const MemoStore& store) const override;

    // Fetched first; null when there is none.
    LayerMap* getLayerMap();
    const LayerMap* getLayerMap() const;
    // Takes the map over.
    void setLayerMap(LayerMap* map);

private:
    mutable std::unique_ptr<LayerMap> m_layerMap;
};

} // namespace zelvane
