// A real-number setting, written in the user's real-number format; values within 0.0001 are equal.
// Assignment copies the value directly from any real setting (angles and lengths too).
#pragma once

#include "Environment/NumberSetting.h"

namespace zelvane {

class RealSetting : public NumberSetting<RealSetting, double> {
public:
    RealSetting() = default;
    explicit RealSetting(double value) : NumberSetting(value) {}
    RealSetting(RealSetting const&) = default;
    RealSetting& operator=(RealSetting const& other);
    using ValueSetting::operator=;

    using NumberSetting::getValue;
    using NumberSetting::setValue;
    RealSetting* clone() const override;
    void getValue(String& value) const override;
    bool isEqualTo(Setting const& other) const override;
    // The other value exceeds this one by more than 0.0001.
    bool isLessThan(Setting const& other) const override;
    bool isNull() const override;
    int getType() const override;
    void setValue(String const& value) override;

    double getValue() const { return m_value; }
};

} // namespace zelvane
