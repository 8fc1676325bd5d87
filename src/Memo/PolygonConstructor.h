// Turns a bare host polygon (a description and the caller's handles) into a CadPolygon.
#pragma once

#include "Memo/PolygonMemo.h"

namespace zelvane {

class PolygonConstructor : public PolygonMemo {
public:
    // The polygon the description and handles hold (the caller owns it), or null when they do not
    // make one. The handles stay the caller's.
    CadPolygon* make(const API_Polygon& description, API_Coord** coords, Int32** ends, API_PolyArc** arcs);

    // There is no owner to read from: the handles are given to make.
    void getMemo(UInt64, MemoStore*&) const override {}

protected:
    const API_Polygon& getPolyData(const MemoStore&) const override { return m_description; }

private:
    API_Polygon m_description;
};

} // namespace zelvane
