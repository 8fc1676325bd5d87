// A boolean setting: text "1" or "0"; false is its null value and comes before true.
#pragma once

#include "Environment/ValueSetting.h"

namespace zelvane {

class BooleanSetting : public ValueSetting<BooleanSetting, bool> {
public:
    BooleanSetting() = default;
    explicit BooleanSetting(bool value) : ValueSetting(value) {}
    BooleanSetting(BooleanSetting const&) = default;
    BooleanSetting& operator=(BooleanSetting const& other);
    using ValueSetting::operator=;

    using Setting::setValue;
    BooleanSetting* clone() const override;
    void getValue(String& value) const override;
    void getValue(double& value) const override;
    void getValue(bool& value) const override;
    void getValue(int& value) const override;
    // True gives today's date, false the null time.
    void getValue(Time& value) const override;
    void getValue(long long& value) const override;
    bool isNull() const override;
    int getType() const override;
    void setDefault() override;
    // Empty text or "false" in any case is false; a number is true beyond 1e-5; other text is true.
    void setValue(String const& value) override;
    void setValue(double value) override;
    void setValue(bool const& value) override;
    void setValue(int const& value) override;
    // True unless the null time.
    void setValue(Time const& value) override;
    void setValue(long long const& value) override;

    bool getValue() const { return m_value; }
};

} // namespace zelvane
