// A signed 32-bit setting, written in the user's integer format.
#pragma once

#include "Environment/NumberSetting.h"

namespace zelvane {

class Int32Setting : public NumberSetting<Int32Setting, int> {
public:
    Int32Setting() = default;
    explicit Int32Setting(int value) : NumberSetting(value) {}
    Int32Setting(Int32Setting const&) = default;
    Int32Setting& operator=(Int32Setting const& other);
    using ValueSetting::operator=;

    using NumberSetting::getValue;
    using NumberSetting::setValue;
    Int32Setting* clone() const override;
    void getValue(String& value) const override;
    bool isNull() const override;
    int getType() const override;
    void setValue(String const& value) override;

    int getValue() const { return m_value; }
};

} // namespace zelvane
