// A placed light (host element type 7): an object whose record is the host's lamp record.
#pragma once

#include "Element/Object.h"

namespace zelvane {

class Lamp : public Object {
public:
    // A new lamp from the tool defaults: with the flag its default memo is loaded and kept;
    // without it the lamp takes its part's own size and parameters.
    Lamp();
    Lamp(bool withMemo, API_ElemVariationID variation);
    explicit Lamp(const ComponentLink& source, API_ElemVariationID variation = 0);
    Lamp(const String& name, const Library* library, API_ElemVariationID variation = 0);
    Lamp(const char* name, const Library* library, API_ElemVariationID variation = 0);
    Lamp(const ElementLink& link, const ComponentLink& source);
    Lamp(const API_Element& record, const ElementLink& link);
    Lamp(const API_Element& record, const ElementLink& link, const ComponentLink& source);
    Lamp(const Lamp&) = default;

    // A new lamp for a record of type 7, else null.
    static Element* create(const API_Element& record, const ElementLink& link);

    Element* clone() const override { return new Lamp(*this); }
    // After the object's own start, the tool's default lamp record over the record, keeping the
    // part.
    void initialise() override;

private:
    static constexpr Kind lampKind{7, APILib_LampID};
};

} // namespace zelvane
