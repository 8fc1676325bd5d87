#include "Attribute/LayerMap.h"

#include "Database/Specification.h"
#include "Environment/Host.h"
#include "Environment/Memory.h"

namespace zelvane {

LayerMap::LayerMap(bool fill) {
    Specification* specification = fill ? host.getFrontSpec() : nullptr;
    if (specification == nullptr) {
        return;
    }
    Specification::Filter layers(Layer::ID);
    for (auto it = specification->begin(false, layers); !it.atEnd(); ++it) {
        if (const auto* layer = dynamic_cast<const Layer*>(&*it)) {
            setStatusFor(*layer, layer->getStatus());
        }
    }
}

LayerMap::LayerMap(API_LayerStat** handle) {
    int count =
        handle == nullptr ? 0 : getHandleSize(reinterpret_cast<char**>(handle)) / int(sizeof(API_LayerStat));
    if (count < 1) {
        return;
    }
    m_map.reset(new std::map<short, Layer::Status>);
    for (int i = 0; i < count; ++i) {
        const API_LayerStat& stat = (*handle)[i];
        (*m_map)[stat.lInd] = Layer::Status(stat);
    }
}

LayerMap::LayerMap(const LayerMap& other)
    : m_map(other.m_map != nullptr ? new std::map<short, Layer::Status>(*other.m_map) : nullptr) {}

LayerMap& LayerMap::operator=(const LayerMap& other) {
    if (this != &other) {
        m_map.reset(other.m_map != nullptr ? new std::map<short, Layer::Status>(*other.m_map) : nullptr);
    }
    return *this;
}

Layer::Status LayerMap::getStatusFor(attribute_index layer) const {
    if (m_map != nullptr) {
        auto found = m_map->find(short(layer));
        if (found != m_map->end()) {
            return found->second;
        }
    }
    return Layer::Status(Layer::hidden, 0);
}

Layer::Status& LayerMap::entry(const Layer& layer) {
    if (m_map == nullptr) {
        m_map.reset(new std::map<short, Layer::Status>);
    }
    return m_map->emplace(short(layer.getIndex()), Layer::Status()).first->second;
}

} // namespace zelvane
