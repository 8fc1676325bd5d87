#include "ProjectDescription.h"

#include "HostProgram.h"
#include "MemberReader.h"
#include "ScenarioInput.h"

#include "GSRoot/BM.hpp"
#include "sim/ElementMemos.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <sstream>

namespace hostsim {
namespace {

using nlohmann::json;

const std::map<std::string, API_WindowTypeID> databaseKinds = {
    {"section", APIWind_SectionID},     {"detail", APIWind_DetailID},
    {"layout", APIWind_LayoutID},       {"masterLayout", APIWind_MasterLayoutID},
    {"elevation", APIWind_ElevationID}, {"interiorElevation", APIWind_InteriorElevationID},
    {"worksheet", APIWind_WorksheetID}, {"document3D", APIWind_DocumentFrom3DID},
};

const std::map<std::string, API_SelTypeID> selectionKinds = {
    {"elements", API_SelElems},
    {"polygon", API_MarqueePoly},
    {"rectangle", API_MarqueeHorBox},
    {"rotatedRectangle", API_MarqueeRotBox},
};

} // namespace

ProjectDescription ProjectDescription::read(const json& description, const std::string& source,
                                            const std::filesystem::path& folder) {
    MemberReader top(description, source);
    top.only(vocabulary::description);
    ProjectDescription result;
    result.m_source = source;
    result.m_attributes = ProjectAttributes::read(description, source);
    result.m_library = ProjectLibrary::read(description, source, folder);
    std::set<std::string> databaseNames;
    if (top.has("databases")) {
        const json& list = top.list("databases");
        for (std::size_t i = 0; i < list.size(); ++i) {
            MemberReader entry(list[i], top.item("databases", i));
            entry.only(vocabulary::database);
            std::string kind = entry.text("kind");
            auto found = databaseKinds.find(kind);
            if (found == databaseKinds.end()) {
                entry.fail("kind", "unknown database kind " + escaped(kind));
            }
            sim::DatabaseRecord record;
            record.type = found->second;
            record.name = entry.text("name");
            if (record.name.empty()) {
                entry.fail("name", "every database needs a name");
            }
            if (!databaseNames.insert(record.name).second) {
                entry.fail("name", "the name " + escaped(record.name) + " is used twice");
            }
            record.id = entry.guid("id");
            record.reference = entry.text("reference");
            record.title = entry.text("title");
            record.scale = entry.number("scale", 100.0);
            if (!(record.scale > 0.0)) {
                entry.fail("scale", "must be above 0");
            }
            std::string master = entry.text("master");
            if (!master.empty()) {
                if (record.type != APIWind_LayoutID) {
                    entry.fail("master", "only layouts have a master layout");
                }
                result.m_masters[record.name] = master;
            }
            result.m_databases.push_back(record);
        }
    }
    for (const auto& entry : result.m_masters) {
        const std::string& layout = entry.first;
        const std::string& master = entry.second;
        auto isMaster = [&](const sim::DatabaseRecord& r) {
            return r.name == master && r.type == APIWind_MasterLayoutID;
        };
        if (std::none_of(result.m_databases.begin(), result.m_databases.end(), isMaster)) {
            throw ScenarioError(source + ".databases: the master layout " + escaped(master) + " of " +
                                escaped(layout) + " is not a master layout of the project");
        }
    }
    std::set<short> storeyIndexes;
    if (top.has("storeys")) {
        const json& list = top.list("storeys");
        std::vector<sim::Storey> storeys;
        double below = -1e300;
        for (std::size_t i = 0; i < list.size(); ++i) {
            MemberReader entry(list[i], top.item("storeys", i));
            entry.only(vocabulary::storey);
            sim::Storey storey;
            storey.index = short(entry.integer("index", -32768, 32767, Int64(i)));
            storey.floorId = Int32(entry.integer("floorId", 0, 0x7FFFFFFF, storey.index + 1));
            storey.level = entry.number("level", 3.0 * double(i));
            storey.name = entry.text("name");
            if (storey.level <= below) {
                entry.fail("level", "storeys go from the lowest up");
            }
            if (!storeyIndexes.insert(storey.index).second) {
                entry.fail("index", "the index is used twice");
            }
            below = storey.level;
            storeys.push_back(storey);
        }
        if (storeys.empty()) {
            top.fail("storeys", "a project has at least one storey");
        }
        result.m_top = top.number("top", storeys.back().level + 3.0);
        if (result.m_top <= storeys.back().level) {
            top.fail("top", "must be above the highest storey's level");
        }
        result.m_storeys = storeys;
    } else {
        storeyIndexes.insert(0);
    }
    result.m_currentStorey = short(top.integer("currentStorey", -32768, 32767, *storeyIndexes.begin()));
    if (storeyIndexes.count(result.m_currentStorey) == 0) {
        top.fail("currentStorey", "no storey has that index");
    }

    std::map<std::string, std::size_t> elementNames;
    if (top.has("elements")) {
        const json& list = top.list("elements");
        result.m_elements.reserve(list.size());
        result.m_names.reserve(list.size());
        for (std::size_t i = 0; i < list.size(); ++i) {
            MemberReader entry(list[i], top.item("elements", i));
            entry.only(vocabulary::element, vocabulary::elementKinds);
            auto made = std::make_unique<Element>();
            Element& element = *made;
            API_Elem_Head& head = element.record.header;
            head.typeID = API_ElemTypeID(entry.integer("type", 1, 255, 0));
            if (!entry.has("type")) {
                entry.fail("type", "is missing");
            }
            head.variationID = entry.code("variation");
            head.guid = entry.guid("guid");
            head.layer = short(entry.integer("layer", 0, 32767, 1));
            // Layer 1 when none is named, as before the description lists any.
            const std::size_t layers = result.m_attributes.layerCount();
            if (entry.has("layer") && (head.layer < 1 || std::size_t(head.layer) > layers)) {
                entry.fail("layer",
                           "the project has no layer " + std::to_string(head.layer) +
                               (layers == 0 ? " (its attributes list no layers)"
                                            : " (its layers are 1 to " + std::to_string(layers) + ")"));
            }
            head.floorInd = short(entry.integer("floor", -32768, 32767, result.m_currentStorey));
            if (storeyIndexes.count(head.floorInd) == 0) {
                entry.fail("floor", "the project has no storey of index " + std::to_string(head.floorInd));
            }
            head.locked = entry.flag("locked");
            head.hasMemo = entry.flag("hasMemo");
            head.renovationStatus = Int32(entry.integer("renovation", 0, 3, 0));
            head.userId = short(entry.integer("owner", 0, 32767, 0));
            head.drwIndex = Int32(entry.integer("drawingOrder", 1, 9, 5));
            element.group = entry.text("group");
            element.database = entry.text("database");
            if (!element.database.empty() && databaseNames.count(element.database) == 0) {
                entry.fail("database", "no database is named " + escaped(element.database));
            }
            element.proxyOf = entry.text("proxyOf");
            if (!element.proxyOf.empty() && head.typeID != API_SectElemID) {
                entry.fail("proxyOf", "only proxy elements (type 29) stand for another element");
            }
            if (head.typeID == API_SectElemID && element.proxyOf.empty()) {
                entry.fail("proxyOf", "a proxy element names the element it stands for");
            }
            element.marks = entry.text("marks");
            if (!element.marks.empty()) {
                if (head.typeID != API_CutPlaneID && head.typeID != API_ElevationID) {
                    entry.fail("marks", "only section (25) and elevation (33) markers open a database");
                }
                if (databaseNames.count(element.marks) == 0) {
                    entry.fail("marks", "no database is named " + escaped(element.marks));
                }
            }
            element.placement = ElementPlacement::read(entry, element.record, result.m_library);
            element.info = entry.text("info");
            element.compound = entry.text("compound", element.info);
            if (entry.has("userData")) {
                MemberReader data(list[i]["userData"], entry.where() + ".userData");
                data.only(vocabulary::userData);
                sim::UserDataRecord record;
                std::string bytes = data.text("text");
                record.bytes.assign(bytes.begin(), bytes.end());
                record.version = short(data.integer("version", -32768, 32767, 1));
                record.platformSign = UInt16(data.integer("platform", 0, 65535, 19789));
                record.flags = GSFlags(data.integer("flags", 0, 0xFFFFFFFFLL, 12));
                element.userData = record;
            }
            std::string name = entry.text("name");
            if (!name.empty() && !elementNames.emplace(name, i).second) {
                entry.fail("name", "the name " + escaped(name) + " is used twice");
            }
            result.m_names.push_back(name);
            result.m_elements.push_back(std::move(made));
        }
    }
    for (std::size_t i = 0; i < result.m_elements.size(); ++i) {
        const std::string& target = result.m_elements[i]->proxyOf;
        if (!target.empty()) {
            auto found = elementNames.find(target);
            if (found == elementNames.end() || !result.m_elements[found->second]->database.empty()) {
                throw ScenarioError(top.item("elements", i) + ".proxyOf: no floor-plan element is named " +
                                    escaped(target));
            }
        }
    }
    for (std::size_t i = 0; i < result.m_elements.size(); ++i) {
        const Element& element = *result.m_elements[i];
        const std::string wall = element.placement.wall();
        if (!wall.empty()) {
            auto found = elementNames.find(wall);
            if (found == elementNames.end() ||
                result.m_elements[found->second]->record.header.typeID != API_WallID ||
                result.m_elements[found->second]->database != element.database) {
                throw ScenarioError(top.item("elements", i) + ".wall: no wall of its database is named " +
                                    escaped(wall));
            }
            // The opening's centre lies on the wall.
            const API_WallType& line = result.m_elements[found->second]->record.wall;
            const double length = std::hypot(line.endC.x - line.begC.x, line.endC.y - line.begC.y);
            const API_Element& record = element.record;
            const double distance = (record.header.typeID == API_DoorID ? record.door : record.window).objLoc;
            if (!(distance >= 0.0 && distance <= length)) {
                std::ostringstream message;
                message << top.item("elements", i) << ".distance: " << distance << " is off the wall "
                        << escaped(wall) << ", whose length is " << length;
                throw ScenarioError(message.str());
            }
            // The wall keeps the lists of its doors and windows in its memo.
            result.m_elements[found->second]->record.header.hasMemo = true;
        }
    }
    if (top.has("selection")) {
        const json& list = top.list("selection");
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (!list[i].is_string() || elementNames.count(list[i].get<std::string>()) == 0) {
                throw ScenarioError(top.item("selection", i) + ": names no element of the project");
            }
            result.m_selection.push_back(list[i].get<std::string>());
        }
    }
    std::string kind = top.text("selectionKind", "elements");
    auto found = selectionKinds.find(kind);
    if (found == selectionKinds.end()) {
        top.fail("selectionKind", "unknown selection kind " + escaped(kind));
    }
    result.m_selectionType = found->second;
    result.m_toolDefaults = ToolDefaults::read(top, result.m_library);
    result.m_activeWindow = top.text("activeWindow");
    if (!result.m_activeWindow.empty() && databaseNames.count(result.m_activeWindow) == 0) {
        top.fail("activeWindow", "no database is named " + escaped(result.m_activeWindow));
    }
    return result;
}

std::string ProjectDescription::elementWhere(std::size_t i) const {
    return m_source + ".elements[" + std::to_string(i) + "]" +
           (m_names[i].empty() ? "" : " (" + escaped(m_names[i]) + ")");
}

void ProjectDescription::apply() {
    m_attributes.apply();
    m_library.apply();
    m_toolDefaults.apply(m_source);
    std::map<std::string, GS::Guid> databases;
    for (const sim::DatabaseRecord& record : m_databases) {
        databases[record.name] = sim::addDatabase(record);
    }
    for (const auto& [layout, master] : m_masters) {
        sim::DatabaseRecord record = sim::database(APIWind_LayoutID, databases[layout]);
        record.master = databases[master];
        sim::changeDatabase(record);
    }
    if (m_storeys) {
        sim::setStoreys(*m_storeys, m_top);
    }
    sim::setCurrentStorey(m_currentStorey);
    std::map<std::string, GS::Guid> groups;
    std::map<std::string, GS::Guid> named;
    std::vector<GS::Guid> guids;
    std::map<std::string, std::vector<GS::Guid>> windows;
    std::map<std::string, std::vector<GS::Guid>> doors;
    // Walls and the other model elements first, so that doors and windows can name their walls,
    // then those, then proxies, which can name any of them. Each element is let go once it is in
    // the host, so that the description and the project are not both held whole.
    for (int pass = 0; pass < 3; ++pass) {
        for (std::size_t i = 0; i < m_elements.size(); ++i) {
            if (m_elements[i] == nullptr) {
                continue;
            }
            const Element& element = *m_elements[i];
            int order = !element.proxyOf.empty() ? 2 : !element.placement.wall().empty() ? 1 : 0;
            if (order != pass) {
                continue;
            }
            API_Element record = element.record;
            GS::Guid owner;
            if (!element.placement.wall().empty()) {
                owner = named[element.placement.wall()];
                (record.header.typeID == API_DoorID ? record.door : record.window).owner = owner;
            }
            if (!element.group.empty()) {
                auto [it, made] = groups.emplace(element.group, GS::Guid());
                if (made) {
                    it->second.Generate();
                }
                record.header.groupGuid = it->second;
            }
            if (!element.proxyOf.empty()) {
                // The element it stands for, a floor-plan element, is in the host already.
                record.sectElem.parentGuid = named[element.proxyOf];
                record.sectElem.parentID = sim::element(record.sectElem.parentGuid).header.typeID;
            }
            if (!element.marks.empty()) {
                (record.header.typeID == API_CutPlaneID ? record.cutPlane : record.elevation).databaseID =
                    databases[element.marks];
            }
            GS::Guid database = element.database.empty() ? GS::Guid() : databases[element.database];
            GS::Guid guid = sim::addElement(record, database);
            if (!m_names[i].empty()) {
                named[m_names[i]] = guid;
            }
            try {
                element.placement.apply(guid);
            } catch (const ScenarioError& error) {
                throw ScenarioError(elementWhere(i) + ": " + error.what());
            }
            if (!owner.IsNull()) {
                (record.header.typeID == API_DoorID ? doors : windows)[element.placement.wall()].push_back(
                    guid);
            }
            if (element.userData) {
                sim::setUserData(guid, *element.userData);
            }
            if (!element.info.empty() || !element.compound.empty()) {
                sim::setElementInfo(guid, element.info, element.compound);
            }
            m_elements[i].reset();
        }
    }
    applyOpenings(windows, doors, named);
    std::vector<API_Neig> selection;
    for (const std::string& name : m_selection) {
        API_Neig neig;
        neig.guid = named[name];
        API_ElemTypeID type = sim::element(neig.guid).header.typeID;
        static const Int32 neigs[32] = {0,  1,  5,  6,  10, 12, 13, 14, 15, 17, 21, 27, 28, 29, 31, 32,
                                        33, 34, 38, 40, 0,  44, 46, 48, 50, 51, 53, 0,  0,  55, 0,  57};
        neig.neigID = type >= 0 && type < 32 ? neigs[type] : 0;
        neig.elemPartType = 1;
        selection.push_back(neig);
    }
    if (!selection.empty() || m_selectionType != API_SelElems) {
        sim::setSelection(selection, m_selectionType);
    }
    for (const sim::DatabaseRecord& record : m_databases) {
        if (record.name == m_activeWindow) {
            sim::setCurrentDatabase(record.type, databases[record.name]);
            sim::setFrontWindow(record.type, databases[record.name]);
        }
    }
}

void ProjectDescription::applyOpenings(const std::map<std::string, std::vector<GS::Guid>>& windows,
                                       const std::map<std::string, std::vector<GS::Guid>>& doors,
                                       const std::map<std::string, GS::Guid>& named) const {
    std::set<std::string> walls;
    for (const auto& entry : windows) {
        walls.insert(entry.first);
    }
    for (const auto& entry : doors) {
        walls.insert(entry.first);
    }
    auto handle = [](const std::map<std::string, std::vector<GS::Guid>>& lists, const std::string& wall) {
        auto found = lists.find(wall);
        if (found == lists.end()) {
            return static_cast<GS::Guid**>(nullptr);
        }
        const std::vector<GS::Guid>& guids = found->second;
        auto made = reinterpret_cast<GS::Guid**>(
            BMAllocateHandle(GSSize(guids.size() * sizeof(GS::Guid)), ALLOCATE_CLEAR, 0));
        for (std::size_t i = 0; made != nullptr && i < guids.size(); ++i) {
            (*made)[i] = guids[i];
        }
        return made;
    };
    for (const std::string& wall : walls) {
        API_ElementMemo memo;
        std::memset(static_cast<void*>(&memo), 0, sizeof memo);
        memo.wallWindows = handle(windows, wall);
        memo.wallDoors = handle(doors, wall);
        bool made = (memo.wallWindows != nullptr || windows.count(wall) == 0) &&
                    (memo.wallDoors != nullptr || doors.count(wall) == 0);
        GSErrCode err =
            made ? sim::storeMemo(named.at(wall), &memo, APIMemoMask_WallWindows | APIMemoMask_WallDoors)
                 : GSErrCode(ErrMemoryFull);
        ACAPI_DisposeElemMemoHdls(&memo);
        if (err != NoError) {
            auto at = std::find(m_names.begin(), m_names.end(), wall);
            throw ScenarioError(elementWhere(std::size_t(at - m_names.begin())) +
                                ": the host could not store the doors and windows of the wall (error " +
                                errorText(err) + ")");
        }
    }
}

} // namespace hostsim
