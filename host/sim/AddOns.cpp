#include "sim/AddOns.h"

#include "GSRoot/BM.hpp"
#include "sim/Sim.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace sim {
namespace {

struct AddOnTable {
    std::vector<std::unique_ptr<AddOn>> loaded; // in load order
    AddOnID current = defaultAddOn;
};

AddOnTable& table() {
    static auto* instance = new AddOnTable;
    return *instance;
}

void resetAddOns() {
    table().loaded.clear();
    table().current = defaultAddOn;
    loadAddOn(defaultAddOn);
}

const bool registered = registerReset(resetAddOns);

// Makes `id` the current add-on for the length of a call into it.
class CallInto {
public:
    explicit CallInto(AddOnID id) : m_saved(table().current) { table().current = id; }
    ~CallInto() { table().current = m_saved; }
    CallInto(const CallInto&) = delete;
    CallInto& operator=(const CallInto&) = delete;

private:
    AddOnID m_saved;
};

// A new host handle holding the record's bytes; null when the record is null.
GSErrCode makeModulData(const ModuleDataRecord* record, API_ModulData& data) {
    if (record == nullptr) {
        return NoError;
    }
    data.dataVersion = record->version;
    data.platformSign = record->platformSign;
    data.dataHdl = BMAllocateHandle(GSSize(record->bytes.size()), 0, 0);
    if (data.dataHdl == nullptr) {
        return APIERR_MEMFULL;
    }
    if (!record->bytes.empty()) {
        std::memcpy(*data.dataHdl, record->bytes.data(), record->bytes.size());
    }
    return NoError;
}

void freeModulData(API_ModulData& data) {
    if (data.dataHdl != nullptr) {
        BMKillHandle(&data.dataHdl);
    }
}

} // namespace

AddOn& loadAddOn(AddOnID id) {
    if (AddOn* addOn = findAddOn(id)) {
        return *addOn;
    }
    table().loaded.push_back(std::make_unique<AddOn>());
    table().loaded.back()->id = id;
    return *table().loaded.back();
}

void unloadAddOn(AddOnID id) {
    auto& loaded = table().loaded;
    loaded.erase(std::remove_if(loaded.begin(), loaded.end(),
                                [&](const std::unique_ptr<AddOn>& addOn) { return addOn->id == id; }),
                 loaded.end());
}

AddOn* findAddOn(AddOnID id) {
    for (auto& addOn : table().loaded) {
        if (addOn->id == id) {
            return addOn.get();
        }
    }
    return nullptr;
}

AddOn& currentAddOn() {
    return loadAddOn(table().current);
}

void setCurrentAddOn(AddOnID id) {
    loadAddOn(id);
    table().current = id;
}

GSErrCode selectMenuItem(short menuResID, short itemIndex) {
    log("sim::selectMenuItem", menuResID);
    for (auto& addOn : table().loaded) {
        for (const MenuRegistration& menu : addOn->menus) {
            if (menu.menuResID != menuResID) {
                continue;
            }
            if (menu.handler == nullptr) {
                return APIERR_MODULNOTINSTALLED;
            }
            API_MenuParams params;
            params.menuItemRef.menuResID = menuResID;
            params.menuItemRef.itemIndex = itemIndex;
            CallInto into(addOn->id);
            return menu.handler(&params);
        }
    }
    return APIERR_MENUNOTREGISTERED;
}

GSErrCode callAddOnCommand(AddOnID target, GSType command, Int32 version, GSHandle params, GSPtr result,
                           bool silent) {
    AddOn* addOn = findAddOn(target);
    if (addOn == nullptr) {
        return APIERR_MODULNOTINSTALLED;
    }
    bool supported = false;
    for (const ServiceRegistration& service : addOn->services) {
        if (service.command != command) {
            continue;
        }
        supported = true;
        if (service.version >= version && service.handler != nullptr) {
            CallInto into(target);
            return service.handler(params, result, silent);
        }
    }
    return supported ? APIERR_MODULCMDVERSNOTSUPPORTED : APIERR_MODULCMDNOTSUPPORTED;
}

GSErrCode notifyProject(API_NotifyEventID id, Int32 param) {
    log("sim::notifyProject", id);
    GSErrCode first = NoError;
    std::vector<AddOnID> ids;
    for (auto& addOn : table().loaded) {
        ids.push_back(addOn->id);
    }
    // A handler may load or unload add-ons; each is looked up afresh.
    for (AddOnID addOnID : ids) {
        AddOn* addOn = findAddOn(addOnID);
        if (addOn == nullptr || addOn->projectHandler == nullptr || (addOn->projectMask & id) == 0) {
            continue;
        }
        APIProjectEventHandlerProc* handler = addOn->projectHandler;
        CallInto into(addOnID);
        GSErrCode err = handler(id, param);
        if (first == NoError) {
            first = err;
        }
    }
    return first;
}

GSErrCode mergeModuleData(AddOnID target, API_MDSetCmd command, const std::string& name,
                          const ModuleDataRecord* original, const ModuleDataRecord* toMerge,
                          ModuleDataRecord* dest) {
    log("sim::mergeModuleData", command);
    AddOn* addOn = findAddOn(target);
    if (addOn == nullptr || addOn->mergeHandler == nullptr) {
        return APIERR_MODULNOTINSTALLED;
    }
    API_ModulData originalData, toMergeData, destData;
    GSErrCode err = makeModulData(original, originalData);
    if (err == NoError) {
        err = makeModulData(toMerge, toMergeData);
    }
    if (err == NoError) {
        CallInto into(target);
        err = addOn->mergeHandler(command, name.c_str(), original != nullptr ? &originalData : nullptr,
                                  toMerge != nullptr ? &toMergeData : nullptr,
                                  dest != nullptr ? &destData : nullptr);
    }
    if (err == NoError && dest != nullptr) {
        dest->version = destData.dataVersion;
        dest->platformSign = destData.platformSign;
        dest->bytes.clear();
        if (destData.dataHdl != nullptr) {
            GSSize size = BMGetHandleSize(destData.dataHdl);
            dest->bytes.assign(*destData.dataHdl, *destData.dataHdl + size);
        }
    }
    freeModulData(originalData);
    freeModulData(toMergeData);
    freeModulData(destData);
    return err;
}

} // namespace sim
