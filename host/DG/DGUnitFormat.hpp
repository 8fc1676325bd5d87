// The host's unit-aware number formatting: numbers written and read in the user's working units.
#pragma once

#include "GSRoot/GSRoot.hpp"

// Measure kinds. Values are plain numbers (real, integer), decimal degrees (angle), metres,
// square metres or cubic metres; the text is in the working unit of the kind.
constexpr Int16 DG_UNIT_REAL = 3;
constexpr Int16 DG_UNIT_ANGLE = 4;
constexpr Int16 DG_UNIT_AREA = 5;
constexpr Int16 DG_UNIT_LENGTH = 6;
constexpr Int16 DG_UNIT_VOLUME = 7;
constexpr Int16 DG_UNIT_INTEGER = 8;

// Writes value with its unit sign as UTF-8 text and a terminator into buffer (size bytes), in
// the fewest digits that read back to exactly the same value; a value the working unit cannot
// carry exactly is written in the metric unit. ErrParam for an unknown kind, a value that is not
// finite, or a buffer too small (which then holds an empty text).
GSErrCode DGDoubleToStringUnit(double value, Int16 kind, char* buffer, Int32 size);
// The same for an integer: plain decimal text for the real and integer kinds.
GSErrCode DGIntToStringUnit(Int32 value, Int16 kind, char* buffer, Int32 size);

// Reads a number of a kind: white space around it, a sign, digits with an optional fraction and
// exponent, then one unit sign of the kind (the working unit when there is none); a length in
// feet may go on with inches (3'-4"). The integer kind takes whole numbers that fit 32 bits.
// ErrParam for anything else, leaving value untouched.
GSErrCode DGStringToDoubleUnit(const char* text, Int16 kind, double* value);
