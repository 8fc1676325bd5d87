// A date setting: text "dd/mm/yyyy" with the fields right-aligned by blanks; numbers are seconds
// since 1970.
#pragma once

#include "Environment/Time.h"
#include "Environment/ValueSetting.h"

namespace zelvane {

class TimeSetting : public ValueSetting<TimeSetting, Time> {
public:
    TimeSetting() : ValueSetting(Time(false)) {}
    explicit TimeSetting(Time const& value) : ValueSetting(value) {}
    TimeSetting(TimeSetting const&) = default;
    TimeSetting& operator=(TimeSetting const& other);
    using ValueSetting::operator=;

    using Setting::getValue;
    using Setting::setValue;
    TimeSetting* clone() const override;
    // Empty when a field does not fit its width.
    void getValue(String& value) const override;
    void getValue(double& value) const override;
    void getValue(int& value) const override;
    void getValue(Time& value) const override;
    void getValue(long long& value) const override;
    bool isNull() const override;
    int getType() const override;
    void setDefault() override;
    // "day/month/year" (day 1-31, month 1-12, year 1900-9999) at midnight; anything else gives
    // the null time.
    void setValue(String const& value) override;
    // Truncated toward zero.
    void setValue(double value) override;
    void setValue(int const& value) override;
    void setValue(Time const& value) override;
    // The low 32 bits.
    void setValue(long long const& value) override;

    Time getValue() const { return m_value; }
};

} // namespace zelvane
