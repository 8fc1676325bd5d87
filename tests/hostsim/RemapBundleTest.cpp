// The remapping bundle loaded as the host loads it: by the host program, and into this process.
#include "HostsimRun.h"

#include "ACAPI/EntryPoints.hpp"
#include "ACAPI/ErrorCodes.hpp"
#include "sim/AddOns.h"
#include "sim/Dialogs.h"
#include "sim/Output.h"
#include "sim/Resources.h"
#include "sim/Sim.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

namespace {

using hostsim_test::binaryDir;
using hostsim_test::sourceDir;

template <typename T>
T* entry(void* handle, const char* name) {
    return reinterpret_cast<T*>(dlsym(handle, name));
}

} // namespace

TEST(RemapBundleTest, RunsInTheHostProgramAndKeepsItsPreferencesInTheProject) {
    hostsim_test::HostsimRun run = hostsim_test::runHostsim(sourceDir / "examples" / "remap.json");
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string& report = run.output;
    for (const char* line : {
             "step 1: CheckEnvironment remap -> 2 name \"Library Part Remapping\" description \"Version 1.09 "
             "(build 11)\\n",
             "step 2: RegisterInterface remap -> 0",
             "step 3: Initialize remap -> 0",
             "step 6: menu 32500/3 -> 0",
             "step 12: FreeData remap -> 0",
             // Item 3 looks for placeable parts first; the project's library holds none.
             "alerts:\n  type -2 \"Warning\": \"The loaded library holds no placeable library parts.\" -> "
             "1 (not scripted)\ndialogs:\n",
             "undo steps:\nmenu items:\n",
             // Read when the project opened, written at each save, read again after a close.
             "module data:\n  remap \"\" version 1 sign 19789: "
             "\"<remappingPrefs><ifcSource>Survey</ifcSource>"
             "<dwgSource>Default</dwgSource><gsmSource>Shop &amp; Co</gsmSource><missingSource>Default"
             "</missingSource><legaceSource>Default</legaceSource></remappingPrefs>\"\n",
         }) {
        EXPECT_NE(report.find(line), std::string::npos) << "missing: " << line << "\n" << report;
    }
}

TEST(RemapBundleTest, PreferencesTheHostCannotGiveAreKeptAndTold) {
    const std::string stored = "<remappingPrefs><ifcSource>Survey</ifcSource></remappingPrefs>";
    std::filesystem::path scenario = hostsim_test::writeScenario(
        "remap-unread.json",
        "{\"addons\": [{\"name\": \"remap\", \"bundle\": \"remap.so\", \"developer\": 1514490966, "
        "\"local\": 21, \"resources\": [\"" +
            (sourceDir / "resources" / "zelvane.json").string() + "\", \"" +
            (sourceDir / "resources" / "remap.json").string() +
            "\"]}], \"steps\": [{\"entry\": \"CheckEnvironment\"}, {\"entry\": \"RegisterInterface\"}, "
            "{\"entry\": \"Initialize\"}, {\"moduleData\": {\"text\": \"" +
            stored +
            "\"}}, {\"script\": {\"faults\": [{\"call\": \"ACAPI_ModulData_Get\"}]}}, "
            "{\"project\": \"open\", \"file\": \"House.pln\"}, {\"project\": \"save\"}, "
            "{\"entry\": \"FreeData\"}]}");
    hostsim_test::HostsimRun run = hostsim_test::runHostsim(scenario);
    ASSERT_EQ(run.status, 0) << run.output;
    for (std::string line : {
             std::string("alerts:\n  type -1 \"Error\": \"Library Part Remapping ran into an unexpected "
                         "problem.\" -> 1 (not scripted)\n"),
             std::string(
                 "The project preferences of the add-on \"Library Part Remapping\" could not be read"),
             // The save left the stored preferences as they were, told of once.
             "module data:\n  remap \"\" version 1 sign 19789: \"" + stored + "\"\n",
         }) {
        EXPECT_NE(run.output.find(line), std::string::npos) << "missing: " << line << "\n" << run.output;
    }
    EXPECT_EQ(run.output.find("could not be written"), std::string::npos) << run.output;
}

TEST(RemapBundleTest, ExportsOnlyTheEntryPointsAndRegistersItsMenu) {
    std::string error;
    ASSERT_TRUE(sim::loadResources(sim::defaultAddOn, sourceDir / "resources" / "remap.json", &error))
        << error;
    void* handle = dlopen((binaryDir / "remap.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    auto* check = entry<CheckEnvironmentProc>(handle, "CheckEnvironment");
    auto* registerInterface = entry<RegisterInterfaceProc>(handle, "RegisterInterface");
    auto* initialize = entry<InitializeProc>(handle, "Initialize");
    auto* freeData = entry<FreeDataProc>(handle, "FreeData");
    ASSERT_TRUE(check && registerInterface && initialize && freeData);
    for (const char* hidden :
         {"_ZN7zelvane5addonE", "_ZN7zelvane4hostE", "_ZN7zelvane5remap18reportAddonFailureEv"}) {
        EXPECT_EQ(dlsym(handle, hidden), nullptr) << hidden;
    }

    EXPECT_EQ(registerInterface(), NoError) << "nothing to register before the add-on exists";
    API_EnvirParams envir;
    envir.serverInfo.serverApplication = 1;
    ASSERT_EQ(check(&envir), 2);
    EXPECT_STREQ(envir.addOnInfo.name, "Library Part Remapping");
    ASSERT_EQ(registerInterface(), NoError);
    ASSERT_EQ(sim::currentAddOn().menus.size(), 1u);
    EXPECT_EQ(sim::currentAddOn().menus[0].menuResID, 32500);
    EXPECT_EQ(sim::currentAddOn().menus[0].promptResID, 1);
    EXPECT_EQ(sim::currentAddOn().menus[0].menuCode, 13);
    ASSERT_EQ(initialize(), NoError);
    EXPECT_EQ(sim::selectMenuItem(32500, 1), NoError);
    EXPECT_TRUE(sim::alerts().empty());
    EXPECT_TRUE(sim::undoSteps().empty());
    EXPECT_EQ(freeData(), NoError);
    EXPECT_EQ(freeData(), NoError) << "freed already";
    dlclose(handle);
}
