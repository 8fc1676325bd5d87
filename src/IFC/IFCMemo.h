// The IFC data of an element, read from the host on first use (stored data only, or everything
// the host can give) and written back one property or attribute at a time. Only meaningful as a
// base of an Element, whose GUID it uses.
#pragma once

#include "IFC/IFCDataList.h"

#include <memory>

namespace zelvane {

class Element;

class IFCMemo {
public:
    IFCMemo() = default;
    // The copy keeps the scope and holds an empty list when the other holds one: it does not read
    // the host again.
    IFCMemo(const IFCMemo& other);
    IFCMemo& operator=(const IFCMemo& other);
    virtual ~IFCMemo() = default;

    virtual IFCProperty* getProperty(const String& name, const String& setName) const;
    virtual IFCAttribute* getAttribute(const String& name) const;
    virtual IFCClassificationReference* getClassificationReference(const String& name) const;
    // The memo takes the item and writes it to the host when it packs: true then; false (the
    // caller keeps the item) when it does not pack or the memo has no element.
    virtual bool setProperty(IFCProperty* property);
    virtual bool setAttribute(IFCAttribute* attribute);
    virtual void deleteProperty(const String& name, const String& setName);
    virtual void deletePropertySet(const String& setName);

    // Reads the element's IFC data once.
    void retrieveData() const;
    // The text of the "GlobalId" attribute; empty when there is none.
    String getIFCGuid() const;
    const IFCDataList::NameMap& getPropertyNameMap() const;
    const IFCDataList::NameMap& getAttributeNameMap() const;
    const IFCDataList::NameMap& getClassificationNameMap() const;
    // Reads everything the host can give (all) or the stored data only; widening the scope reads
    // again.
    void setAllIFCDataLoaded(bool all);
    bool isAllIFCDataLoaded() const { return m_isAllLoaded; }
    // Reads the IFC data of both elements (and of this one when they have any); copies nothing.
    void applyDelta(const Element& edited, const Element& reference);

private:
    const Element* element() const;

    mutable std::unique_ptr<IFCDataList> m_data;
    bool m_isAllLoaded = false;
};

} // namespace zelvane
