// An element of a cut view that stands for a model element (host element type 29): its record
// names the real element, which it can load from the floor plan.
#pragma once

#include "Element/Element.h"

namespace zelvane {

class ProxyElem : public Element {
public:
    static constexpr UInt8 type = 29;

    // A new proxy from the tool's defaults, without a memo.
    ProxyElem();
    // A proxy loaded from the host.
    ProxyElem(const API_Element& record, const ElementLink& link);

    // The factory of the drawings' registry: a proxy for a type-29 record, else null.
    static Element* create(const API_Element& record, const ElementLink& link);

    Element* clone() const override { return new ProxyElem(*this); }

    // The element the proxy stands for, loaded through the floor plan (the caller deletes it), or
    // null when the floor plan does not hold it.
    virtual Element* getRealElement() const;
    // Takes the tool's default record without a memo.
    virtual void initialise();
    // The GUID of the real element.
    Guid getRealID() const { return Guid(m_record.sectElem.parentGuid); }

    API_Element* getData() const override;
    // A proxy packs no memo: null, with an empty mask.
    API_ElementMemo* getMemo(unsigned long long& mask) const override;
    using Element::getMemo;
    API_Elem_Head& getHead() override { return m_record.header; }
    const API_Elem_Head& getHead() const override { return m_record.header; }

private:
    API_Element m_record;
};

} // namespace zelvane
