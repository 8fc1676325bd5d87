// What a preset-using add-on does at project notifications: embedded files at open, starter
// presets into an empty preset database, and the library configuration check at a library change.
#include "Addon/Addon.h"
#include "Addon/ProjectEvent.h"
#include "Database/Project.h"
#include "Environment/Host.h"
#include "Library/Library.h"
#include "Preset/ZelvaneLibrary.h"

#include "Addon/TestAddon.h"
#include "PresetTypesTest.h"
#include "sim/Dialogs.h"
#include "sim/Files.h"
#include "sim/Library.h"
#include "sim/Output.h"
#include "sim/Project.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace zelvane;
using namespace testing_preset;

namespace {

constexpr Int32 newProject = 1;
constexpr Int32 openProject = 4;
constexpr Int32 reopenProject = 0x10000;
constexpr Int32 libraryChanged = 0x200000;

class PresetAddon : public testing_addon::TestAddon {
public:
    bool isPresetsUsed() const override { return presets; }
    bool isEmbeddedFilesUsed() const override { return images; }

    bool presets = true;
    bool images = false;
};

class LifeCycleTest : public PresetTypesTest {
protected:
    void SetUp() override {
        PresetTypesTest::SetUp();
        sim::openProject();
        host.reset();
        Library::startup();
        made = new PresetAddon;
        made->info.name = "Sample Tool 2";
        made->version = "2";
        addon = made;
        // The types register the project's preset database once an add-on runs.
        PresetDatabase::shutdownModule();
        PresetDatabase::addTemplate(new WallRecord, "Walls", "Walls", PresetDatabase::uniqueInDatabase);
        PresetDatabase::addTemplate(new FinishRecord, "Finishes", "Finishes", PresetDatabase::uniqueInType);
        embedded = sim::specialFolder("Documents") / "Embedded";
        std::filesystem::create_directories(embedded);
        sim::setLibraryFolders({embedded.string()}, 0);
    }
    void TearDown() override {
        // The project outlives the test: its preset database goes now.
        host.getProject()->setPreference(PresetDatabase(), false);
        PresetDatabase::shutdownModule();
        delete made;
        addon = nullptr;
        Library::shutdown();
        host.reset();
        PresetTypesTest::TearDown();
    }

    void notify(Int32 id) {
        ProjectEvent event(id);
        made->publishExternalEvent(event, false);
    }
    PresetDatabase* presets() const {
        return dynamic_cast<PresetDatabase*>(
            host.getProject()->getPreference(PresetDatabase::ID.getFamily()));
    }
    // A type-10 part whose file holds the text.
    void addPart(std::string const& name, std::string const& text, API_LibTypeID type = APILib_MacroID) {
        std::filesystem::path path = sim::sandboxRoot() / (name + ".gsm");
        std::ofstream(path) << text;
        sim::LibPartDef part;
        part.type = type;
        part.name = name;
        part.location = path.string();
        sim::addLibPart(part);
    }
    std::filesystem::path images() const { return embedded / "Zelvane" / "Interface Images"; }

    PresetAddon* made = nullptr;
    std::filesystem::path embedded;
};

std::string presetFile(std::vector<std::string> const& names) {
    std::string xml = "<zelvanePresets><presetDatabase><records>";
    unsigned int n = 1;
    for (std::string const& name : names) {
        xml += "<wall key=\"" + keyText(n++) + "\"><name>" + name + "</name></wall>";
    }
    return xml + "</records></presetDatabase></zelvanePresets>";
}

std::vector<std::string> namesOf(PresetDatabase const& database) {
    std::vector<std::string> names;
    for (auto const& entry : database) {
        names.push_back(entry.second->getName().data());
    }
    return names;
}

} // namespace

TEST_F(LifeCycleTest, EmbeddedFilesAreMadeAndRegisteredByFlag) {
    struct Case {
        char const* name;
        bool presets, images;
        std::vector<char const*> files;
    };
    std::vector<Case> const cases{
        {"neither", false, false, {}},
        {"presets", true, false, {"Preset_Refresh_0_nocache.gdl", "Preset_Refresh_1_nocache.gdl"}},
        {"images", false, true, {"Zoom_Window_MAC_0_nocache.png", "Zoom_Window_MAC_1_nocache.png"}},
        {"both",
         true,
         true,
         {"Zoom_Window_MAC_0_nocache.png", "Zoom_Window_MAC_1_nocache.png", "Preset_Refresh_0_nocache.gdl",
          "Preset_Refresh_1_nocache.gdl"}},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(embedded / "Zelvane");
        sim::clearLibrary();
        made->presets = c.presets;
        made->images = c.images;
        for (Int32 id : {newProject, openProject, reopenProject}) {
            notify(id);
        }
        ASSERT_EQ(sim::libPartCount(), Int32(c.files.size())) << "each file registered once";
        for (std::size_t i = 0; i < c.files.size(); ++i) {
            sim::LibPartDef const& part = *sim::libPart(Int32(i + 1));
            EXPECT_EQ(part.location, (images() / c.files[i]).string());
            EXPECT_EQ(part.type, std::string(c.files[i]).find(".png") != std::string::npos ? APILib_PictID
                                                                                           : APILib_MacroID);
            EXPECT_EQ(part.ownerID, Int32(MakeGSType("GSAC")));
            EXPECT_EQ(std::filesystem::file_size(images() / c.files[i]), 0u) << "made empty";
        }
        EXPECT_EQ(std::filesystem::exists(embedded / "Zelvane"), !c.files.empty());
    }
}

TEST_F(LifeCycleTest, AnExistingEmbeddedFileIsRegisteredAsItIs) {
    std::filesystem::create_directories(images());
    std::ofstream(images() / "Preset_Refresh_0_nocache.gdl") << "kept";
    notify(openProject);
    ASSERT_EQ(sim::libPartCount(), 2);
    std::ifstream in(images() / "Preset_Refresh_0_nocache.gdl");
    std::string text;
    in >> text;
    EXPECT_EQ(text, "kept");
}

TEST_F(LifeCycleTest, EmbeddedFilesNotMadeOrTakenAreToldAndNotAdded) {
    const std::string theirs =
        "it is another user's, in a folder other users may write, and may have been put there to be taken "
        "for this user's";
    // The player's open folder of the embedded files, holding a file at the first one's name.
    const auto openFolderHolding = [&](std::filesystem::perms mode) {
        std::filesystem::create_directories(images());
        std::filesystem::permissions(images(), std::filesystem::perms::all);
        const std::filesystem::path file = images() / "Preset_Refresh_0_nocache.gdl";
        std::ofstream(file) << "kept";
        std::filesystem::permissions(file, mode);
    };
    struct Case {
        char const* name;
        std::function<void()> arrange;
        bool made;         // the last file stands, made though maybe not registered
        std::string told;  // what the console is told after "The add-on's embedded library files "
        Int32 parts = 0;   // the files registered with the library
        bool kept = false; // the first file, arranged holding "kept", is kept as it was
        bool root = false; // needs root, to give a file to another user
    };
    std::vector<Case> const cases{
        {"no embedded library", [&] { sim::setLibraryFolders({embedded.string()}, -1); }, false, ""},
        {"embedded folder gone", [&] { std::filesystem::remove_all(embedded); }, false, ""},
        {"Zelvane is a file", [&] { std::ofstream(embedded / "Zelvane") << "x"; }, false,
         "could not be made in the folder \"Zelvane\": File exists.\n"},
        {"folders cannot be made", [&] { sim::failCall(sim::folderCreateCall, ErrIO, -1); }, false,
         "could not be made in the folder \"Zelvane\": Input/output error.\n"},
        // Zelvane taken away after its make: the make of the folder in it finds no Zelvane.
        {"Zelvane gone after its make", [&] { sim::failCall(sim::folderCreateCall, ErrNotFound, 1, 1); },
         false, "could not be made in the folder \"Interface Images\": No such file or directory.\n"},
        {"the files cannot be made", [&] { sim::failCall(sim::fileCreateCall, ErrIO, -1); }, false,
         "could not be made in the folder \"Interface Images\": Input/output error.\n"},
        {"the library refuses the files",
         [&] { sim::failCall("ACAPI_LibPart_Register", APIERR_GENERAL, -1); }, true, ""},
        {"another user's file in the player's open folder",
         [&] {
             openFolderHolding(std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
             ASSERT_EQ(::chown((images() / "Preset_Refresh_0_nocache.gdl").c_str(), 4242, 4242), 0);
         },
         false, "are not made in the folder \"Interface Images\": " + theirs + ".\n", 0, true, true},
        {"the player's own file in the player's open folder",
         [&] { openFolderHolding(std::filesystem::perms::owner_read); }, true, "", 2, true},
    };
    bool rootRowsSkipped = false;
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.root && ::geteuid() != 0) {
            rootRowsSkipped = true;
            continue;
        }
        std::filesystem::remove_all(embedded);
        std::filesystem::create_directories(embedded);
        sim::setLibraryFolders({embedded.string()}, 0);
        host.reset();
        c.arrange();
        const std::filesystem::path first = images() / "Preset_Refresh_0_nocache.gdl";
        struct stat before {};
        ASSERT_TRUE(!c.kept || ::stat(first.c_str(), &before) == 0);
        const std::size_t told = sim::consoleText().size();
        notify(openProject);
        EXPECT_EQ(sim::unfiredFaults(), std::vector<std::string>()) << "each fault failed its call";
        sim::clearFaults();
        EXPECT_EQ(sim::consoleText().substr(told),
                  c.told.empty() ? std::string() : "The add-on's embedded library files " + c.told);
        EXPECT_EQ(sim::libPartCount(), c.parts);
        EXPECT_EQ(std::filesystem::exists(images() / "Preset_Refresh_1_nocache.gdl"), c.made);
        EXPECT_EQ(sim::openFileCount(), 0u);
        if (c.kept) {
            struct stat after {};
            ASSERT_EQ(::stat(first.c_str(), &after), 0);
            EXPECT_EQ(after.st_ino, before.st_ino);
            EXPECT_EQ(after.st_uid, before.st_uid);
            EXPECT_EQ(after.st_mode, before.st_mode);
            std::ifstream in(first);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "kept");
        }
    }
    std::filesystem::remove_all(embedded);
    std::filesystem::create_directories(embedded);
    if (rootRowsSkipped) {
        GTEST_SKIP() << "the row of another user's file needs root, to give a file away";
    }
}

TEST_F(LifeCycleTest, AnotherUsersEmbeddedFolderHoldsNoneOfThePlayersFiles) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "another user's folder needs root, to give one away";
    }
    made->images = true;
    struct Row {
        std::filesystem::path theirs; // another user's folder
        bool through;                 // the embedded folder is the player's link to the player's folder in it
        char const* told;             // the folder named, and the folder on its way refused
    };
    const std::filesystem::path open = embedded.parent_path() / "open";
    const Row rows[] = {
        {embedded / "Zelvane", false, "Zelvane\": "},
        {images(), false, "Interface Images\": "},
        // The look by its name finds the player's folder; the make meets the other's on its way.
        {open / "theirs", true, "Zelvane\": its way passes through open/theirs: "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.theirs.filename().string());
        std::filesystem::remove_all(embedded);
        std::filesystem::remove_all(open);
        std::filesystem::create_directories(row.theirs);
        if (row.through) {
            std::filesystem::permissions(open, std::filesystem::perms::all);
            std::filesystem::create_directory(row.theirs / "mine");
            std::filesystem::create_directory_symlink(row.theirs / "mine", embedded);
        }
        ASSERT_EQ(::chown(row.theirs.c_str(), 4242, 4242), 0);
        const std::size_t told = sim::consoleText().size();
        notify(openProject);
        EXPECT_EQ(sim::libPartCount(), 0);
        EXPECT_EQ(std::filesystem::is_empty(row.theirs), !row.through);
        EXPECT_TRUE(!row.through || std::filesystem::is_empty(row.theirs / "mine"));
        EXPECT_EQ(sim::consoleText().substr(told),
                  "The add-on's embedded library files are not made in the folder \"" +
                      std::string(row.told) +
                      "it is another user's entry, which does not hold this user's files.\n");
    }
    std::filesystem::remove_all(embedded);
    std::filesystem::remove_all(open);
    std::filesystem::create_directories(embedded);
}

TEST_F(LifeCycleTest, StarterPresetsFillAnEmptyDatabase) {
    struct Case {
        char const* name;
        char const* language;
        std::vector<char const*> parts; // "<language>=<record names>"
        std::vector<std::string> expected;
    };
    std::vector<Case> const cases{
        {"own language", "GER", {"GER", "INT"}, {"Wand GER"}},
        {"international fallback", "FRA", {"GER", "INT"}, {"Wall INT"}},
        {"none", "FRA", {"GER"}, {}},
    };
    for (Case const& c : cases) {
        for (Int32 id : {newProject, openProject, reopenProject}) {
            SCOPED_TRACE(c.name + std::string(" at ") + std::to_string(id));
            sim::clearLibrary();
            presets()->clear();
            sim::setLanguage(c.language);
            for (char const* language : c.parts) {
                std::string code = language;
                addPart("Sample Tool 2 Starter Presets-" + code,
                        presetFile({code == "GER" ? "Wand GER" : "Wall INT"}));
            }
            notify(id);
            ASSERT_NE(presets(), nullptr);
            EXPECT_EQ(namesOf(*presets()), c.expected);
        }
    }
}

TEST_F(LifeCycleTest, StarterPresetsAreSkipped) {
    addPart("Sample Tool 2 Starter Presets-INT", presetFile({"Starter"}));
    struct Case {
        char const* name;
        std::function<void()> arrange;
        std::vector<std::string> expected;
    };
    std::vector<Case> const cases{
        {"a database with records is left alone",
         [&] { presets()->createRecord(Guid(), "Mine", Guid()); },
         {"Mine"}},
        {"no product name", [&] { made->info.name = ""; }, {}},
        {"presets not used", [&] { made->presets = false; }, {}},
        {"a part of another type",
         [&] {
             sim::clearLibrary();
             addPart("Sample Tool 2 Starter Presets-INT", presetFile({"Object"}), APILib_ObjectID);
         },
         {}},
        {"a part whose file is gone",
         [&] {
             sim::clearLibrary();
             addPart("Sample Tool 2 Starter Presets-INT", presetFile({"Gone"}));
             std::filesystem::remove(sim::sandboxRoot() / "Sample Tool 2 Starter Presets-INT.gsm");
         },
         {}},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        presets()->clear();
        c.arrange();
        // A new project keeps the database it has (an opened one reads it from the project).
        notify(newProject);
        ASSERT_NE(presets(), nullptr);
        EXPECT_EQ(namesOf(*presets()), c.expected);
        made->info.name = "Sample Tool 2";
        made->presets = true;
    }
}

TEST_F(LifeCycleTest, AStarterFileFailingHalfwayLeavesTheProjectUntouched) {
    struct Case {
        char const* name;
        std::string text;
        char const* call; // a call failing while the file is read, null for none
        int times, skip;
    };
    std::string whole = presetFile({"A", "B", "C"});
    std::vector<Case> const cases{
        {"broken after two records",
         whole.substr(0, whole.find("<wall", whole.find("<name>B"))) + "<wall key=", nullptr, 0, 0},
        {"a read error", whole, sim::fileReadCall, -1, 0},
        {"the data's read fails", whole, sim::fileReadCall, 1, 1},
        {"it cannot be placed", whole, "IO::File::SetPosition", 1, 0},
        {"its length cannot be read", whole, "IO::File::GetDataLength", -1, 0},
        {"the seek back from its start", whole, "IO::File::SetPosition", 1, 2},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        sim::clearLibrary();
        addPart("Sample Tool 2 Starter Presets-INT", c.text);
        PresetDatabase* before = presets();
        std::size_t alerts = sim::alerts().size();
        if (c.call != nullptr) {
            sim::failCall(c.call, ErrIO, c.times, c.skip);
        }
        notify(newProject);
        sim::clearFaults();
        EXPECT_EQ(presets(), before) << "the project keeps its database";
        EXPECT_EQ(presets()->size(), 0u);
        EXPECT_EQ(sim::openFileCount(), 0u);
        ASSERT_EQ(sim::alerts().size() - alerts, 1u) << "the user is told";
        EXPECT_EQ(sim::alerts().back().largeText, "The starter presets of Sample Tool 2 could not be read.");
        EXPECT_EQ(sim::alerts().back().type, -1) << "an error";
    }
    sim::clearLibrary();
    addPart("Sample Tool 2 Starter Presets-INT", whole);
    std::size_t alerts = sim::alerts().size();
    notify(openProject);
    EXPECT_EQ(namesOf(*presets()), (std::vector<std::string>{"A", "B", "C"}))
        << "a later open completes them";
    EXPECT_EQ(sim::alerts().size(), alerts);
}

TEST_F(LifeCycleTest, TheConfigurationCheckWarnsOfAnotherVersion) {
    struct Case {
        char const* name;
        char const* document;
        char const* addonVersion;
        bool presets;
        unsigned int version; // the configuration's afterwards
        char const* alert;    // part of the warning's text, null for none
    };
    std::vector<Case> const cases{
        {"same version", "<zelvaneLibrary version=\"2\"/>", "2", true, 2, nullptr},
        {"another version", "<zelvaneLibrary version=\"3\"/>", "2", true, 3,
         "The library configuration of Sample Tool 2 was written for version 3; this add-on is version 2. "
         "Its presets may not match."},
        {"a version text that is not the number", "<zelvaneLibrary version=\"2\"/>", "2.0", true, 2,
         "version 2; this add-on is version 2.0."},
        {"version 0 tells nothing", "<zelvaneLibrary version=\"0\"/>", "2", true, 0, nullptr},
        {"an unreadable document", "<zelvaneLibrary version=", "2", true, 0, nullptr},
        {"presets not used", "<zelvaneLibrary version=\"3\"/>", "2", false, 0, nullptr},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        sim::clearLibrary();
        addPart("Sample Tool 2 Library Configuration", c.document);
        // A configuration of its own for each case.
        PresetAddon other;
        other.info.name = made->info.name;
        other.version = c.addonVersion;
        other.presets = c.presets;
        addon = &other;
        std::size_t before = sim::alerts().size();
        ProjectEvent event(libraryChanged);
        other.publishExternalEvent(event, false);
        addon = made;
        EXPECT_EQ(other.getLibraryConfiguration().getVersion(), c.version);
        ASSERT_EQ(sim::alerts().size() - before, c.alert != nullptr ? 1u : 0u);
        if (c.alert != nullptr) {
            EXPECT_NE(sim::alerts().back().largeText.find(c.alert), std::string::npos)
                << sim::alerts().back().largeText;
            EXPECT_EQ(sim::alerts().back().type, -2) << "a warning";
        }
    }
}

TEST_F(LifeCycleTest, AnUnchangedConfigurationIsNotReadAgain) {
    addPart("Sample Tool 2 Library Configuration", "<zelvaneLibrary version=\"2\"/>");
    notify(libraryChanged);
    ASSERT_EQ(made->getLibraryConfiguration().getVersion(), 2u);
    sim::clearCalls();
    notify(libraryChanged);
    EXPECT_EQ(sim::callCount(sim::fileReadCall), 0u) << "same modification time";
    EXPECT_TRUE(sim::alerts().empty());

    std::filesystem::path path = sim::sandboxRoot() / "Sample Tool 2 Library Configuration.gsm";
    std::ofstream(path) << "<zelvaneLibrary version=\"5\"/>";
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::hours(1));
    notify(libraryChanged);
    EXPECT_EQ(made->getLibraryConfiguration().getVersion(), 5u);
    ASSERT_EQ(sim::alerts().size(), 1u);
}
