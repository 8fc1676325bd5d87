// A real-number setting, written in the user's real-number format; values within 0.0001 are equal.
// Assignment copies the value directly from any real setting (angles and lengths too).
#pragma once

#include "Environment/ValueSetting.h"

namespace zelvane {

class RealSetting : public ValueSetting<RealSetting, double> {
public:
    RealSetting() = default;
    explicit RealSetting(double value) : ValueSetting(value) {}
    RealSetting(RealSetting const&) = default;
    RealSetting& operator=(RealSetting const& other);
    using ValueSetting::operator=;

    using Setting::getValue;
    using Setting::setValue;
    RealSetting* clone() const override;
    void getValue(String& value) const override;
    void getValue(double& value) const override;
    // Truncated toward zero.
    void getValue(int& value) const override;
    // The value as seconds since 1970.
    void getValue(Time& value) const override;
    void getValue(long long& value) const override;
    bool isEqualTo(Setting const& other) const override;
    // The other value exceeds this one by more than 0.0001.
    bool isLessThan(Setting const& other) const override;
    bool isNull() const override;
    int getType() const override;
    void setDefault() override;
    void setValue(String const& value) override;
    void setValue(double value) override;
    void setValue(int const& value) override;
    void setValue(Time const& value) override;
    void setValue(long long const& value) override;

    double getValue() const { return m_value; }
};

} // namespace zelvane
