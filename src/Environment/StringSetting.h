// A text setting; numbers and times are read from and written to its text.
#pragma once

#include "Environment/String.h"
#include "Environment/ValueSetting.h"

namespace zelvane {

class StringSetting : public ValueSetting<StringSetting, String> {
public:
    StringSetting() = default;
    explicit StringSetting(String const& value) : ValueSetting(value) {}
    StringSetting(StringSetting const&) = default;
    StringSetting& operator=(StringSetting const& other);
    using ValueSetting::operator=;

    using Setting::getValue;
    using Setting::setValue;
    StringSetting* clone() const override;
    void getValue(String& value) const override;
    // The text parsed; 0 when it is no number.
    void getValue(double& value) const override;
    void getValue(int& value) const override;
    // The text read as a date (see TimeSetting).
    void getValue(Time& value) const override;
    void getValue(long long& value) const override;
    bool isNull() const override;
    int getType() const override;
    void setDefault() override;
    void setValue(String const& value) override;
    void setValue(double value) override;
    void setValue(int const& value) override;
    // The date as TimeSetting writes it.
    void setValue(Time const& value) override;
    void setValue(long long const& value) override;

    String getValue() const { return m_value; }
};

} // namespace zelvane
