// The type of a host attribute, an 8-bit code: 1 pen, 2 layer, 3 line type, 4 fill, 5 composite,
// 6 surface material, 7 city, 8 layer combination, 9 zone category, 10 font, 11 complex profile,
// 17 building material; 0 is no type (or, in a filter, any type). Codes run to 18.
#pragma once

namespace zelvane {

using attribute_id = unsigned char;

// The highest attribute type code the host has.
constexpr attribute_id lastAttributeID = 18;

} // namespace zelvane
