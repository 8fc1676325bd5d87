#include "Primitive/ShapeExtraction.h"

#include "Environment/String.h"
#include "GSRoot/BM.hpp"
#include "Memo/PolygonConstructor.h"
#include "Primitive/PrimitiveArc.h"
#include "Primitive/PrimitiveDistortedHatch.h"
#include "Primitive/PrimitiveLine.h"
#include "Primitive/PrimitiveList.h"
#include "Primitive/PrimitivePoint.h"
#include "Primitive/PrimitiveText.h"

#include <cmath>
#include <cstring>
#include <exception>
#include <memory>

namespace zelvane {

namespace {

constexpr GSErrCode notExtracting = GSErrCode(0x81060388);
constexpr double tolerance = 0.00001;

struct State {
    PrimitiveList* list = nullptr;
    API_PrimHatchBorder hatch;
    bool hatchActive = false;
    bool hatchLines = false;
    bool hatchBody = false;
    bool acceptHatching = false;
};

State& state() {
    static State instance;
    return instance;
}

template <typename T>
T** copyToHandle(T const* data, Int32 count) {
    if (data == nullptr || count <= 0)
        return nullptr;
    GSHandle handle = BMAllocateHandle(GSSize(sizeof(T)) * count, ALLOCATE_CLEAR, 0);
    if (handle == nullptr)
        throw std::bad_alloc();
    std::memcpy(*handle, data, sizeof(T) * std::size_t(count));
    return reinterpret_cast<T**>(handle);
}

template <typename T>
void killHandle(T** handle) {
    if (handle != nullptr)
        BMKillHandle(reinterpret_cast<GSHandle*>(&handle));
}

// The sweep of the arc from vertex `end - 1` to `end` (counted from 1), 0 for a straight edge.
double arcAngle(API_PolyArc const* arcs, Int32 count, Int32 end) {
    for (Int32 i = 0; arcs != nullptr && i < count; ++i)
        if (arcs[i].begIndex == end - 1 && arcs[i].endIndex == end)
            return arcs[i].arcAngle;
    return 0.0;
}

// A straight or arc segment of a polyline, with the record's order, pen and line style.
std::shared_ptr<Primitive> segment(API_PrimPLine const& record, API_Coord const& from, API_Coord const& to,
                                   double angle) {
    attribute_index pen(record.head.pen), style(record.ltypeInd);
    if (std::fabs(angle) > tolerance)
        return std::make_shared<PrimitiveArc>(CadArc(CadPoint(from), PolyPoint(to, angle, 0)),
                                              record.head.drwIndex, pen, style, true, false);
    return std::make_shared<PrimitiveLine>(CadPoint(from), CadPoint(to), record.head.drwIndex, pen, style,
                                           true, false);
}

void addPolyline(API_PrimPLine const& record, API_Coord const* coords, API_PolyArc const* arcs) {
    Int32 c = coords != nullptr ? record.nCoords : 0;
    if (c <= 0)
        return;
    std::vector<std::shared_ptr<Primitive>> made;
    if (c == 1) {
        made.push_back(std::make_shared<PrimitivePoint>(CadPoint(coords[0]), record.head.drwIndex,
                                                        attribute_index(record.head.pen), true, false));
    } else if (c >= 3 && CadPoint(coords[c - 1]).isEqual2D(CadPoint(coords[0]), tolerance)) {
        // A chain back to its start is a closed polygon, the repeated vertex dropped.
        CadPolygon polygon;
        for (Int32 i = 0; i < c - 1; ++i)
            polygon.push_back(new PolyPoint(coords[i], 0.0, 0));
        for (Int32 i = 1; i < c; ++i) {
            double angle = arcAngle(arcs, record.nArcs, i + 1);
            if (angle != 0.0)
                (*polygon[i % (c - 1)]).setSweep(angle);
        }
        polygon.setClosed(true);
        made.push_back(std::make_shared<PrimitivePolygon>(record, polygon, true, false));
    } else {
        // An open chain: its segments.
        for (Int32 i = 1; i < c; ++i)
            made.push_back(segment(record, coords[i - 1], coords[i], arcAngle(arcs, record.nArcs, i + 1)));
    }
    for (auto& primitive : made) {
        State& s = state();
        if (s.hatchLines && !s.acceptHatching)
            continue;
        primitive->setHatchLine(s.hatchLines);
        primitive->setHatchBody(s.hatchBody);
        s.list->push_back(primitive);
    }
}

std::shared_ptr<Primitive> makePolygon(API_PrimPoly const& record, API_Coord const* coords, Int32 const* ends,
                                       API_PolyArc const* arcs) {
    if (coords == nullptr || ends == nullptr || record.nCoords <= 0 || record.nSubPolys <= 0)
        return nullptr;
    API_Polygon description;
    description.nCoords = record.nCoords;
    description.nSubPolys = record.nSubPolys;
    description.nArcs = arcs != nullptr ? record.nArcs : 0;
    API_Coord** coordHandle = nullptr;
    Int32** endHandle = nullptr;
    API_PolyArc** arcHandle = nullptr;
    std::unique_ptr<CadPolygon> polygon;
    try {
        coordHandle = copyToHandle(coords, record.nCoords + 1);
        endHandle = copyToHandle(ends, record.nSubPolys + 1);
        arcHandle = copyToHandle(arcs, description.nArcs);
        PolygonConstructor constructor;
        polygon.reset(constructor.make(description, coordHandle, endHandle, arcHandle));
    } catch (...) {
        killHandle(coordHandle);
        killHandle(endHandle);
        killHandle(arcHandle);
        throw;
    }
    killHandle(coordHandle);
    killHandle(endHandle);
    killHandle(arcHandle);
    if (polygon == nullptr || polygon->vertSize() < 2)
        return nullptr;
    State& s = state();
    if (polygon->isClosed() && s.hatchBody && s.hatchActive) {
        if (s.hatch.distorted)
            return std::make_shared<PrimitiveDistortedHatch>(record, s.hatch, *polygon, true, false);
        return std::make_shared<PrimitiveHatch>(record, s.hatch, *polygon, true, false);
    }
    if (polygon->vertSize() == 2)
        return std::make_shared<PrimitiveLine>(CadPoint(*(*polygon)[0]), CadPoint(*(*polygon)[1]),
                                               record.head.drwIndex, attribute_index(record.head.pen),
                                               attribute_index(record.ltypeInd), true, false);
    return std::make_shared<PrimitivePolygon>(record, *polygon, attribute_index(0), true, false);
}

std::shared_ptr<Primitive> makeText(API_PrimText const& record, void const* bytes, void const* unicode) {
    String text;
    if (unicode != nullptr) {
        auto const* units = static_cast<GS::UniChar const*>(unicode);
        text = String(GS::UniString(units));
    } else if (bytes != nullptr) {
        text = String(static_cast<char const*>(bytes));
    }
    return std::make_shared<PrimitiveText>(record, text, true, false);
}

std::shared_ptr<Primitive> explode(API_Prim_Head const& prim, void const* par1, void const* par2,
                                   void const* par3) {
    State& s = state();
    switch (prim.typeID) {
    case API_PrimPointID:
        return std::make_shared<PrimitivePoint>(reinterpret_cast<API_PrimPoint const&>(prim), true, false);
    case API_PrimLineID:
        return std::make_shared<PrimitiveLine>(reinterpret_cast<API_PrimLine const&>(prim), true, false);
    case API_PrimArcID:
        return std::make_shared<PrimitiveArc>(reinterpret_cast<API_PrimArc const&>(prim), true, false);
    case API_PrimTextID:
        return makeText(reinterpret_cast<API_PrimText const&>(prim), par1, par2);
    case API_PrimPLineID:
        addPolyline(reinterpret_cast<API_PrimPLine const&>(prim), static_cast<API_Coord const*>(par1),
                    static_cast<API_PolyArc const*>(par2));
        return nullptr;
    case API_PrimTriID: {
        auto const& record = reinterpret_cast<API_PrimTri const&>(prim);
        CadPolygon polygon;
        for (API_Coord const& c : record.c)
            polygon.push_back(new PolyPoint(c, 0.0, 0));
        polygon.setClosed(true);
        return std::make_shared<PrimitivePolygon>(record, polygon, true, false);
    }
    case API_PrimPolyID:
        return makePolygon(reinterpret_cast<API_PrimPoly const&>(prim), static_cast<API_Coord const*>(par1),
                           static_cast<Int32 const*>(par2), static_cast<API_PolyArc const*>(par3));
    case API_PrimCtrl_HatchBorderBegID:
        s.hatchBody = true;
        s.hatchActive = par1 != nullptr;
        if (par1 != nullptr)
            s.hatch = *static_cast<API_PrimHatchBorder const*>(par1);
        return nullptr;
    case API_PrimCtrl_HatchBorderEndID:
        s.hatchBody = false;
        s.hatchActive = false;
        return nullptr;
    case API_PrimCtrl_HatchLinesBegID:
        s.hatchLines = true;
        return nullptr;
    case API_PrimCtrl_HatchLinesEndID:
        s.hatchLines = false;
        return nullptr;
    default:
        return nullptr;
    }
}

} // namespace

GSErrCode explodeElement(API_Prim_Head const* prim, void const* par1, void const* par2, void const* par3) {
    State& s = state();
    if (s.list == nullptr)
        return notExtracting;
    if (prim == nullptr)
        return NoError;
    try {
        std::shared_ptr<Primitive> primitive = explode(*prim, par1, par2, par3);
        if (primitive == nullptr || (s.hatchLines && !s.acceptHatching))
            return NoError;
        primitive->setHatchLine(s.hatchLines);
        primitive->setHatchBody(s.hatchBody);
        s.list->push_back(primitive);
    } catch (std::bad_alloc const&) {
        return APIERR_MEMFULL;
    } catch (...) {
        // The host must not unwind: it stops at the error.
        return APIERR_GENERAL;
    }
    return NoError;
}

bool extractShape(API_Elem_Head const& head, PrimitiveList& list, bool acceptHatching) {
    State& s = state();
    if (s.list != nullptr)
        return false;
    s = State();
    s.list = &list;
    s.acceptHatching = acceptHatching;
    GSErrCode err = APIERR_GENERAL;
    try {
        err = ACAPI_Element_ShapePrims(head, explodeElement);
    } catch (...) {
        err = APIERR_GENERAL;
    }
    s.list = nullptr;
    return err == NoError;
}

} // namespace zelvane
