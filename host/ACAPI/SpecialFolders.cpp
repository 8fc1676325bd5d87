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
    const std::filesystem::path path = sim::specialFolder(name);
    if (path.empty()) {
        return APIERR_GENERAL; // a folder the host does not take as its own (sim::specialFolder)
    }
    *location = IO::Location(path.string().c_str());
    return NoError;
}

const bool registered = sim::registerEnvironmentRequest(APIEnv_GetSpecFolderID, getSpecialFolder);

} // namespace
