// A selection of attributes of one wrapper class, owned in order; it accepts only that class.
#pragma once

#include "Attribute/Attribute.h"
#include "Attribute/BaseAttrSelection.h"
#include "Database/Specification.h"
#include "Environment/Vector.h"

namespace zelvane {

template <typename T>
class AttributeSelection : public BaseAttrSelection, public Vector<T> {
public:
    AttrRefList* getRefList() const override {
        auto* list = new AttrRefList;
        for (const T* member : *this) {
            list->push_back(new AttributeLink(member->getLink()));
        }
        return list;
    }

    bool append(Attribute* attribute) override {
        T* member = dynamic_cast<T*>(attribute);
        if (member == nullptr) {
            return false;
        }
        this->push_back(member);
        return true;
    }

    // Stores every member through the given set, else through its own link's; carries on after
    // a failure and answers whether every member was stored.
    bool put(Specification* specification = nullptr) {
        bool stored = true;
        for (T* member : *this) {
            Specification* target =
                specification != nullptr ? specification : member->getLink().getSpecification();
            stored = target != nullptr && target->put(*member) && stored;
        }
        return stored;
    }
};

// Hands every attribute from begin to end that the selection accepts over to it, deleting the
// others; the iterator does not write back meanwhile.
template <typename Iterator>
void buildSelection(Iterator& begin, const Iterator& end, BaseAttrSelection& selection) {
    bool autoWrite = begin.isAutoWrite();
    begin.setAutoWrite(false);
    try {
        while (begin != end) {
            Attribute* attribute = begin.release();
            if (!selection.append(attribute)) {
                delete attribute;
            }
        }
    } catch (...) {
        begin.setAutoWrite(autoWrite);
        throw;
    }
    begin.setAutoWrite(autoWrite);
}

} // namespace zelvane
