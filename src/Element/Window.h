// A window (host element type 4) placed from a window library part.
#pragma once

#include "Element/Joinery.h"

namespace zelvane {

class Window : public Joinery {
public:
    static constexpr UInt8 type = 4;

    // A new window from the tool's defaults, with their memo when asked.
    explicit Window(bool withMemo = false);
    // A new window of the part.
    explicit Window(const ComponentLink& source);
    // A loaded window; its part is named by the record's library index in the link's library.
    Window(const API_Element& record, const ElementLink& link);

    // The factory of the drawings' registry: a window for a type-4 record, else null.
    static Element* create(const API_Element& record, const ElementLink& link);

    Element* clone() const override { return new Window(*this); }
    // Takes window parts (and links of no kind) only.
    bool acceptsSource(const ComponentLink& link) const override {
        return acceptsPart(link, APILib_WindowID);
    }
    bool setSourceLink(const ComponentLink& link, bool refetch, bool apply) override;
};

} // namespace zelvane
