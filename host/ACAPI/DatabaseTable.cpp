#include "ACAPI/DatabaseInfo.hpp"

#include "ACAPI/ProjectInfo.hpp"
#include "GSRoot/BM.hpp"
#include "GSRoot/UniString.hpp"
#include "sim/Automate.h"
#include "sim/Database.h"
#include "sim/Databases.h"
#include "sim/Environment.h"
#include "sim/Project.h"
#include "sim/Sim.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <stdexcept>

namespace {

struct State {
    std::map<std::pair<API_WindowTypeID, std::string>, sim::DatabaseRecord> databases;
    std::vector<std::pair<API_WindowTypeID, std::string>> order;
    API_WindowTypeID type = APIWind_FloorPlanID;
    GS::Guid id;
    API_WindowTypeID frontType = APIWind_FloorPlanID;
    GS::Guid frontID;
    sim::DatabaseRecord plan;
    sim::DatabaseRecord model;
    short storey = 0;
    int redraws = 0;
    int rebuilds = 0;
};

State& state() {
    static auto* instance = new State;
    return *instance;
}

std::string text(const GS::Guid& guid) {
    char buffer[GS::Guid::TextLength + 1];
    guid.ConvertToString(buffer);
    return buffer;
}

bool isPlanOrModel(API_WindowTypeID type) {
    return type == APIWind_FloorPlanID || type == APIWind_3DModelID;
}

// Layouts and master layouts are named by their ID alone.
API_WindowTypeID keyType(API_WindowTypeID type) {
    return type == APIWind_MasterLayoutID ? APIWind_LayoutID : type;
}

sim::DatabaseRecord* find(API_WindowTypeID type, const GS::Guid& id) {
    if (type == APIWind_FloorPlanID) {
        return &state().plan;
    }
    if (type == APIWind_3DModelID) {
        return &state().model;
    }
    auto it = state().databases.find({keyType(type), text(id)});
    if (it == state().databases.end() ||
        (type != it->second.type && keyType(type) != keyType(it->second.type))) {
        return nullptr;
    }
    return &it->second;
}

sim::DatabaseRecord* current() {
    return find(state().type, state().id);
}

std::string fromUnits(const unsigned short* units, std::size_t size) {
    std::size_t length = 0;
    while (length < size && units[length] != 0) {
        ++length;
    }
    return GS::UniString(units, GS::USize(length)).ToUTF8();
}

void toUnits(unsigned short* units, std::size_t size, const std::string& value) {
    GS::UniString unicode(value.c_str());
    std::size_t length = std::min<std::size_t>(size - 1, unicode.GetLength());
    std::memcpy(units, unicode.ToUStr(), length * sizeof(unsigned short));
    units[length] = 0;
}

// Every text the host hands back ends inside its field.
bool terminated(const unsigned short* units, std::size_t size) {
    return std::find(units, units + size, 0) != units + size;
}

void fill(API_DatabaseInfo& info, const sim::DatabaseRecord& record) {
    info.masterLayoutUnId = record.master;
    toUnits(info.name, 256, record.name);
    toUnits(info.ref, 256, record.reference);
    toUnits(info.title, 256, record.title);
}

GSErrCode needProject() {
    return sim::isProjectOpen() ? NoError : APIERR_NOPLAN;
}

// A request's argument, then an open project.
GSErrCode needProject(const void* argument) {
    return argument == nullptr ? APIERR_BADPARS : needProject();
}

// The type the named database opens as: the floor plan and the 3D model keep the asked type,
// others their own; APIERR_BADID when there is no such database.
GSErrCode openedType(API_WindowTypeID type, const GS::Guid& id, API_WindowTypeID& opened) {
    const sim::DatabaseRecord* record = find(type, id);
    if (record == nullptr) {
        return APIERR_BADID;
    }
    opened = isPlanOrModel(type) ? type : record->type;
    return NoError;
}

GSErrCode getCurrent(void* par1, void*, void*) {
    auto* info = static_cast<API_DatabaseInfo*>(par1);
    if (GSErrCode err = needProject(info); err != NoError) {
        return err;
    }
    *info = API_DatabaseInfo();
    info->typeID = state().type;
    info->databaseUnId = state().id;
    return NoError;
}

GSErrCode changeCurrent(void* par1, void*, void*) {
    auto* info = static_cast<const API_DatabaseInfo*>(par1);
    if (GSErrCode err = needProject(info); err != NoError) {
        return err;
    }
    API_WindowTypeID type;
    if (GSErrCode err = openedType(info->typeID, info->databaseUnId, type); err != NoError) {
        return err;
    }
    sim::setCurrentDatabase(type, info->databaseUnId);
    return NoError;
}

GSErrCode getWindow(void* par1, void*, void*) {
    auto* info = static_cast<API_WindowInfo*>(par1);
    if (GSErrCode err = needProject(info); err != NoError) {
        return err;
    }
    info->typeID = state().frontType;
    info->databaseUnId = state().frontID;
    return NoError;
}

GSErrCode changeWindow(void* par1, void*, void*) {
    auto* info = static_cast<const API_WindowInfo*>(par1);
    if (GSErrCode err = needProject(info); err != NoError) {
        return err;
    }
    API_WindowTypeID type;
    if (GSErrCode err = openedType(info->typeID, info->databaseUnId, type); err != NoError) {
        return err;
    }
    sim::setFrontWindow(type, info->databaseUnId);
    sim::setCurrentDatabase(type, info->databaseUnId);
    return NoError;
}

template <API_WindowTypeID type>
GSErrCode listOf(void* par1, void*, void*) {
    auto* handle = static_cast<API_Guid***>(par1);
    if (handle == nullptr) {
        return APIERR_BADPARS;
    }
    *handle = nullptr;
    if (GSErrCode err = needProject(); err != NoError) {
        return err;
    }
    std::vector<GS::Guid> ids;
    for (const auto& key : state().order) {
        const sim::DatabaseRecord& record = state().databases.at(key);
        if (record.type == type) {
            ids.push_back(record.id);
        }
    }
    if (ids.empty()) {
        return NoError;
    }
    GSHandle block = BMAllocateHandle(GSSize(ids.size() * sizeof(API_Guid)), 0, 0);
    if (block == nullptr) {
        return APIERR_MEMFULL;
    }
    std::memcpy(*block, ids.data(), ids.size() * sizeof(API_Guid));
    *handle = reinterpret_cast<API_Guid**>(block);
    return NoError;
}

GSErrCode newDatabase(void* par1, void*, void*) {
    auto* info = static_cast<API_DatabaseInfo*>(par1);
    if (info == nullptr || (info->typeID != APIWind_LayoutID && info->typeID != APIWind_WorksheetID) ||
        !terminated(info->name, 256) || !terminated(info->ref, 256)) {
        return APIERR_BADPARS;
    }
    if (GSErrCode err = needProject(); err != NoError) {
        return err;
    }
    if (info->typeID == APIWind_LayoutID && !info->masterLayoutUnId.IsNull() &&
        find(APIWind_MasterLayoutID, info->masterLayoutUnId) == nullptr) {
        return APIERR_BADID;
    }
    sim::DatabaseRecord record;
    record.type = info->typeID;
    record.name = fromUnits(info->name, 256);
    record.reference = fromUnits(info->ref, 256);
    record.master = info->masterLayoutUnId;
    info->databaseUnId = sim::addDatabase(record);
    return NoError;
}

GSErrCode deleteDatabase(void* par1, void*, void*) {
    auto* info = static_cast<const API_DatabaseInfo*>(par1);
    if (GSErrCode err = needProject(info); err != NoError) {
        return err;
    }
    if (isPlanOrModel(info->typeID) || find(info->typeID, info->databaseUnId) == nullptr) {
        return APIERR_BADID;
    }
    auto key = std::make_pair(keyType(info->typeID), text(info->databaseUnId));
    state().databases.erase(key);
    state().order.erase(std::find(state().order.begin(), state().order.end(), key));
    if (state().id == info->databaseUnId) {
        sim::setCurrentDatabase(APIWind_FloorPlanID);
    }
    return NoError;
}

GSErrCode databaseInfo(void* par1, void*, void*) {
    auto* info = static_cast<API_DatabaseInfo*>(par1);
    if (GSErrCode err = needProject(info); err != NoError) {
        return err;
    }
    const sim::DatabaseRecord* record = find(info->typeID, info->databaseUnId);
    if (record == nullptr) {
        return APIERR_BADID;
    }
    fill(*info, *record);
    return NoError;
}

GSErrCode modifyDatabase(void* par1, void*, void*) {
    auto* info = static_cast<const API_DatabaseInfo*>(par1);
    if (info == nullptr || !terminated(info->name, 256) || !terminated(info->ref, 256)) {
        return APIERR_BADPARS;
    }
    if (GSErrCode err = needProject(); err != NoError) {
        return err;
    }
    sim::DatabaseRecord* record = find(info->typeID, info->databaseUnId);
    if (record == nullptr || isPlanOrModel(info->typeID)) {
        return APIERR_BADID;
    }
    if (record->type == APIWind_LayoutID && !info->masterLayoutUnId.IsNull() &&
        find(APIWind_MasterLayoutID, info->masterLayoutUnId) == nullptr) {
        return APIERR_BADID;
    }
    record->name = fromUnits(info->name, 256);
    record->reference = fromUnits(info->ref, 256);
    if (record->type == APIWind_LayoutID) {
        record->master = info->masterLayoutUnId;
    }
    return NoError;
}

GSErrCode box(void* par1, bool extent) {
    auto* result = static_cast<API_Box*>(par1);
    if (GSErrCode err = needProject(result); err != NoError) {
        return err;
    }
    *result = extent ? current()->extent : current()->zoom;
    return NoError;
}

GSErrCode getZoom(void* par1, void*, void*) {
    return box(par1, false);
}

GSErrCode getExtent(void* par1, void*, void*) {
    return box(par1, true);
}

GSErrCode getScale(void* par1, void*, void*) {
    if (GSErrCode err = needProject(par1); err != NoError) {
        return err;
    }
    *static_cast<double*>(par1) = current()->scale;
    return NoError;
}

GSErrCode changeScale(void* par1, void*, void*) {
    auto* scale = static_cast<const double*>(par1);
    if (scale == nullptr || !(*scale > 0.0)) {
        return APIERR_BADPARS;
    }
    if (GSErrCode err = needProject(); err != NoError) {
        return err;
    }
    current()->scale = *scale;
    return NoError;
}

GSErrCode pixelToCoord(void* par1, void* par2, void*) {
    auto* pixel = static_cast<const Int32*>(par1);
    auto* coord = static_cast<API_Coord*>(par2);
    if (pixel == nullptr || coord == nullptr) {
        return APIERR_BADPARS;
    }
    if (GSErrCode err = needProject(); err != NoError) {
        return err;
    }
    const sim::DatabaseRecord& record = *current();
    coord->x = record.zoom.xMin + (*pixel & 0xFFFF) * record.pixelSize;
    coord->y = record.zoom.yMax - ((*pixel >> 16) & 0xFFFF) * record.pixelSize;
    return NoError;
}

GSErrCode redraw(void*, void*, void*) {
    if (GSErrCode err = needProject(); err != NoError) {
        return err;
    }
    ++state().redraws;
    return NoError;
}

GSErrCode rebuild(void*, void*, void*) {
    if (GSErrCode err = needProject(); err != NoError) {
        return err;
    }
    ++state().rebuilds;
    return NoError;
}

GSErrCode zoom(void* par1, void*, void*) {
    if (GSErrCode err = needProject(); err != NoError) {
        return err;
    }
    auto* to = static_cast<const API_Box*>(par1);
    if (to != nullptr && (to->xMin > to->xMax || to->yMin > to->yMax)) {
        return APIERR_BADPARS;
    }
    current()->zoom = to != nullptr ? *to : current()->extent;
    return NoError;
}

GSErrCode zoomToSelected(void*, void*, void*) {
    return needProject();
}

GSErrCode getLayout(void* par1, void* par2, void*) {
    auto* info = static_cast<API_LayoutInfo*>(par1);
    auto* id = static_cast<const API_Guid*>(par2);
    if (info == nullptr || id == nullptr) {
        return APIERR_BADPARS;
    }
    if (GSErrCode err = needProject(); err != NoError) {
        return err;
    }
    const sim::DatabaseRecord* record = find(APIWind_LayoutID, *id);
    if (record == nullptr) {
        return APIERR_BADID;
    }
    *info = record->layout;
    info->customData = new API_LayoutCustomData;
    return NoError;
}

GSErrCode changeLayout(void* par1, void* par2, void*) {
    auto* info = static_cast<const API_LayoutInfo*>(par1);
    auto* id = static_cast<const API_Guid*>(par2);
    if (info == nullptr || id == nullptr ||
        std::find(info->customLayoutNumber, info->customLayoutNumber + 256, 0) ==
            info->customLayoutNumber + 256 ||
        !terminated(info->currentRevisionId, 256) || !terminated(info->currentFinalRevisionId, 256)) {
        return APIERR_BADPARS;
    }
    if (GSErrCode err = needProject(); err != NoError) {
        return err;
    }
    sim::DatabaseRecord* record = find(APIWind_LayoutID, *id);
    if (record == nullptr) {
        return APIERR_BADID;
    }
    record->layout = *info;
    record->layout.customData = nullptr;
    return NoError;
}

const bool registered =
    sim::registerReset([] { state() = State(); }) && sim::registerProjectClear([] { state() = State(); }) &&
    sim::registerDatabaseRequest(APIDb_GetCurrentDatabaseID, getCurrent) &&
    sim::registerDatabaseRequest(APIDb_ChangeCurrentDatabaseID, changeCurrent) &&
    sim::registerDatabaseRequest(APIDb_GetCurrentWindowID, getWindow) &&
    sim::registerAutomateRequest(APIDo_ChangeWindowID, changeWindow) &&
    sim::registerDatabaseRequest(APIDb_GetSectionDatabasesID, listOf<APIWind_SectionID>) &&
    sim::registerDatabaseRequest(APIDb_GetDetailDatabasesID, listOf<APIWind_DetailID>) &&
    sim::registerDatabaseRequest(APIDb_GetElevationDatabasesID, listOf<APIWind_ElevationID>) &&
    sim::registerDatabaseRequest(APIDb_GetInteriorElevationDatabasesID,
                                 listOf<APIWind_InteriorElevationID>) &&
    sim::registerDatabaseRequest(APIDb_GetLayoutDatabasesID, listOf<APIWind_LayoutID>) &&
    sim::registerDatabaseRequest(APIDb_GetMasterLayoutDatabasesID, listOf<APIWind_MasterLayoutID>) &&
    sim::registerDatabaseRequest(APIDb_GetWorksheetDatabasesID, listOf<APIWind_WorksheetID>) &&
    sim::registerDatabaseRequest(APIDb_GetDocumentFrom3DDatabasesID, listOf<APIWind_DocumentFrom3DID>) &&
    sim::registerDatabaseRequest(APIDb_NewDatabaseID, newDatabase) &&
    sim::registerDatabaseRequest(APIDb_DeleteDatabaseID, deleteDatabase) &&
    sim::registerDatabaseRequest(APIDb_GetDatabaseInfoID, databaseInfo) &&
    sim::registerDatabaseRequest(APIDb_ModifyDatabaseID, modifyDatabase) &&
    sim::registerDatabaseRequest(APIDb_GetZoomID, getZoom) &&
    sim::registerDatabaseRequest(APIDb_GetExtentID, getExtent) &&
    sim::registerDatabaseRequest(APIDb_GetDrawingScaleID, getScale) &&
    sim::registerDatabaseRequest(APIDb_ChangeDrawingScaleID, changeScale) &&
    sim::registerDatabaseRequest(APIDb_PixelToCoordID, pixelToCoord) &&
    sim::registerDatabaseRequest(APIDb_RedrawCurrentDatabaseID, redraw) &&
    sim::registerDatabaseRequest(APIDb_RebuildCurrentDatabaseID, rebuild) &&
    sim::registerAutomateRequest(APIDo_ZoomID, zoom) &&
    sim::registerAutomateRequest(APIDo_ZoomToSelectedID, zoomToSelected) &&
    sim::registerAutomateRequest(APIDo_RebuildID, rebuild) &&
    sim::registerEnvironmentRequest(APIEnv_GetLayoutSetsID, getLayout) &&
    sim::registerEnvironmentRequest(APIEnv_ChangeLayoutSetsID, changeLayout);

} // namespace

namespace sim {

GS::Guid addDatabase(const DatabaseRecord& record) {
    DatabaseRecord added = record;
    if (added.id.IsNull()) {
        added.id.Generate();
    }
    auto key = std::make_pair(keyType(added.type), text(added.id));
    if (state().databases.count(key) == 0) {
        state().order.push_back(key);
    }
    state().databases[key] = added;
    return added.id;
}

bool hasDatabase(API_WindowTypeID type, const GS::Guid& id) {
    return find(type, id) != nullptr;
}

DatabaseRecord database(API_WindowTypeID type, const GS::Guid& id) {
    const DatabaseRecord* record = find(type, id);
    if (record == nullptr) {
        throw std::out_of_range("no such database");
    }
    return *record;
}

void changeDatabase(const DatabaseRecord& record) {
    if (DatabaseRecord* found = find(record.type, record.id)) {
        *found = record;
    } else {
        throw std::out_of_range("no such database");
    }
}

std::vector<DatabaseRecord> databases() {
    std::vector<DatabaseRecord> records;
    for (const auto& key : state().order) {
        records.push_back(state().databases.at(key));
    }
    return records;
}

void setCurrentDatabase(API_WindowTypeID type, const GS::Guid& id) {
    state().type = type;
    state().id = isPlanOrModel(type) ? GS::Guid() : id;
}

API_WindowTypeID currentWindowType() {
    return state().type;
}

GS::Guid currentDatabase() {
    return state().id;
}

void setFrontWindow(API_WindowTypeID type, const GS::Guid& id) {
    state().frontType = type;
    state().frontID = isPlanOrModel(type) ? GS::Guid() : id;
}

int redrawCount() {
    return state().redraws;
}

int rebuildCount() {
    return state().rebuilds;
}

void setCurrentStorey(short index) {
    state().storey = index;
}

short currentStorey() {
    return state().storey;
}

} // namespace sim
