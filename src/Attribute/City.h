// A city of the project: where it lies (whole degrees as the host keeps minutes of arc) and its
// time zone.
#pragma once

#include "Attribute/RecordAttribute.h"

#include <optional>

namespace zelvane {

class City : public RecordAttribute<City, API_CityType, 7> {
public:
    using RecordAttribute::RecordAttribute;

    // Degrees: the value set, else the host's minutes divided by 60 in whole degrees.
    double getLatitude() const;
    double getLongitude() const;
    // Values beyond 90 (180) degrees either way, or not finite, are refused: false, nothing
    // changes.
    bool setLatitude(double degrees);
    bool setLongitude(double degrees);
    Int16 getTimeZone() const { return data().timeZone; }
    void setTimeZone(Int16 zone) { data().timeZone = zone; }

private:
    std::optional<double> m_latitude;
    std::optional<double> m_longitude;
};

} // namespace zelvane
