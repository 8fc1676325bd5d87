#include "Attribute/City.h"

#include <cmath>

namespace zelvane {
namespace {

bool storeDegrees(double degrees, double limit, Int16& minutes, std::optional<double>& cached) {
    if (!std::isfinite(degrees) || std::fabs(degrees) > limit) {
        return false;
    }
    cached = degrees;
    minutes = Int16(degrees * 60.0);
    return true;
}

} // namespace

double City::getLatitude() const {
    return m_latitude ? *m_latitude : double(data().latitude / 60);
}

double City::getLongitude() const {
    return m_longitude ? *m_longitude : double(data().longitude / 60);
}

bool City::setLatitude(double degrees) {
    return storeDegrees(degrees, 90.0, data().latitude, m_latitude);
}

bool City::setLongitude(double degrees) {
    return storeDegrees(degrees, 180.0, data().longitude, m_longitude);
}

} // namespace zelvane
