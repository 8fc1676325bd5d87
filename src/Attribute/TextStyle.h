// The style of a run of text: pen, colour, font, face and effects, character size and slant.
// It is an attribute of no host table (type 0) with a header of its own.
#pragma once

#include "ACAPI/ElementMemo.hpp"
#include "ACAPI/TextRecords.hpp"
#include "Attribute/Attribute.h"
#include "Attribute/CadColour.h"
#include "Attribute/Font.h"
#include "Attribute/Pen.h"
#include "GSRoot/GSRoot.hpp"

namespace zelvane {

class TextStyle : public Attribute {
public:
    // Face flags.
    using Face = UInt16;
    static constexpr Face plain = 0;
    static constexpr Face bold = 0x1;
    static constexpr Face italic = 0x2;
    static constexpr Face underline = 0x4;

    // Where an element applies a text style; each kind of element numbers its own.
    enum class Use : UInt8 {};

    // Millimetres per typographic point.
    static constexpr double millimetresPerPoint = 0.3527777777778;
    // The default style's size: 12 points.
    static constexpr double defaultSize = 4.2333333333336;

    // Black, with the face and the character height in millimetres.
    explicit TextStyle(Face face = plain, double size = defaultSize) : m_face(face), m_size(size) {}
    // Black, plain, 3 mm, in the font with the pen's colour.
    TextStyle(const Font& font, const Pen& pen);
    // From a note's pen, font and size.
    explicit TextStyle(const API_NoteType& note);
    // From a run's pen, face, font, effects, size and colour.
    explicit TextStyle(const API_RunType& run);

    TextStyle* clone() const override { return new TextStyle(*this); }
    attribute_id getType() const override { return ID; }
    API_Attr_Head& getHead() override { return m_head; }
    const API_Attr_Head& getHead() const override { return m_head; }
    API_Attribute* getData() const override { return nullptr; }

    Face getFace() const { return m_face; }
    void setFace(Face face) { m_face = face; }
    void setBold(bool on) { setFlag(bold, on); }
    void setItalic(bool on) { setFlag(italic, on); }
    void setUnderline(bool on) { setFlag(underline, on); }
    UInt16 getEffects() const { return m_effects; }
    void setEffects(UInt16 effects) { m_effects = effects; }
    const CadColour& getColour() const { return m_colour; }
    void setColour(const CadColour& colour) { m_colour = colour; }
    const Pen& getPen() const { return m_pen; }
    // The colour becomes the pen's.
    void setPen(const Pen& pen);
    const Font& getFont() const { return m_font; }
    void setFont(const Font& font) { m_font = font; }
    // The character height in millimetres.
    double getSize() const { return m_size; }
    void setSize(double size) { m_size = size; }
    double getSlant() const { return m_slant; }
    void setSlant(double slant) { m_slant = slant; }
    // The size in whole points, rounded half up; sizes beyond the 16-bit range are taken at its
    // nearer end.
    Int16 getPointSize() const;

    // Pen, font and size into the note.
    void copyTo(API_NoteType& note) const;
    // A cleared run of the style over characters from..from + range - 1.
    void copyTo(API_RunType& run, Int32 from, Int32 range) const;
    // The length in millimetres of the text drawn in the style, as the host measures it; 0 for
    // empty text or when the host cannot tell.
    double measureWidthOf(const String& text, bool scaleCorrection, Int32 index) const;

    bool operator==(const TextStyle& other) const;
    bool operator!=(const TextStyle& other) const { return !(*this == other); }

protected:
    std::size_t getRecordSize() const override { return sizeof(API_Attr_Head); }

private:
    void setFlag(Face flag, bool on) { m_face = on ? Face(m_face | flag) : Face(m_face & ~flag); }

    API_Attr_Head m_head;
    Pen m_pen;
    CadColour m_colour;
    Font m_font;
    Face m_face;
    UInt16 m_effects = 0;
    Int32 m_kind = 6;
    Int32 m_variant = 0;
    double m_size;
    double m_spacing = 3.0;
    double m_slant = 0.0;
};

} // namespace zelvane
