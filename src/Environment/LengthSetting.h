// A length setting: a model length written and read in the user's working length units.
#pragma once

#include "Environment/RealSetting.h"

namespace zelvane {

class LengthSetting : public RealSetting {
public:
    LengthSetting() = default;
    explicit LengthSetting(double value) : RealSetting(value) {}
    LengthSetting(LengthSetting const&) = default;
    LengthSetting& operator=(LengthSetting const& other);
    using RealSetting::operator=;

    using RealSetting::getValue;
    using RealSetting::setValue;
    LengthSetting* clone() const override;
    void getValue(String& value) const override;
    int getType() const override;
    void setValue(String const& value) override;
};

} // namespace zelvane
