#include "Environment/Host.h"

#include "ACAPI/AddOnRegistration.hpp"
#include "ACAPI/Automate.hpp"
#include "ACAPI/Commands.hpp"
#include "ACAPI/Database.hpp"
#include "ACAPI/MenuItems.hpp"
#include "ACAPI/Output.hpp"
#include "ACAPI/ProjectInfo.hpp"
#include "ACAPI/Resources.hpp"
#include "ACAPI/SpecialFolders.hpp"
#include "ACAPI/Toolbox.hpp"
#include "Attribute/Layer.h"
#include "DG/DGDisplay.hpp"
#include "Database/ElementLink.h"
#include "Database/Plan.h"
#include "Database/Project.h"
#include "Database/Specification.h"
#include "Database/User.h"
#include "Environment/DataFile.h"
#include "Environment/Directory.h"
#include "Environment/MemoryBlock.h"
#include "GSRoot/GSDebug.hpp"
#include "IO/Location.hpp"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <thread>

namespace zelvane {
namespace {

API_ToolBoxItem toolOf(const ElementLink& link) {
    API_Elem_Head head = link.getHeader();
    API_ToolBoxItem item;
    item.typeID = head.typeID;
    item.variationID = head.variationID;
    return item;
}

} // namespace

Host host;

Host::Host() {
    reset();
}

Host::~Host() {
    delete m_user;
    delete m_project;
}

Project* Host::getProject() {
    if (!isProjectOpen()) {
        return nullptr;
    }
    if (m_project == nullptr) {
        m_project = new Project;
    }
    return m_project;
}

Specification* Host::getFrontSpec() {
    Project* project = getProject();
    return project != nullptr ? project->getSpecification() : nullptr;
}

Plan* Host::getFrontPlan() {
    Project* project = getProject();
    return project != nullptr ? project->getFloorPlan() : nullptr;
}

Library* Host::getFrontLibrary() {
    Project* project = getProject();
    return project != nullptr ? project->getLibrary() : nullptr;
}

Navigator* Host::getFrontNavigator() {
    Project* project = getProject();
    return project != nullptr ? project->getNavigator() : nullptr;
}

Drawing* Host::getActiveDrawing() {
    Project* project = getProject();
    return project != nullptr ? project->getActiveDrawing() : nullptr;
}

bool Host::setActiveDrawing(const Drawing& drawing) {
    Project* project = getProject();
    return project != nullptr && project->setActiveDrawing(&drawing);
}

Drawing* Host::getActiveWindow() {
    Project* project = getProject();
    return project != nullptr ? project->getActiveWindow() : nullptr;
}

bool Host::setActiveWindow(const Drawing& drawing) {
    Project* project = getProject();
    return project != nullptr && project->setActiveWindow(&drawing);
}

bool Host::isProjectOpen() const {
    if (m_openHolds > 0) {
        return true;
    }
    API_ProjectInfo info;
    GSErrCode err = ACAPI_Environment(APIEnv_ProjectID, &info);
    delete info.location;
    return err != APIERR_NOPLAN;
}

bool Host::holdOpenProject() {
    if (m_openHolds == 0 && !isProjectOpen()) {
        return false;
    }
    ++m_openHolds;
    return true;
}

void Host::releaseOpenProject() {
    if (m_openHolds > 0) {
        --m_openHolds;
    }
}

Guid Host::getActivePhaseFilter() const {
    GS::Guid filter;
    if (ACAPI_Database(APIDb_GetActiveRenovationFilterID, &filter) != NoError) {
        return Guid();
    }
    return Guid(filter);
}

const User* Host::getUser() {
    if (m_user != nullptr) {
        return m_user;
    }
    std::unique_ptr<User> user;
    if (Project* project = getProject()) {
        API_ProjectInfo info;
        GSErrCode err = ACAPI_Environment(APIEnv_ProjectID, &info);
        delete info.location;
        if (err == NoError && info.teamwork) {
            for (std::size_t index = project->getTeamSize(); index-- > 0 && user == nullptr;) {
                const User* member = project->getTeamMember(index);
                if (member != nullptr && member->getID() == info.userId) {
                    user.reset(member->clone());
                }
            }
        }
    }
    if (user == nullptr) {
        user.reset(new User(String(), 0));
    }
    m_user = user.release();
    return m_user;
}

bool Host::isGroupActive() const {
    bool suspended = false;
    ACAPI_Environment(APIEnv_IsSuspendGroupOnID, &suspended);
    return !suspended;
}

bool Host::setGroupActive(bool active) {
    // Group suspension belongs to the floor plan: switch there for the call and back after.
    Project* project = getProject();
    Drawing* previous = project != nullptr ? project->getActiveDrawing() : nullptr;
    if (project != nullptr) {
        project->setActiveDrawing(project->getFloorPlan());
    }
    bool result =
        isGroupActive() == active || ACAPI_Element_Tool(nullptr, 0, APITool_SuspendGroups) == NoError;
    if (previous != nullptr) {
        project->setActiveDrawing(previous);
    }
    return result;
}

Int32 Host::getActiveTool() const {
    API_ToolBoxItem item;
    return ACAPI_Environment(APIEnv_GetToolBoxModeID, &item) == NoError ? item.typeID : 0;
}

bool Host::setActiveTool(const ElementLink& tool) {
    API_ToolBoxItem item = toolOf(tool);
    return ACAPI_Environment(APIEnv_SetToolBoxModeID, &item) == NoError;
}

bool Host::showToolSettings(const ElementLink& tool) {
    API_ToolBoxItem item = toolOf(tool);
    return ACAPI_Interface(APIIo_SettingsDialogID, &item) == NoError;
}

bool Host::showLayerSelection(const ElementLink& tool, Layer& layer) {
    API_ToolBoxItem item = toolOf(tool);
    short chosen = short(layer.getIndex());
    if (ACAPI_Internal(APIInternal_LayerChooserID, &item, &chosen) != NoError) {
        return false;
    }
    Specification* specification = layer.getLink().getSpecification();
    if (specification == nullptr) {
        specification = getFrontSpec();
    }
    AttributeLink link(int(chosen), Layer::ID, specification);
    std::unique_ptr<Attribute> loaded(specification != nullptr ? (*specification)[link] : nullptr);
    if (const auto* found = dynamic_cast<const Layer*>(loaded.get())) {
        layer = *found;
    } else {
        layer = Layer(link);
    }
    return true;
}

Int32 Host::getActiveWindowHandle() const {
    return DGGetActiveWindow();
}

ScreenRect Host::getDisplayBounds() const {
    GSRect rect;
    if (DGGetMonitorRect(0, 0, &rect) != NoError) {
        return ScreenRect();
    }
    auto clamp = [](Int32 value) {
        return Int16(std::max<Int32>(INT16_MIN, std::min<Int32>(INT16_MAX, value)));
    };
    return ScreenRect(ScreenPoint(clamp(rect.left), clamp(rect.top)),
                      ScreenPoint(clamp(rect.right), clamp(rect.bottom)));
}

bool Host::setMenuFlag(short menuID, short itemIndex, GSFlags flag, bool set) {
    API_MenuItemRef ref;
    ref.menuResID = menuID;
    ref.itemIndex = itemIndex;
    GSFlags flags = 0;
    if (ACAPI_Interface(APIIo_GetMenuItemFlagsID, &ref, &flags) != NoError) {
        return false;
    }
    if (((flags & flag) != 0) == set) {
        return true;
    }
    flags = set ? (flags | flag) : (flags & ~flag);
    return ACAPI_Interface(APIIo_SetMenuItemFlagsID, &ref, &flags) == NoError;
}

void Host::setMenuEnabled(short menuID, short itemIndex, bool enabled) {
    setMenuFlag(menuID, itemIndex, API_MenuItemDisabled, !enabled);
}

void Host::setMenuChecked(short menuID, short itemIndex, bool checked) {
    setMenuFlag(menuID, itemIndex, API_MenuItemChecked, checked);
}

void Host::setMenuLabel(short menuID, short itemIndex, const String& label) {
    API_MenuItemRef ref;
    ref.menuResID = menuID;
    ref.itemIndex = itemIndex;
    ACAPI_Interface(APIIo_SetMenuItemTextID, &ref, nullptr, const_cast<char*>(label.data()));
}

bool Host::isCommandAvailable(UInt32 developerID, UInt32 localID, UInt32 command,
                              UInt32 commandVersion) const {
    API_ModulID mdid;
    mdid.developerID = developerID;
    mdid.localID = localID;
    return ACAPI_Command_Test(&mdid, command, Int32(commandVersion)) == NoError;
}

String Host::getLocalString(short resourceID, short index) const {
    GS::UniString text;
    if (!ACAPI_Resource_GetLocStr(&text, resourceID, index, ACAPI_GetOwnResModule())) {
        return String();
    }
    return String(text);
}

MemoryBlock* Host::getResource(GSType type, short resourceID) const {
    GSHandle handle = RSLoadResource(type, ACAPI_GetOwnResModule(), resourceID);
    if (handle == nullptr) {
        return nullptr;
    }
    // The block takes the handle over, so it is freed whatever happens next.
    std::unique_ptr<MemoryBlock> block(new MemoryBlock(handle));
    return block->size() > 0 ? block.release() : nullptr;
}

bool Host::getMdidResource(API_ModulID& mdid, short resourceID) const {
    std::unique_ptr<MemoryBlock> block(getResource(MakeGSType("MDID"), resourceID));
    // Both IDs must be there: a shorter resource is not read past its end.
    if (block == nullptr || block->size() < int(2 * sizeof(UInt32))) {
        return false;
    }
    const char* data = *block->getHandle();
    std::memcpy(&mdid.developerID, data, sizeof(UInt32));
    std::memcpy(&mdid.localID, data + sizeof(UInt32), sizeof(UInt32));
    return true;
}

String Host::getLanguageID() const {
    API_ServerApplicationInfo info;
    if (ACAPI_Environment(APIEnv_ApplicationID, &info) != NoError) {
        return String("INT");
    }
    info.language[sizeof info.language - 1] = 0;
    return String(info.language);
}

Directory* Host::getHomeDirectory() const {
    API_SpecFolderID id = API_ApplicationFolderID;
    IO::Location location;
    if (ACAPI_Environment(APIEnv_GetSpecFolderID, &id, &location) != NoError) {
        return nullptr;
    }
    std::unique_ptr<Directory> folder(new Directory(location, false));
    return folder->getLastError() == 0 && folder->exists() ? folder.release() : nullptr;
}

Directory* Host::getAddonsDirectory() const {
    std::unique_ptr<Directory> home(getHomeDirectory());
    if (home == nullptr) {
        return nullptr;
    }
    std::unique_ptr<Directory> addOns(new Directory(*home, String("Add-Ons"), false));
    return addOns->getLastError() == 0 && addOns->exists() ? addOns.release() : nullptr;
}

bool Host::openProject(const DataFile& file) {
    IO::Location location = file.getLocation();
    API_FileOpenPars pars;
    pars.fileTypeID = 1;
    pars.useStoredLib = true;
    pars.file = &location;
    m_lastError = ACAPI_Automate(APIDo_OpenID, &pars);
    return m_lastError == NoError;
}

bool Host::saveProject() {
    m_lastError = ACAPI_Automate(APIDo_SaveID);
    return m_lastError == NoError;
}

void Host::writeToConsole(const String& text) const {
    DBPrintf("%s", text.data());
}

void Host::writeReport(const String& text) const {
    // The text goes in as an argument, never as the format: a "%" in it is printed as it is.
    ACAPI_WriteReport("%s", 0, text.data());
}

void Host::sleep(unsigned long milliseconds) const {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void Host::reset() {
    m_transactionCount = 0;
    m_transactionID = 0;
    m_lastError = NoError;
    delete m_user;
    m_user = nullptr;
    if (m_project != nullptr) {
        m_project->resetDatabases();
    }
}

} // namespace zelvane
