// A door (host element type 5) placed from a door library part.
#pragma once

#include "Element/Joinery.h"

namespace zelvane {

class Door : public Joinery {
public:
    static constexpr UInt8 type = 5;

    // A new door from the tool's defaults, with their memo when asked.
    explicit Door(bool withMemo = true);
    // A new door of the part.
    explicit Door(const ComponentLink& source);
    // A new door of the library's part of that name.
    Door(const String& name, const Library* library);
    // A loaded door; its part is named by the record's library index in the link's library.
    Door(const API_Element& record, const ElementLink& link);

    // The factory of the drawings' registry: a door for a type-5 record, else null.
    static Element* create(const API_Element& record, const ElementLink& link);

    Element* clone() const override { return new Door(*this); }
    // Takes door parts (and links of no kind) only.
    bool acceptsSource(const ComponentLink& link) const override { return acceptsPart(link, APILib_DoorID); }
    bool setSourceLink(const ComponentLink& link, bool refetch, bool apply) override;
};

} // namespace zelvane
