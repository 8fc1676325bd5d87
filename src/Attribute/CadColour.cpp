#include "Attribute/CadColour.h"

#include <cmath>

namespace zelvane {
namespace {

UInt16 toChannel(double value) {
    if (!(value > 0.0)) { // also NaN
        return 0;
    }
    if (value >= 1.0) {
        return 65535;
    }
    return UInt16(std::lround(value * 65535.0));
}

bool near(double a, double b) {
    return std::fabs(a - b) <= 1e-5;
}

} // namespace

CadColour::CadColour(UInt16 red, UInt16 green, UInt16 blue, UInt16 alpha)
    : m_red(red / 65535.0), m_green(green / 65535.0), m_blue(blue / 65535.0), m_alpha(alpha / 65535.0) {}

CadColour::CadColour(double red, double green, double blue, double alpha)
    : m_red(red), m_green(green), m_blue(blue), m_alpha(alpha) {}

void CadColour::rgb(UInt16& red, UInt16& green, UInt16& blue) const {
    red = toChannel(m_red);
    green = toChannel(m_green);
    blue = toChannel(m_blue);
}

bool CadColour::operator==(const CadColour& other) const {
    return near(m_red, other.m_red) && near(m_green, other.m_green) && near(m_blue, other.m_blue) &&
           near(m_alpha, other.m_alpha);
}

} // namespace zelvane
