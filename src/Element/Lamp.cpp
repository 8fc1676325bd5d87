#include "Element/Lamp.h"

namespace zelvane {

Lamp::Lamp() : Lamp(false, 0) {}

Lamp::Lamp(bool withMemo, API_ElemVariationID variation) : Object(lampKind, withMemo, variation) {}

Lamp::Lamp(const ComponentLink& source, API_ElemVariationID variation)
    : Lamp(ElementLink(element_id(lampKind.type), variation), source) {}

Lamp::Lamp(const String& name, const Library* library, API_ElemVariationID variation)
    : Lamp(ComponentLink(name, lampKind.part, library), variation) {}

Lamp::Lamp(const char* name, const Library* library, API_ElemVariationID variation)
    : Lamp(String(name), library, variation) {}

Lamp::Lamp(const ElementLink& link, const ComponentLink& source) : Object(lampKind, link, source) {
    Lamp::initialise();
}

Lamp::Lamp(const API_Element& record, const ElementLink& link) : Object(lampKind, record, link, nullptr) {}

Lamp::Lamp(const API_Element& record, const ElementLink& link, const ComponentLink& source)
    : Object(lampKind, record, link, &source) {}

Element* Lamp::create(const API_Element& record, const ElementLink& link) {
    return record.header.typeID == API_LampID ? new Lamp(record, link) : nullptr;
}

void Lamp::initialise() {
    API_Element defaults;
    if (!getDefaultData(&defaults, nullptr)) {
        return;
    }
    // The sizes the object's start set stay; the rest is the tool's lamp.
    API_ObjectType& mine = record();
    double width = mine.xRatio;
    double depth = mine.yRatio;
    bool fixed = mine.fixedSize;
    mine = defaults.lamp;
    mine.xRatio = width;
    mine.yRatio = depth;
    mine.fixedSize = fixed;
    mine.libInd = getSourceLink().getIndex();
    getHead().hasMemo = true;
}

} // namespace zelvane
