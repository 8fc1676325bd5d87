// An angle setting: stored in radians, written and read as degrees in the user's angle format.
#pragma once

#include "Environment/RealSetting.h"

namespace zelvane {

class AngleSetting : public RealSetting {
public:
    AngleSetting() = default;
    // The angle in radians.
    explicit AngleSetting(double radians) : RealSetting(radians) {}
    AngleSetting(AngleSetting const&) = default;
    AngleSetting& operator=(AngleSetting const& other);
    using RealSetting::operator=;

    using RealSetting::getValue;
    using RealSetting::setValue;
    AngleSetting* clone() const override;
    void getValue(String& value) const override;
    void setValue(String const& value) override;

    // The unit kind of the host's formatting used for angles.
    virtual short getAngleType() const;
};

} // namespace zelvane
