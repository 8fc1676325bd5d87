// The add-ons loaded into the simulated host: what each registered and installed, its module
// data, and the driver that calls their handlers as the host would.
#pragma once

#include "ACAPI/AddOnRegistration.hpp"
#include "ACAPI/ModuleData.hpp"

#include <map>
#include <string>
#include <vector>

namespace sim {

struct AddOnID {
    UInt32 developer = 0;
    UInt32 local = 0;
    bool operator==(const AddOnID& other) const {
        return developer == other.developer && local == other.local;
    }
    bool operator<(const AddOnID& other) const {
        return developer != other.developer ? developer < other.developer : local < other.local;
    }
};

// Loaded after every reset and current unless a test chooses another.
constexpr AddOnID defaultAddOn{0x5A454C56, 1};

struct MenuRegistration {
    short menuResID = 0;
    short promptResID = 0;
    API_MenuCodeID menuCode = MenuCode_UserDef;
    GSFlags flags = 0;
    APIMenuCommandProc* handler = nullptr;
};

struct ServiceRegistration {
    GSType command = 0;
    Int32 version = 0;
    APIModulCommandProc* handler = nullptr;
};

struct ModuleDataRecord {
    std::vector<char> bytes;
    Int32 version = 0;
    UInt16 platformSign = 0;
};

struct AddOn {
    AddOnID id;
    std::vector<MenuRegistration> menus;       // in registration order
    std::vector<ServiceRegistration> services; // in registration order
    bool moduleDataHandlerRegistered = false;
    bool builtInLibrary = false;
    APIModulDataMergeHandlerProc* mergeHandler = nullptr;
    APIProjectEventHandlerProc* projectHandler = nullptr;
    GSFlags projectMask = 0;
    bool keepInMemory = false;
    std::map<std::string, ModuleDataRecord> moduleData; // by module name
};

// Loads an add-on (or answers the one already loaded under that ID).
AddOn& loadAddOn(AddOnID id);
void unloadAddOn(AddOnID id);
AddOn* findAddOn(AddOnID id);
// The add-on whose code is running: host calls made now are made by it.
AddOn& currentAddOn();
void setCurrentAddOn(AddOnID id);

// The user picks item `itemIndex` (1-based) of the menu `menuResID`: its handler is called in
// the add-on that registered the menu. APIERR_MENUNOTREGISTERED when no add-on registered it,
// APIERR_MODULNOTINSTALLED when its handler is not installed; else the handler's answer.
GSErrCode selectMenuItem(short menuResID, short itemIndex);

// Calls the add-on command of the target add-on (what ACAPI_Command_Call does).
GSErrCode callAddOnCommand(AddOnID target, GSType command, Int32 version, GSHandle params, GSPtr result,
                           bool silent);

// Sends a project notification to every loaded add-on whose mask holds it, in load order.
// Answers the first error a handler gave, else NoError.
GSErrCode notifyProject(API_NotifyEventID id, Int32 param = 0);

// Asks the target add-on to merge module data. `original` and `toMerge` may be null; when
// `dest` is null the handler is given no destination record. The destination's bytes are
// what the handler left in the record's data handle.
GSErrCode mergeModuleData(AddOnID target, API_MDSetCmd command, const std::string& name,
                          const ModuleDataRecord* original, const ModuleDataRecord* toMerge,
                          ModuleDataRecord* dest);

} // namespace sim
