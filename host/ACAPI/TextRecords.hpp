// Text records of the add-on interface: the text settings of notes, and the host's measure of a
// line of text.
#pragma once

#include "ACAPI/Goodies.hpp"
#include "GSRoot/GSRoot.hpp"

// The text of a note (a label, a dimension's text): pen, font and size in millimetres.
struct API_NoteType {
    Int16 notePen = 0;
    Int16 font = 0;
    double size = 0.0;
    UInt16 faceBits = 0;
    UInt16 effectsBits = 0;
};

// Face bits of runs and notes.
constexpr UInt16 APIFace_Bold = 0x1;
constexpr UInt16 APIFace_Italic = 0x2;
constexpr UInt16 APIFace_Underline = 0x4;

// ACAPI_Goodies('GTLL', API_TextLinePars*, double* length): the length in millimetres of the
// line of text drawn with the font, face, slant (radians) and character height (millimetres).
// The host measures every character as 0.6 of the height (0.3 for spaces and "ilj.,:;!'|"),
// widens bold text by a tenth, adds height x |tan(slant)| to italic text, and widens the whole
// by 2% for each step of (font index mod 5). Empty text measures 0; a missing text, a height
// that is negative or not finite answers APIERR_BADPARS.
constexpr API_GoodiesID APIAny_GetTextLineLengthID = MakeGSType("GTLL");

struct API_TextLinePars {
    Int32 index = 0;             // the line's first character
    Int32 wantsLongestIndex = 0; // the character to measure up to, as the caller gives it
    bool drvScaleCorr = false;   // correct for the drawing's scale
    Int16 font = 0;
    UInt16 faceBits = 0;
    double slant = 0.0;
    double size = 0.0;
    const char* lineStr = nullptr; // UTF-8, ending with a NUL
};
