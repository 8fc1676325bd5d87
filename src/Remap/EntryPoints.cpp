// The four functions the host calls in the bundle. Each catches every exception, reports it with
// the add-on's error alert and answers the host's failure value.
#include "ACAPI/EntryPoints.hpp"

#include "ACAPI/ErrorCodes.hpp"
#include "Environment/Host.h"
#include "Remap/RemappingAddon.h"

using namespace zelvane;
using namespace zelvane::remap;

namespace {

// The alert must not let an exception of its own out of the entry point either.
void reportFailure() {
    try {
        reportAddonFailure();
    } catch (...) {
    }
}

} // namespace

ACAPI_ENTRY_POINT API_AddonType CheckEnvironment(API_EnvirParams* envir) {
    try {
        if (RemappingAddon::startup() != NoError || addon == nullptr) {
            return APIAddon_DontRegister;
        }
        return addon->checkAddonEnvironment(host.getLocalString(32528, 1), host.getLocalString(32528, 2),
                                            envir);
    } catch (...) {
        reportFailure();
        // The host frees no add-on it was told not to register: the one made is taken back here.
        try {
            RemappingAddon::shutdown();
        } catch (...) {
        }
        return APIAddon_DontRegister;
    }
}

// A framework step that failed or threw is a failure for the host too; without an add-on there is
// nothing to register.
ACAPI_ENTRY_POINT GSErrCode RegisterInterface() {
    try {
        if (addon == nullptr) {
            return NoError;
        }
        return addon->registerInterface() ? NoError : GSErrCode(APIERR_GENERAL);
    } catch (...) {
        reportFailure();
        return APIERR_GENERAL;
    }
}

ACAPI_ENTRY_POINT GSErrCode Initialize() {
    try {
        if (addon == nullptr) {
            return NoError;
        }
        return addon->initialise() ? NoError : GSErrCode(APIERR_GENERAL);
    } catch (...) {
        reportFailure();
        return APIERR_GENERAL;
    }
}

ACAPI_ENTRY_POINT GSErrCode FreeData() {
    try {
        if (addon == nullptr) {
            return NoError;
        }
        return RemappingAddon::shutdown();
    } catch (...) {
        reportFailure();
        return NoError;
    }
}
