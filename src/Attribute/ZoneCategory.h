// A zone category of the project: its code, the name of its zone stamp with the stamp's
// parameters, and its fill colour.
#pragma once

#include "Attribute/RecordAttribute.h"
#include "Database/ComponentLink.h"
#include "Memo/ParameterMemo.h"

namespace zelvane {

class ZoneCategory : public RecordAttribute<ZoneCategory, API_ZoneCatType, 9>, public ParameterMemo {
public:
    using RecordAttribute::RecordAttribute;

    String getCode() const;
    // Cut to the field's 15 characters and a terminator.
    void setCode(const String& code);
    String getStampName() const;
    // Cut to the field's 31 characters and a terminator. Links the stamp to the zone-stamp part
    // of that name in the library of the category's project (an empty link when there is none)
    // and takes that part's default parameters.
    void setStampName(const String& name);
    const ComponentLink& getStamp() const { return m_stamp; }
    // 0xRRGGBB, each channel times 255 truncated.
    UInt32 getColour() const;
    void setColour(UInt32 rgb);

    // Reads the stored category's parameters; a category not stored takes its stamp part's.
    void getMemo(UInt64 mask, MemoStore*& store) const override;
    // The parameters packed into a new extension record (the caller disposes it), or null.
    API_AttributeDefExt* getMemo() const override { return writeMemo(*this); }
    // A new extension record holding the stamp part's default parameters, or null when the part
    // does not resolve.
    API_AttributeDefExt* loadLibraryMemo() const;

private:
    ComponentLink m_stamp;
};

} // namespace zelvane
