// Module data: named blocks of bytes that an add-on keeps in the project file.
#pragma once

#include "ACAPI/ErrorCodes.hpp"
#include "GSRoot/GSRoot.hpp"

struct API_ModulData {
    Int32 dataVersion = 0;
    UInt16 platformSign = 0; // byte order of the platform that wrote the data
    GSHandle dataHdl = nullptr;
};

// What a module-data merge is for.
enum API_MDSetCmd : Int32 {
    APIMDSetMerge_TW = 0,  // team-work send and receive
    APIMDSetMerge_HLM = 1, // hotlinked module
};

// Every call works on the data of the calling add-on; names are UTF-8, "" is the default block.
GSErrCode ACAPI_ModulData_Store(const API_ModulData* info, const char* modulName = "");
// Fills the version and platform sign; the data handle is left null.
GSErrCode ACAPI_ModulData_GetInfo(API_ModulData* info, const char* modulName = "");
// Fills the version, platform sign and a new data handle that the caller frees.
GSErrCode ACAPI_ModulData_Get(API_ModulData* info, const char* modulName = "");
GSErrCode ACAPI_ModulData_Delete(const char* modulName = "");
