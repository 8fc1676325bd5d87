// The host's 128-bit globally unique identifier, its text form and its generator.
#pragma once

#include "GSRoot/GSRoot.hpp"

#include <cstring>

namespace GS {

class Guid {
public:
    // Characters of the text form "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX", without the terminator.
    static constexpr int TextLength = 36;

    Guid() = default;
    Guid(UInt32 d1, UInt16 d2, UInt16 d3, const UInt8 (&d4)[8]);

    // Reads the 36-character text form, hexadecimal digits in either case. Text of another form
    // answers ErrParam and leaves the value unchanged.
    GSErrCode ConvertFromString(const char* text);
    // Writes the text form with upper-case digits and a terminator: buffer holds TextLength + 1 bytes.
    void ConvertToString(char* buffer) const;

    // Fills with a new version 4 identifier from the host's generator (never null).
    void Generate();
    void Clear();
    bool IsNull() const;
    UInt32 GenerateHashValue() const;
    // The order of the text forms: negative, 0 or positive.
    Int32 Compare(const Guid& other) const;

    // Here, for the callers to inline: every lookup of an element by its GUID compares them.
    bool operator==(const Guid& other) const {
        return data1 == other.data1 && data2 == other.data2 && data3 == other.data3 &&
               std::memcmp(data4, other.data4, 8) == 0;
    }
    bool operator!=(const Guid& other) const { return !(*this == other); }

    UInt32 data1 = 0;
    UInt16 data2 = 0;
    UInt16 data3 = 0;
    UInt8 data4[8] = {};
};

static_assert(sizeof(Guid) == 16, "a host GUID is 16 bytes");

} // namespace GS
