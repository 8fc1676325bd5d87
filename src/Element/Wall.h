// A wall of the project (host element type 1): its record, its gables and (for polygonal walls)
// its outline, its IFC data, its geometry, the walls it is joined to and the doors and windows placed in it.
#pragma once

#include "ACAPI/ElementQuantities.hpp"
#include "Element/ConstructionProfile.h"
#include "Element/Element.h"
#include "Geometry/CadPoint.h"
#include "Geometry/PolyEdge.h"
#include "Geometry/PolyPoint.h"
#include "IFC/IFCMemo.h"
#include "Memo/GableMemo.h"
#include "Memo/PolygonMemo.h"

#include <vector>

namespace zelvane {

class ElementLinkList;

class Wall : public Element,
             public GableMemo,
             public PolygonMemo,
             public IFCMemo,
             public ConstructionProfile {
public:
    static constexpr UInt8 type = 1;

    // Where the reference line runs across the wall.
    enum ReferencePos : Int32 { outside = 0, centre = 1, inside = 2 };
    // Wall types besides the plain straight or curved wall.
    static constexpr Int32 trapezoid = 1;
    static constexpr Int32 polygonal = 2;

    // A wall joined to this one, and where each of the two meets the other.
    class Relation {
    public:
        Relation(const ElementLink& other, CadPoint::Pos thisPos, CadPoint::Pos otherPos)
            : m_other(other), m_thisPos(thisPos), m_otherPos(otherPos) {}
        virtual ~Relation() = default;

        const ElementLink& getOtherLink() const { return m_other; }
        // 2 at the start, 8 at the end, 4 along the wall.
        CadPoint::Pos getThisPos() const { return m_thisPos; }
        CadPoint::Pos getOtherPos() const { return m_otherPos; }
        // The other wall, loaded through the floor plan (the caller deletes it), or null.
        Wall* getOtherWall() const;

    private:
        ElementLink m_other;
        CadPoint::Pos m_thisPos;
        CadPoint::Pos m_otherPos;
    };

    // A new wall from the tool's defaults.
    Wall();
    // A wall loaded from the host.
    Wall(const API_Element& record, const ElementLink& link);
    // Copies start without relations.
    Wall(const Wall& other);
    Wall& operator=(const Wall& other);
    ~Wall() override;

    // The factory of the drawings' registry: a wall for a type-1 record, else null.
    static Element* create(const API_Element& record, const ElementLink& link);

    Element* clone() const override { return new Wall(*this); }
    using Element::applyDelta;
    API_Element* getData() const override;
    // The gables and, for polygonal walls, the outline packed into a new memo record; null when a
    // part cannot be packed.
    API_ElementMemo* getMemo(unsigned long long& mask) const override;
    // Loads the gables (bit 2) and, for polygonal walls, the outline (bit 1).
    void getMemo(unsigned long long mask, MemoStore*& store) const override;
    void getMemo(UInt64 mask, MemoStore*& store) const override;
    API_Elem_Head& getHead() override { return m_record.header; }
    const API_Elem_Head& getHead() const override { return m_record.header; }

    virtual bool isCompositePens() const { return wall().useCompositePens; }
    virtual bool isCompositeFillPens() const { return wall().useCompositeFillPens; }
    virtual void setCompositePens(bool on) { wall().useCompositePens = on; }
    virtual void setCompositeFillPens(bool on) { wall().useCompositeFillPens = on; }
    // The junction order: 0 when none is stored.
    virtual Int16 getJunctionOrder() const;
    virtual double getThickness() const { return wall().thickness; }
    // The thickness at the end: its own for trapezoid walls, else the thickness.
    virtual double getEndThickness() const;
    virtual PolyPoint getEnd() const;
    // The radius of a curved wall (0 for a straight one), positive whichever way it turns.
    virtual double getRadius() const;
    virtual double getOriginRefOffset() const { return wall().offset; }
    virtual double getEndRefOffset() const { return wall().offset; }
    virtual double getBaseRefOffset() const { return wall().offsetFromOutside; }
    virtual double getSweep() const { return wall().angle; }
    // The edge along the middle of the wall.
    virtual PolyEdge getCentreLine() const;
    virtual Int32 getWallType() const { return wall().type; }
    Int16 getShapeType() const override { return wall().profileType; }
    virtual ReferencePos getReferenceSide() const { return ReferencePos(wall().referenceLineLocation); }
    virtual Int32 getRefLineStartInd() const { return wall().refLineStartIndex; }
    virtual Int32 getRefLineEndInd() const { return wall().refLineEndIndex; }
    // Append the links of the windows (doors) placed in the wall; false when they cannot be read.
    virtual bool getWindowList(ElementLinkList& list) const;
    virtual std::size_t getWindowCount() const;
    virtual bool getDoorList(ElementLinkList& list) const;
    virtual std::size_t getDoorCount() const;
    // The bearing from the origin to the end.
    virtual double getRotation2D() const;
    virtual double getSlantInside() const { return wall().slantAlpha; }
    virtual double getSlantOutside() const { return wall().slantBeta; }
    virtual void setReferenceSide(ReferencePos side) { wall().referenceLineLocation = side; }
    virtual void setThickness(double thickness) { wall().thickness = thickness; }
    virtual void setEndThickness(double thickness) { wall().thickness1 = thickness; }
    virtual void setEnd(const CadPoint& end);
    // Moves the start (end) to the point's projection on the wall's edge.
    virtual void stretchOrigin(const CadPoint& point, bool flag);
    virtual void stretchEnd(const CadPoint& point);
    virtual void setSweep(double sweep) { wall().angle = sweep; }
    virtual void setHeight(double height) { wall().height = height; }
    // Turns the wall about its origin, keeping the chord between its ends.
    virtual void setRotation2D(double angle);
    virtual void setBaseRefOffset(double offset) { wall().offsetFromOutside = offset; }
    // Moves every window and door along the wall by the distance and puts it back; false without
    // a drawing, when one cannot be loaded or is no door or window (nothing is moved then), or
    // when a put fails.
    virtual bool offsetJoinery(double distance);
    virtual void setJunctionOrder(Int16 order);
    // Takes the tool's default record and marks it as having a memo.
    virtual void initialise();
    virtual API_WallType& getWallData() { return wall(); }
    virtual const API_WallType& getWallData() const { return wall(); }
    // The outline description the polygon is unpacked with: the one of this wall's own
    // buildPolygon while it runs, else the record's.
    const API_Polygon& getPolyData(const MemoStore& store) const override;

    // The outline: the polygon memo's when valid, else the one the host draws; null when neither.
    CadPolygon* getPolygon();
    const CadPolygon* getPolygon() const;
    // A new copy of the outline (the caller deletes it), or null.
    CadPolygon* getBoundingPolygon() const override;
    // Unpacks the polygon memo from the outline the host draws for the wall; false when the host
    // gives none or it does not unpack.
    bool buildPolygon() const;

    // Attributes by use: the contour, section and use-5 pens (the section fill and background pens
    // from the building material unless the wall's own composite pens are used), the composite or
    // the material's cut fill, the contour line type, the three side finishes (the building
    // material's unless overridden), the profile and the building material.
    Pen getPen(Pen::Use use) const override;
    void setPen(const Pen& pen, Pen::Use use) override;
    Pattern* getPattern(UInt8 use) const override;
    // Only a composite changes the wall: it becomes a composite wall of it.
    void setPattern(const Pattern& pattern, UInt8 use) override;
    LineStyle getLineStyle(LineStyle::Use use) const override;
    void setLineStyle(const LineStyle& style, LineStyle::Use use) override;
    Finish getFinish(Finish::Use use) const override;
    void setFinish(const Finish& finish, Finish::Use use) override;
    ComplexProfile getComplexProfile() const override;
    // Does not change the structure type.
    void setComplexProfile(const ComplexProfile& profile) override;
    Material getMaterial() const override;

    // Quantities, each measured alone by the host; 0 when it refuses.
    double getSurfaceA() const override { return measure(&API_WallQuantity::surface1); }
    double getSurfaceB() const override { return measure(&API_WallQuantity::surface2); }
    double getSurfaceC() const override { return measure(&API_WallQuantity::surface3); }
    double getVolume() const override { return measure(&API_WallQuantity::volume); }
    double getGrossVolume() const override { return measure(&API_WallQuantity::grossVolume); }
    virtual double getSurfaceRef() const { return getSurfaceA(); }
    virtual double getSurfaceOpp() const { return getSurfaceB(); }
    virtual double getSurfaceEdge() const { return getSurfaceC(); }
    virtual double getSurfaceRefGross() const { return measure(&API_WallQuantity::grossSurf1); }
    virtual double getSurfaceOppGross() const { return measure(&API_WallQuantity::grossSurf2); }
    virtual double getLengthRef() const { return measure(&API_WallQuantity::refLength); }
    virtual double getLengthOpp() const { return measure(&API_WallQuantity::oppLength); }
    virtual double getlengthCtr() const { return measure(&API_WallQuantity::centerLength); }
    virtual double getDoorSurface() const { return measure(&API_WallQuantity::doorsSurf); }
    virtual double getDoorWidth() const { return measure(&API_WallQuantity::doorsWidth); }
    virtual double getWindowSurface() const { return measure(&API_WallQuantity::windowsSurf); }
    double getMinHeight() const override { return measure(&API_WallQuantity::minHeight); }
    double getMaxHeight() const override { return measure(&API_WallQuantity::maxHeight); }
    double getHolesSurface() const override { return measure(&API_WallQuantity::holesSurf); }
    double getHolesVolume() const override { return measure(&API_WallQuantity::holesVolume); }
    virtual Int32 getColumnCount() const;
    // The holes of the outline: how many, and their perimeters summed.
    int getHolesCount() const override;
    double getHolesPerimeter() const override;
    // The reference surface for a basic wall, the matching skins of a composite one, else 0.
    double getMaterialArea(attribute_index material) const override;

    // The start with the absolute base level as z.
    CadPoint getOrigin() const override;
    void setOrigin(const CadPoint& origin) override;
    // The base level, relative to the home storey or absolute.
    double getBaseLevel(bool absolute) const override;
    void setBaseLevel(double level, bool absolute) override;
    double getHeight() const override { return wall().height; }
    // The 2D length of the wall's edge (an arc length for curved walls).
    double getLength() const override;

    // The walls joined to this one, read from the host on first use.
    std::size_t getRelationCount() const;
    // Null when the relations cannot be read; throws std::out_of_range past the end.
    const Relation* getRelation(std::size_t index) const;
    // Reads the relations unless already read; false without a project, a drawing or the host's
    // answer, or when the host's record is damaged.
    bool checkRelations() const;

    bool isFlipped() const { return wall().flipped; }
    // The storey the wall's top is linked to (the floor plan keeps it), or null when not linked.
    Storey* getTopLinkedStorey() const;
    // Links the top to a storey above the home storey; any other storey, or none, unlinks it.
    void setTopLinkedStorey(const Storey* storey);
    // Walls shown on every storey they reach are within a storey they overlap by more than the
    // tolerance; other walls are within their home storey only.
    bool isWithinStorey(const Storey& storey, double tolerance) const override;
    Int32 getDisplayOption() const override { return wall().displayOption; }
    StructureType getStructureType() const override { return StructureType(wall().modelElemStructureType); }
    void setStructureType(StructureType structure) override { wall().modelElemStructureType = structure; }
    // False when the wall shows on every storey it reaches.
    bool isHomeStoreyOnly() const override { return !wall().isAutoOnStoryVisibility; }

private:
    using RelationList = std::vector<Relation>;

    API_WallType& wall() { return m_record.wall; }
    const API_WallType& wall() const { return m_record.wall; }
    // One wall quantity measured alone.
    double measure(double API_WallQuantity::*member) const;
    // The finish member of a use, null for uses without one.
    API_OverriddenAttribute* finishOf(Finish::Use use);
    const API_OverriddenAttribute* finishOf(Finish::Use use) const;
    // The level of the wall's storey; false when none is known.
    bool getStoreyLevel(double& level) const;
    bool getOpeningList(ElementLinkList& list, bool doors) const;

    API_Element m_record;
    mutable RelationList* m_relations = nullptr;
    // The outline of a running buildPolygon, null otherwise.
    mutable const API_Polygon* m_buildOutline = nullptr;
};

} // namespace zelvane
