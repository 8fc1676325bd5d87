// A section or elevation marker (host element types 25 and 33): the levels it cuts between, the
// database it opens and, in its memo, the line it is drawn along and its second (depth) line.
#pragma once

#include "Attribute/Pen.h"
#include "Element/Element.h"
#include "Geometry/CadPoint.h"
#include "Memo/SectionLineMemo.h"

#include <vector>

namespace zelvane {

class CutPlaneReference : public Element, public SectionLineMemo {
public:
    // A new marker of the link's kind from the tool's defaults.
    explicit CutPlaneReference(const ElementLink& link);
    // A marker loaded from the host.
    CutPlaneReference(const API_Element& record, const ElementLink& link);
    CutPlaneReference(const CutPlaneReference& other) = default;
    CutPlaneReference& operator=(const CutPlaneReference& other) = default;

    // Whether the marker looks along its line's direction.
    virtual bool isForwardDirection() const { return true; }
    // The marker at the start of the line, in this element's drawing.
    virtual ElementLink getStartMarkerLink() const;
    // The drawing database the marker opens.
    virtual Guid getDatabaseID() const { return Guid(marker().databaseID); }
    // The bearing of the line's first segment (along +X without a usable line).
    virtual double getRotation2D() const;
    // Sets the top level this far above the bottom level.
    virtual void setHeight(double height);

    // Uses 0 and 1 are the marker pen; other uses have none.
    Pen getPen(Pen::Use use) const override;
    void setPen(const Pen& pen, Pen::Use use) override;
    // The line's first point at the absolute bottom level; the zero point without a line.
    CadPoint getOrigin() const override;
    // Moves the line so that it starts at the point, and takes its level.
    void setOrigin(const CadPoint& origin) override;
    // The bottom level, absolute or above the marker's storey.
    double getBaseLevel(bool absolute) const override;
    void setBaseLevel(double level, bool absolute) override;
    double getHeight() const override { return marker().topLevel - marker().bottomLevel; }

    // A new record with the line's point count as loaded (the caller deletes it).
    API_Element* getData() const override;
    // The packed line in a new memo record, or null when it cannot be packed.
    API_ElementMemo* getMemo(unsigned long long& mask) const override;
    void getMemo(unsigned long long mask, MemoStore*& store) const override;
    void getMemo(UInt64 mask, MemoStore*& store) const override;
    API_Elem_Head& getHead() override { return m_record.header; }
    const API_Elem_Head& getHead() const override { return m_record.header; }

    // The second line as loaded with the section line (empty when the host gave none); it moves
    // with the marker and is put back with it.
    const std::vector<API_Coord>& getSecondLine() const;

    // Takes the tool's default record, marked as having a memo.
    virtual void initialise();

protected:
    // The line's description: its point count from the record.
    const API_Polygon& getPolyData(const MemoStore& store) const override;

private:
    API_MarkerType& marker();
    const API_MarkerType& marker() const;
    // The level of the marker's storey; false when none is known.
    bool getStoreyLevel(double& level) const;

    API_Element m_record;
    mutable API_Polygon m_polyData;
    mutable std::vector<API_Coord> m_secondLine;
};

} // namespace zelvane
