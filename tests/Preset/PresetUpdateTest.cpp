#include "Addon/Addon.h"
#include "Addon/HostEvent.h"
#include "Database/Project.h"
#include "Environment/Host.h"
#include "Library/Library.h"
#include "Preset/PresetUpdater.h"
#include "Preset/ZelvaneLibrary.h"

#include "Addon/TestAddon.h"
#include "PresetTypesTest.h"
#include "sim/Library.h"
#include "sim/Output.h"
#include "sim/Project.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace zelvane;
using namespace testing_preset;

namespace {

class UpdateTest : public PresetTest {
protected:
    void SetUp() override {
        PresetTest::SetUp();
        sim::openProject();
        host.reset();
        Library::startup();
        made = new testing_addon::TestAddon;
        addon = made;
    }
    void TearDown() override {
        PresetDatabase::shutdownModule();
        delete made;
        addon = nullptr;
        Library::shutdown();
        host.reset();
    }

    testing_addon::TestAddon* made = nullptr;
};

std::string const configuration =
    "<zelvaneLibrary version=\"2\"><presetList><preset type=\"wall\" menuName=\"menu\"/></presetList>"
    "</zelvaneLibrary>";

} // namespace

TEST_F(UpdateTest, TheUpdateCommandIsOneUndoStep) {
    PresetDatabase::addTemplate(new WallRecord, "Walls", "", PresetDatabase::uniqueInType);
    PresetDatabase::addTemplate(new FinishRecord, "Finishes", "", PresetDatabase::uniqueInType);
    ASSERT_NE(dynamic_cast<PresetDatabase*>(host.getProject()->getPreference(PresetDatabase::ID.getFamily())),
              nullptr)
        << "the project holds the preset database";

    HostEvent event(PresetUpdater::spec.getKind(), 0);
    EXPECT_TRUE(made->publishToSubscribers(event));
    ASSERT_EQ(sim::undoSteps().size(), 1u) << "the updater is registered once";
    EXPECT_EQ(sim::undoSteps()[0].name, "Update Presets");
    EXPECT_EQ(sim::undoSteps()[0].result, NoError);

    PresetDatabase::shutdownModule();
    HostEvent after(PresetUpdater::spec.getKind(), 0);
    EXPECT_FALSE(made->publishToSubscribers(after)) << "nothing after shutdown";
    EXPECT_EQ(sim::undoSteps().size(), 1u);
}

TEST_F(UpdateTest, TheConfigurationPartIsReadWhenItsFileChanges) {
    std::filesystem::path path = sim::sandboxRoot() / "configuration.gsm";
    std::ofstream(path) << configuration;
    sim::LibPartDef part;
    part.type = APILib_MacroID;
    part.name = "Sample Tool 2 Library Configuration";
    part.ownID = "{11111111-2222-3333-4444-555555555555}-{11111111-2222-3333-4444-555555555555}";
    part.location = path.string();
    sim::addLibPart(part);

    ZelvaneLibrary& library = made->getLibraryConfiguration();
    EXPECT_EQ(&library, &made->getLibraryConfiguration()) << "one configuration, made on first request";
    Library const& front = *host.getFrontLibrary();
    EXPECT_FALSE(library.load(front, "Other Tool"));
    ASSERT_TRUE(library.load(front, made->getProductInfo().name));
    EXPECT_EQ(library.getVersion(), 2u);
    ASSERT_EQ(library.getPresets().size(), 1u);

    library.getPresets().clear();
    EXPECT_TRUE(library.load(front, made->getProductInfo().name));
    EXPECT_EQ(library.getPresets().size(), 0u) << "an unchanged part is not read again";

    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::hours(1));
    EXPECT_TRUE(library.load(front, made->getProductInfo().name));
    EXPECT_EQ(library.getPresets().size(), 1u);
}

TEST_F(UpdateTest, OnlyAMacroPartIsTheConfiguration) {
    struct Case {
        char const* name;
        API_LibTypeID type;
        bool read;
    };
    std::vector<Case> const cases{
        {"a macro part", APILib_MacroID, true},
        {"an object part of that name", APILib_ObjectID, false},
        {"a label part of that name", APILib_LabelID, false},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        sim::clearLibrary();
        std::filesystem::path path = sim::sandboxRoot() / "configuration.gsm";
        std::ofstream(path) << configuration;
        sim::LibPartDef part;
        part.type = c.type;
        part.name = "Sample Tool 2 Library Configuration";
        part.location = path.string();
        sim::addLibPart(part);
        ZelvaneLibrary library;
        EXPECT_EQ(library.load(*host.getFrontLibrary(), made->getProductInfo().name), c.read);
        EXPECT_EQ(library.getVersion(), c.read ? 2u : 0u);
    }
}
