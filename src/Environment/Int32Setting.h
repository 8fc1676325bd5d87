// A signed 32-bit setting, written in the user's integer format.
#pragma once

#include "Environment/Setting.h"

namespace zelvane {

class Int32Setting : public virtual Setting {
public:
    Int32Setting() = default;
    explicit Int32Setting(int value) : m_value(value) {}
    Int32Setting(Int32Setting const&) = default;
    Int32Setting& operator=(Int32Setting const& other);

    using Setting::getValue;
    using Setting::setValue;
    Int32Setting* clone() const override;
    Setting& operator=(Setting const& other) override;
    void getValue(String& value) const override;
    void getValue(double& value) const override;
    void getValue(int& value) const override;
    // The value as seconds since 1970.
    void getValue(Time& value) const override;
    void getValue(long long& value) const override;
    bool isEqualTo(Setting const& other) const override;
    bool isLessThan(Setting const& other) const override;
    bool isNull() const override;
    int getType() const override;
    void setDefault() override;
    void setValue(String const& value) override;
    // Truncated toward zero.
    void setValue(double value) override;
    void setValue(int const& value) override;
    void setValue(Time const& value) override;
    // The low 32 bits.
    void setValue(long long const& value) override;

    int getValue() const { return m_value; }

protected:
    int m_value = 0;
};

} // namespace zelvane
