// What an add-on registers with the host and the handlers the host calls back: menus, add-on
// commands (supported services), the module-data handlers and project notifications.
#pragma once

#include "ACAPI/ErrorCodes.hpp"
#include "ACAPI/ModuleData.hpp"
#include "GSRoot/GSRoot.hpp"

// Names one loaded add-on: its developer ID and its local ID.
struct API_ModulID {
    UInt32 developerID = 0;
    UInt32 localID = 0;
};

// Where a registered menu appears in the host's menus.
enum API_MenuCodeID : Int32 {
    MenuCode_UserDef = 0,
    MenuCode_Tools = 1,
    MenuCode_Extras = 2,
    MenuCode_Options = 3,
    MenuCode_Edit = 4,
    MenuCode_File = 5,
    MenuCode_Interoperability = 13,
};

struct API_MenuItemRef {
    short menuResID = 0;
    short itemIndex = 0; // 1-based
};

struct API_MenuParams {
    API_MenuItemRef menuItemRef;
};

// Project notifications: each is one bit, so that a handler is installed for a mask of them.
using API_NotifyEventID = UInt32;
constexpr API_NotifyEventID APINotify_New = 0x00000001;
constexpr API_NotifyEventID APINotify_NewAndReset = 0x00000002;
constexpr API_NotifyEventID APINotify_Open = 0x00000004;
constexpr API_NotifyEventID APINotify_PreSave = 0x00000008;
constexpr API_NotifyEventID APINotify_Save = 0x00000010;
constexpr API_NotifyEventID APINotify_Close = 0x00000020;
constexpr API_NotifyEventID APINotify_Quit = 0x00000040;
constexpr API_NotifyEventID APINotify_TempSave = 0x00008000;
constexpr API_NotifyEventID APINotify_ConvertUnId = 0x00010000;
constexpr API_NotifyEventID APINotify_ChangeLibrary = 0x00200000;
constexpr API_NotifyEventID APINotify_All = 0xFFFFFFFF;

using APIMenuCommandProc = GSErrCode(const API_MenuParams* menuParams);
using APIModulCommandProc = GSErrCode(GSHandle paramHandle, GSPtr resultData, bool silentMode);
using APIProjectEventHandlerProc = GSErrCode(API_NotifyEventID notifID, Int32 param);
// The host merges module data of a team-work or hotlinked project: the project's data before
// the merge, the data to merge in, and the record that receives the result (the handler fills
// its data handle, which the host then owns).
using APIModulDataMergeHandlerProc = GSErrCode(API_MDSetCmd mode, const char* modulName,
                                               const API_ModulData* originalInfo,
                                               const API_ModulData* toMergeInfo, API_ModulData* destInfo);

// Registration (during RegisterInterface).
GSErrCode ACAPI_Register_Menu(short menuStrResID, short promptStrResID, API_MenuCodeID menuPosCode,
                              GSFlags menuFlags);
GSErrCode ACAPI_Register_SupportedService(GSType cmdID, Int32 cmdVersion);
GSErrCode ACAPI_Register_ModulDataHandler();
GSErrCode ACAPI_Register_BuiltInLibrary();

// Installation of handlers (during Initialize).
GSErrCode ACAPI_Install_MenuHandler(short menuStrResID, APIMenuCommandProc* handlerProc);
GSErrCode ACAPI_Install_ModulCommandHandler(GSType cmdID, Int32 cmdVersion, APIModulCommandProc* handlerProc);
GSErrCode ACAPI_Install_ModulDataMergeHandler(APIModulDataMergeHandlerProc* handlerProc);
// A null handler or an empty mask removes the handler.
GSErrCode ACAPI_Notify_CatchProjectEvent(GSFlags eventTypes, APIProjectEventHandlerProc* handlerProc);

// Keeps the add-on loaded between host calls.
GSErrCode ACAPI_KeepInMemory(bool keepIt);

// Calls an add-on command of another (or the same) add-on. The result is written by the called
// add-on's handler through resultData.
GSErrCode ACAPI_Command_Call(const API_ModulID* mdid, GSType cmdID, Int32 cmdVersion, GSHandle params,
                             GSPtr resultData, bool silentMode);
