// A length written with as many decimals as its unit needs to show a reference length.
#pragma once

#include "Environment/UnitScaler.h"
#include "XML/XMLNumber.h"

namespace zelvane {

class XMLLength : public XMLNumber {
public:
    // The reference length is 0.0001 m.
    XMLLength(double& member, UnitScaler::Length unit, char const* tag, bool attribute = false,
              char const* nameSpace = nullptr);
    XMLLength(double& member, UnitScaler::Length unit, double reference, char const* tag,
              bool attribute = false, char const* nameSpace = nullptr);

    unsigned short getPrecision() const override { return m_precision; }

    // Decimals that show `reference` (in metres) in the unit; the unit does not scale the value.
    static unsigned short precisionFor(UnitScaler::Length unit, double reference);

private:
    unsigned short m_precision;
};

} // namespace zelvane
