// An element placed from a library part (an object, lamp, door or window): its GDL parameters and
// the part's own sizes, its gables, the link to its part and the part itself, resolved when first
// asked.
#pragma once

#include "Database/ComponentLink.h"
#include "Element/Element.h"
#include "Library/FamilyGuid.h"
#include "Memo/ComponentParameterMemo.h"
#include "Memo/GableMemo.h"

namespace zelvane {

class ComponentSource;
class ElementMemoStore;

class ComponentElem : public Element, public ComponentParameterMemo, public GableMemo {
public:
    ComponentElem(const ElementLink& link, const ComponentLink& source);
    // The copy takes the link and both memos, never the resolved part.
    ComponentElem(const ComponentElem& other);
    ComponentElem& operator=(const ComponentElem& other);
    ~ComponentElem() override;

    ComponentLink getSourceLink() const override { return m_sourceLink; }
    virtual bool isSourceFinishes() const { return false; }
    bool makeDefaultComponent() override { return makeDefault(); }
    // Whether the element can take the part as its source; one it refuses is ignored by
    // setSourceLink.
    virtual bool acceptsSource(const ComponentLink&) const { return true; }
    // Points the element at another part: the resolved part and the 3D model are dropped, and the
    // parameters reloaded (refetch, apply: ComponentParameterMemo::reload). False when the part is
    // refused (nothing changes) or its defaults could not be fetched (the element names the part,
    // its parameters stay as they were).
    virtual bool setSourceLink(const ComponentLink& link, bool refetch, bool apply);
    // setSourceLink with the part's defaults as fetched before for the link: for a caller
    // pointing many elements at one part. The part is taken as it is (not checked by
    // acceptsSource).
    bool setSourceLink(const ComponentLink& link, const ComponentDefaults& defaults, bool refetch,
                       bool apply);
    virtual void setSourceFinishes(bool) {}
    // The tool defaults' parameters copied into the element's (only from the same part when same).
    virtual void copyDefaultParameters(bool same, bool skipSizes, bool allowRowChange,
                                       bool allowColumnChange);
    // The element itself when it exists and defaults is false, else its tool's default element.
    void getOwnerInfo(API_ParamOwnerType& owner, bool& defaults) const override;

    // The part in its library, or null when it is not there; kept once found.
    ComponentSource* getComponentSource() const;
    bool isSourceFound() const { return getComponentSource() != nullptr; }
    FamilyGuid getFamilyID() const;
    FamilyGuid getParentFamilyID() const;
    // The part's name; for a part missing from the library, the name the host keeps for it.
    String getSourceName() const;
    // Asks the host to redraw the element from its part.
    bool refresh();

    double getHeight() const override { return getAxialHeight(); }
    void applyDelta(const Element& edited, const Element& reference) override;
    using ComponentParameterMemo::getOwnerInfo;
    using Element::applyDelta;

    void getMemo(unsigned long long mask, MemoStore*& store) const override;
    void getMemo(UInt64 mask, MemoStore*& store) const override;
    // A new host memo of the parameters and gables, or null when either cannot be packed.
    API_ElementMemo* getMemo(unsigned long long& mask) const override;
    bool fillMemo(API_ElementMemo& memo, unsigned long long& mask) const override;

protected:
    // The library index the kind's host record names (0 when the kind keeps none).
    virtual Int32 getRecordLibraryIndex(const API_Element&) const { return 0; }
    void setSourceLinkOnly(const ComponentLink& link) { m_sourceLink = link; }

private:
    // Packs the gables and parameters into the store's record; mask gets the parts filled.
    bool packMemo(ElementMemoStore& store, unsigned long long& mask) const;
    // Names the part, dropping the resolved part and the 3D model.
    void dropSource(const ComponentLink& link);

    ComponentLink m_sourceLink;
    mutable ComponentSource* m_source = nullptr;
};

} // namespace zelvane
