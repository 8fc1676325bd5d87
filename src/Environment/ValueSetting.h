// The common part of the setting kinds that hold one value: the value itself, and assignment and
// comparison against a setting of the same kind.
#pragma once

#include "Environment/Setting.h"

namespace zelvane {

// Kind is the setting class deriving from this one; Value is what it holds.
template <typename Kind, typename Value>
class ValueSetting : public virtual Setting {
public:
    // Copies the value directly from a setting of this kind (or derived from it); any other kind
    // goes through text.
    Setting& operator=(Setting const& other) override {
        if (auto const* same = dynamic_cast<Kind const*>(&other)) {
            m_value = same->m_value;
            return *this;
        }
        return Setting::operator=(other);
    }
    // Both are false against a setting of another kind.
    bool isEqualTo(Setting const& other) const override {
        auto const* same = dynamic_cast<Kind const*>(&other);
        return same != nullptr && same->m_value == m_value;
    }
    bool isLessThan(Setting const& other) const override {
        auto const* same = dynamic_cast<Kind const*>(&other);
        return same != nullptr && m_value < same->m_value;
    }

protected:
    ValueSetting() = default;
    explicit ValueSetting(Value const& value) : m_value(value) {}
    ValueSetting(ValueSetting const&) = default;

    Value m_value{};
};

} // namespace zelvane
