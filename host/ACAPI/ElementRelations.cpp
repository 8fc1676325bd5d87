#include "ACAPI/ElementRelations.hpp"

#include "GSRoot/BM.hpp"
#include "sim/ElementRelations.h"
#include "sim/Sim.h"

#include <cstring>
#include <map>

namespace {

struct GuidOrder {
    bool operator()(const GS::Guid& a, const GS::Guid& b) const { return a.Compare(b) < 0; }
};

std::map<GS::Guid, sim::WallRelations, GuidOrder>& walls() {
    static auto* instance = new std::map<GS::Guid, sim::WallRelations, GuidOrder>;
    return *instance;
}

const bool registered =
    sim::registerReset([] { walls().clear(); }) && sim::registerProjectClear([] { walls().clear(); });

// A new handle holding the entries, or null for none; false when it could not be made.
template <typename T>
bool copyToHandle(const std::vector<T>& entries, T**& handle) {
    handle = nullptr;
    if (entries.empty()) {
        return true;
    }
    GSHandle block = BMAllocateHandle(GSSize(entries.size() * sizeof(T)), 0, 0);
    if (block == nullptr) {
        return false;
    }
    std::memcpy(*block, entries.data(), entries.size() * sizeof(T));
    handle = reinterpret_cast<T**>(block);
    return true;
}

template <typename T>
void killHandle(T**& handle) {
    GSHandle block = reinterpret_cast<GSHandle>(handle);
    BMKillHandle(&block);
    handle = nullptr;
}

} // namespace

void sim::setWallRelations(const GS::Guid& wall, const WallRelations& relations) {
    walls()[wall] = relations;
}

void sim::removeWallRelations(const GS::Guid& wall) {
    walls().erase(wall);
}

GSErrCode ACAPI_Element_GetRelations(const API_Guid& guid, API_ElemTypeID otherID, void* relData) {
    if (GSErrCode err = sim::enter("ACAPI_Element_GetRelations", otherID); err != NoError) {
        return err;
    }
    if (relData == nullptr || otherID != API_WallID) {
        return APIERR_BADPARS;
    }
    auto found = walls().find(guid);
    if (found == walls().end()) {
        return APIERR_BADID;
    }
    const sim::WallRelations& source = found->second;
    auto* record = static_cast<API_WallRelation*>(relData);
    *record = API_WallRelation();
    Int32* counts[5] = {&record->nConBeg, &record->nConEnd, &record->nConRef, &record->nConOther,
                        &record->nConCross};
    API_ConnectionGuidItem*** lists[5] = {&record->conBeg, &record->conEnd, &record->conRef,
                                          &record->conOther, &record->conCross};
    bool made = true;
    for (std::size_t i = 0; i < 5 && made; ++i) {
        made = copyToHandle(source.lists[i], *lists[i]);
        *counts[i] = Int32(source.lists[i].size()) + source.countExcess;
    }
    if (made && !source.coords.empty()) {
        std::vector<API_Coord> coords(1, API_Coord{0.0, 0.0});
        coords.insert(coords.end(), source.coords.begin(), source.coords.end());
        std::vector<Int32> pends(1, 0);
        pends.insert(pends.end(), source.pends.begin(), source.pends.end());
        std::vector<API_PolyArc> arcs(source.arcs);
        made = copyToHandle(coords, record->coords) && copyToHandle(pends, record->pends) &&
               copyToHandle(arcs, record->parcs);
        record->wallPolygon.nCoords = Int32(source.coords.size()) + source.countExcess;
        record->wallPolygon.nSubPolys = Int32(source.pends.size()) + source.countExcess;
        record->wallPolygon.nArcs = Int32(source.arcs.size()) + source.countExcess;
    }
    if (!made) {
        API_WallRelation partial = *record;
        ACAPI_DisposeWallRelationHdls(&partial);
        *record = API_WallRelation();
        return APIERR_MEMFULL;
    }
    return NoError;
}

GSErrCode ACAPI_DisposeWallRelationHdls(API_WallRelation* relData) {
    // Disposing always succeeds on the host: no fault is injected, it is only logged.
    sim::log("ACAPI_DisposeWallRelationHdls");
    if (relData == nullptr) {
        return APIERR_BADPARS;
    }
    killHandle(relData->conBeg);
    killHandle(relData->conEnd);
    killHandle(relData->conRef);
    killHandle(relData->conOther);
    killHandle(relData->conCross);
    killHandle(relData->coords);
    killHandle(relData->pends);
    killHandle(relData->parcs);
    return NoError;
}
