// A signed 64-bit setting, written in decimal.
#pragma once

#include "Environment/ValueSetting.h"

namespace zelvane {

class Int64Setting : public ValueSetting<Int64Setting, long long> {
public:
    Int64Setting() = default;
    explicit Int64Setting(long long value) : ValueSetting(value) {}
    Int64Setting(Int64Setting const&) = default;
    Int64Setting& operator=(Int64Setting const& other);
    using ValueSetting::operator=;

    using Setting::getValue;
    using Setting::setValue;
    Int64Setting* clone() const override;
    void getValue(String& value) const override;
    void getValue(double& value) const override;
    // The low 32 bits.
    void getValue(int& value) const override;
    // The value (its low 32 bits) as seconds since 1970.
    void getValue(Time& value) const override;
    void getValue(long long& value) const override;
    bool isNull() const override;
    int getType() const override;
    void setDefault() override;
    void setValue(String const& value) override;
    // Truncated toward zero.
    void setValue(double value) override;
    void setValue(int const& value) override;
    void setValue(Time const& value) override;
    void setValue(long long const& value) override;

    long long getValue() const { return m_value; }
};

} // namespace zelvane
