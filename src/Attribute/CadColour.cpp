#include "Attribute/CadColour.h"

#include <algorithm>
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

UInt8 toByte(double value, bool round) {
    if (!(value > 0.0)) {
        return 0;
    }
    if (value >= 1.0) {
        return 255;
    }
    return UInt8(round ? std::floor(value * 255.0 + 0.5) : value * 255.0);
}

bool near(double a, double b) {
    return std::fabs(a - b) <= 1e-5;
}

} // namespace

CadColour::CadColour(UInt16 red, UInt16 green, UInt16 blue, UInt16 alpha)
    : m_red(red / 65535.0), m_green(green / 65535.0), m_blue(blue / 65535.0), m_alpha(alpha / 65535.0) {}

CadColour::CadColour(double red, double green, double blue, double alpha)
    : m_red(red), m_green(green), m_blue(blue), m_alpha(alpha) {}

CadColour::CadColour(const API_RGBColor& colour, double alpha)
    : m_red(colour.f_red), m_green(colour.f_green), m_blue(colour.f_blue), m_alpha(alpha) {}

API_RGBColor CadColour::fromRGB(UInt32 rgb) {
    auto channel = [rgb](int shift) { return std::min(1.0, double((rgb >> shift) & 0xFF) / 255.0); };
    return API_RGBColor{channel(16), channel(8), channel(0)};
}

UInt8 CadColour::red8() const {
    return toByte(m_red, true);
}

UInt8 CadColour::green8() const {
    return toByte(m_green, true);
}

UInt8 CadColour::blue8() const {
    return toByte(m_blue, true);
}

UInt8 CadColour::alpha8() const {
    return toByte(m_alpha, true);
}

UInt32 CadColour::getRGB() const {
    return (UInt32(toByte(m_red, false)) << 16) | (UInt32(toByte(m_green, false)) << 8) |
           UInt32(toByte(m_blue, false));
}

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
