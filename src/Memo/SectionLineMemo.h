// The memo part of the line of a section, elevation or similar marker: an open polygon whose
// coordinates the host keeps in a plain block, counted by the owner's polygon description.
#pragma once

#include "ACAPI/ElementMemo.hpp"
#include "Geometry/CadPolygon.h"
#include "Memo/Memo.h"

#include <memory>

namespace zelvane {

class SectionLineMemo : public Memo {
public:
    SectionLineMemo() = default;
    SectionLineMemo(const SectionLineMemo& other);
    SectionLineMemo& operator=(const SectionLineMemo& other);
    ~SectionLineMemo() override;

    bool isValid() const override;
    bool pack(MemoStore* store) const override;
    bool unpack(const MemoStore& store) const override;

    // Fetched first; null when there is none.
    virtual CadPolygon* getPolygon();
    virtual const CadPolygon* getPolygon() const;
    // Takes the polygon over, which counts as loaded.
    virtual void setPolygon(CadPolygon* polygon);
    UInt64 getFilter() const override { return 1; }
    // One contour of the polygon's vertices, no arcs (all 0 without a polygon).
    void fillDescription(API_Polygon& description) const;

protected:
    // The owning element's polygon description.
    virtual const API_Polygon& getPolyData(const MemoStore& store) const = 0;

private:
    mutable std::unique_ptr<CadPolygon> m_polygon;
};

} // namespace zelvane
