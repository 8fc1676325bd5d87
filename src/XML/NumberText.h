// Number text of the value bindings, without a stream for the common forms: the results are those
// of the text conversions (a standard stream in the classic locale), which the rarer forms go
// through.
#pragma once

#include "Environment/String.h"

namespace zelvane {

// As ToString: decimal integers; reals with six significant digits.
void writeNumber(String& text, long long value);
void writeNumber(String& text, unsigned long long value);
void writeNumber(String& text, double value);
// Fixed-point notation with `precision` digits after the point, no point for 0.
void writeFixed(String& text, double value, unsigned int precision);

// As ToInt32, ToUInt32, ToUInt64 and ToDouble: the value the conversion leaves, whether or not it
// succeeded.
int readInt32(String const& text);
unsigned int readUInt32(String const& text);
unsigned long long readUInt64(String const& text);
double readDouble(String const& text);

} // namespace zelvane
