#include "ACAPI/SpecialFolders.hpp"

#include "IO/Location.hpp"
#include "sim/Environment.h"
#include "sim/Sim.h"

namespace {

GSErrCode getSpecialFolder(void* par1, void* par2, void*) {
    auto* folder = static_cast<const API_SpecFolderID*>(par1);
    auto* location = static_cast<IO::Location*>(par2);
    if (folder == nullptr || location == nullptr) {
        return APIERR_BADPARS;
    }
    const char* name = nullptr;
    switch (*folder) {
    case API_UserDocumentsFolderID:
        name = "Documents";
        break;
    case API_TemporaryFolderID:
        name = "Temp";
        break;
    case API_ApplicationFolderID:
        name = "Application";
        break;
    default:
        return APIERR_BADPARS;
    }
    *location = IO::Location(sim::specialFolder(name).string().c_str());
    return NoError;
}

const bool registered = sim::registerEnvironmentRequest(APIEnv_GetSpecFolderID, getSpecialFolder);

} // namespace
