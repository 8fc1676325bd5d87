// The common part of the setting kinds that hold a number (Int32Setting, Int64Setting and
// RealSetting): their conversions to and from the other numbers and times. A number narrowed to
// 32 bits keeps an integer's low 32 bits and truncates a real toward zero (saturated at the
// integer's range, NaN giving 0); a real taken by a 64-bit integer is truncated the same way. A
// time is the number as seconds since 1970.
#pragma once

#include "Environment/ValueSetting.h"

namespace zelvane {

template <typename Kind, typename Number>
class NumberSetting : public ValueSetting<Kind, Number> {
public:
    using Setting::getValue;
    using Setting::setValue;
    void getValue(double& value) const override;
    void getValue(int& value) const override;
    void getValue(Time& value) const override;
    void getValue(long long& value) const override;
    void setDefault() override;
    void setValue(double value) override;
    void setValue(int const& value) override;
    void setValue(Time const& value) override;
    void setValue(long long const& value) override;

protected:
    NumberSetting() = default;
    explicit NumberSetting(Number value) : ValueSetting<Kind, Number>(value) {}
    NumberSetting(NumberSetting const&) = default;

private:
    template <typename To, typename From>
    static To converted(From value);
};

} // namespace zelvane
