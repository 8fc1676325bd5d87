// The smallest element kind for tests and benchmarks: it keeps a host record of its own and has
// no memo.
#pragma once

#include "ACAPI/Elements.hpp"
#include "Element/Element.h"

namespace zelvane {

class RecordElement : public Element {
public:
    RecordElement(const API_Element& record, const ElementLink& link) : Element(link), m_record(record) {}
    // A blank record of the link's element type.
    explicit RecordElement(const ElementLink& link) : Element(link) {
        m_record.header.typeID = link.getType().getType();
    }

    static Element* create(const API_Element& record, const ElementLink& link) {
        return new RecordElement(record, link);
    }

    Element* clone() const override { return new RecordElement(*this); }
    API_Element* getData() const override { return new API_Element(m_record); }
    API_ElementMemo* getMemo(unsigned long long& mask) const override {
        mask = 0;
        return nullptr;
    }
    using Element::getMemo;
    API_Elem_Head& getHead() override { return m_record.header; }
    const API_Elem_Head& getHead() const override { return m_record.header; }

    API_Element& record() { return m_record; }

private:
    API_Element m_record;
};

} // namespace zelvane
