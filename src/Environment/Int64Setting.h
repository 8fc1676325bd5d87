// A signed 64-bit setting, written in decimal.
#pragma once

#include "Environment/NumberSetting.h"

namespace zelvane {

class Int64Setting : public NumberSetting<Int64Setting, long long> {
public:
    Int64Setting() = default;
    explicit Int64Setting(long long value) : NumberSetting(value) {}
    Int64Setting(Int64Setting const&) = default;
    Int64Setting& operator=(Int64Setting const& other);
    using ValueSetting::operator=;

    using NumberSetting::getValue;
    using NumberSetting::setValue;
    Int64Setting* clone() const override;
    void getValue(String& value) const override;
    bool isNull() const override;
    int getType() const override;
    void setValue(String const& value) override;

    long long getValue() const { return m_value; }
};

} // namespace zelvane
