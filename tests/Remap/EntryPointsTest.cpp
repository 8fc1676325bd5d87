#include "ACAPI/EntryPoints.hpp"
#include "Addon/Subscriber.h"
#include "Environment/Directory.h"
#include "Remap/ObjectMap.h"
#include "Remap/ObjectMapFile.h"
#include "Remap/RemappingAddon.h"
#include "Remap/RemappingMenu.h"
#include "Remap/RemappingPrefs.h"
#include "RemapFixture.h"
#include "sim/AddOns.h"
#include "sim/Dialogs.h"
#include "sim/Files.h"
#include "sim/Memory.h"
#include "sim/Output.h"
#include "support/FailingAllocation.h"

#include <sys/types.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>

using namespace zelvane;
using namespace zelvane::remap;
using remap_test::RemapTest;

namespace {

namespace fs = std::filesystem;

// A tool whose registration throws.
class ThrowingTool : public Subscriber {
public:
    void getSpec(std::vector<EventSpec>&) const override {}
    bool takeEvent(Event&) override { return false; }
    bool registerInterface() override { throw std::runtime_error("registration"); }
};

class EntryPointsTest : public RemapTest {
protected:
    void SetUp() override {
        RemapTest::SetUp();
        fs::remove_all(sim::specialFolder("Preferences") / "Library Part Remapping");
    }
    void TearDown() override {
        if (addon != nullptr) {
            FreeData();
        }
        RemapTest::TearDown();
    }

    static API_AddonType check(Int32 server = 1) {
        envir = API_EnvirParams();
        envir.serverInfo.serverApplication = server;
        return CheckEnvironment(&envir);
    }

    static API_EnvirParams envir;
};

API_EnvirParams EntryPointsTest::envir;

} // namespace

TEST_F(EntryPointsTest, WithoutAnAddonNothingHappens) {
    EXPECT_EQ(RegisterInterface(), NoError);
    EXPECT_EQ(Initialize(), NoError);
    EXPECT_EQ(FreeData(), NoError);
    EXPECT_TRUE(sim::currentAddOn().menus.empty());
    EXPECT_EQ(sim::currentAddOn().projectHandler, nullptr);
}

TEST_F(EntryPointsTest, LoadRegisterInitialiseAndFree) {
    ASSERT_EQ(check(), APIAddon_Normal);
    ASSERT_NE(addon, nullptr);
    EXPECT_STREQ(envir.addOnInfo.name, "Library Part Remapping");
    EXPECT_STREQ(
        envir.addOnInfo.description,
        "Version 1.09 (build 11)\nPoints placed objects, doors, windows and lamps of foreign or broken "
        "sources at parts of the loaded library.");
    EXPECT_EQ(addon->getProductInfo().name, "Library Part Remapping");
    EXPECT_TRUE(addon->isPreferenceRegistered(RemappingPrefs::ID, Addon::project));
    auto* remapping = dynamic_cast<RemappingAddon*>(addon);
    ASSERT_NE(remapping, nullptr);
    ASSERT_EQ(remapping->getTools().size(), 1u);
    auto* menu = dynamic_cast<RemappingMenu*>(remapping->getTools().front());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->getMenuID(), 32500);

    ASSERT_EQ(RegisterInterface(), NoError);
    ASSERT_EQ(sim::currentAddOn().menus.size(), 1u);
    const sim::MenuRegistration& registered = sim::currentAddOn().menus[0];
    EXPECT_EQ(registered.menuResID, 32500);
    EXPECT_EQ(registered.promptResID, 1);
    EXPECT_EQ(registered.menuCode, 13);
    EXPECT_EQ(registered.flags, 0);
    ASSERT_EQ(Initialize(), NoError);
    EXPECT_NE(sim::currentAddOn().menus[0].handler, nullptr);
    EXPECT_NE(sim::currentAddOn().projectHandler, nullptr);

    // An item without a command reaches the menu through the host.
    EXPECT_EQ(sim::selectMenuItem(32500, 6), NoError);
    ASSERT_EQ(sim::alerts().size(), 1u);
    EXPECT_EQ(sim::alerts()[0].largeText, "This functionality is coming in a future release");

    EXPECT_EQ(FreeData(), NoError);
    EXPECT_EQ(addon, nullptr);
    EXPECT_EQ(FreeData(), NoError) << "a second time: nothing to free";
}

TEST_F(EntryPointsTest, ASecondCheckKeepsTheAddon) {
    ASSERT_EQ(check(), APIAddon_Normal);
    Addon* first = addon;
    EXPECT_EQ(check(), APIAddon_DontRegister) << "the environment is checked once";
    EXPECT_EQ(addon, first);
    ASSERT_EQ(RegisterInterface(), NoError);
    EXPECT_EQ(sim::currentAddOn().menus.size(), 1u);
}

TEST_F(EntryPointsTest, AnotherHostIsRefused) {
    EXPECT_EQ(check(2), APIAddon_DontRegister);
    EXPECT_EQ(envir.addOnInfo.name[0], 0);
    EXPECT_NE(addon, nullptr) << "the host still frees it";
    EXPECT_EQ(FreeData(), NoError);
    EXPECT_EQ(addon, nullptr);
}

TEST_F(EntryPointsTest, FailedFrameworkStepsAreFailures) {
    struct Case {
        const char* call;
        bool atRegistration;
    };
    for (const Case& c :
         {Case{"ACAPI_Register_Menu", true}, Case{"ACAPI_Install_MenuHandler", false},
          Case{"ACAPI_Register_ModulDataHandler", true}, Case{"ACAPI_Notify_CatchProjectEvent", false},
          Case{"ACAPI_Install_ModulDataMergeHandler", false}}) {
        ASSERT_EQ(check(), APIAddon_Normal) << c.call;
        if (!c.atRegistration) {
            ASSERT_EQ(RegisterInterface(), NoError) << c.call;
        }
        sim::failCall(c.call, APIERR_GENERAL);
        EXPECT_EQ(c.atRegistration ? RegisterInterface() : Initialize(), APIERR_GENERAL) << c.call;
        EXPECT_EQ(FreeData(), NoError);
        sim::reset();
        resetHandlers();
        ASSERT_TRUE(remap_test::loadAddonResources());
    }
}

TEST_F(EntryPointsTest, AnExceptionIsReportedOnce) {
    ASSERT_EQ(check(), APIAddon_Normal);
    ThrowingTool tool;
    addon->addSubscriber(&tool);
    EXPECT_EQ(RegisterInterface(), APIERR_GENERAL);
    addon->removeSubscriber(&tool);
    ASSERT_EQ(sim::alerts().size(), 1u);
    EXPECT_EQ(sim::alerts()[0].type, -1) << "an error alert";
    EXPECT_EQ(sim::alerts()[0].largeText, "Library Part Remapping ran into an unexpected problem.");
}

TEST_F(EntryPointsTest, PreferencesFolderMadeOnceAndReused) {
    RemappingAddon remapping;
    fs::path folder = sim::specialFolder("Preferences") / "Library Part Remapping";
    sim::clearCalls();
    std::unique_ptr<Directory> first(remapping.getUserPrefsDirectory());
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(sim::callCount(sim::folderCreateCall), 1u);
    std::unique_ptr<Directory> second(remapping.getUserPrefsDirectory());
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(sim::callCount(sim::folderCreateCall), 1u) << "reused";

    fs::remove_all(folder);
    sim::failCreate();
    EXPECT_EQ(std::unique_ptr<Directory>(remapping.getUserPrefsDirectory()), nullptr) << "cannot be made";
    EXPECT_FALSE(fs::exists(folder));

    ASSERT_TRUE(sim::loadResourcesText(sim::defaultAddOn, "{}"));
    EXPECT_EQ(std::unique_ptr<Directory>(remapping.getUserPrefsDirectory()), nullptr) << "no folder name";
}

// The add-on's folder that cannot be had is told by why, as the framework tells a folder refused:
// by the object map, and by the add-on's user preferences, with the add-on's report of an
// unexpected failure only for a failure no rule explains. The entry at its name is kept as it was.
TEST_F(EntryPointsTest, WhyItsPreferencesFolderCannotBeHadIsTold) {
    const fs::path folder = sim::specialFolder("Preferences") / "Library Part Remapping";
    const uid_t other = ::geteuid() == 4242 ? 4243 : 4242;
    struct Case {
        const char* name;
        bool root;        // only root gives a file away
        const char* held; // what the file at the folder's name holds, null for none
        bool theirs;      // that file is another user's
        bool notMade;     // every make of a folder fails
        std::string why;
        bool unexpected; // the add-on's report of an unexpected failure follows
    };
    const Case cases[] = {
        {"the player's file at its name", false, "mine", false, false, "it is not a folder", false},
        {"it cannot be made", false, nullptr, false, true,
         std::make_error_code(std::errc::io_error).message(), true},
        {"another user's file at its name", true, "theirs", true, false,
         "it is another user's entry, which does not hold this user's files", false},
    };
    bool skipped = false;
    for (const Case& c : cases) {
        if (c.root && ::geteuid() != 0) {
            skipped = true;
            continue;
        }
        SCOPED_TRACE(c.name);
        fs::remove_all(folder);
        if (c.held != nullptr) {
            remap_test::writeFile(folder, c.held);
            if (c.theirs) {
                ASSERT_EQ(::chown(folder.c_str(), other, other), 0);
            }
        }
        if (c.notMade) {
            sim::failCall(sim::folderCreateCall, ErrIO, -1);
        }
        RemappingAddon remapping;
        addon = &remapping;
        // The add-on is the test's own: the fixture frees none.
        struct Released {
            ~Released() { addon = nullptr; }
        } const released;
        remapping.addPreference(RemappingPrefs(), Addon::user);
        const std::string before = sim::consoleText();
        const std::size_t alerts = sim::alerts().size();
        ObjectMap map;
        EXPECT_EQ(readObjectMap(map), ObjectMapFile::noFolder);
        remapping.readPrefs(Addon::user, false);
        sim::clearFaults();
        const std::string told = "Preferences/Library Part Remapping: " + c.why + ".\n";
        EXPECT_EQ(sim::consoleText(), before + "The object map is not read from or written to " + told +
                                          "The user preferences of the add-on \"Library Part Remapping\" "
                                          "could not be read from " +
                                          told);
        EXPECT_EQ(sim::alerts().size(), alerts + (c.unexpected ? 1 : 0));
        if (c.unexpected && sim::alerts().size() > alerts) {
            EXPECT_EQ(sim::alerts().back().largeText,
                      "Library Part Remapping ran into an unexpected problem.");
        }
        if (c.held != nullptr) {
            EXPECT_EQ(remap_test::readFile(folder), c.held) << "kept as it was";
        } else {
            EXPECT_FALSE(fs::exists(folder));
        }
        fs::remove_all(folder);
    }
    if (skipped) {
        GTEST_SKIP() << "another user's file needs root, to give one away";
    }
}

TEST_F(EntryPointsTest, AFailedStartLeavesNoAddon) {
    testing_support::failAllocationAfter(0);
    EXPECT_EQ(check(), APIAddon_DontRegister);
    EXPECT_TRUE(testing_support::disarmAllocationFailure());
    EXPECT_EQ(addon, nullptr) << "the framework did not start";
    EXPECT_TRUE(sim::alerts().empty()) << "a start-up failure is an answer, not an exception";
    EXPECT_EQ(RegisterInterface(), NoError);
    EXPECT_EQ(Initialize(), NoError);
    EXPECT_EQ(FreeData(), NoError);
    EXPECT_TRUE(sim::currentAddOn().menus.empty());
}

// Every allocation of the start-up fails in turn: a failure either answers "do not register" and
// leaves no add-on, or is coped with; either way what was made before it is taken back (the leak
// checker of the sanitizer build reports anything of the program's own heap left behind).
TEST_F(EntryPointsTest, AStartFailingAtAnyAllocationLeavesNothing) {
    int refused = 0;
    int step = 0;
    for (;; ++step) {
        ASSERT_LT(step, 100000) << "the start-up never finished";
        sim::MemoryStats before = sim::memoryStats();
        testing_support::failAllocationAfter(step);
        API_AddonType answer = check();
        bool failed = testing_support::disarmAllocationFailure();
        if (answer == APIAddon_DontRegister) {
            ++refused;
            ASSERT_TRUE(failed) << "allocation " << step;
            EXPECT_EQ(addon, nullptr) << "allocation " << step;
        } else {
            ASSERT_EQ(answer, APIAddon_Normal) << "allocation " << step;
        }
        // An add-on refused by its own environment check is still freed by the host.
        FreeData();
        EXPECT_EQ(sim::memoryStats().livePointers, before.livePointers) << "allocation " << step;
        EXPECT_EQ(sim::memoryStats().liveHandles, before.liveHandles) << "allocation " << step;
        if (!failed) {
            break;
        }
    }
    EXPECT_GT(refused, 10) << "the start-up allocates";
}

// The host's memory runs out at every allocation of the start-up in turn.
TEST_F(EntryPointsTest, AStartFailingAtAnyHostAllocationLeavesNothing) {
    int refused = 0;
    int step = 0;
    for (;; ++step) {
        ASSERT_LT(step, 100000) << "the start-up never finished";
        sim::MemoryStats before = sim::memoryStats();
        sim::failNextAllocations(1, ErrMemoryFull, step);
        API_AddonType answer = check();
        // Fewer allocations than the ones let through: the failure was never reached.
        bool reached = sim::memoryStats().allocations - before.allocations >= std::size_t(step);
        sim::failNextAllocations(0);
        if (answer == APIAddon_DontRegister) {
            ++refused;
        } else {
            ASSERT_EQ(answer, APIAddon_Normal) << "allocation " << step;
        }
        // An add-on refused by its own environment check is still freed by the host.
        FreeData();
        EXPECT_EQ(sim::memoryStats().livePointers, before.livePointers) << "allocation " << step;
        EXPECT_EQ(sim::memoryStats().liveHandles, before.liveHandles) << "allocation " << step;
        if (!reached) {
            break;
        }
    }
    EXPECT_GT(refused, 0) << "the start-up takes host memory";
}
