// Error codes answered by the add-on programming interface of the host. 0 (NoError) is success.
#pragma once

#include "GSRoot/GSRoot.hpp"

constexpr GSErrCode APIERR_GENERAL = GSErrCode(0x81060001);
constexpr GSErrCode APIERR_MEMFULL = GSErrCode(0x81060002);
constexpr GSErrCode APIERR_CANCEL = GSErrCode(0x81060003);
constexpr GSErrCode APIERR_BADID = GSErrCode(0x81060064);
constexpr GSErrCode APIERR_BADINDEX = GSErrCode(0x81060065);
constexpr GSErrCode APIERR_BADNAME = GSErrCode(0x81060066);
constexpr GSErrCode APIERR_BADPARS = GSErrCode(0x81060068);
constexpr GSErrCode APIERR_NOUSERDATA = GSErrCode(0x8106006D);
// The element belongs to another team member: it is answered, but cannot be changed.
constexpr GSErrCode APIERR_NOTMINE = GSErrCode(0x810600DC);
// The host refused an undoable command (one was already running).
constexpr GSErrCode APIERR_REFUSEDCMD = GSErrCode(0x8106038C);
// Elements are created, changed and deleted only inside an undoable command.
constexpr GSErrCode APIERR_NEEDSUNDOSCOPE = GSErrCode(0x8106038D);

// Registration and inter-add-on communication.
constexpr GSErrCode APIERR_MENUNOTREGISTERED = GSErrCode(0x81060101);
constexpr GSErrCode APIERR_MODULNOTINSTALLED = GSErrCode(0x81060102);
constexpr GSErrCode APIERR_MODULCMDNOTSUPPORTED = GSErrCode(0x81060103);
constexpr GSErrCode APIERR_MODULCMDVERSNOTSUPPORTED = GSErrCode(0x81060104);
constexpr GSErrCode APIERR_NOMODULEDATA = GSErrCode(0x81060105);
constexpr GSErrCode APIERR_ALREADYREGISTERED = GSErrCode(0x81060106);
