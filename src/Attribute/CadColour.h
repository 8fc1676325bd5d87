// A colour as four channels from 0 to 1: red, green, blue and alpha (opacity).
#pragma once

#include "ACAPI/ElementMemo.hpp"
#include "GSRoot/GSRoot.hpp"
#include "Modeler/Model.hpp"

namespace zelvane {

class CadColour {
public:
    // Opaque black.
    CadColour() = default;
    // From 16-bit channels, each divided by 65535.
    CadColour(UInt16 red, UInt16 green, UInt16 blue, UInt16 alpha);
    // The channels as given.
    CadColour(double red, double green, double blue, double alpha = 1.0);
    // The host colour's channels, with the alpha.
    explicit CadColour(const API_RGBColor& colour, double alpha = 1.0);
    // The 3D model's colour's channels, with the alpha.
    explicit CadColour(const ModelerAPI::Color& colour, double alpha = 1.0)
        : m_red(colour.red), m_green(colour.green), m_blue(colour.blue), m_alpha(alpha) {}

    // The 0xRRGGBB form: each channel divided by 255, capped at 1.
    static API_RGBColor fromRGB(UInt32 rgb);

    double getRed() const { return m_red; }
    double getGreen() const { return m_green; }
    double getBlue() const { return m_blue; }
    double getAlpha() const { return m_alpha; }
    void setRed(double red) { m_red = red; }
    void setGreen(double green) { m_green = green; }
    void setBlue(double blue) { m_blue = blue; }
    void setAlpha(double alpha) { m_alpha = alpha; }

    // The colour channels as 16-bit values, each channel times 65535 rounded to the nearest; a
    // channel outside 0 to 1 is taken at the nearer end.
    void rgb(UInt16& red, UInt16& green, UInt16& blue) const;

    // Each channel times 255, rounded half up; outside 0 to 1 taken at the nearer end.
    UInt8 red8() const;
    UInt8 green8() const;
    UInt8 blue8() const;
    UInt8 alpha8() const;
    // 0xRRGGBB, each channel times 255 truncated (as host dialogs show it).
    UInt32 getRGB() const;
    operator API_RGBColor() const { return API_RGBColor{m_red, m_green, m_blue}; }
    operator ModelerAPI::Color() const { return ModelerAPI::Color{m_red, m_green, m_blue}; }

    // Channels differing by up to 1e-5 are equal.
    bool operator==(const CadColour& other) const;
    bool operator!=(const CadColour& other) const { return !(*this == other); }

private:
    double m_red = 0.0;
    double m_green = 0.0;
    double m_blue = 0.0;
    double m_alpha = 1.0;
};

} // namespace zelvane
