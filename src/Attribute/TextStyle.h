// The style of a run of text: face flags, colour and character size.
#pragma once

#include "Attribute/CadColour.h"
#include "GSRoot/GSRoot.hpp"

namespace zelvane {

class TextStyle {
public:
    // Face flags.
    using Face = UInt16;
    static constexpr Face plain = 0;
    static constexpr Face bold = 0x1;
    static constexpr Face italic = 0x2;
    static constexpr Face underline = 0x4;

    // Millimetres per typographic point.
    static constexpr double millimetresPerPoint = 0.3527777777778;
    // The default style's size: 12 points.
    static constexpr double defaultSize = 4.2333333333336;

    // Black, with the face and the character height in millimetres.
    explicit TextStyle(Face face = plain, double size = defaultSize) : m_face(face), m_size(size) {}

    Face getFace() const { return m_face; }
    void setFace(Face face) { m_face = face; }
    void setBold(bool on) { setFlag(bold, on); }
    void setItalic(bool on) { setFlag(italic, on); }
    void setUnderline(bool on) { setFlag(underline, on); }
    const CadColour& getColour() const { return m_colour; }
    void setColour(const CadColour& colour) { m_colour = colour; }
    // The character height in millimetres.
    double getSize() const { return m_size; }
    void setSize(double size) { m_size = size; }
    // The size in whole points, rounded to the nearest; sizes beyond the 16-bit range are taken
    // at its nearer end.
    Int16 getPointSize() const;

private:
    void setFlag(Face flag, bool on) { m_face = on ? Face(m_face | flag) : Face(m_face & ~flag); }

    CadColour m_colour;
    Face m_face;
    double m_size;
};

} // namespace zelvane
