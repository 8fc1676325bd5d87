#include "Remap/MappingDialog.h"
#include "Addon/ActionEvent.h"
#include "Attribute/CadColour.h"
#include "Environment/Setting.h"
#include "Interface/ListControl.h"
#include "Interface/PopupMenu.h"
#include "MappingFixture.h"
#include "Remap/ObjectMapFile.h"
#include "Remap/ObjectSpecification.h"
#include "Remap/SpecificationList.h"
#include "sim/Dialogs.h"
#include "sim/Lists.h"
#include "support/AllocationWalk.h"

#include <memory>
#include <string>
#include <vector>

using namespace zelvane;
using namespace zelvane::remap;
using K = sim::DialogAction;

namespace {

// A row as the dialog shows it: source name, mapped name and colour.
struct Row {
    std::string name, mapped, colour;
    bool operator==(const Row& other) const {
        return name == other.name && mapped == other.mapped && colour == other.colour;
    }
};

std::ostream& operator<<(std::ostream& out, const Row& row) {
    return out << "{" << row.name << ", " << row.mapped << ", " << row.colour << "}";
}

std::string colourName(const CadColour& colour) {
    using S = MappingDialog::RowState;
    for (auto [state, name] : {std::pair{S::noRule, "orange"}, std::pair{S::unresolved, "red"},
                               std::pair{S::otherSource, "green"}, std::pair{S::chosenSource, "black"}}) {
        if (colour == MappingDialog::colourOf(state)) {
            return name;
        }
    }
    return "other";
}

// The mapping dialog with what it showed as it closed.
class ObservedDialog : public MappingDialog {
public:
    using MappingDialog::MappingDialog;

    void handleAccept(ActionEvent& event) override {
        MappingDialog::handleAccept(event);
        take();
    }
    void handleCancel(ActionEvent& event) override {
        MappingDialog::handleCancel(event);
        take();
    }

    std::vector<Row> rows;
    std::vector<std::string> menu;
    std::string chosen;
    bool buttonsEnabled = false;
    ScreenPoint listSize, size;
    Int16 okTop = 0;

private:
    void take() {
        if (getList() == nullptr) {
            return;
        }
        for (Int16 row = 0; row < getList()->getRows(); ++row) {
            std::unique_ptr<Setting> mapped(getList()->getSetting(row, 1));
            String text;
            mapped->getValue(text);
            rows.push_back(
                {getList()->getText(row, 0).data(), text.data(), colourName(getList()->getColour(row, 0))});
        }
        for (Int16 row = 0; row < getSourceMenu()->getRows(); ++row) {
            menu.push_back(getSourceMenu()->getLabel(row).data());
        }
        chosen = getChosenSource().data();
        buttonsEnabled = getControl(parametersItem)->isEnabled() && getControl(zoomItem)->isEnabled() &&
                         getControl(clearItem)->isEnabled();
        listSize = getList()->getSize();
        size = getSize(0);
        okTop = getControl(okItem)->getBounds().getOrigin().getY();
    }
};

// The mapping dialog noting where the allocations of its initialisation lie, counted from the
// counter's start.
class ProbedDialog : public MappingDialog {
public:
    using MappingDialog::MappingDialog;

    void handleInitialise() override {
        initialising.first = counter.count();
        MappingDialog::handleInitialise();
        initialising.last = counter.count();
    }

    testing_support::AllocationCounter counter;
    testing_support::AllocationSpan initialising;
};

ObjectSpecification* addRule(ObjectMap& map, const char* source, ObjectMap::Type kind, const char* original,
                             const char* mapped, API_LibTypeID type = APILib_ObjectID,
                             bool automatic = false) {
    String name(source);
    ObjectSpecification* rule =
        map.getSpecification(ObjectMap::Key(type, String(original)), name, kind, true, automatic);
    EXPECT_NE(rule, nullptr);
    EXPECT_EQ(name, source) << "the list exists";
    rule->setMappedName(String(mapped));
    return rule;
}

// The mapped name of the key's rule in the named list; "-" without one.
std::string ruleOf(ObjectMap& map, const char* source, ObjectMap::Type kind, const char* original,
                   API_LibTypeID type = APILib_ObjectID) {
    SpecificationList* list = map.getLists().getSpecificationList(String(source), kind);
    ObjectSpecification* rule =
        list != nullptr ? list->find(ObjectMap::Key(type, String(original))) : nullptr;
    return rule != nullptr ? rule->getMappedName().data() : "-";
}

class MappingDialogTest : public remap_test::MappingFixture {
protected:
    void SetUp() override {
        MappingFixture::SetUp();
        addPart("Armchair");
        addPart("Chair Classic");
        addPart("Chair Modern");
        addPart("Desk");
        addPart("Desk", APILib_DoorID);
        addPart("Door Single", APILib_DoorID);
        freshMap();
    }
    void freshMap() {
        map.initialise();
        map.addSource(String("Survey"), ObjectMap::GSM);
        prefs().setDefault();
    }

    // Runs the dialog on the map with the script; its answer.
    Int16 run(ObjectMap::Type kind, const sim::DialogScript& script, bool mapMustBeNew = false) {
        sim::queueDialogScript(MappingDialog::resourceID, script);
        dialog = std::make_unique<ObservedDialog>(map, elements, parts, kind, mapMustBeNew);
        return dialog->show();
    }
    std::vector<std::string> failures() const { return sim::dialogs().back().failures; }
    // The texts of the alerts shown from the n-th on.
    static std::vector<std::string> alertTexts(std::size_t from = 0) {
        std::vector<std::string> texts;
        for (std::size_t index = from; index < sim::alerts().size(); ++index) {
            texts.push_back(sim::alerts()[index].largeText);
        }
        return texts;
    }

    ObjectMap map;
    std::unique_ptr<ObservedDialog> dialog;
};

} // namespace

TEST_F(MappingDialogTest, RowsShowTheRuleOfEachKeyByColour) {
    addKey("Bench");               // no rule
    addKey("Chair");               // the user's rule in the chosen source
    addKey("Desk");                // another source's rule
    addKey("Sofa");                // a rule whose part is not in the library
    addKey("Stool");               // an automatic rule
    addKey("Desk", APILib_DoorID); // a door key: the object rule of the same name is not its rule
    addRule(map, "Default", ObjectMap::GSM, "chair", "Chair Modern");
    addRule(map, "Survey", ObjectMap::GSM, "Desk", "Desk");
    addRule(map, "Default", ObjectMap::GSM, "Sofa", "Sofa 3");
    addRule(map, "Default", ObjectMap::GSM, "Stool", "Armchair", APILib_ObjectID, true);
    ASSERT_EQ(run(ObjectMap::GSM, {userAction(K::closeCancel)}), 2);
    EXPECT_EQ(dialog->rows, (std::vector<Row>{{"Desk", "", "orange"},
                                              {"Bench", "", "orange"},
                                              {"Chair", "Chair Modern", "black"},
                                              {"Desk", "Desk", "green"},
                                              {"Sofa", "Sofa 3", "red"},
                                              {"Stool", "Armchair", "green"}}))
        << "keys in map order: doors (3) before objects (4)";
    EXPECT_EQ(dialog->menu, (std::vector<std::string>{"New source...", "Rename \"Default\"...",
                                                      "Delete \"Default\"", "", "Default", "Survey"}));
    EXPECT_EQ(dialog->chosen, "Default");
    EXPECT_FALSE(dialog->buttonsEnabled) << "no row selected";
}

TEST_F(MappingDialogTest, CancelLeavesMapPreferencesAndFileAlone) {
    addKey("Chair");
    addRule(map, "Survey", ObjectMap::GSM, "Chair", "Chair Modern");
    ASSERT_EQ(run(ObjectMap::GSM, {userAction(K::selectRow, 4, 5),                          // Survey
                                   userAction(K::clickRow, 9, 0), userAction(K::click, 12), // cleared
                                   userAction(K::closeCancel)}),
              2);
    EXPECT_EQ(dialog->rows, (std::vector<Row>{{"Chair", "", "orange"}}));
    EXPECT_EQ(ruleOf(map, "Survey", ObjectMap::GSM, "Chair"), "Chair Modern");
    EXPECT_EQ(prefs().getSourceName(ObjectMap::GSM), "Default");
    EXPECT_FALSE(std::filesystem::exists(objectMapFile()));
}

TEST_F(MappingDialogTest, OkCopiesRulesShownFromOtherSourcesAndWritesTheFile) {
    addKey("Chair");
    addKey("Desk");
    addKey("Lamp");
    addRule(map, "Survey", ObjectMap::GSM, "Chair", "Chair Modern");
    addRule(map, "Survey", ObjectMap::GSM, "Desk", ""); // shown without a mapped name: not copied
    map.addSource(String("Import"), ObjectMap::IFC);
    addRule(map, "Import", ObjectMap::IFC, "Lamp", "Armchair"); // another kind's source counts too
    ASSERT_EQ(run(ObjectMap::GSM, {userAction(K::closeOK)}), 1);
    EXPECT_EQ(dialog->rows,
              (std::vector<Row>{
                  {"Chair", "Chair Modern", "green"}, {"Desk", "", "red"}, {"Lamp", "Armchair", "green"}}));
    EXPECT_EQ(ruleOf(map, "Default", ObjectMap::GSM, "Chair"), "Chair Modern");
    EXPECT_EQ(ruleOf(map, "Default", ObjectMap::GSM, "Desk"), "-");
    EXPECT_EQ(ruleOf(map, "Default", ObjectMap::GSM, "Lamp"), "Armchair");
    EXPECT_EQ(ruleOf(map, "Survey", ObjectMap::GSM, "Chair"), "Chair Modern") << "the original stays";
    EXPECT_EQ(prefs().getSourceName(ObjectMap::GSM), "Default");

    ObjectMap read;
    EXPECT_EQ(readObjectMap(read), ObjectMapFile::read);
    EXPECT_EQ(ruleOf(read, "Default", ObjectMap::GSM, "Chair"), "Chair Modern");
}

TEST_F(MappingDialogTest, OkMakesAMapTheCommandFoundMissingOnlyWhereThereIsStillNone) {
    addKey("Chair");
    addRule(map, "Survey", ObjectMap::GSM, "Chair", "Chair Modern");
    // Another program made the map after the command found none.
    std::filesystem::create_directories(objectMapFile().parent_path());
    remap_test::writeFile(objectMapFile(), "<objectMap/>");
    ASSERT_EQ(run(ObjectMap::GSM, {userAction(K::closeOK)}, true), 1);
    EXPECT_EQ(remap_test::readFile(objectMapFile()), "<objectMap/>");
    EXPECT_EQ(alertTexts(), std::vector<std::string>{"The object map could not be written."});
    std::filesystem::remove(objectMapFile());
    ASSERT_EQ(run(ObjectMap::GSM, {userAction(K::closeOK)}, true), 1);
    ObjectMap read;
    EXPECT_EQ(readObjectMap(read), ObjectMapFile::read);
    EXPECT_EQ(ruleOf(read, "Default", ObjectMap::GSM, "Chair"), "Chair Modern");
}

TEST_F(MappingDialogTest, OkStoresTheChosenSourceOfItsKindOnly) {
    addKey("Chair");
    ASSERT_EQ(run(ObjectMap::GSM, {userAction(K::selectRow, 4, 5), userAction(K::closeOK)}), 1);
    EXPECT_EQ(prefs().getSourceName(ObjectMap::GSM), "Survey");
    EXPECT_EQ(prefs().getSourceName(ObjectMap::IFC), "Default");
    EXPECT_EQ(dialog->menu[1], "Rename \"Survey\"...");
}

TEST_F(MappingDialogTest, SourceCommands) {
    struct Case {
        const char* what;
        sim::DialogScript script;
        std::vector<sim::DialogScript> names; // the name requests' scripts
        std::vector<std::string> menu;        // the sources, in menu order
        std::string chosen;
        std::vector<std::string> alerts;
    };
    const std::vector<Case> cases{
        {"new",
         {userAction(K::selectRow, 4, 0)},
         {{userAction(K::setText, 4, 0, 0, "north"), userAction(K::closeOK)}},
         {"Default", "north", "Survey"},
         "north",
         {}},
        {"new cancelled",
         {userAction(K::selectRow, 4, 0)},
         {{userAction(K::closeCancel)}},
         {"Default", "Survey"},
         "Default",
         {}},
        {"new with a taken name, then cancelled",
         {userAction(K::selectRow, 4, 0)},
         {{userAction(K::setText, 4, 0, 0, "Survey"), userAction(K::closeOK), userAction(K::closeCancel)}},
         {"Default", "Survey"},
         "Default",
         {"A source of this name exists already."}},
        {"rename",
         {userAction(K::selectRow, 4, 1)},
         {{userAction(K::setText, 4, 0, 0, "Old"), userAction(K::closeOK)}},
         {"Old", "Survey"},
         "Old",
         {}},
        {"rename to its own name",
         {userAction(K::selectRow, 4, 1)},
         {{userAction(K::setText, 4, 0, 0, "Default"), userAction(K::closeOK)}},
         {"Default", "Survey"},
         "Default",
         {}},
        {"rename to a command's text",
         {userAction(K::selectRow, 4, 1)},
         {{userAction(K::setText, 4, 0, 0, "New source..."), userAction(K::closeOK),
           userAction(K::closeCancel)}},
         {"Default", "Survey"},
         "Default",
         {"A source of this name exists already."}},
        {"delete the current one of two", {userAction(K::selectRow, 4, 2)}, {}, {"Survey"}, "Survey", {}},
        {"delete after choosing the second",
         {userAction(K::selectRow, 4, 5), userAction(K::selectRow, 4, 2)},
         {},
         {"Default"},
         "Default",
         {}},
        {"choose a source", {userAction(K::selectRow, 4, 5)}, {}, {"Default", "Survey"}, "Survey", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        freshMap();
        std::size_t alerts = sim::alerts().size();
        for (const sim::DialogScript& names : c.names) {
            sim::queueDialogScript(32600, names);
        }
        sim::DialogScript script = c.script;
        script.push_back(userAction(K::closeOK));
        ASSERT_EQ(run(ObjectMap::GSM, script), 1);
        std::vector<std::string> sources(dialog->menu.begin() + 4, dialog->menu.end());
        EXPECT_EQ(sources, c.menu);
        EXPECT_EQ(dialog->chosen, c.chosen);
        EXPECT_EQ(prefs().getSourceName(ObjectMap::GSM), c.chosen.c_str());
        EXPECT_EQ(alertTexts(alerts), c.alerts);
        EXPECT_EQ(sim::pendingDialogScripts(32600), 0u);
    }
}

TEST_F(MappingDialogTest, TheOnlySourceOfAKindIsNotDeleted) {
    addKey("Chair");
    ASSERT_EQ(run(ObjectMap::IFC, {userAction(K::selectRow, 4, 2), userAction(K::closeOK)}), 1);
    EXPECT_EQ(dialog->menu.size(), 5u);
    EXPECT_EQ(dialog->chosen, "Default");
    EXPECT_EQ(alertTexts(), std::vector<std::string>{"The only source of a kind cannot be deleted."});
    EXPECT_NE(map.getLists().getSpecificationList(String("Default"), ObjectMap::IFC), nullptr);
}

TEST_F(MappingDialogTest, TypedMappedNames) {
    struct Case {
        const char* what;
        sim::DialogScript script;  // after the row (0 the door Desk, 1 the object Chair) was clicked
        sim::DialogScript chooser; // empty: no chooser expected
        Row shown;
        std::string rule; // the rule's mapped name after OK, "-" none
        std::vector<std::string> alerts;
    };
    const std::vector<Case> cases{
        {"one part matches",
         {userAction(K::clickRow, 9, 1), userAction(K::editCell, 9, 1, 1, "MODERN"),
          userAction(K::leaveFocus, 8)},
         {},
         {"Chair", "Chair Modern", "black"},
         "Chair Modern",
         {}},
        {"only parts of the row's type count",
         {userAction(K::clickRow, 9, 0), userAction(K::editCell, 9, 0, 1, "desk"),
          userAction(K::leaveFocus, 8)},
         {},
         {"Desk", "Desk", "black"},
         "-",
         {}},
        {"no part matches",
         {userAction(K::clickRow, 9, 1), userAction(K::editCell, 9, 1, 1, "sofa"),
          userAction(K::leaveFocus, 8)},
         {},
         {"Chair", "sofa", "red"},
         "sofa",
         {"No library part matches this name."}},
        {"an empty text clears the rule",
         {userAction(K::clickRow, 9, 1), userAction(K::editCell, 9, 1, 1, "arm"),
          userAction(K::leaveFocus, 8), userAction(K::editCell, 9, 1, 1, ""), userAction(K::leaveFocus, 8)},
         {},
         {"Chair", "", "orange"},
         "-",
         {}},
        {"several parts match: the chooser",
         {userAction(K::clickRow, 9, 1), userAction(K::editCell, 9, 1, 1, "chair"),
          userAction(K::leaveFocus, 8)},
         {userAction(K::clickRow, 4, 2), userAction(K::closeOK)},
         {"Chair", "Chair Modern", "black"},
         "Chair Modern",
         {}},
        {"a cancelled chooser chooses nothing",
         {userAction(K::clickRow, 9, 1), userAction(K::editCell, 9, 1, 1, "chair"),
          userAction(K::leaveFocus, 8)},
         {userAction(K::clickRow, 4, 1), userAction(K::closeCancel)},
         {"Chair", "chair", "red"},
         "chair",
         {}},
        {"a row change acts on the edit first",
         {userAction(K::clickRow, 9, 1), userAction(K::editCell, 9, 1, 1, "arm"),
          userAction(K::clickRow, 9, 0)},
         {},
         {"Chair", "Armchair", "black"},
         "Armchair",
         {}},
        {"OK acts on the edit first",
         {userAction(K::clickRow, 9, 1), userAction(K::editCell, 9, 1, 1, "arm")},
         {},
         {"Chair", "Armchair", "black"},
         "Armchair",
         {}},
        {"leaving the editor without typing changes nothing",
         {userAction(K::clickRow, 9, 1), userAction(K::leaveFocus, 8), userAction(K::clickRow, 9, 0)},
         {},
         {"Chair", "", "orange"},
         "-",
         {}},
    };
    addKey("Chair");
    addKey("Desk", APILib_DoorID);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        freshMap();
        std::size_t alerts = sim::alerts().size();
        if (!c.chooser.empty()) {
            sim::queueDialogScript(32511, c.chooser);
        }
        sim::DialogScript script = c.script;
        script.push_back(userAction(K::closeOK));
        ASSERT_EQ(run(ObjectMap::GSM, script), 1);
        EXPECT_EQ(failures(), std::vector<std::string>{});
        ASSERT_EQ(dialog->rows.size(), 2u);
        EXPECT_EQ(dialog->rows[c.shown.name == "Desk" ? 0 : 1], c.shown);
        EXPECT_EQ(ruleOf(map, "Default", ObjectMap::GSM, "Chair"), c.rule);
        EXPECT_EQ(alertTexts(alerts), c.alerts);
        EXPECT_EQ(sim::pendingDialogScripts(32511), 0u);
    }
    EXPECT_EQ(ruleOf(map, "Default", ObjectMap::GSM, "Desk", APILib_DoorID), "-");
}

TEST_F(MappingDialogTest, MissingPartsAreMappedAutomaticallyBesideTheUsersRules) {
    map.addSource(String("Old"), ObjectMap::missing);
    addKey("Armchair");            // no rule: a new automatic one
    addKey("Desk");                // the user's rule that resolves: kept
    addKey("Chair Classic");       // the user's rule that does not resolve
    addKey("Chair Modern");        // another source's rule: left, a new one here
    addKey("Door Single");         // the part is a door: not for an object
    addKey("Desk", APILib_DoorID); // an automatic rule: pointed again
    addRule(map, "Default", ObjectMap::missing, "Desk", "Chair Modern");
    addRule(map, "Default", ObjectMap::missing, "Chair Classic", "Nothing");
    addRule(map, "Old", ObjectMap::missing, "Chair Modern", "Armchair");
    addRule(map, "Default", ObjectMap::missing, "Desk", "Door Single", APILib_DoorID, true);
    ASSERT_EQ(run(ObjectMap::missing, {userAction(K::closeOK)}), 1);
    EXPECT_EQ(dialog->rows, (std::vector<Row>{{"Desk", "Desk", "green"},
                                              {"Armchair", "Armchair", "green"},
                                              {"Chair Classic", "Chair Classic", "green"},
                                              {"Chair Modern", "Chair Modern", "green"},
                                              {"Desk", "Chair Modern", "black"},
                                              {"Door Single", "", "orange"}}));
    EXPECT_EQ(ruleOf(map, "Default", ObjectMap::missing, "Armchair"), "Armchair");
    EXPECT_EQ(ruleOf(map, "Default", ObjectMap::missing, "Desk"), "Chair Modern");
    EXPECT_EQ(ruleOf(map, "Default", ObjectMap::missing, "Chair Classic"), "Chair Classic");
    EXPECT_EQ(ruleOf(map, "Default", ObjectMap::missing, "Chair Modern"), "Chair Modern");
    EXPECT_EQ(ruleOf(map, "Old", ObjectMap::missing, "Chair Modern"), "Armchair");
    EXPECT_EQ(ruleOf(map, "Default", ObjectMap::missing, "Door Single"), "-");
    EXPECT_EQ(ruleOf(map, "Default", ObjectMap::missing, "Desk", APILib_DoorID), "Desk");
}

// Another kind's list under the chosen name is another source: its rules are neither shown as
// the chosen source's nor changed by automatic mapping.
TEST_F(MappingDialogTest, AListOfAnotherKindNamedLikeTheChosenOneIsAnotherSource) {
    addKey("Armchair"); // the GSM rule resolves: taken for the user's own, it would stay unmapped
    addKey("Stool");    // the GSM rule is automatic and does not resolve: it would be re-pointed
    addRule(map, "Default", ObjectMap::GSM, "Armchair", "Desk");
    addRule(map, "Default", ObjectMap::GSM, "Stool", "Nothing", APILib_ObjectID, true);
    addPart("Stool");
    ASSERT_EQ(run(ObjectMap::missing, {userAction(K::closeOK)}), 1);
    EXPECT_EQ(dialog->rows,
              (std::vector<Row>{{"Armchair", "Armchair", "green"}, {"Stool", "Stool", "green"}}));
    EXPECT_EQ(ruleOf(map, "Default", ObjectMap::missing, "Armchair"), "Armchair");
    EXPECT_EQ(ruleOf(map, "Default", ObjectMap::missing, "Stool"), "Stool");
    EXPECT_EQ(ruleOf(map, "Default", ObjectMap::GSM, "Armchair"), "Desk");
    EXPECT_EQ(ruleOf(map, "Default", ObjectMap::GSM, "Stool"), "Nothing");
}

TEST_F(MappingDialogTest, LegacyKeysFindTheirPartOfTheHostsVersion) {
    addPart("Table 21");
    addPart("Bench 20");
    addKey("Table");
    addKey("Bench");
    ASSERT_EQ(run(ObjectMap::legacy, {userAction(K::closeOK)}), 1);
    EXPECT_EQ(dialog->rows, (std::vector<Row>{{"Bench", "", "orange"}, {"Table", "Table 21", "green"}}));
    EXPECT_EQ(ruleOf(map, "Default", ObjectMap::legacy, "Table"), "Table 21");

    // Read back from the file, the rule is the user's and stays as it is.
    ASSERT_EQ(readObjectMap(map), ObjectMapFile::read);
    ASSERT_EQ(run(ObjectMap::legacy, {userAction(K::closeCancel)}), 2);
    EXPECT_EQ(dialog->rows[1], (Row{"Table", "Table 21", "black"}));
}

TEST_F(MappingDialogTest, OtherKindsAreNotMappedAutomatically) {
    addKey("Armchair");
    ASSERT_EQ(run(ObjectMap::GSM, {userAction(K::closeOK)}), 1);
    EXPECT_EQ(dialog->rows, (std::vector<Row>{{"Armchair", "", "orange"}}));
}

TEST_F(MappingDialogTest, ClearDropsTheRulesOfTheSelectedRows) {
    addKey("Armchair");
    addKey("Chair");
    addKey("Desk");
    addRule(map, "Default", ObjectMap::GSM, "Armchair", "Armchair");
    addRule(map, "Default", ObjectMap::GSM, "Chair", "Chair Modern");
    addRule(map, "Default", ObjectMap::GSM, "Desk", "Desk");
    ASSERT_EQ(run(ObjectMap::GSM, {userAction(K::click, 12), // disabled: no row selected
                                   userAction(K::clickRow, 9, 0), userAction(K::clickRow, 9, 2, 0, "command"),
                                   userAction(K::click, 12), userAction(K::closeOK)}),
              1);
    EXPECT_EQ(failures(), std::vector<std::string>{"click 12: the item is disabled"});
    EXPECT_TRUE(dialog->buttonsEnabled);
    EXPECT_EQ(dialog->rows,
              (std::vector<Row>{
                  {"Armchair", "", "orange"}, {"Chair", "Chair Modern", "black"}, {"Desk", "", "orange"}}));
    EXPECT_EQ(ruleOf(map, "Default", ObjectMap::GSM, "Armchair"), "-");
    EXPECT_EQ(ruleOf(map, "Default", ObjectMap::GSM, "Chair"), "Chair Modern");
    EXPECT_EQ(ruleOf(map, "Default", ObjectMap::GSM, "Desk"), "-");
}

TEST_F(MappingDialogTest, ResizingMovesInWholeRowsAndKeepsTheWidth) {
    // The list shows whole rows of 17: heights of 171 plus whole rows, from 358 (the first above
    // the minimum of 347) up.
    struct Case {
        short grow;
        short height; // the dialog's
    } cases[] = {{1, 358},  {10, 358}, {11, 358}, {17, 358}, {27, 358},
                 {28, 375}, {44, 375}, {45, 392}, {-30, 358}};
    addKey("Chair");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.grow);
        K resize = userAction(K::resize);
        resize.h = 25;
        resize.v = c.grow;
        ASSERT_EQ(run(ObjectMap::GSM, {resize, userAction(K::closeOK)}), 1);
        EXPECT_EQ(dialog->size.getX(), 439);
        EXPECT_EQ(dialog->size.getY(), c.height);
        EXPECT_EQ(dialog->listSize.getX(), 399);
        EXPECT_EQ(dialog->listSize.getY(), c.height - 171);
        EXPECT_EQ(dialog->okTop, c.height - 40);
    }
}

TEST_F(MappingDialogTest, WithoutPreferencesTheDialogStaysEmpty) {
    host.getProject()->setPreference(remap_test::Foreign(), false);
    addKey("Chair");
    ASSERT_EQ(run(ObjectMap::GSM, {userAction(K::clickRow, 9, 0), userAction(K::closeOK)}), 1);
    EXPECT_TRUE(dialog->rows.empty());
    EXPECT_FALSE(std::filesystem::exists(objectMapFile()));
}

TEST_F(MappingDialogTest, ChoosingAnotherSourceActsOnTheEditFirst) {
    addKey("Chair");
    ASSERT_EQ(run(ObjectMap::GSM, {userAction(K::clickRow, 9, 0), userAction(K::editCell, 9, 0, 1, "arm"),
                                   userAction(K::selectRow, 4, 5), userAction(K::closeOK)}),
              1);
    EXPECT_EQ(ruleOf(map, "Default", ObjectMap::GSM, "Chair"), "Armchair") << "typed under the source shown";
    EXPECT_EQ(dialog->rows, (std::vector<Row>{{"Chair", "Armchair", "green"}}))
        << "now another source's rule";
    EXPECT_EQ(ruleOf(map, "Survey", ObjectMap::GSM, "Chair"), "Armchair") << "copied on OK";
}

TEST_F(MappingDialogTest, AFailedInitialisationClosesTheDialogAsCancelledAndIsReported) {
    addKey("Chair");
    addKey("Desk");
    addRule(map, "Default", ObjectMap::IFC, "Chair", "Armchair");
    prefs().setSourceName(String("Default"), ObjectMap::IFC);
    const sim::DialogScript script{userAction(K::selectRow, 9, 1), userAction(K::editCell, 9, 1, 1, "Desk"),
                                   userAction(K::closeOK)};
    // Where the initialisation's allocations lie, counted from the dialog's showing.
    testing_support::AllocationSpan initialising;
    {
        sim::queueDialogScript(MappingDialog::resourceID, {userAction(K::closeCancel)});
        ProbedDialog probe(map, elements, parts, ObjectMap::IFC);
        probe.counter.restart();
        ASSERT_EQ(probe.show(), 2);
        initialising = probe.initialising;
    }
    testing_support::failEachAllocation(initialising, [&](testing_support::AllocationFailure const& failing) {
        std::size_t alerts = sim::alerts().size();
        sim::queueDialogScript(MappingDialog::resourceID, script);
        ProbedDialog dialog(map, elements, parts, ObjectMap::IFC);
        Int16 result = failing([&] { return dialog.show(); });
        EXPECT_EQ(result, 2) << "closed as cancelled";
        EXPECT_EQ(alertTexts(alerts),
                  std::vector<std::string>{"Library Part Remapping ran into an unexpected problem."});
        EXPECT_EQ(prefs().getSourceName(ObjectMap::IFC), "Default");
        EXPECT_EQ(ruleOf(map, "Default", ObjectMap::IFC, "Desk"), "-");
        EXPECT_FALSE(std::filesystem::exists(objectMapFile()));
    });
}
