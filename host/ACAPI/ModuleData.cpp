#include "ACAPI/ModuleData.hpp"

#include "GSRoot/BM.hpp"
#include "sim/AddOns.h"
#include "sim/Sim.h"

#include <cstring>

namespace {

sim::ModuleDataRecord* findData(const char* name) {
    auto& data = sim::currentAddOn().moduleData;
    auto it = data.find(name != nullptr ? name : "");
    return it != data.end() ? &it->second : nullptr;
}

} // namespace

GSErrCode ACAPI_ModulData_Store(const API_ModulData* info, const char* modulName) {
    if (GSErrCode err = sim::enter("ACAPI_ModulData_Store"); err != NoError) {
        return err;
    }
    if (info == nullptr || info->dataHdl == nullptr) {
        return APIERR_BADPARS;
    }
    sim::ModuleDataRecord record;
    record.version = info->dataVersion;
    record.platformSign = info->platformSign;
    GSSize size = BMGetHandleSize(info->dataHdl);
    if (size > 0) {
        record.bytes.assign(*info->dataHdl, *info->dataHdl + size);
    }
    sim::currentAddOn().moduleData[modulName != nullptr ? modulName : ""] = std::move(record);
    return NoError;
}

GSErrCode ACAPI_ModulData_GetInfo(API_ModulData* info, const char* modulName) {
    if (GSErrCode err = sim::enter("ACAPI_ModulData_GetInfo"); err != NoError) {
        return err;
    }
    if (info == nullptr) {
        return APIERR_BADPARS;
    }
    const sim::ModuleDataRecord* record = findData(modulName);
    if (record == nullptr) {
        return APIERR_NOMODULEDATA;
    }
    info->dataVersion = record->version;
    info->platformSign = record->platformSign;
    info->dataHdl = nullptr;
    return NoError;
}

GSErrCode ACAPI_ModulData_Get(API_ModulData* info, const char* modulName) {
    if (GSErrCode err = sim::enter("ACAPI_ModulData_Get"); err != NoError) {
        return err;
    }
    if (info == nullptr) {
        return APIERR_BADPARS;
    }
    const sim::ModuleDataRecord* record = findData(modulName);
    if (record == nullptr) {
        return APIERR_NOMODULEDATA;
    }
    GSHandle handle = BMAllocateHandle(GSSize(record->bytes.size()), 0, 0);
    if (handle == nullptr) {
        return APIERR_MEMFULL;
    }
    if (!record->bytes.empty()) {
        std::memcpy(*handle, record->bytes.data(), record->bytes.size());
    }
    info->dataVersion = record->version;
    info->platformSign = record->platformSign;
    info->dataHdl = handle;
    return NoError;
}

GSErrCode ACAPI_ModulData_Delete(const char* modulName) {
    if (GSErrCode err = sim::enter("ACAPI_ModulData_Delete"); err != NoError) {
        return err;
    }
    auto& data = sim::currentAddOn().moduleData;
    if (data.erase(modulName != nullptr ? modulName : "") == 0) {
        return APIERR_NOMODULEDATA;
    }
    return NoError;
}
