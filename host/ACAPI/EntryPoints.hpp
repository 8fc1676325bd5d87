// The four functions every add-on exports; the host finds them by name in the loaded bundle.
#pragma once

#include "ACAPI/EnvirParams.hpp"
#include "GSRoot/GSRoot.hpp"

// Only these are exported from a bundle built with hidden visibility.
#define ACAPI_ENTRY_POINT extern "C" __attribute__((visibility("default")))

// The host asks whether the add-on can run here and lets it fill its name and description.
using CheckEnvironmentProc = API_AddonType(API_EnvirParams* envir);
// The add-on registers its menus, commands and handlers' needs.
using RegisterInterfaceProc = GSErrCode();
// The add-on installs its handlers.
using InitializeProc = GSErrCode();
// The host is about to unload the bundle.
using FreeDataProc = GSErrCode();

ACAPI_ENTRY_POINT API_AddonType CheckEnvironment(API_EnvirParams* envir);
ACAPI_ENTRY_POINT GSErrCode RegisterInterface();
ACAPI_ENTRY_POINT GSErrCode Initialize();
ACAPI_ENTRY_POINT GSErrCode FreeData();
