#include "Preset/PresetDialog.h"
#include "Addon/HostEvent.h"
#include "Addon/TestAddon.h"
#include "Addon/TestPackages.h"
#include "Database/Project.h"
#include "DialogAddonFixture.h"
#include "Environment/Host.h"
#include "Interface/InterfacePanel.h"
#include "Interface/ListControl.h"
#include "Interface/PopupMenu.h"
#include "LegacyPresetWriter.h"
#include "Preset/PresetEditor.h"
#include "Preset/UserDatabaseCollection.h"
#include "TestPresets.h"
#include "sim/AddOns.h"
#include "sim/Dialogs.h"
#include "sim/FileDialogs.h"
#include "sim/Files.h"
#include "sim/Memory.h"
#include "sim/Project.h"
#include "sim/Sim.h"
#include "support/AllocationWalk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace zelvane;
using namespace testing_preset;

namespace {

using K = sim::DialogAction;

// The preset manager noting where the allocations of its opening and of OK lie, counted from
// the counter's start.
class ProbedDialog : public PresetDialog {
public:
    void handleInitialise() override {
        opening.first = counter.count();
        PresetDialog::handleInitialise();
    }
    void handleOpen() override {
        PresetDialog::handleOpen();
        opening.last = counter.count();
    }
    void handleAccept(ActionEvent& event) override {
        accepting.first = counter.count();
        PresetDialog::handleAccept(event);
        accepting.last = counter.count();
    }
    testing_support::AllocationCounter counter;
    testing_support::AllocationSpan opening, accepting;
};

// A preset type whose type name comes first but whose display name sorts last.
class BayRecord : public PresetRecord {
public:
    BayRecord() { addField("pen", new Int32Field(Int32Setting(2), 1)); }
    char const* getTag() const override { return "bay"; }
    BayRecord* clone() const override { return new BayRecord(*this); }
};

// Notes, when OK is clicked, the rows of the type pop-up, its choice, the names the list shows
// and the type of the template of new records.
class ObservedDialog : public PresetDialog {
public:
    void handleAccept(ActionEvent& event) override {
        PopupMenu* menu = getTypeMenu();
        for (Int16 row = 0; row < menu->getRows(); ++row) {
            types.push_back(menu->getLabel(row).data());
        }
        chosen = menu->getSelectedLabel().data();
        ListControl* list = getListView()->getList();
        for (Int16 row = 0; row < list->getRows(); ++row) {
            names.push_back(list->getText(row, 0).data());
        }
        std::unique_ptr<PresetRecord> active(PresetDatabase::getDefaultTemplate());
        activeType = active != nullptr ? active->getTypeName().data() : "";
        PresetDialog::handleAccept(event);
    }
    std::vector<std::string> types;
    std::string chosen;
    std::vector<std::string> names;
    std::string activeType;
};

// A project holding the walls Brick (1) and Block (2) and the finish Plaster (3), with the
// preset types registered by a running add-on.
class PresetDialogTest : public DialogAddonTest {
protected:
    void TearDown() override {
        PresetDatabase::shutdownModule();
        host.getProject()->initialisePreferences();
        DialogAddonTest::TearDown();
    }
    // Registers the wall and finish types, and with `bay` the bay type; the first registration
    // puts the preset database into the project.
    void registerTypes(bool bay) {
        PresetDatabase::addTemplate(new WallRecord, "Walls", "Walls", PresetDatabase::uniqueInDatabase);
        PresetDatabase::addTemplate(new FinishRecord, "Finishes", "Finishes", PresetDatabase::uniqueInType);
        if (bay) {
            PresetDatabase::addTemplate(new BayRecord, "Zeta bays", "", PresetDatabase::uniqueInType);
        }
    }
    void addPresets() {
        if (projectPresets() == nullptr) {
            // A package of another kind under the code gives way too.
            host.getProject()->setPreference(PresetDatabase(), false);
        }
        PresetDatabase& presets = *projectPresets();
        PresetDatabase::setDefaultTemplate("wall", true);
        presets.createRecord(Guid(), "Brick", key(1));
        presets.createRecord(Guid(), "Block", key(2));
        PresetDatabase::setDefaultTemplate("finish", true);
        presets.createRecord(Guid(), "Plaster", key(3));
    }
    PresetDatabase* projectPresets() const {
        return dynamic_cast<PresetDatabase*>(
            host.getProject()->getPreference(PresetDatabase::ID.getFamily()));
    }
    // Each of the project's presets (key, type, name, deprecated) and its default.
    std::vector<std::string> presetList() const {
        std::vector<std::string> list;
        for (auto const& entry : *projectPresets()) {
            list.push_back(entry.first.toString().data() + std::string(" ") +
                           entry.second->getTypeName().data() + " " + entry.second->getName().data() +
                           (entry.second->isDeprecated() ? " deprecated" : ""));
        }
        list.push_back(std::string("default ") + projectPresets()->getDefault().toString().data());
        return list;
    }
    // The type and name of the project's preset of that key; "gone" when there is none.
    std::string presetOf(unsigned int n) const {
        auto record = projectPresets()->findRecord(key(n), false);
        return record == nullptr ? "gone"
                                 : std::string(record->getTypeName().data()) + " " + record->getName().data();
    }
    Int16 run(ObservedDialog& dialog, sim::DialogScript script) {
        script.push_back(sim::userAction(K::click, 1));
        sim::queueDialogScript(PresetDialog::dialogID, script);
        return dialog.show();
    }
};

TEST_F(PresetDialogTest, TheTypePopupListsTheTypesSortedWithTheFirstTypeActive) {
    struct Case {
        const char* name;
        bool types;
        bool bay;
        std::vector<std::string> rows;
        std::string chosen;
        std::vector<std::string> names;
        std::string active;
    };
    const Case cases[] = {
        {"no types", false, false, {}, "", {}, ""},
        {"walls and finishes", true, false, {"Finishes", "Walls"}, "Finishes", {"Plaster"}, "finish"},
        // "bay" is the first type by name, "Zeta bays" the last display name.
        {"with bays", true, true, {"Finishes", "Walls", "Zeta bays"}, "Zeta bays", {}, "bay"},
    };
    for (const Case& c : cases) {
        if (c.types) {
            registerTypes(c.bay);
            addPresets();
        } else {
            host.getProject()->setPreference(PresetDatabase(), false);
        }
        ObservedDialog dialog;
        EXPECT_EQ(run(dialog, {}), 1) << c.name;
        EXPECT_EQ(dialog.types, c.rows) << c.name;
        EXPECT_EQ(dialog.chosen, c.chosen) << c.name;
        EXPECT_EQ(dialog.names, c.names) << c.name;
        EXPECT_EQ(dialog.activeType, c.active) << c.name;
        ASSERT_FALSE(sim::dialogs().empty());
        EXPECT_EQ(sim::dialogs().back().title, "Sample Tool 2 Presets") << c.name;
        EXPECT_TRUE(sim::dialogs().back().failures.empty()) << c.name;
        PresetDatabase::shutdownModule();
        host.getProject()->initialisePreferences();
    }
}

TEST_F(PresetDialogTest, TheTypePickerChangesTheListAndTheTemplateOfNewRecords) {
    registerTypes(false);
    struct Case {
        Int32 row; // of the type pop-up: 0 finishes, 1 walls
        std::vector<std::string> names;
        std::string active;
        std::string added; // the type of the record New made
    };
    const Case cases[] = {
        {1, {"Block", "Brick", "New record"}, "wall", "wall"},
        {0, {"New record", "Plaster"}, "finish", "finish"},
    };
    for (const Case& c : cases) {
        projectPresets()->clear();
        addPresets();
        ObservedDialog dialog;
        // A record of the other type is selected before the type changes: New then makes a record of
        // the chosen type.
        EXPECT_EQ(
            run(dialog, {sim::userAction(K::selectRow, 12, 1 - c.row), sim::userAction(K::clickRow, 3, 0),
                         sim::userAction(K::selectRow, 12, c.row), sim::userAction(K::click, 4)}),
            1);
        EXPECT_EQ(dialog.names, c.names) << c.row;
        EXPECT_EQ(dialog.activeType, c.active) << c.row;
        Guid added = projectPresets()->findRecord(String("New record"), Guid());
        ASSERT_TRUE(bool(added)) << c.row;
        EXPECT_EQ(projectPresets()->findRecord(added, false)->getTypeName(), String(c.added.c_str()));
    }
}

TEST_F(PresetDialogTest, LegacyFilesAreOfferedForOpeningOnly) {
    registerTypes(false);
    addPresets();
    struct Case {
        Int16 button;
        std::string title;
        std::vector<std::string> filters;
    };
    const Case cases[] = {
        {7, "Import Sample Tool 2 Presets", {"Preset collections", "Legacy preset files"}},
        {8, "Export Sample Tool 2 Presets", {"Preset collections"}},
    };
    for (const Case& c : cases) {
        sim::queueFileDialogCancel();
        ObservedDialog dialog;
        EXPECT_EQ(run(dialog, {sim::userAction(K::click, c.button)}), 1);
        ASSERT_FALSE(sim::fileDialogs().empty());
        EXPECT_EQ(sim::fileDialogs().back().title, c.title);
        EXPECT_EQ(sim::fileDialogs().back().filters.size(), c.filters.size()) << c.button;
        for (std::size_t k = 0; k < c.filters.size() && k < sim::fileDialogs().back().filters.size(); ++k) {
            EXPECT_NE(sim::fileDialogs().back().filters[k].find(c.filters[k]), std::string::npos)
                << sim::fileDialogs().back().filters[k];
        }
    }
}

// A preset collection holding the wall Stone (key 5) and a newer Brick (key 1) renamed Clinker.
std::string collectionFile() {
    PresetDatabase file;
    PresetDatabase::setDefaultTemplate("wall", true);
    sim::setClock(2024, 3, 5, 10, 4, 0);
    file.createRecord(Guid(), "Stone", key(5));
    file.createRecord(Guid(), "Clinker", key(1));
    sim::setClock(2024, 3, 5, 9, 4, 0);
    UserDatabaseCollection collection;
    file.initialiseStorage(collection, false, PresetDatabase::FilterList());
    return xmlOf(collection);
}

// A legacy file of one "Walls" folder with the wall Granite (key 6).
std::string legacyFile() {
    LegacyPresetWriter out(false);
    out.header("6", 6, 1);
    out.folder("Walls", 6, 0).int32(1).file("Granite", keyText(6), 6).int32(0).int32(0);
    return out.bytes();
}

TEST_F(PresetDialogTest, ImportsReportHowManyPresetsThereAreNow) {
    registerTypes(false);
    std::filesystem::path folder = sim::sandboxRoot();
    std::filesystem::create_directories(folder);
    const std::vector<std::string> unchanged{"wall Brick", "wall Block", "finish Plaster",
                                             "gone",       "gone",       "gone"};
    struct Case {
        const char* name;
        const char* file;
        std::string content;
        UInt32 filter;
        bool cancelAtProgress;
        std::vector<std::string> presets; // keys 1 to 6
        const char* alert;
    };
    const Case cases[] = {
        {"collection",
         "in.presets",
         collectionFile(),
         0,
         false,
         {"wall Clinker", "wall Block", "finish Plaster", "gone", "wall Stone", "gone"},
         "The presets now hold 4 records."},
        {"legacy",
         "in.dat",
         legacyFile(),
         1,
         false,
         {"wall Brick", "wall Block", "finish Plaster", "gone", "gone", "wall Granite"},
         "The presets now hold 4 records."},
        {"legacy cancelled", "in.dat", legacyFile(), 1, true, unchanged, nullptr},
        {"legacy broken", "in.dat", "ZelvanePresetFile", 1, false, unchanged, "The file could not be read."},
        {"empty collection", "in.presets", "", 0, false, unchanged, "The file could not be read."},
    };
    for (const Case& c : cases) {
        projectPresets()->clear();
        addPresets();
        std::ofstream(folder / c.file, std::ios::binary) << c.content;
        sim::queueFileDialogChoice(folder / c.file, c.filter);
        if (c.cancelAtProgress) {
            sim::cancelProgressAtQuery(1);
        }
        std::size_t before = sim::alerts().size();
        ObservedDialog dialog;
        EXPECT_EQ(run(dialog, {sim::userAction(K::click, 7)}), 1) << c.name;
        sim::cancelProgressAtQuery(0);
        std::vector<std::string> presets;
        for (unsigned int n = 1; n <= 6; ++n) {
            presets.push_back(presetOf(n));
        }
        EXPECT_EQ(presets, c.presets) << c.name;
        ASSERT_EQ(sim::alerts().size() - before, c.alert != nullptr ? 1u : 0u) << c.name;
        if (c.alert != nullptr) {
            EXPECT_EQ(sim::alerts().back().largeText, c.alert) << c.name;
        }
        std::unique_ptr<PresetRecord> active(PresetDatabase::getDefaultTemplate());
        EXPECT_EQ(active->getTypeName(), String("finish")) << c.name << ": the shown type stays the template";
    }
}

std::string contentOf(std::filesystem::path const& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST_F(PresetDialogTest, ExportWritesACollectionAndAFailureKeepsTheOldFile) {
    registerTypes(false);
    addPresets();
    std::filesystem::path file = sim::sandboxRoot() / "out.presets";
    std::filesystem::create_directories(file.parent_path());
    struct Case {
        bool failWrite;
        const char* alert;
    };
    // The failing write comes last: the fault stays armed.
    const Case cases[] = {{false, nullptr}, {true, "The file could not be written."}};
    for (const Case& c : cases) {
        std::ofstream(file, std::ios::binary) << "old content";
        sim::queueFileDialogChoice(file);
        if (c.failWrite) {
            sim::failWritesAfter(0);
        }
        std::size_t before = sim::alerts().size();
        ObservedDialog dialog;
        EXPECT_EQ(run(dialog, {sim::userAction(K::click, 8)}), 1);
        std::string text = contentOf(file);
        if (c.failWrite) {
            EXPECT_EQ(text, "old content");
        } else {
            EXPECT_NE(text.find("<zelvanePresets>"), std::string::npos) << text;
            EXPECT_NE(text.find("Plaster"), std::string::npos) << "every type is exported";
            EXPECT_NE(text.find("Brick"), std::string::npos);
        }
        ASSERT_EQ(sim::alerts().size() - before, c.alert != nullptr ? 1u : 0u);
        if (c.alert != nullptr) {
            EXPECT_EQ(sim::alerts().back().largeText, c.alert);
        }
    }
    sim::clearFaults();
}

// Notes where the type pop-up, its label and the list are when OK is clicked.
class LayoutDialog : public PresetDialog {
public:
    void handleAccept(ActionEvent& event) override {
        for (Int16 item : {3, 12, 13}) {
            ScreenRect bounds = getControl(item)->getBounds();
            rects[item] = {bounds.getOrigin().getX(), bounds.getOrigin().getY(), bounds.getEnd().getX(),
                           bounds.getEnd().getY()};
        }
        PresetDialog::handleAccept(event);
    }
    std::map<Int16, std::vector<int>> rects;
};

TEST_F(PresetDialogTest, TheTypePopupWidensWithTheList) {
    registerTypes(false);
    addPresets();
    LayoutDialog still;
    sim::queueDialogScript(PresetDialog::dialogID, {sim::userAction(K::click, 1)});
    ASSERT_EQ(still.show(), 1);
    LayoutDialog grown;
    sim::DialogAction resize = sim::userAction(K::resize);
    resize.h = 40;
    resize.v = 30;
    sim::queueDialogScript(PresetDialog::dialogID, {resize, sim::userAction(K::click, 1)});
    ASSERT_EQ(grown.show(), 1);
    struct Case {
        Int16 item;
        std::vector<int> change; // left, top, right, bottom
    };
    // The pop-up and its label head the list, whose top edge stays: the pop-up only widens.
    const Case cases[] = {{3, {0, 0, 40, 30}}, {12, {0, 0, 40, 0}}, {13, {0, 0, 0, 0}}};
    for (const Case& c : cases) {
        std::vector<int> change;
        for (std::size_t k = 0; k < 4; ++k) {
            change.push_back(grown.rects[c.item][k] - still.rects[c.item][k]);
        }
        EXPECT_EQ(change, c.change) << c.item;
    }
}

TEST_F(PresetDialogTest, TheEditorEventOpensTheDialogOnlyOverTheProjectsPresets) {
    struct Case {
        const char* name;
        bool project;
        bool presets;
        bool opened;
    };
    const Case cases[] = {
        {"presets", true, true, true},
        {"no presets", true, false, false},
        {"no project", false, true, false},
    };
    for (const Case& c : cases) {
        // An add-on of its own for each case, which the first type registers the editor with.
        addon = nullptr;
        m_addon = std::make_unique<testing_addon::TestAddon>();
        addon = m_addon.get();
        registerTypes(false);
        addPresets();
        if (!c.presets) {
            // The project's package of the code is no preset database.
            host.getProject()->setPreference(
                testing_addon::CountPrefs(0, true, PresetDatabase::ID.getFamily()), false);
        }
        if (!c.project) {
            sim::closeProject();
            host.reset();
        }
        std::size_t shown = sim::dialogs().size();
        if (c.opened) {
            // Plaster renamed, then OK: the copy becomes the project's presets.
            sim::queueDialogScript(PresetDialog::dialogID, {sim::userAction(K::clickRow, 3, 0),
                                                            sim::userAction(K::setText, 11, 0, 0, "Slate"),
                                                            sim::userAction(K::click, 1)});
        }
        HostEvent event(PresetEditor::spec.getKind(), 0);
        EXPECT_TRUE(m_addon->publishToSubscribers(event)) << c.name << ": the event is taken";
        EXPECT_EQ(sim::dialogs().size() - shown, c.opened ? 1u : 0u) << c.name;
        if (c.opened) {
            EXPECT_EQ(sim::dialogs().back().result, 1);
            EXPECT_EQ(presetOf(3), "finish Slate") << c.name;
            EXPECT_EQ(presetOf(1), "wall Brick") << c.name;
            bool written = false;
            for (auto const& entry : sim::currentAddOn().moduleData) {
                std::string bytes(entry.second.bytes.begin(), entry.second.bytes.end());
                written = written || bytes.find("Slate") != std::string::npos;
            }
            EXPECT_TRUE(written) << "the project's module data hold the presets";
        }
        if (!c.project) {
            sim::openProject();
            host.reset();
        }
        PresetDatabase::shutdownModule();
        if (host.getProject() != nullptr) {
            host.getProject()->initialisePreferences();
        }
    }
}

TEST_F(PresetDialogTest, AFailedOpeningClosesTheManagerAndIsReported) {
    registerTypes(false);
    addPresets();
    // Plaster renamed, then OK.
    const sim::DialogScript script{sim::userAction(K::clickRow, 3, 0),
                                   sim::userAction(K::setText, 11, 0, 0, "Slate"),
                                   sim::userAction(K::click, 1)};
    testing_support::AllocationSpan opening;
    {
        ProbedDialog probe;
        sim::queueDialogScript(PresetDialog::dialogID, {sim::userAction(K::click, 2)});
        probe.counter.restart();
        ASSERT_EQ(probe.show(), 2);
        opening = probe.opening;
    }
    testing_support::failEachAllocation(opening, [&](testing_support::AllocationFailure const& failing) {
        int failures = m_addon->failures;
        ProbedDialog dialog;
        sim::queueDialogScript(PresetDialog::dialogID, script);
        Int16 result = failing([&] { return dialog.show(); });
        EXPECT_EQ(result, 2) << "closed as cancelled";
        EXPECT_EQ(m_addon->failures, failures + 1) << "the add-on's failure report";
        EXPECT_EQ(presetOf(3), "finish Plaster");
    });
}

TEST_F(PresetDialogTest, AFailedAllocationOpeningTheManagerLosesAndLeaksNothing) {
    registerTypes(false);
    addPresets();
    projectPresets()->setDefaultRecord(key(2));
    const std::vector<std::string> presets = presetList();
    HostEvent event(PresetEditor::spec.getKind(), 0);
    // The whole of opening the manager through the editor event, copying the presets included,
    // and cancelling it.
    testing_support::AllocationCounter counter;
    sim::queueDialogScript(PresetDialog::dialogID, {sim::userAction(K::click, 2)});
    m_addon->publishExternalEvent(event, false);
    ASSERT_EQ(sim::pendingDialogScripts(PresetDialog::dialogID), 0u);
    testing_support::failEachAllocation(
        {0, counter.count()}, [&](testing_support::AllocationFailure const& failing) {
            int failures = m_addon->failures;
            std::size_t live = testing_support::liveHostBlocks();
            // A manager that could not be made leaves its script for the next one.
            if (sim::pendingDialogScripts(PresetDialog::dialogID) == 0) {
                sim::queueDialogScript(PresetDialog::dialogID, {sim::userAction(K::click, 2)});
            }
            failing([&] { m_addon->publishExternalEvent(event, false); });
            EXPECT_EQ(testing_support::liveHostBlocks(), live) << "host memory blocks leaked";
            EXPECT_EQ(m_addon->failures, failures + 1) << "the add-on's failure report";
            EXPECT_EQ(presetList(), presets);
        });
}

TEST_F(PresetDialogTest, AFailedAllocationOnOKLosesAndLeaksNothing) {
    registerTypes(false);
    addPresets();
    projectPresets()->setDefaultRecord(key(2));
    const std::vector<std::string> presets = presetList();
    // Plaster selected and renamed, then OK: Plaster becomes the default, named Slate.
    const sim::DialogScript script{sim::userAction(K::clickRow, 3, 0),
                                   sim::userAction(K::setText, 11, 0, 0, "Slate"),
                                   sim::userAction(K::click, 1)};
    testing_support::AllocationSpan accepting;
    {
        std::unique_ptr<Package> kept(projectPresets()->cloneIndependent());
        ProbedDialog probe;
        sim::queueDialogScript(PresetDialog::dialogID, script);
        probe.counter.restart();
        ASSERT_EQ(probe.show(), 1);
        ASSERT_EQ(presetOf(3), "finish Slate");
        accepting = probe.accepting;
        host.getProject()->setPreference(*kept, false);
        sim::currentAddOn().moduleData.clear();
    }
    ASSERT_EQ(presetList(), presets);
    testing_support::failEachAllocation(accepting, [&](testing_support::AllocationFailure const& failing) {
        int failures = m_addon->failures;
        std::size_t live = testing_support::liveHostBlocks();
        {
            ProbedDialog dialog;
            sim::queueDialogScript(PresetDialog::dialogID, script);
            Int16 result = failing([&] { return dialog.show(); });
            EXPECT_EQ(result, 2) << "the manager stays open, and is closed as cancelled";
        }
        EXPECT_EQ(testing_support::liveHostBlocks(), live) << "host memory blocks leaked";
        EXPECT_EQ(m_addon->failures, failures + 1) << "the add-on's failure report";
        EXPECT_EQ(presetList(), presets);
        EXPECT_TRUE(sim::currentAddOn().moduleData.empty()) << "nothing written into the project";
    });
}

} // namespace
