#include "Memo/LayerMapMemo.h"

#include "Attribute/AttributeSelection.h"
#include "Database/Specification.h"
#include "Environment/Host.h"
#include "Environment/Memory.h"
#include "Memo/MemoStore.h"

namespace zelvane {

LayerMapMemo::LayerMapMemo(const LayerMapMemo& other)
    : Memo(other), m_layerMap(other.m_layerMap != nullptr ? other.m_layerMap->clone() : nullptr) {}

LayerMapMemo& LayerMapMemo::operator=(const LayerMapMemo& other) {
    if (this != &other) {
        Memo::operator=(other);
        m_layerMap.reset(other.m_layerMap != nullptr ? other.m_layerMap->clone() : nullptr);
    }
    return *this;
}

LayerMapMemo::~LayerMapMemo() = default;

LayerMap* LayerMapMemo::getLayerMap() {
    confirmLoad(getFilter());
    return m_layerMap.get();
}

const LayerMap* LayerMapMemo::getLayerMap() const {
    confirmLoad(getFilter());
    return m_layerMap.get();
}

void LayerMapMemo::setLayerMap(LayerMap* map) {
    if (map == m_layerMap.get()) {
        return;
    }
    confirmLoad(getFilter());
    m_layerMap.reset(map);
    setLoaded(true);
}

bool LayerMapMemo::pack(MemoStore* store) const {
    confirmLoad(getFilter());
    Specification* specification = host.getFrontSpec();
    if (!isValid() || specification == nullptr) {
        return false;
    }
    AttributeSelection<Layer> layers;
    Specification::Filter filter(Layer::ID);
    auto it = specification->begin(false, filter);
    buildSelection(it, specification->end(), layers);
    API_LayerStat*** slot = store->layer_statItems();
    *slot = reinterpret_cast<API_LayerStat**>(allocateHandle(int(layers.size() * sizeof(API_LayerStat))));
    for (std::size_t i = 0; i < layers.size(); ++i) {
        API_LayerStat entry = m_layerMap->getStatusFor(*layers[i]);
        entry.lInd = layers[i]->getIndex();
        (**slot)[i] = entry;
    }
    return true;
}

bool LayerMapMemo::unpack(const MemoStore& store) const {
    m_layerMap.reset();
    setLoaded(false);
    API_LayerStat** handle = store.layer_statItems();
    if (handle == nullptr || getHandleSize(reinterpret_cast<char**>(handle)) < int(sizeof(API_LayerStat))) {
        return false;
    }
    m_layerMap.reset(new LayerMap(handle));
    setLoaded(true);
    return true;
}

} // namespace zelvane
