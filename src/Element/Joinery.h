// A door or window: an opening that keeps its whole host record and knows its wall, where along
// it it sits, its sill, insets and anchor.
#pragma once

#include "ACAPI/ElementQuantities.hpp"
#include "Element/Opening.h"
#include "Geometry/PolyEdge.h"

namespace zelvane {

class Wall;

class Joinery : public Opening {
public:
    Joinery(const API_Element& record, const ElementLink& link, const ComponentLink& source)
        : Opening(link, source), m_record(record) {}

    // Takes the tool's default record, marks it as having a memo and names the source part's
    // library index.
    virtual void initialise();

    // The wall the opening is placed in, in this element's drawing.
    virtual ElementLink getWallLink() const;
    // The wall loaded from this element's drawing (the caller deletes it), or null.
    virtual Wall* getWall() const;
    virtual void setWallLink(const ElementLink& link) { joinery().owner = GS::Guid(link.getUniqueID()); }
    virtual void setCentreOffset(double offset) { joinery().objLoc = offset; }
    virtual void setOpenThreshold(double level) { joinery().lower = level; }
    virtual void setSillInset(double inset) { joinery().sillInset = inset; }
    virtual void setTopInset(double inset) { joinery().topInset = inset; }
    virtual void setBaseInset(double inset) { joinery().baseInset = inset; }
    virtual void setLeftInset(double inset) { joinery().leftInset = inset; }
    virtual void setRightInset(double inset) { joinery().rightInset = inset; }
    // Kinds 1 and 3 are anchored to a storey, kept when one is given (else index 0).
    virtual void setAnchor(Int32 kind, const Storey* storey);
    virtual double getCentreOffset() const { return joinery().objLoc; }
    virtual double getOpenThreshold() const { return joinery().lower; }
    virtual double getSillInset() const { return joinery().sillInset; }
    virtual double getTopInset() const { return joinery().topInset; }
    virtual double getBaseInset() const { return joinery().baseInset; }
    virtual double getLeftInset() const { return joinery().leftInset; }
    virtual double getRightInset() const { return joinery().rightInset; }

    // The edge across the wall's middle that the opening spans, lifted to its sill, and the wall's
    // thickness; false without a wall or when the opening cannot fit a curved wall.
    bool getCentreLine(PolyEdge& edge, double& thickness) const;
    bool isRevealInside() const { return joinery().revealInside; }
    bool isRightHand() const { return joinery().oSide; }
    bool isOpeningInside() const { return joinery().refSide; }
    void setRightHand(bool on) { joinery().oSide = on; }
    void setOpeningInside(bool on) { joinery().refSide = on; }
    void setRevealInside(bool on) { joinery().revealInside = on; }
    // The anchor kind; for kinds 1 and 3 the anchor storey's index is written when asked for.
    Int32 getAnchor(attribute_index* storey) const;

    // Quantities, each measured alone by the host; 0 when it refuses.
    double getSurfaceA() const override { return measure(&API_WindowQuantity::surface1); }
    double getSurfaceB() const override { return measure(&API_WindowQuantity::surface2); }
    double getTotalSurfaceArea() const override { return measure(&API_WindowQuantity::surface); }
    double getVolume() const override { return measure(&API_WindowQuantity::volume); }
    double getGrossVolume() const override { return measure(&API_WindowQuantity::grossVolume); }
    double getWidthReveal() const override { return measure(&API_WindowQuantity::revealWidth); }
    double getHeightReveal() const override { return measure(&API_WindowQuantity::revealHeight); }

    ElementLink getParentLink() const override { return getWallLink(); }
    // The start of the centre line moved back to the wall's side; the zero point without a wall.
    CadPoint getOrigin() const override;
    // The sill above the wall's base (or, without a wall, above the storey when absolute).
    double getBaseLevel(bool absolute) const override;
    API_Element* getData() const override;
    API_Elem_Head& getHead() override { return m_record.header; }
    const API_Elem_Head& getHead() const override { return m_record.header; }
    API_OpeningBaseType& getOpeningData() override { return joinery().openingBase; }
    const API_OpeningBaseType& getOpeningData() const override { return joinery().openingBase; }

protected:
    API_WindowType& joinery() {
        return m_record.header.typeID == API_DoorID ? m_record.door : m_record.window;
    }
    const API_WindowType& joinery() const {
        return m_record.header.typeID == API_DoorID ? m_record.door : m_record.window;
    }
    Int32 getRecordLibraryIndex(const API_Element& record) const override;
    double measure(double API_WindowQuantity::*member) const;
    // A new element's record from the tool's defaults (with their memo when asked), then the
    // default part as its source.
    void loadDefaults(bool withMemo, API_LibTypeID part);
    // Takes a part of the given library type (or of no type) as the source; other parts are
    // ignored (false), as are failed fetches of the part's defaults.
    static bool acceptsPart(const ComponentLink& link, API_LibTypeID part) {
        return link.getType() == 0 || link.getType() == part;
    }
    bool setPartSource(const ComponentLink& link, API_LibTypeID part, bool refetch, bool apply);
    API_Element& record() { return m_record; }

private:
    API_Element m_record;
};

} // namespace zelvane
