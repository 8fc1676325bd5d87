#include "ACAPI/AddOnRegistration.hpp"

#include "sim/AddOns.h"
#include "sim/Sim.h"

GSErrCode ACAPI_Register_Menu(short menuStrResID, short promptStrResID, API_MenuCodeID menuPosCode,
                              GSFlags menuFlags) {
    if (GSErrCode err = sim::enter("ACAPI_Register_Menu", menuStrResID); err != NoError) {
        return err;
    }
    sim::AddOn& addOn = sim::currentAddOn();
    for (const sim::MenuRegistration& menu : addOn.menus) {
        if (menu.menuResID == menuStrResID) {
            return APIERR_ALREADYREGISTERED;
        }
    }
    addOn.menus.push_back(
        sim::MenuRegistration{menuStrResID, promptStrResID, menuPosCode, menuFlags, nullptr});
    return NoError;
}

GSErrCode ACAPI_Register_SupportedService(GSType cmdID, Int32 cmdVersion) {
    if (GSErrCode err = sim::enter("ACAPI_Register_SupportedService", cmdID); err != NoError) {
        return err;
    }
    sim::AddOn& addOn = sim::currentAddOn();
    for (const sim::ServiceRegistration& service : addOn.services) {
        if (service.command == cmdID && service.version == cmdVersion) {
            return APIERR_ALREADYREGISTERED;
        }
    }
    addOn.services.push_back(sim::ServiceRegistration{cmdID, cmdVersion, nullptr});
    return NoError;
}

GSErrCode ACAPI_Register_ModulDataHandler() {
    if (GSErrCode err = sim::enter("ACAPI_Register_ModulDataHandler"); err != NoError) {
        return err;
    }
    sim::currentAddOn().moduleDataHandlerRegistered = true;
    return NoError;
}

GSErrCode ACAPI_Register_BuiltInLibrary() {
    if (GSErrCode err = sim::enter("ACAPI_Register_BuiltInLibrary"); err != NoError) {
        return err;
    }
    sim::currentAddOn().builtInLibrary = true;
    return NoError;
}

GSErrCode ACAPI_Install_MenuHandler(short menuStrResID, APIMenuCommandProc* handlerProc) {
    if (GSErrCode err = sim::enter("ACAPI_Install_MenuHandler", menuStrResID); err != NoError) {
        return err;
    }
    if (handlerProc == nullptr) {
        return APIERR_BADPARS;
    }
    for (sim::MenuRegistration& menu : sim::currentAddOn().menus) {
        if (menu.menuResID == menuStrResID) {
            menu.handler = handlerProc;
            return NoError;
        }
    }
    return APIERR_MENUNOTREGISTERED;
}

GSErrCode ACAPI_Install_ModulCommandHandler(GSType cmdID, Int32 cmdVersion,
                                            APIModulCommandProc* handlerProc) {
    if (GSErrCode err = sim::enter("ACAPI_Install_ModulCommandHandler", cmdID); err != NoError) {
        return err;
    }
    if (handlerProc == nullptr) {
        return APIERR_BADPARS;
    }
    for (sim::ServiceRegistration& service : sim::currentAddOn().services) {
        if (service.command == cmdID && service.version == cmdVersion) {
            service.handler = handlerProc;
            return NoError;
        }
    }
    return APIERR_MODULCMDNOTSUPPORTED;
}

GSErrCode ACAPI_Install_ModulDataMergeHandler(APIModulDataMergeHandlerProc* handlerProc) {
    if (GSErrCode err = sim::enter("ACAPI_Install_ModulDataMergeHandler"); err != NoError) {
        return err;
    }
    sim::AddOn& addOn = sim::currentAddOn();
    if (handlerProc == nullptr) {
        return APIERR_BADPARS;
    }
    if (!addOn.moduleDataHandlerRegistered) {
        return APIERR_GENERAL;
    }
    addOn.mergeHandler = handlerProc;
    return NoError;
}

GSErrCode ACAPI_Notify_CatchProjectEvent(GSFlags eventTypes, APIProjectEventHandlerProc* handlerProc) {
    if (GSErrCode err = sim::enter("ACAPI_Notify_CatchProjectEvent", eventTypes); err != NoError) {
        return err;
    }
    sim::AddOn& addOn = sim::currentAddOn();
    if (handlerProc == nullptr || eventTypes == 0) {
        addOn.projectHandler = nullptr;
        addOn.projectMask = 0;
    } else {
        addOn.projectHandler = handlerProc;
        addOn.projectMask = eventTypes;
    }
    return NoError;
}

GSErrCode ACAPI_KeepInMemory(bool keepIt) {
    if (GSErrCode err = sim::enter("ACAPI_KeepInMemory", keepIt ? 1 : 0); err != NoError) {
        return err;
    }
    sim::currentAddOn().keepInMemory = keepIt;
    return NoError;
}

GSErrCode ACAPI_Command_Call(const API_ModulID* mdid, GSType cmdID, Int32 cmdVersion, GSHandle params,
                             GSPtr resultData, bool silentMode) {
    if (GSErrCode err = sim::enter("ACAPI_Command_Call", cmdID); err != NoError) {
        return err;
    }
    if (mdid == nullptr) {
        return APIERR_BADPARS;
    }
    return sim::callAddOnCommand(sim::AddOnID{mdid->developerID, mdid->localID}, cmdID, cmdVersion, params,
                                 resultData, silentMode);
}
