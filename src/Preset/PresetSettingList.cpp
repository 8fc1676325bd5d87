#include "Preset/PresetSettingList.h"

#include "Environment/String.h"
#include "XML/XMLArrayProxy.h"

#include <iterator>

namespace zelvane {

namespace {

constexpr char const* settingTag = "setting";

} // namespace

Shipping* PresetSettingList::getShipping(std::size_t index, bool attributes) {
    if (attributes || index >= size()) {
        return nullptr;
    }
    return new XMLArrayProxy(**std::next(begin(), static_cast<std::ptrdiff_t>(index)), settingTag);
}

Shipping* PresetSettingList::addShipping(String const& tag, String const&) {
    if (tag != settingTag) {
        return nullptr;
    }
    push_back(new PresetSetting);
    return new XMLArrayProxy(*back(), settingTag);
}

bool PresetSettingList::applyTo(ParameterList& element, std::uint64_t instance,
                                PresetRecord const& record) const {
    bool changed = false;
    for (PresetSetting const* setting : *this) {
        changed = setting->applyTo(element, instance, record) || changed;
    }
    return changed;
}

void PresetSettingList::extractFrom(ParameterList const& element, std::uint64_t instance,
                                    PresetRecord& record) const {
    for (PresetSetting const* setting : *this) {
        setting->extractFrom(element, instance, record);
    }
}

} // namespace zelvane
