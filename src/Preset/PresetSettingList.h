// The field-to-parameter wiring of a preset: its settings in document order.
#pragma once

#include "Environment/List.h"
#include "Preset/PresetSetting.h"
#include "XML/XMLArray.h"

namespace zelvane {

class PresetSettingList : public List<PresetSetting>, public XMLArray {
public:
    static constexpr char const* tag = "presetSettingList";

    std::size_t shippingSize() const override { return size(); }
    // Each setting as a "setting" element.
    Shipping* getShipping(std::size_t index, bool attributes) override;
    using XMLArray::addShipping;
    Shipping* addShipping(String const& tag, String const& nameSpace) override;
    void setDefault() override { List<PresetSetting>::clear(); }
    void clear() override { List<PresetSetting>::clear(); }
    char const* getTag() const override { return tag; }

    // Every setting in order; true when any changed a cell.
    bool applyTo(ParameterList& element, std::uint64_t instance, PresetRecord const& record) const;
    void extractFrom(ParameterList const& element, std::uint64_t instance, PresetRecord& record) const;
};

} // namespace zelvane
