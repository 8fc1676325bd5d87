// The identity of a library part: its unique-ID text, by which parts are found and compared.
#pragma once

#include "Environment/String.h"

namespace zelvane {

class Guid;

class FamilyGuid : public String {
public:
    FamilyGuid() = default;
    explicit FamilyGuid(const String& text) : String(text) {}
    explicit FamilyGuid(const char* text) : String(text) {}
    // The GUID's text form.
    explicit FamilyGuid(const Guid& guid);

    explicit operator bool() const { return !empty(); }

    // Whether this part derives from (or is) the other, as the host's library knows it.
    bool isDerivedFrom(const FamilyGuid& other) const;
    // 1 for the same part, 2 for another version of its family, 0 for unrelated parts, 4 when the
    // host could not tell.
    int compareTo(const FamilyGuid& other) const;
};

} // namespace zelvane
