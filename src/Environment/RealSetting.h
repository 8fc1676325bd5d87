// A real-number setting, written in the user's real-number format; values within 0.0001 are equal.
#pragma once

#include "Environment/Setting.h"

namespace zelvane {

class RealSetting : public virtual Setting {
public:
    RealSetting() = default;
    explicit RealSetting(double value) : m_value(value) {}
    RealSetting(RealSetting const&) = default;
    RealSetting& operator=(RealSetting const& other);

    using Setting::getValue;
    using Setting::setValue;
    RealSetting* clone() const override;
    // Copies the value directly from any real setting (angles and lengths too).
    Setting& operator=(Setting const& other) override;
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

protected:
    double m_value = 0.0;
};

} // namespace zelvane
