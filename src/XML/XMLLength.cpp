#include "XML/XMLLength.h"

#include <cmath>

namespace zelvane {

XMLLength::XMLLength(double& member, UnitScaler::Length unit, char const* tag, bool attribute,
                     char const* nameSpace)
    : XMLLength(member, unit, 0.0001, tag, attribute, nameSpace) {}

XMLLength::XMLLength(double& member, UnitScaler::Length unit, double reference, char const* tag,
                     bool attribute, char const* nameSpace)
    : XMLNumber(member, tag, attribute, nameSpace), m_precision(precisionFor(unit, reference)) {}

unsigned short XMLLength::precisionFor(UnitScaler::Length unit, double reference) {
    int base = 4;
    switch (static_cast<int>(unit)) {
    case 0: // metre
        base = 4;
        break;
    case 1: // centimetre
        base = 2;
        break;
    case 2: // millimetre
        base = 1;
        break;
    case 3: // foot
        base = 3;
        break;
    case 4: // inch
        base = 2;
        break;
    default:
        break;
    }
    // A reference of 0 (or not finite) has no scale of its own: the unit's decimals apply.
    double scaled = std::log10(std::fabs(reference) * 10000.0) + 0.5;
    if (!std::isfinite(scaled)) {
        return static_cast<unsigned short>(base);
    }
    int precision = base - static_cast<int>(std::floor(scaled));
    return static_cast<unsigned short>(precision < 0 ? 0 : precision);
}

} // namespace zelvane
