#include "Attribute/TextStyle.h"

#include <cmath>

namespace zelvane {

Int16 TextStyle::getPointSize() const {
    double points = std::floor(m_size / millimetresPerPoint + 0.5);
    if (std::isnan(points)) {
        return 0;
    }
    if (points > 32767.0) {
        return 32767;
    }
    if (points < -32768.0) {
        return -32768;
    }
    return Int16(points);
}

} // namespace zelvane
