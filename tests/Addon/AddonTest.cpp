#include "ACAPI/AddOnRegistration.hpp"
#include "Addon/DatabaseEvent.h"
#include "Addon/MenuEvent.h"
#include "Addon/ModuleSubscriber.h"
#include "Addon/ProjectEvent.h"
#include "Addon/Supervisor.h"
#include "Environment/Host.h"
#include "TestAddon.h"
#include "sim/AddOns.h"
#include "sim/Resources.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <stdexcept>

using namespace zelvane;
using namespace testing_addon;

namespace {

const EventSpec projectSpec(HostEvent::ID, ProjectEvent::ID);
const EventSpec menuSpec(HostEvent::ID, MenuEvent::ID);

void resetHandlers() {
    ProjectSubscriber::isInstalled = false;
    ModuleSubscriber::m_isRegistered = 0;
    ModuleSubscriber::m_isInstalled = 0;
}

class LibraryAddon : public TestAddon {
public:
    bool isLibrary() const override { return true; }
};

class AddonTest : public ::testing::Test {
protected:
    void SetUp() override { resetHandlers(); }
    void TearDown() override {
        addon = nullptr;
        resetHandlers();
        host.reset();
    }
};

struct Seen {
    UInt32 depth;
    bool inProjectEvent;
};

} // namespace

TEST_F(AddonTest, NestedEntriesRestoreDepthAndProjectFlag) {
    TestAddon a;
    addon = &a;
    std::vector<Seen> seen;
    Probe menu(menuSpec, [&](Event&) {
        seen.push_back({a.getEntryDepth(), a.isInProjectEvent()});
        return true;
    });
    Probe project(projectSpec, [&](Event& event) {
        seen.push_back({a.getEntryDepth(), a.isInProjectEvent()});
        if (static_cast<HostEvent&>(event).getID() == 4) {
            MenuEvent nested(32500, 1);
            a.publishExternalEvent(nested, true);
            seen.push_back({a.getEntryDepth(), a.isInProjectEvent()});
            ProjectEvent inner(8);
            a.publishExternalEvent(inner, false);
        }
        return false;
    });
    a.addSubscriber(&menu);
    a.addSubscriber(&project);

    ProjectEvent open(4);
    a.publishExternalEvent(open, false);
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].depth, 1u) << "a notification at depth 0 is outermost";
    EXPECT_TRUE(seen[0].inProjectEvent);
    EXPECT_EQ(seen[1].depth, 1u) << "a menu entry restarts the depth";
    EXPECT_TRUE(seen[1].inProjectEvent) << "the command still runs inside the notification";
    EXPECT_EQ(seen[2].depth, 1u) << "the depth is back after the nested entry";
    EXPECT_TRUE(seen[2].inProjectEvent) << "and so is the flag";
    EXPECT_EQ(seen[3].depth, 2u) << "a notification nests inside";
    EXPECT_EQ(a.getEntryDepth(), 0u);
    EXPECT_FALSE(a.isInProjectEvent());
    EXPECT_EQ(a.resets, 2) << "the outer notification and the menu entry";

    // The next notification is outermost again and resets the per-entry state.
    ProjectEvent again(1);
    a.publishExternalEvent(again, false);
    EXPECT_EQ(seen.back().depth, 1u);
    EXPECT_EQ(a.resets, 3);
    a.removeAllSubscribers();
}

TEST_F(AddonTest, ExceptionsNeverLeaveAnEntry) {
    TestAddon a;
    addon = &a;
    Probe thrower(menuSpec, [](Event&) -> bool { throw std::runtime_error("handler"); });
    a.addSubscriber(&thrower);
    MenuEvent menu(32500, 1);
    a.publishExternalEvent(menu, true);
    EXPECT_EQ(a.failures, 1);
    EXPECT_EQ(a.getEntryDepth(), 0u);
    EXPECT_EQ(a.trace, (std::vector<std::string>{"pre"})) << "the dispatch ended at the exception";

    // A failed entry drops the event and still restores the depth.
    a.throwOnReset = true;
    a.throwOnReport = true;
    a.trace.clear();
    a.publishExternalEvent(menu, true);
    EXPECT_EQ(a.failures, 2);
    EXPECT_TRUE(a.trace.empty());
    EXPECT_EQ(a.getEntryDepth(), 0u);

    // Through the host's callback the host is answered 0.
    a.throwOnReset = false;
    a.throwOnReport = false;
    MenuSubscriber* none = nullptr;
    (void)none;
    sim::currentAddOn().menus.push_back(
        sim::MenuRegistration{32500, 0, MenuCode_Tools, 0, &MenuSubscriber::menuCallback});
    EXPECT_EQ(sim::selectMenuItem(32500, 1), NoError);
    EXPECT_EQ(a.failures, 3);
    a.removeAllSubscribers();
}

TEST_F(AddonTest, DatabaseRunSpansNotifications) {
    TestAddon a;
    addon = &a;
    ElementLink link;
    struct Case {
        UInt32 id;
        bool run;
    };
    for (const Case& c :
         {Case{0xFFFFFFFF, true}, Case{5, true}, Case{7, true}, Case{0xFFFFFFFE, false}, Case{5, false}}) {
        DatabaseEvent event(Int32(c.id), link);
        a.publishExternalEvent(event, true);
        EXPECT_EQ(a.isDatabaseRun(), c.run) << c.id;
    }
}

TEST_F(AddonTest, HostEventsArePreAndPostProcessed) {
    TestAddon a;
    addon = &a;
    Probe menu(menuSpec, [&](Event&) {
        a.trace.push_back("subscriber");
        return true;
    });
    a.addSubscriber(&menu);
    MenuEvent event(32500, 1);
    EXPECT_FALSE(a.publishEvent(event)) << "host events answer false even when taken";
    EXPECT_EQ(a.trace, (std::vector<std::string>{"pre", "subscriber", "post"}));
    a.trace.clear();
    a.consumeHostEvents = true;
    EXPECT_FALSE(a.publishEvent(event));
    EXPECT_EQ(a.trace, (std::vector<std::string>{"pre", "post"})) << "consumed, and still post-processed";

    // Other families are not pre- or post-processed.
    a.trace.clear();
    Event other(EventSpec(MakeGSType("INTF"), MakeGSType("ACEV")));
    EXPECT_FALSE(a.publishEvent(other));
    EXPECT_TRUE(a.trace.empty());
    a.removeAllSubscribers();
}

TEST_F(AddonTest, EnvironmentCheck) {
    TestAddon a;
    addon = &a;
    int checks = 0;
    Probe probe(menuSpec, [](Event&) { return false; });
    a.addSubscriber(&probe);

    EXPECT_EQ(a.checkAddonEnvironment(String("Tool"), String("Does things"), nullptr), APIAddon_DontRegister);
    EXPECT_FALSE(probe.isEnvironmentChecked()) << "no subscriber was asked";
    API_EnvirParams other;
    other.serverInfo.serverApplication = 2;
    EXPECT_EQ(a.checkAddonEnvironment(String("Tool"), String("Does things"), &other), APIAddon_DontRegister);
    EXPECT_EQ(other.addOnInfo.name[0], 0);

    ASSERT_TRUE(sim::loadResourcesText(
        sim::defaultAddOn,
        R"({"strings": {"32700": ["", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
                                                     "", "", "", "", "Version", "build"]}})"));
    API_EnvirParams envir;
    envir.serverInfo.serverApplication = 1;
    std::string longName(300, 'n');
    EXPECT_EQ(a.checkAddonEnvironment(String(longName.c_str()), String("Does things"), &envir),
              APIAddon_Normal);
    EXPECT_EQ(std::strlen(envir.addOnInfo.name), 255u) << "cut to the host's field";
    EXPECT_STREQ(envir.addOnInfo.description, "Version 1.5 (build 42)\nDoes things");
    EXPECT_TRUE(probe.isEnvironmentChecked());
    EXPECT_EQ(sim::callCount("ACAPI_KeepInMemory"), 3u);
    (void)checks;

    // A failing subscriber check refuses the add-on.
    TestAddon b;
    addon = &b;
    Probe refusing(menuSpec, [](Event&) { return false; });
    refusing.environmentOK = false;
    b.addSubscriber(&refusing);
    API_EnvirParams again;
    again.serverInfo.serverApplication = 1;
    EXPECT_EQ(b.checkAddonEnvironment(String("Tool"), String(), &again), APIAddon_DontRegister);
    a.removeAllSubscribers();
    b.removeAllSubscribers();
}

TEST_F(AddonTest, HostCallbacksReachTheAddon) {
    TestAddon a;
    addon = &a;
    std::vector<Int32> got;
    Probe menu(menuSpec, [&](Event& event) {
        got.push_back(static_cast<MenuEvent&>(event).getItemIndex());
        return true;
    });
    Probe project(projectSpec, [&](Event& event) {
        got.push_back(static_cast<HostEvent&>(event).getID());
        return false;
    });
    // The menu prober registers no menu itself; the table entry stands for one.
    sim::currentAddOn().menus.push_back(sim::MenuRegistration{32500, 0, MenuCode_Tools, 0, nullptr});
    a.addSubscriber(&menu);
    a.addSubscriber(&project);
    ASSERT_TRUE(a.registerInterface());
    ASSERT_TRUE(a.initialise());
    EXPECT_TRUE(sim::currentAddOn().keepInMemory);
    EXPECT_TRUE(sim::currentAddOn().moduleDataHandlerRegistered);
    EXPECT_EQ(sim::currentAddOn().mergeHandler, &ModuleSubscriber::moduleCallback);
    EXPECT_FALSE(sim::currentAddOn().builtInLibrary);
    EXPECT_NE(sim::currentAddOn().projectHandler, nullptr);
    ASSERT_EQ(sim::currentAddOn().services.size(), 1u) << "the supervisor link's command";
    EXPECT_EQ(sim::currentAddOn().services[0].command, Supervisor::ID);
    EXPECT_EQ(sim::currentAddOn().services[0].version, Supervisor::version);
    sim::currentAddOn().menus[0].handler = &MenuSubscriber::menuCallback;

    EXPECT_EQ(sim::selectMenuItem(32500, 3), NoError);
    EXPECT_EQ(sim::notifyProject(APINotify_Open), NoError);
    EXPECT_EQ(got, (std::vector<Int32>{3, 4}));
    EXPECT_FALSE(a.initialise()) << "once only";
    a.removeAllSubscribers();
}

TEST_F(AddonTest, LibraryAddonRegistersItsLibrary) {
    LibraryAddon a;
    addon = &a;
    ASSERT_TRUE(a.registerInterface());
    EXPECT_TRUE(sim::currentAddOn().builtInLibrary);
    EXPECT_FALSE(a.registerInterface()) << "once only";
    EXPECT_EQ(sim::callCount("ACAPI_Register_ModulDataHandler"), 1u);
    EXPECT_TRUE(a.getPlatformSignature() == PlatformSignature(HostType(1), 21));
    EXPECT_EQ(a.getType(), 2);

    sim::reset();
    resetHandlers();
    LibraryAddon refused;
    sim::failCall("ACAPI_Register_BuiltInLibrary", APIERR_GENERAL);
    EXPECT_FALSE(refused.registerInterface()) << "a library the host did not take";
}
