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

// The common start of the calls that read a record: the call's injected error, a missing info
// or a missing record gives its error, otherwise `record` is set.
GSErrCode lookUp(const char* call, const API_ModulData* info, const char* modulName,
                 const sim::ModuleDataRecord*& record) {
    if (GSErrCode err = sim::enter(call); err != NoError) {
        return err;
    }
    if (info == nullptr) {
        return APIERR_BADPARS;
    }
    record = findData(modulName);
    return record != nullptr ? NoError : APIERR_NOMODULEDATA;
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
    const sim::ModuleDataRecord* record = nullptr;
    if (GSErrCode err = lookUp("ACAPI_ModulData_GetInfo", info, modulName, record); err != NoError) {
        return err;
    }
    info->dataVersion = record->version;
    info->platformSign = record->platformSign;
    info->dataHdl = nullptr;
    return NoError;
}

GSErrCode ACAPI_ModulData_Get(API_ModulData* info, const char* modulName) {
    const sim::ModuleDataRecord* record = nullptr;
    if (GSErrCode err = lookUp("ACAPI_ModulData_Get", info, modulName, record); err != NoError) {
        return err;
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
