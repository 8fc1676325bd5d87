// Layer states by layer index: a layer combination's table, or the project's layers as they are.
#pragma once

#include "Attribute/Layer.h"

#include <map>
#include <memory>

namespace zelvane {

class LayerMap {
public:
    // With fill, the state of every layer of the front attribute set; else empty.
    explicit LayerMap(bool fill = false);
    // An entry for every whole host entry of the handle.
    explicit LayerMap(API_LayerStat** handle);
    LayerMap(const LayerMap& other);
    LayerMap& operator=(const LayerMap& other);
    virtual ~LayerMap() = default;

    virtual LayerMap* clone() const { return new LayerMap(*this); }

    std::size_t size() const { return m_map != nullptr ? m_map->size() : 0; }
    // A layer the map does not name is hidden, in group 0.
    Layer::Status getStatusFor(const Layer& layer) const { return getStatusFor(layer.getIndex()); }
    Layer::Status getStatusFor(attribute_index layer) const;
    // Each makes the layer's entry when missing (flags 0, group 0), then changes it.
    void setLocked(const Layer& layer, bool on) { entry(layer).setLocked(on); }
    void setHidden(const Layer& layer, bool on) { entry(layer).setHidden(on); }
    void setReserved(const Layer& layer, bool on) { entry(layer).setReserved(on); }
    void setWire(const Layer& layer, bool on) { entry(layer).setWire(on); }
    void setConnectionID(const Layer& layer, int connectionID) { entry(layer).setConnectionID(connectionID); }
    void setStatusFor(const Layer& layer, const Layer::Status& status) { entry(layer) = status; }

private:
    Layer::Status& entry(const Layer& layer);

    std::unique_ptr<std::map<short, Layer::Status>> m_map;
};

} // namespace zelvane
