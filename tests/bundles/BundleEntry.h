// The four entry points of a test bundle around its add-on class: each catches everything,
// reports it and answers the failure value.
#pragma once

#include "ACAPI/EntryPoints.hpp"
#include "Addon/Addon.h"
#include "Environment/Host.h"

#include <new>

namespace bundle {

using namespace zelvane;

inline void reportCrash(const char* entry) {
    try {
        if (addon != nullptr) {
            addon->reportUnexpectedFailure();
        } else {
            String line(entry);
            line += ": unexpected failure\n";
            host.writeReport(line);
        }
    } catch (...) {
    }
}

template <typename T>
API_AddonType checkEnvironment(API_EnvirParams* envir, const char* name, const char* description) {
    try {
        if (Addon::startup() != NoError) {
            return APIAddon_DontRegister;
        }
        addon = new T;
        return addon->checkAddonEnvironment(String(name), String(description), envir);
    } catch (...) {
        reportCrash("CheckEnvironment");
        return APIAddon_DontRegister;
    }
}

inline GSErrCode registerInterface() {
    try {
        return addon != nullptr && addon->registerInterface() ? NoError : GSErrCode(APIERR_GENERAL);
    } catch (...) {
        reportCrash("RegisterInterface");
        return APIERR_GENERAL;
    }
}

inline GSErrCode initialize() {
    try {
        return addon != nullptr && addon->initialise() ? NoError : GSErrCode(APIERR_GENERAL);
    } catch (...) {
        reportCrash("Initialize");
        return APIERR_GENERAL;
    }
}

inline GSErrCode freeData() {
    try {
        Addon* object = addon;
        delete object;
        addon = nullptr;
        return Addon::shutdown();
    } catch (...) {
        addon = nullptr;
        reportCrash("FreeData");
        return APIERR_GENERAL;
    }
}

} // namespace bundle

// Exports the four entry points of a test bundle whose add-on class is `Type`.
#define ZELVANE_TEST_BUNDLE(Type, name, description)                                                         \
    ACAPI_ENTRY_POINT API_AddonType CheckEnvironment(API_EnvirParams* envir) {                               \
        return bundle::checkEnvironment<Type>(envir, name, description);                                     \
    }                                                                                                        \
    ACAPI_ENTRY_POINT GSErrCode RegisterInterface() {                                                        \
        return bundle::registerInterface();                                                                  \
    }                                                                                                        \
    ACAPI_ENTRY_POINT GSErrCode Initialize() {                                                               \
        return bundle::initialize();                                                                         \
    }                                                                                                        \
    ACAPI_ENTRY_POINT GSErrCode FreeData() {                                                                 \
        return bundle::freeData();                                                                           \
    }
