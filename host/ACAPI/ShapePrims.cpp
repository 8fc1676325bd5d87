#include "ACAPI/ShapePrims.hpp"

#include "sim/ElementTable.h"
#include "sim/GuidTable.h"
#include "sim/ShapePrims.h"
#include "sim/Sim.h"

#include <unordered_map>

namespace {

using sim::GuidHash;

struct State {
    std::unordered_map<GS::Guid, std::vector<sim::ShapeRecord>, GuidHash> shapes;
    sim::ShapeRecordHook hook;
};

State& state() {
    static auto* instance = new State;
    return *instance;
}

const bool registered = sim::registerReset([] { state() = State(); });

// The record's head as the callback sees it: the record of its kind, with the kind set.
template <typename Record>
const API_Prim_Head* headOf(Record& record, const sim::ShapeRecord& source) {
    record.head = source.head;
    record.head.typeID = source.kind;
    return &record.head;
}

GSErrCode replay(sim::ShapeRecord record, ShapePrimsProc proc) {
    const void* par1 = nullptr;
    const void* par2 = nullptr;
    const void* par3 = nullptr;
    const API_Prim_Head* head = nullptr;
    if (!record.unicode.empty() && record.unicode.back() != 0)
        record.unicode.push_back(0);
    switch (record.kind) {
    case API_PrimPointID:
        head = headOf(record.point, record);
        break;
    case API_PrimLineID:
        head = headOf(record.line, record);
        break;
    case API_PrimArcID:
        head = headOf(record.arc, record);
        break;
    case API_PrimTextID:
        head = headOf(record.text, record);
        par1 = record.bytes.c_str();
        par2 = record.unicode.empty() ? nullptr : record.unicode.data();
        break;
    case API_PrimPLineID:
        record.polyline.nCoords = Int32(record.coords.size());
        record.polyline.nArcs = Int32(record.arcs.size());
        head = headOf(record.polyline, record);
        par1 = record.coords.empty() ? nullptr : record.coords.data();
        par2 = record.arcs.empty() ? nullptr : record.arcs.data();
        break;
    case API_PrimTriID:
        head = headOf(record.triangle, record);
        break;
    case API_PrimPolyID:
        record.polygon.nCoords = record.coords.empty() ? 0 : Int32(record.coords.size()) - 1;
        record.polygon.nSubPolys = record.ends.empty() ? 0 : Int32(record.ends.size()) - 1;
        record.polygon.nArcs = Int32(record.arcs.size());
        head = headOf(record.polygon, record);
        par1 = record.coords.empty() ? nullptr : record.coords.data();
        par2 = record.ends.empty() ? nullptr : record.ends.data();
        par3 = record.arcs.empty() ? nullptr : record.arcs.data();
        break;
    case API_PrimCtrl_HatchBorderBegID:
        record.head.typeID = record.kind;
        head = &record.head;
        par1 = record.hasHatch ? &record.hatch : nullptr;
        break;
    default:
        record.head.typeID = record.kind;
        head = &record.head;
        break;
    }
    return proc(head, par1, par2, par3);
}

} // namespace

GSErrCode ACAPI_Element_ShapePrims(const API_Elem_Head& head, ShapePrimsProc proc) {
    if (GSErrCode err = sim::enter("ACAPI_Element_ShapePrims"))
        return err;
    if (proc == nullptr)
        return APIERR_BADPARS;
    if (!sim::hasElement(head.guid))
        return APIERR_BADID;
    auto it = state().shapes.find(head.guid);
    if (it == state().shapes.end())
        return NoError;
    // A copy: the callback may not change what is replayed.
    std::vector<sim::ShapeRecord> records = it->second;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (GSErrCode err = sim::injectedError("ACAPI_Element_ShapePrims record"))
            return err;
        // A copy: the hook may replace itself.
        if (sim::ShapeRecordHook hook = state().hook)
            hook(head.guid, i);
        if (GSErrCode answer = replay(records[i], proc))
            return answer;
    }
    return NoError;
}

namespace sim {

void setShapeRecords(const GS::Guid& guid, const std::vector<ShapeRecord>& records) {
    state().shapes[guid] = records;
}

void setShapeRecordHook(ShapeRecordHook hook) {
    state().hook = std::move(hook);
}

} // namespace sim
