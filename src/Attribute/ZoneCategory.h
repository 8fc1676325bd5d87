// A zone category of the project: its code, the name of its zone stamp and its fill colour.
#pragma once

#include "Attribute/RecordAttribute.h"

namespace zelvane {

class ZoneCategory : public RecordAttribute<ZoneCategory, API_ZoneCatType, 9> {
public:
    using RecordAttribute::RecordAttribute;

    String getCode() const;
    // Cut to the field's 15 characters and a terminator.
    void setCode(const String& code);
    String getStampName() const;
    // Cut to the field's 31 characters and a terminator.
    void setStampName(const String& name);
    // 0xRRGGBB, each channel times 255 truncated.
    UInt32 getColour() const;
    void setColour(UInt32 rgb);
};

} // namespace zelvane
