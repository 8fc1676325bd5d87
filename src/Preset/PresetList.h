// The preset definitions of a library configuration, in document order.
#pragma once

#include "Environment/List.h"
#include "Preset/Preset.h"
#include "XML/XMLArray.h"

namespace zelvane {

class PresetList : public List<Preset>, public XMLArray {
public:
    static constexpr char const* tag = "presetList";

    std::size_t shippingSize() const override { return size(); }
    bool hasAttributes() const override { return false; }
    // Each definition as a "preset" element.
    Shipping* getShipping(std::size_t index, bool attributes) override;
    using XMLArray::addShipping;
    Shipping* addShipping(String const& tag, String const& nameSpace) override;
    void setDefault() override { List<Preset>::clear(); }
    void clear() override { List<Preset>::clear(); }
    char const* getTag() const override { return tag; }
};

} // namespace zelvane
