#include "ACAPI/EntryPoints.hpp"
#include "sim/AddOns.h"
#include "sim/Output.h"
#include "sim/Sim.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

const std::filesystem::path binaryDir = ZELVANE_BINARY_DIR;
const std::filesystem::path sourceDir = ZELVANE_SOURCE_DIR;

struct HostsimRun {
    int status = -1;
    std::string output; // standard output and error
};

HostsimRun runHostsim(const std::filesystem::path& scenario) {
    std::string command = (binaryDir / "hostsim").string() + " " + scenario.string() + " 2>&1";
    HostsimRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        run.output.append(buffer.data(), n);
    }
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::filesystem::path writeScenario(const std::string& name, const std::string& text) {
    std::filesystem::path path = sim::specialFolder("Temp") / name;
    std::ofstream(path) << text;
    return path;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The four entry points of a bundle loaded the way the host loads it.
struct LoadedBundle {
    explicit LoadedBundle(const char* file) {
        handle = dlopen((binaryDir / file).c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle != nullptr) {
            check = reinterpret_cast<CheckEnvironmentProc*>(dlsym(handle, "CheckEnvironment"));
            registerInterface = reinterpret_cast<RegisterInterfaceProc*>(dlsym(handle, "RegisterInterface"));
            initialize = reinterpret_cast<InitializeProc*>(dlsym(handle, "Initialize"));
            freeData = reinterpret_cast<FreeDataProc*>(dlsym(handle, "FreeData"));
        }
    }
    ~LoadedBundle() {
        if (handle != nullptr) {
            dlclose(handle);
        }
    }
    bool complete() const { return check && registerInterface && initialize && freeData; }

    void* handle = nullptr;
    CheckEnvironmentProc* check = nullptr;
    RegisterInterfaceProc* registerInterface = nullptr;
    InitializeProc* initialize = nullptr;
    FreeDataProc* freeData = nullptr;
};

} // namespace

TEST(HostsimTest, RunsTheExampleEndToEnd) {
    HostsimRun run = runHostsim(sourceDir / "examples" / "sample.json");
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string& report = run.output;
    for (const char* line : {
             "step 1: CheckEnvironment sample -> 2 name \"Sample Tool 2\" description \"Version 1.5 (build "
             "42)\\nCounts "
             "and announces.\"",
             "step 2: RegisterInterface sample -> 0",
             "step 3: Initialize sample -> 0",
             "step 6: menu 32500/1 -> 0",
             "step 9: menu 32500/2 -> 0", // the failing item still answers the host 0
             "step 18: FreeData sample -> 0",
             // The project's count starts from its module data, the user's from nothing.
             "report window:\n  Counted 6 in the project, 1 in all\n  Counted 7 in the project, 2 in all\n",
             "  Nothing to count without a project\n",
             "  Named Beds\n  Naming cancelled\n",
             "alerts:\n  type -1 \"Error\": \"Sample Tool 2 ran into an unexpected problem.\" -> 1\n",
             "dialogs:\n  32600 \"Name\": accepted\n  32600 \"Name\": cancelled (not scripted) (closed by "
             "the host)\n",
             "module data:\n  sample \"\" version 1 sign 19789: "
             "\"<projectCount><count>7</count></projectCount>\"\n",
             "  Preferences/Zelvane/com.zelvane.sampletool2.xml:\n",
             "  \t<userCount>\n  \t\t<count>2</count>\n  \t</userCount>\n",
             "  Sample Tool 2: unexpected failure\n",
             "console:\n  Sample Tool 2 at depth 1\n",
             "undo steps:\n  \"Count\" -> 0\n  \"Count\" -> 0\n",
             "  sample 32500/1: flags 2\n",
         }) {
        EXPECT_TRUE(contains(report, line)) << "missing: " << line << "\n" << report;
    }
}

TEST(HostsimTest, RunsTheTwoAddonExample) {
    HostsimRun run = runHostsim(sourceDir / "examples" / "two-addons.json");
    ASSERT_EQ(run.status, 0) << run.output;
    for (const char* line : {
             "step 9: command GSUP version 1 of sample -> 0, answered",
             "step 10: command GSUP version 1 of sample -> 0, no answer", // without its parameters
             "  Joining add-on joined a supervisor of 2 members\n  Joining add-on took the announcement\n"
             "  Announcement taken\n",
             "unload: FreeData joiner -> 0\nunload: FreeData sample -> 0\n",
         }) {
        EXPECT_TRUE(contains(run.output, line)) << "missing: " << line << "\n" << run.output;
    }
}

TEST(HostsimTest, AnAddonThatRefusesToLoadGetsOnlyFreeData) {
    HostsimRun run = runHostsim(writeScenario("refuse.json", R"({"application": 2,
        "addons": [{"name": "sample", "bundle": "sample_addon.so", "developer": 1514490966, "local": 100}],
        "steps": [{"entry": "CheckEnvironment"}, {"entry": "CheckEnvironment"}, {"entry": "RegisterInterface"},
                  {"menu": 32500, "item": 1}]})"));
    ASSERT_EQ(run.status, 0) << run.output;
    for (const char* line : {"step 1: CheckEnvironment sample -> 0 name \"\"",
                             "step 2: CheckEnvironment sample -> not called (already called)",
                             "step 3: RegisterInterface sample -> not called (the add-on refused to load)",
                             "step 4: menu 32500/1 -> 0x81060101", "unload: FreeData sample -> 0"}) {
        EXPECT_TRUE(contains(run.output, line)) << "missing: " << line << "\n" << run.output;
    }
}

TEST(HostsimTest, MalformedScenariosAndBundlesFailCleanly) {
    struct Case {
        const char* text;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {"{\"addons\": [", 2, "not valid JSON"},
        {"[]", 2, "must be an object"},
        {"{\"steps\": []}", 2, "\"addons\" is missing"},
        {"{\"addons\": [{\"name\": \"a\", \"bundle\": \"sample_addon.so\", \"developer\": 1, \"local\": 2}], "
         "\"steps\": [{\"menu\": 32500}]}",
         2, "step 1: \"item\" is missing"},
        {"{\"addons\": [{\"name\": \"a\", \"bundle\": \"sample_addon.so\", \"developer\": 1, \"local\": 2}], "
         "\"steps\": [{\"entry\": \"Start\"}]}",
         2, "unknown entry point"},
        {"{\"addons\": [{\"name\": \"a\", \"bundle\": \"sample_addon.so\", \"developer\": -1, \"local\": "
         "2}], "
         "\"steps\": []}",
         2, "\"developer\" is out of range"},
        {"{\"addons\": [{\"name\": \"a\", \"bundle\": \"sample_addon.so\", \"developer\": 1, \"local\": 2}], "
         "\"steps\": [{\"command\": \"TOOLONG\"}]}",
         2, "not a four-character code"},
        {"{\"addons\": [{\"name\": \"a\", \"bundle\": \"sample_addon.so\", \"developer\": 1, \"local\": 2, "
         "\"resources\": \"bad0.json\"}], \"steps\": []}",
         2, "is not a JSON object"},
        {"{\"addons\": [{\"name\": \"a\", \"bundle\": \"sample_addon.so\", \"developer\": 1, \"local\": 2}], "
         "\"steps\": [{\"script\": {\"dialogs\": {\"32600\": [[{\"do\": \"wave\"}]]}}}]}",
         2, "unknown action \"wave\""},
        {"{\"addons\": [{\"name\": \"a\", \"bundle\": \"sample_addon.so\", \"developer\": 1, \"local\": 2}], "
         "\"steps\": [{\"script\": {\"alerts\": [4]}}]}",
         2, "alert answers are buttons 1 to 3"},
        {"{\"addons\": [{\"name\": \"a\", \"bundle\": \"no_such_bundle.so\", \"developer\": 1, \"local\": "
         "2}], "
         "\"steps\": []}",
         3, "cannot load bundle"},
        {"{\"addons\": [{\"name\": \"a\", \"bundle\": \"libzelvane_host.so\", \"developer\": 1, \"local\": "
         "2}], "
         "\"steps\": []}",
         3, "lacks one of the four entry points"},
    };
    int index = 0;
    for (const Case& c : cases) {
        HostsimRun run = runHostsim(writeScenario("bad" + std::to_string(index++) + ".json", c.text));
        EXPECT_EQ(run.status, c.status) << c.text << "\n" << run.output;
        EXPECT_TRUE(contains(run.output, c.message)) << c.text << "\n" << run.output;
        EXPECT_TRUE(contains(run.output, "hostsim: ")) << run.output;
    }

    // No scenario at all, or one that cannot be read.
    struct Missing {
        std::filesystem::path scenario;
        int status;
        const char* message;
    };
    const Missing missing[] = {
        {"", 1, "usage: hostsim SCENARIO"},
        {sim::specialFolder("Temp") / "no_such_scenario.json", 2, "cannot read"},
        {writeScenario("missing-resources.json",
                       "{\"addons\": [{\"name\": \"a\", \"bundle\": \"sample_addon.so\", \"developer\": 1, "
                       "\"local\": 2, \"resources\": \"no_such_resources.json\"}], \"steps\": []}"),
         2, "cannot read the resource file"},
    };
    for (const Missing& m : missing) {
        HostsimRun run = runHostsim(m.scenario);
        EXPECT_EQ(run.status, m.status) << m.scenario << "\n" << run.output;
        EXPECT_TRUE(contains(run.output, m.message)) << m.scenario << "\n" << run.output;
    }
}

TEST(HostsimTest, TwoBundlesJoinThroughTheSharedCommand) {
    const sim::AddOnID sampleID{0x5A454C56, 100};
    const sim::AddOnID joinerID{0x5A454C56, 101};
    {
        LoadedBundle sample("sample_addon.so");
        LoadedBundle joiner("joining_addon.so");
        ASSERT_TRUE(sample.complete()) << dlerror();
        ASSERT_TRUE(joiner.complete());
        // The framework's globals stay inside each bundle.
        for (const char* hidden : {"_ZN7zelvane5addonE", "_ZN7zelvane4hostE"}) {
            EXPECT_EQ(dlsym(sample.handle, hidden), nullptr) << hidden;
            EXPECT_EQ(dlsym(joiner.handle, hidden), nullptr) << hidden;
        }
        API_EnvirParams envir;
        envir.serverInfo.serverApplication = 1;

        sim::setCurrentAddOn(sampleID);
        ASSERT_EQ(sample.check(&envir), APIAddon_Normal);
        ASSERT_EQ(sample.registerInterface(), NoError);
        ASSERT_EQ(sample.initialize(), NoError);

        sim::setCurrentAddOn(joinerID);
        ASSERT_EQ(joiner.check(&envir), APIAddon_Normal);
        ASSERT_EQ(joiner.registerInterface(), NoError);
        ASSERT_EQ(joiner.initialize(), NoError);
        EXPECT_TRUE(contains(sim::reportText(), "Joining add-on joined a supervisor of 2 members"))
            << sim::reportText();
        EXPECT_TRUE(sim::findAddOn(joinerID)->services.empty()) << "a joined add-on answers no 'GSUP'";

        // An event the sample add-on's subscribers do not take reaches the joined add-on.
        EXPECT_EQ(sim::selectMenuItem(32500, 4), NoError);
        EXPECT_TRUE(contains(sim::reportText(), "Joining add-on took the announcement\nAnnouncement taken\n"))
            << sim::reportText();

        // The maker goes first: the joined add-on is detached and goes on alone.
        sim::setCurrentAddOn(sampleID);
        EXPECT_EQ(sample.freeData(), NoError);
        sim::setCurrentAddOn(joinerID);
        EXPECT_EQ(joiner.freeData(), NoError);
        EXPECT_FALSE(contains(sim::reportText(), "unexpected failure")) << sim::reportText();
    }

    // Unloaded bundles leave the host; the globals of the two bundles are their own, so a joiner
    // loaded alone makes a supervisor of its own.
    sim::unloadAddOn(sampleID);
    sim::unloadAddOn(joinerID);
    LoadedBundle alone("joining_addon.so");
    ASSERT_TRUE(alone.complete());
    API_EnvirParams envir;
    envir.serverInfo.serverApplication = 1;
    sim::setCurrentAddOn(joinerID);
    EXPECT_EQ(alone.check(&envir), APIAddon_Normal);
    EXPECT_TRUE(contains(sim::reportText(), "Joining add-on has a supervisor of its own"))
        << sim::reportText();
    EXPECT_EQ(alone.freeData(), NoError);
}
