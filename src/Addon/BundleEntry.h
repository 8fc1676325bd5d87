// The four entry points of a bundle around its add-on class `T`, which the host calls by name:
// each catches everything, reports it and answers the host's failure value. A bundle exports them
// with ZELVANE_BUNDLE(T, name, description) in one of its source files.
#pragma once

#include "ACAPI/EntryPoints.hpp"
#include "Addon/Addon.h"
#include "Environment/Host.h"

namespace zelvane {

template <typename T>
class BundleEntry {
public:
    // Starts the framework, makes the add-on object and checks the environment under the name and
    // description given.
    static API_AddonType checkEnvironment(API_EnvirParams* envir, const char* name, const char* description) {
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

    static GSErrCode registerInterface() {
        try {
            return addon != nullptr && addon->registerInterface() ? NoError : GSErrCode(APIERR_GENERAL);
        } catch (...) {
            reportCrash("RegisterInterface");
            return APIERR_GENERAL;
        }
    }

    static GSErrCode initialize() {
        try {
            return addon != nullptr && addon->initialise() ? NoError : GSErrCode(APIERR_GENERAL);
        } catch (...) {
            reportCrash("Initialize");
            return APIERR_GENERAL;
        }
    }

    // Deletes the add-on object, then stops the framework.
    static GSErrCode freeData() {
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

private:
    // The add-on's own report when there is an add-on object, else a line in the report window;
    // nothing of it may leave the entry point either.
    static void reportCrash(const char* entry) {
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
};

} // namespace zelvane

// Exports the four entry points of a bundle whose add-on class is `Type`.
#define ZELVANE_BUNDLE(Type, name, description)                                                              \
    ACAPI_ENTRY_POINT API_AddonType CheckEnvironment(API_EnvirParams* envir) {                               \
        return zelvane::BundleEntry<Type>::checkEnvironment(envir, name, description);                       \
    }                                                                                                        \
    ACAPI_ENTRY_POINT GSErrCode RegisterInterface() {                                                        \
        return zelvane::BundleEntry<Type>::registerInterface();                                              \
    }                                                                                                        \
    ACAPI_ENTRY_POINT GSErrCode Initialize() {                                                               \
        return zelvane::BundleEntry<Type>::initialize();                                                     \
    }                                                                                                        \
    ACAPI_ENTRY_POINT GSErrCode FreeData() {                                                                 \
        return zelvane::BundleEntry<Type>::freeData();                                                       \
    }
