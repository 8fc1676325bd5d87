// A placed library part of host element type 6 (and the base of lamps): its plan size, rotation,
// level and origin live in its host record, its GDL parameters ("A" and "B" among them) in its
// parameter memo; the axial-size setters keep the two in step.
#pragma once

#include "Element/ComponentElem.h"
#include "IFC/IFCMemo.h"

namespace zelvane {

class Library;
class ObjectSource;

class Object : public ComponentElem, public IFCMemo {
public:
    // A new object from the tool defaults, with its default memo when asked.
    explicit Object(bool withMemo = true, API_ElemVariationID variation = 0);
    // A new object of the named part.
    explicit Object(const ComponentLink& source, API_ElemVariationID variation = 0);
    Object(const String& name, const Library* library, API_ElemVariationID variation = 0);
    Object(const char* name, const Library* library, API_ElemVariationID variation = 0);
    Object(const ElementLink& link, const ComponentLink& source);
    // A loaded object: its part is the record's, in the link's library.
    Object(const API_Element& record, const ElementLink& link);
    Object(const API_Element& record, const ElementLink& link, const ComponentLink& source);
    Object(const Object&) = default;
    Object& operator=(const Object&) = default;

    // A new object for a record of type 6, else null.
    static Element* create(const API_Element& record, const ElementLink& link);

    Element* clone() const override { return new Object(*this); }
    API_Element* getData() const override;
    bool fillData(API_Element& record) const override;
    API_Elem_Head& getHead() override { return m_head; }
    const API_Elem_Head& getHead() const override { return m_head; }
    ElementLink getParentLink() const override { return getOwnerLink(); }
    // From the record's storey visibility and link to its home storey.
    StoreyLink getStoreyLink(Part part) const override;
    void setStoreyLink(const StoreyLink& link, Part part) override;

    virtual ElementLink getOwnerLink() const;
    virtual ElementLink getLabelLink() const { return ElementLink(); }
    virtual bool isAutoLabel() const { return false; }
    virtual bool isSourcePens() const { return m_record.useObjPens; }
    virtual bool isSourceLineStyles() const { return m_record.useObjLtypes; }
    virtual bool isSourceSections() const { return m_record.useObjSectAttrs; }
    bool isSourceFinishes() const override { return m_record.useObjMaterials; }
    virtual bool isShownAll(Part part) const;
    virtual bool isShownUp(Part) const { return m_record.showAllAbove; }
    virtual bool isShownDown(Part) const { return m_record.showAllBelow; }
    virtual void setOwnerLink(const ElementLink& owner) {
        m_record.ownerGuid = GS::Guid(owner.getUniqueID());
    }
    virtual void setLabelLink(const ElementLink&) {}
    virtual void setAutoLabel(bool) {}
    virtual void setSourcePens(bool own) { m_record.useObjPens = own; }
    virtual void setSourceLineStyles(bool own) { m_record.useObjLtypes = own; }
    virtual void setSourceSections(bool own) { m_record.useObjSectAttrs = own; }
    void setSourceFinishes(bool own) override { m_record.useObjMaterials = own; }
    // Only the main part (0) has storey visibility.
    virtual void setShownAll(bool shown, Part part);
    virtual void setShownUp(bool shown, Part part);
    virtual void setShownDown(bool shown, Part part);

    // The plan size: the ratio members themselves for a fixed-size object, else the ratios times
    // the part's own size.
    double getAxialWidth() const override;
    double getAxialDepth() const override;
    // Also sets "A" ("B"); a part whose own size is (near) 0 keeps the ratio.
    void setAxialWidth(double width) override;
    void setAxialDepth(double depth) override;
    // The angle as seen: a mirrored object's stored angle is turned by half a turn.
    virtual double getRotation2D() const;
    virtual void setRotation2D(double angle);
    virtual CadPoint getOffset() const { return CadPoint(m_record.offsetX, m_record.offsetY, 0.0); }
    virtual void setOffset(const CadPoint& offset);
    virtual short getOriginIndex() const { return m_record.originIndex; }
    virtual void setOriginIndex(short index) { m_record.originIndex = index; }
    virtual bool isFixedSize() const { return m_record.fixedSize; }
    virtual void setFixedSize(bool fixed) { m_record.fixedSize = fixed; }
    virtual bool isFlipped() const { return m_record.reflected; }
    virtual void setFlipped(bool flipped) { m_record.reflected = flipped; }
    virtual Int32 getSourceIndex() const { return m_record.libInd; }
    virtual void resetOriginOffset();
    // Takes the tool's defaults and the named part's fixed-size flag and own size.
    virtual void initialise();

    // Re-points the object at another object-like part (kind 0, 4 or 5; 0 counts as 4); with
    // refetch it takes the new part's own size. Nothing changes for another kind or a part that
    // is not in the library (acceptsSource false).
    bool acceptsSource(const ComponentLink& link) const override;
    bool setSourceLink(const ComponentLink& link, bool refetch, bool apply) override;
    // The object-like part the link names, as setSourceLink finds it (a new source the caller
    // owns), or null when setSourceLink would refuse the link.
    static ObjectSource* loadSource(const ComponentLink& link);
    // setSourceLink with the part that loadSource gave for the link, not loaded again: for a
    // caller pointing many objects at one part.
    bool setSourceLink(const ComponentLink& link, const ObjectSource& part, bool refetch, bool apply);
    // The same with the part's defaults fetched before for the link, not asked of the host again.
    bool setSourceLink(const ComponentLink& link, const ObjectSource& part, const ComponentDefaults& defaults,
                       bool refetch, bool apply);
    // The host's object settings dialog; true when accepted.
    bool userEdit() override;
    void applyDelta(const Element& edited, const Element& reference) override;
    using ComponentElem::applyDelta;

    Pen getPen(Pen::Use use) const override;
    void setPen(const Pen& pen, Pen::Use use) override;
    Pattern* getPattern(UInt8 use) const override;
    void setPattern(const Pattern& pattern, UInt8 use) override;
    LineStyle getLineStyle(LineStyle::Use use) const override;
    void setLineStyle(const LineStyle& style, LineStyle::Use use) override;
    Finish getFinish(Finish::Use use) const override;
    void setFinish(const Finish& finish, Finish::Use use) override;

    double getSurfaceC() const override;
    double getVolume() const override;
    double getTotalSurfaceArea() const override { return getSurfaceC(); }

    // The stored level, with absolute the level of the element's storey added.
    double getBaseLevel(bool absolute) const override;
    void setBaseLevel(double level, bool absolute) override;
    // The position with the absolute level.
    CadPoint getOrigin() const override;
    void setOrigin(const CadPoint& origin) override;
    // The plan size around the centre of the element's box, not rotated; null without a box.
    CadPolygon* getBoundingPolygon() const override;

    const API_ObjectType& getRecord() const { return m_record; }

protected:
    // The host element type and library-part kind of the class being made.
    struct Kind {
        UInt8 type;
        API_LibTypeID part;
    };
    static constexpr Kind objectKind{6, APILib_ObjectID};

    Object(const Kind& kind, bool withMemo, API_ElemVariationID variation);
    Object(const Kind& kind, const ElementLink& link, const ComponentLink& source);
    Object(const Kind& kind, const API_Element& record, const ElementLink& link, const ComponentLink* source);

    Int32 getRecordLibraryIndex(const API_Element& record) const override { return memberOf(record).libInd; }
    // The record's member of this kind (object or lamp).
    API_ObjectType& memberOf(API_Element& record) const;
    const API_ObjectType& memberOf(const API_Element& record) const;
    static const API_ObjectType& recordOf(const API_Element& record);
    API_LibTypeID getPartKind() const { return m_partKind; }
    API_ObjectType& record() { return m_record; }

private:
    // Re-points at the loaded part, with its defaults as given or fetched now (defaults null).
    bool repoint(const ComponentLink& link, const ObjectSource& part, const ComponentDefaults* defaults,
                 bool refetch, bool apply);
    void loadDefaults(bool withMemo);
    // The level of the element's storey; 0 without one.
    double getStoreyLevel() const;

    API_LibTypeID m_partKind;
    API_Elem_Head m_head;
    API_ObjectType m_record;
};

} // namespace zelvane
