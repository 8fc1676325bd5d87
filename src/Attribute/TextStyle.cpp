#include "Attribute/TextStyle.h"

#include "ACAPI/Goodies.hpp"

#include <cmath>

namespace zelvane {
namespace {

// The 16-bit index of a wrapper, 0 for none.
Int16 indexOf(const Attribute& attribute) {
    return Int16(short(attribute.getIndex()));
}

bool near(double a, double b) {
    return std::fabs(a - b) <= 1e-5;
}

} // namespace

TextStyle::TextStyle(const Font& font, const Pen& pen) : m_font(font), m_face(plain), m_size(3.0) {
    setPen(pen);
}

TextStyle::TextStyle(const API_NoteType& note)
    : m_pen(attribute_index(note.notePen)), m_font(attribute_index(note.font)), m_face(plain),
      m_size(note.size) {}

TextStyle::TextStyle(const API_RunType& run)
    : m_pen(attribute_index(run.pen)), m_colour(run.color), m_font(attribute_index(run.font)),
      m_face(run.faceBits), m_effects(run.effectBits), m_size(run.size) {}

void TextStyle::setPen(const Pen& pen) {
    m_pen = pen;
    m_colour = pen.getColour();
}

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

void TextStyle::copyTo(API_NoteType& note) const {
    note.notePen = indexOf(m_pen);
    note.font = indexOf(m_font);
    note.size = m_size;
}

void TextStyle::copyTo(API_RunType& run, Int32 from, Int32 range) const {
    run = API_RunType();
    run.from = from;
    run.range = range;
    run.pen = indexOf(m_pen);
    run.faceBits = m_face;
    run.font = indexOf(m_font);
    run.effectBits = m_effects;
    run.size = m_size;
    run.color = m_colour;
}

double TextStyle::measureWidthOf(const String& text, bool scaleCorrection, Int32 index) const {
    if (text.empty()) {
        return 0.0;
    }
    API_TextLinePars pars;
    pars.index = index;
    pars.wantsLongestIndex = index;
    pars.drvScaleCorr = scaleCorrection;
    pars.font = indexOf(m_font);
    pars.faceBits = m_face;
    pars.slant = m_slant;
    pars.size = m_size;
    pars.lineStr = text.data();
    double length = 0.0;
    if (ACAPI_Goodies(APIAny_GetTextLineLengthID, &pars, &length) != NoError) {
        return 0.0;
    }
    return length;
}

bool TextStyle::operator==(const TextStyle& other) const {
    return short(getIndex()) == short(other.getIndex()) && m_font.getIndex() == other.m_font.getIndex() &&
           m_pen.getIndex() == other.m_pen.getIndex() && m_colour == other.m_colour &&
           near(m_size, other.m_size) && m_kind == other.m_kind && m_variant == other.m_variant &&
           near(m_spacing, other.m_spacing) && near(m_slant, other.m_slant) && m_face == other.m_face &&
           m_effects == other.m_effects;
}

} // namespace zelvane
