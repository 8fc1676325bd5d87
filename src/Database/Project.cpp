#include "Database/Project.h"
#include "IFC/IFCData.h"

#include "ACAPI/DatabaseInfo.hpp"
#include "ACAPI/ElementMemo.hpp"
#include "ACAPI/ElementTable.hpp"
#include "ACAPI/Preferences.hpp"
#include "ACAPI/ProjectInfo.hpp"
#include "ACAPI/ProjectNotes.hpp"
#include "ACAPI/Teamwork.hpp"
#include "Attribute/City.h"
#include "Attribute/Layer.h"
#include "Attribute/LayerCombination.h"
#include "Attribute/LayerMap.h"
#include "Database/AttributeLink.h"
#include "Database/ElementLinkList.h"
#include "Database/Model.h"
#include "Database/Plan.h"
#include "Database/Specification.h"
#include "Environment/DataFile.h"
#include "Environment/Host.h"
#include "Environment/Memory.h"
#include "Environment/MemoryBlock.h"
#include "Environment/StringUtilities.h"
#include "GSRoot/UniString.hpp"
#include "IO/Location.hpp"
#include "Interface/CustomAlert.h"
#include "Library/Library.h"

#include <cstring>
#include <memory>
#include <unordered_set>

namespace zelvane {
namespace {

constexpr double quarterTurn = 1.5707963267948966;

// Reads the database IDs of a list request, making a database of each.
template <typename Make>
void readDatabaseIDs(GSType code, Make make) {
    API_Guid** handle = nullptr;
    if (ACAPI_Database(code, &handle) != NoError || handle == nullptr) {
        return;
    }
    char** block = reinterpret_cast<char**>(handle);
    // Frees the host's handle whatever happens while the databases are made.
    std::unique_ptr<char**, void (*)(char***)> guard(&block, [](char*** h) { disposeHandle(h); });
    std::size_t count = std::size_t(getHandleSize(block)) / sizeof(API_Guid);
    for (std::size_t i = 0; i < count; ++i) {
        API_Guid id;
        std::memcpy(static_cast<void*>(&id), *block + i * sizeof(API_Guid), sizeof id);
        make(DatabaseGuid(id));
    }
}

std::vector<API_Guid> uniqueGuids(const ElementLinkList& list) {
    std::vector<API_Guid> guids;
    std::unordered_set<std::string> seen;
    for (const ElementLink* link : list) {
        if (link == nullptr || !link->getUniqueID()) {
            continue;
        }
        if (seen.insert(link->getUniqueID().toString().data()).second) {
            guids.push_back(GS::Guid(link->getUniqueID()));
        }
    }
    return guids;
}

} // namespace

Project::Preferences::Preferences() : m_record(new Int32[18]()) {}

Project::Preferences::Preferences(const Preferences& other) : m_record(new Int32[18]) {
    std::memcpy(m_record, other.m_record, 18 * sizeof(Int32));
}

Project::Preferences& Project::Preferences::operator=(const Preferences& other) {
    std::memcpy(m_record, other.m_record, 18 * sizeof(Int32));
    return *this;
}

Project::Preferences::~Preferences() {
    delete[] m_record;
}

bool Project::Preferences::read() {
    API_LegacyPrefs prefs{};
    GSErrCode err = ACAPI_Environment(APIEnv_GetPreferencesID, &prefs,
                                      reinterpret_cast<void*>(std::intptr_t(APIPrefs_LegacyID)));
    std::memcpy(m_record, err == NoError ? prefs.words : API_LegacyPrefs{}.words, 18 * sizeof(Int32));
    return err == NoError;
}

Project::Project()
    : m_library(new Library(this, 0)), m_model(new Model(this)), m_plan(new Plan(this)),
      m_preferences(new PackageStore("frameworkPreferenceStore")),
      m_specification(new Specification(this, 0)) {}

Project::~Project() {
    resetDatabases();
    delete m_library;
    delete m_model;
    delete m_plan;
    delete m_specification;
    delete m_preferences;
}

void Project::resetDatabases() {
    m_library->reset();
    m_model->reset();
    m_plan->reset();
    m_specification->reset();
    // Interned IFC texts and keys belong to one entry's reads.
    IFCData::reset();
    m_activeDrawing = nullptr;
    m_activeWindow = nullptr;
    delete m_users;
    m_users = nullptr;
    delete m_details;
    m_details = nullptr;
    delete m_documents3D;
    m_documents3D = nullptr;
    delete m_elevations;
    m_elevations = nullptr;
    delete m_interiorElevations;
    m_interiorElevations = nullptr;
    delete m_layouts;
    m_layouts = nullptr;
    delete m_navigator;
    m_navigator = nullptr;
    delete m_sections;
    m_sections = nullptr;
    delete m_worksheets;
    m_worksheets = nullptr;
    delete m_hostPreferences;
    m_hostPreferences = nullptr;
}

template <typename T>
DatabaseList<T>* Project::loadList(DatabaseList<T>*& list, GSType code) {
    if (list == nullptr) {
        // A failed read leaves an empty list for the rest of the entry.
        auto made = std::make_unique<DatabaseList<T>>();
        readDatabaseIDs(code, [&](const DatabaseGuid& id) { made->put(id, new T(this, id)); });
        list = made.release();
    }
    return list;
}

LayoutList* Project::loadLayouts() {
    if (m_layouts == nullptr) {
        // Layouts and master layouts share the list; a failure of one read does not stop the other.
        auto made = std::make_unique<LayoutList>();
        readDatabaseIDs(APIDb_GetLayoutDatabasesID,
                        [&](const DatabaseGuid& id) { made->put(id, new Layout(this, id, false)); });
        readDatabaseIDs(APIDb_GetMasterLayoutDatabasesID,
                        [&](const DatabaseGuid& id) { made->put(id, new Layout(this, id, true)); });
        m_layouts = made.release();
    }
    return m_layouts;
}

std::size_t Project::getDetailCount() {
    return loadList(m_details, APIDb_GetDetailDatabasesID)->size();
}
std::size_t Project::getDocument3DCount() {
    return loadList(m_documents3D, APIDb_GetDocumentFrom3DDatabasesID)->size();
}
std::size_t Project::getElevationCount() {
    return loadList(m_elevations, APIDb_GetElevationDatabasesID)->size();
}
std::size_t Project::getInteriorElevationCount() {
    return loadList(m_interiorElevations, APIDb_GetInteriorElevationDatabasesID)->size();
}
std::size_t Project::getLayoutCount() {
    return loadLayouts()->size();
}
std::size_t Project::getSectionCount() {
    return loadList(m_sections, APIDb_GetSectionDatabasesID)->size();
}
std::size_t Project::getWorksheetCount() {
    return loadList(m_worksheets, APIDb_GetWorksheetDatabasesID)->size();
}

Detail* Project::getDetail(int position) {
    return loadList(m_details, APIDb_GetDetailDatabasesID)->at(position);
}
Document3D* Project::getDocument3D(int position) {
    return loadList(m_documents3D, APIDb_GetDocumentFrom3DDatabasesID)->at(position);
}
Elevation* Project::getElevation(int position) {
    return loadList(m_elevations, APIDb_GetElevationDatabasesID)->at(position);
}
InteriorElevation* Project::getInteriorElevation(int position) {
    return loadList(m_interiorElevations, APIDb_GetInteriorElevationDatabasesID)->at(position);
}
Layout* Project::getLayout(int position) {
    return loadLayouts()->at(position);
}
Section* Project::getSection(int position) {
    return loadList(m_sections, APIDb_GetSectionDatabasesID)->at(position);
}
Worksheet* Project::getWorksheet(int position) {
    return loadList(m_worksheets, APIDb_GetWorksheetDatabasesID)->at(position);
}

Detail* Project::getDetail(const DatabaseGuid& id) {
    return loadList(m_details, APIDb_GetDetailDatabasesID)->find(id);
}
Document3D* Project::getDocument3D(const DatabaseGuid& id) {
    return loadList(m_documents3D, APIDb_GetDocumentFrom3DDatabasesID)->find(id);
}
Elevation* Project::getElevation(const DatabaseGuid& id) {
    return loadList(m_elevations, APIDb_GetElevationDatabasesID)->find(id);
}
InteriorElevation* Project::getInteriorElevation(const DatabaseGuid& id) {
    return loadList(m_interiorElevations, APIDb_GetInteriorElevationDatabasesID)->find(id);
}
Layout* Project::getLayout(const DatabaseGuid& id) {
    return loadLayouts()->find(id);
}
Section* Project::getSection(const DatabaseGuid& id) {
    return loadList(m_sections, APIDb_GetSectionDatabasesID)->find(id);
}
Worksheet* Project::getWorksheet(const DatabaseGuid& id) {
    return loadList(m_worksheets, APIDb_GetWorksheetDatabasesID)->find(id);
}

Layout* Project::createLayout(const String& name, const DrawingLink& master, const String& customNumber) {
    // Refused after a transaction of this entry only: a host database run alone does not refuse.
    if (host.isTransactionStarted()) {
        return nullptr;
    }
    API_DatabaseInfo info;
    info.typeID = APIWind_LayoutID;
    info.masterLayoutUnId = GS::Guid(master.getID());
    name.copyTo(info.name, sizeof info.name);
    if (ACAPI_Database(APIDb_NewDatabaseID, &info) != NoError) {
        return nullptr;
    }
    DatabaseGuid id(info.databaseUnId);
    auto layout = std::make_unique<Layout>(this, id, false);
    if (!customNumber.empty()) {
        layout->setCustomNumber(customNumber, true);
    }
    LayoutList* list = loadLayouts();
    if (list->find(id) != nullptr) {
        return list->find(id); // read with the list just now
    }
    Layout* made = layout.release();
    list->put(id, made);
    return made;
}

bool Project::deleteLayout(const DatabaseGuid& id) {
    Layout* layout = getLayout(id);
    if (layout == nullptr) {
        return false;
    }
    API_DatabaseInfo info;
    info.typeID = layout->getType();
    info.databaseUnId = GS::Guid(id);
    return ACAPI_Database(APIDb_DeleteDatabaseID, &info) == NoError;
}

void Project::rebuildLayouts() {
    // The active caches may point into the list.
    if (m_layouts != nullptr) {
        for (const auto& entry : *m_layouts) {
            if (m_activeDrawing == entry.second) {
                m_activeDrawing = nullptr;
            }
            if (m_activeWindow == entry.second) {
                m_activeWindow = nullptr;
            }
        }
    }
    delete m_layouts;
    m_layouts = nullptr;
}

Worksheet* Project::createWorksheet(const String& name, const String& reference) {
    if (host.isTransactionStarted()) {
        return nullptr;
    }
    API_DatabaseInfo info;
    info.typeID = APIWind_WorksheetID;
    name.copyTo(info.name, sizeof info.name);
    reference.copyTo(info.ref, sizeof info.ref);
    if (ACAPI_Database(APIDb_NewDatabaseID, &info) != NoError) {
        return nullptr;
    }
    DatabaseGuid id(info.databaseUnId);
    WorksheetList* list = loadList(m_worksheets, APIDb_GetWorksheetDatabasesID);
    if (Worksheet* old = list->find(id)) {
        // Replaced below: the active caches must not keep it.
        if (m_activeDrawing == old) {
            m_activeDrawing = nullptr;
        }
        if (m_activeWindow == old) {
            m_activeWindow = nullptr;
        }
    }
    auto* made = new Worksheet(this, id);
    list->put(id, made);
    return made;
}

Drawing* Project::drawingOf(API_WindowTypeID type, const DatabaseGuid& id) {
    switch (type) {
    case APIWind_FloorPlanID:
        return m_plan;
    case APIWind_SectionID:
        return getSection(id);
    case APIWind_DetailID:
        return getDetail(id);
    case APIWind_3DModelID:
        return m_model;
    case APIWind_LayoutID:
    case APIWind_MasterLayoutID:
        return getLayout(id);
    case APIWind_ElevationID:
        return getElevation(id);
    case APIWind_InteriorElevationID:
        return getInteriorElevation(id);
    case APIWind_WorksheetID:
        return getWorksheet(id);
    case APIWind_DocumentFrom3DID:
        return getDocument3D(id);
    default:
        return nullptr;
    }
}

Drawing* Project::getActiveDrawing() {
    if (m_activeDrawing == nullptr) {
        API_DatabaseInfo info;
        if (ACAPI_Database(APIDb_GetCurrentDatabaseID, &info) == NoError && info.typeID >= 1 &&
            info.typeID <= 13) {
            if (Drawing* drawing = drawingOf(info.typeID, DatabaseGuid(info.databaseUnId))) {
                m_activeDrawing = drawing;
            }
        }
    }
    return m_activeDrawing;
}

Drawing* Project::getActiveWindow() {
    if (m_activeWindow == nullptr) {
        API_WindowInfo info;
        if (ACAPI_Database(APIDb_GetCurrentWindowID, &info) == NoError && info.typeID >= 1 &&
            info.typeID <= 13) {
            if (Drawing* drawing = drawingOf(info.typeID, DatabaseGuid(info.databaseUnId))) {
                m_activeWindow = drawing;
            }
        }
    }
    return m_activeWindow;
}

bool Project::setActiveDrawing(const Drawing* drawing) {
    if (drawing == nullptr) {
        return false;
    }
    if (drawing == m_activeDrawing) {
        return true;
    }
    resetActiveDrawing();
    API_DatabaseInfo info;
    info.typeID = drawing->getType();
    info.databaseUnId = GS::Guid(drawing->getID());
    if (ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &info) != NoError) {
        return false;
    }
    m_activeDrawing = const_cast<Drawing*>(drawing);
    return true;
}

bool Project::setActiveWindow(const Drawing* drawing) {
    if (drawing == nullptr) {
        return false;
    }
    if (drawing == m_activeWindow) {
        return true;
    }
    resetActiveDrawing();
    API_WindowInfo info;
    info.typeID = drawing->getType();
    info.databaseUnId = GS::Guid(drawing->getID());
    if (ACAPI_Automate(APIDo_ChangeWindowID, &info) != NoError) {
        return false;
    }
    m_activeWindow = const_cast<Drawing*>(drawing);
    return true;
}

void Project::resetActiveDrawing() {
    m_activeDrawing = nullptr;
    m_activeWindow = nullptr;
}

Drawing* Project::operator[](const DrawingLink& link) {
    return drawingOf(link.getType(), link.getID());
}

Navigator* Project::getNavigator() {
    if (m_navigator == nullptr) {
        m_navigator = new Navigator;
    }
    return m_navigator;
}

Package* Project::getPreference(unsigned int code) const {
    return m_preferences->getPackage(code, false);
}

void Project::setPreference(const Package& package, bool publish) {
    m_preferences->setPackage(package, publish);
}

void Project::setPreference(Package* package, bool publish) {
    m_preferences->setPackage(package, publish);
}

void Project::initialisePreferences() {
    m_preferences->clearPackages(true);
}

bool Project::isShared() const {
    return ACAPI_TeamworkControl_HasConnection();
}

bool Project::isServerOnline() const {
    return ACAPI_TeamworkControl_IsOnline();
}

std::size_t Project::getTeamSize() {
    if (m_users != nullptr) {
        return m_users->size();
    }
    std::unique_ptr<UserList> users;
    API_SharingInfo info;
    if (isShared() && ACAPI_Environment(APIEnv_ProjectSharingID, &info) == NoError) {
        // Frees the host's handle whatever happens while the list is made.
        std::unique_ptr<API_UserInfo*, void (*)(API_UserInfo**)> handle(info.users, [](API_UserInfo** h) {
            if (h != nullptr) {
                char** block = reinterpret_cast<char**>(h);
                disposeHandle(&block);
            }
        });
        // The count is trusted only as far as the handle holds records.
        Int32 count = info.nUsers;
        if (handle != nullptr && count > 0 &&
            std::size_t(getHandleSize(reinterpret_cast<char**>(handle.get()))) >=
                std::size_t(count) * sizeof(API_UserInfo)) {
            users.reset(new UserList(std::size_t(count)));
            for (Int32 i = 0; i < count; ++i) {
                const API_UserInfo& record = (*handle)[i];
                users->push_back(new User(record));
            }
        }
    }
    if (users == nullptr) {
        users.reset(new UserList);
    }
    m_users = users.release();
    return m_users->size();
}

const User* Project::getTeamMember(std::size_t index) {
    return index < getTeamSize() ? (*m_users)[index] : nullptr;
}

bool Project::reserveElements(const ElementLinkList& list) {
    std::vector<API_Guid> guids = uniqueGuids(list);
    if (guids.empty()) {
        return true;
    }
    std::vector<API_ReservationConflict> conflicts;
    return ACAPI_TeamworkControl_ReserveElements(guids, &conflicts) == NoError && conflicts.empty();
}

bool Project::releaseElements(const ElementLinkList& list) {
    std::vector<API_Guid> guids = uniqueGuids(list);
    if (guids.empty()) {
        return true;
    }
    return ACAPI_TeamworkControl_ReleaseElements(guids) == NoError;
}

API_Guid Project::lockableSetOf(const attribute_id& kind) const {
    if (kind != Layer::ID) {
        return API_Guid();
    }
    return ACAPI_TeamworkControl_FindLockableObjectSet(GS::UniString("LayerSettingsDialog"));
}

bool Project::reserveAttribute(const attribute_id& kind) {
    API_Guid set = lockableSetOf(kind);
    if (set.IsNull() || !ACAPI_TeamworkControl_HasCreateRight(set) ||
        !ACAPI_TeamworkControl_HasDeleteModifyRight(set) ||
        ACAPI_TeamworkControl_GetLockableStatus(set) != 1) {
        return false;
    }
    return ACAPI_TeamworkControl_ReserveLockable(set) == NoError;
}

bool Project::releaseAttribute(const attribute_id& kind) {
    API_Guid set = lockableSetOf(kind);
    if (set.IsNull() || !ACAPI_TeamworkControl_HasCreateRight(set) ||
        !ACAPI_TeamworkControl_HasDeleteModifyRight(set) ||
        ACAPI_TeamworkControl_GetLockableStatus(set) != 2) {
        return false;
    }
    return ACAPI_TeamworkControl_ReleaseLockable(set) == NoError;
}

LayerCombination* Project::getActiveLayerCombo() {
    short index = 0;
    if (ACAPI_Environment(APIEnv_GetCurrLayerCombID, &index) != NoError) {
        return nullptr;
    }
    return new LayerCombination(AttributeLink(attribute_index(index), LayerCombination::ID, m_specification));
}

LayerMap* Project::getActiveLayerMap() {
    std::unique_ptr<LayerCombination> combination(getActiveLayerCombo());
    if (combination != nullptr) {
        if (const LayerMap* map = combination->getLayerMap()) {
            return map->clone();
        }
    }
    return new LayerMap(true);
}

bool Project::confirmToolStatus(const ElementLink& tool, bool silent) {
    for (;;) {
        API_Element element;
        tool.completeHeader(element.header, false);
        element.header.variationID = tool.getVariation();
        API_ElementMemo memo;
        GSErrCode err = ACAPI_Element_GetDefaults(&element, &memo);
        ACAPI_DisposeElemMemoHdls(&memo);
        if (err != NoError) {
            return false;
        }
        Layer layer(AttributeLink(attribute_index(element.header.layer), Layer::ID, m_specification));
        bool exists = layer.exists();
        if (exists && !layer.isLocked() && !layer.isHidden() && !layer.isReserved()) {
            return true;
        }
        if (silent) {
            return false;
        }
        short message = 14, third = 0;
        if (!exists) {
            message = 14;
        } else if (layer.isReserved()) {
            message = 13;
        } else if (layer.isLocked()) {
            message = 12;
            third = 16;
        } else {
            message = 11;
            third = 15;
        }
        String text = host.getLocalString(32700, message);
        replaceAll(text, "$1", exists ? layer.getName() : String());
        CustomAlert alert(host.getLocalString(32700, 17), host.getLocalString(32700, 18),
                          host.getLocalString(32700, 6),
                          third != 0 ? host.getLocalString(32700, third) : String());
        switch (alert.show(text, String())) {
        case 1:
            if (!host.showToolSettings(tool)) {
                return false;
            }
            break; // ask again with the new settings
        case 3:
            // The answer is whether the layer could be put back usable.
            layer.setLocked(false);
            layer.setHidden(false);
            return m_specification->put(layer);
        default:
            // Cancelled, or the alert could not be shown: never ask again in a loop.
            return false;
        }
    }
}

MemoryBlock* Project::getToolUserData(const ElementLink& tool, unsigned int* flags, int* version,
                                      Platform::Host* platform) {
    API_Elem_Head head;
    head.typeID = tool.getType().getType();
    head.variationID = tool.getVariation();
    API_ElementUserData data; // cleared: a refused call leaves nothing behind
    GSErrCode err = ACAPI_Element_GetUserData(&head, &data);
    std::unique_ptr<MemoryBlock> block;
    if ((err == NoError || err == APIERR_NOUSERDATA) && data.dataHdl != nullptr) {
        block.reset(new MemoryBlock(data.dataHdl));
    }
    if (flags != nullptr) {
        *flags = data.flags;
    }
    if (version != nullptr) {
        *version = data.dataVersion;
    }
    if (platform != nullptr) {
        *platform = data.platformSign;
    }
    return block.release();
}

bool Project::setToolUserData(const ElementLink& tool, const MemoryBlock* block, int keepEmpty,
                              unsigned int flags, int version, Platform::Host platform) {
    API_Elem_Head head;
    head.typeID = tool.getType().getType();
    head.variationID = tool.getVariation();
    GSErrCode err = Drawing::writeUserData(head, block, keepEmpty, flags, version, platform);
    return err == NoError || err == APIERR_NOUSERDATA;
}

bool Project::isMetric() const {
    API_WorkingUnitPrefs prefs{};
    ACAPI_Environment(APIEnv_GetPreferencesID, &prefs,
                      reinterpret_cast<void*>(std::intptr_t(APIPrefs_WorkingUnitsID)));
    return prefs.lengthUnit < 3;
}

double Project::getNorthAngle() const {
    API_PlaceInfo place;
    return ACAPI_Environment(APIEnv_GetPlaceSetsID, &place) == NoError ? place.north : quarterTurn;
}

bool Project::setNorthAngle(double angle) {
    API_PlaceInfo place;
    if (ACAPI_Environment(APIEnv_GetPlaceSetsID, &place) != NoError) {
        return false;
    }
    place.north = angle;
    return ACAPI_Environment(APIEnv_ChangePlaceSetsID, &place) == NoError;
}

String Project::noteText(std::size_t field) const {
    auto notes = std::make_unique<API_ProjectNoteInfo>();
    if (ACAPI_Environment(APIEnv_GetProjectNotesID, notes.get()) != NoError) {
        return String();
    }
    const unsigned short* fields[] = {notes->projectName, notes->city, notes->postcode, notes->architect};
    return String(fields[field], sizeof notes->projectName);
}

String Project::getProjectName() const {
    return noteText(0);
}

String Project::getCityName() const {
    return noteText(1);
}

String Project::getPostCode() const {
    return noteText(2);
}

String Project::getArchitectName() const {
    return noteText(3);
}

City* Project::getCity() const {
    Specification* specification = host.getFrontSpec();
    API_PlaceInfo place;
    if (specification == nullptr || ACAPI_Environment(APIEnv_GetPlaceSetsID, &place) != NoError) {
        return nullptr;
    }
    attribute_index found = specification->findCity(place.longitude, place.latitude);
    std::unique_ptr<City> city;
    if (short(found) == 0) {
        city = std::make_unique<City>(getCityName());
        city->setLongitude(place.longitude);
    } else {
        city = std::make_unique<City>(found);
    }
    city->setLatitude(place.latitude);
    city->setTimeZone(Int16(place.timeZoneInMinutes));
    return city.release();
}

DataFile* Project::getFile() const {
    API_ProjectInfo info;
    GSErrCode err = ACAPI_Environment(APIEnv_ProjectID, &info);
    std::unique_ptr<IO::Location> location(info.location);
    if (err != NoError || location == nullptr) {
        return nullptr;
    }
    return new DataFile(*location, DataFile::readWrite, false);
}

Project::Preferences* Project::getHostPreferences() {
    if (m_hostPreferences == nullptr) {
        auto prefs = std::make_unique<Preferences>();
        prefs->read();
        m_hostPreferences = prefs.release();
    }
    return m_hostPreferences;
}

} // namespace zelvane
