#include "Remap/ObjectSelectionDialog.h"
#include "Interface/Dialog.h"
#include "Interface/ListControl.h"
#include "Interface/PopupMenu.h"
#include "MappingFixture.h"
#include "Remap/CompareNoCase.h"
#include "Remap/UniqueSource.h"
#include "sim/Dialogs.h"

#include <memory>
#include <string>
#include <vector>

using namespace zelvane;
using namespace zelvane::remap;
using K = sim::DialogAction;

namespace {

// The chooser with what it showed as it closed.
class ObservedChooser : public ObjectSelectionDialog {
public:
    using ObjectSelectionDialog::ObjectSelectionDialog;
    void handleAccept(ActionEvent& event) override {
        ObjectSelectionDialog::handleAccept(event);
        take();
    }
    void handleCancel(ActionEvent& event) override {
        ObjectSelectionDialog::handleCancel(event);
        take();
    }
    std::vector<std::string> rows;
    bool okEnabled = false;
    ScreenPoint size, listSize;

private:
    void take() {
        for (Int16 row = 0; row < getList()->getRows(); ++row) {
            rows.push_back(getList()->getText(row, 0).data());
        }
        okEnabled = getControl(okItem)->isEnabled();
        size = getSize(0);
        listSize = getList()->getSize();
    }
};

class ObjectSelectionDialogTest : public remap_test::MappingFixture {
protected:
    void SetUp() override {
        MappingFixture::SetUp();
        for (const char* name : {"chair b", "Chair A", "CHAIR B", "Chair b", "armchair"}) {
            addPart(name);
        }
    }
    std::string chosenBy(const sim::DialogScript& script) {
        std::vector<ComponentLog> candidates = parts;
        sim::queueDialogScript(ObjectSelectionDialog::resourceID, script);
        chooser = std::make_unique<ObservedChooser>(candidates);
        EXPECT_EQ(chooser->getChosen(), nullptr) << "nothing before it opens";
        chooser->show();
        const ComponentLog* chosen = chooser->getChosen();
        return chosen != nullptr ? chosen->getName().data() : "-";
    }
    std::unique_ptr<ObservedChooser> chooser;
};

// The mapping dialog's template with its source menu filled.
class SourceMenuDialog : public Dialog {
public:
    SourceMenuDialog() : Dialog(32510, false, false, false) {}
    void handleInitialise() override {
        menu = new PopupMenu(ControlLink(4, this));
        for (const char* label : {"New source...", "Rename \"Site\"...", "Delete \"Site\""}) {
            menu->addRow(String(label));
        }
        menu->insertSeparator(-1);
        for (const char* label : {"Old", "Site", "site"}) {
            menu->addRow(String(label));
        }
    }
    PopupMenu* menu = nullptr;
};

} // namespace

TEST_F(ObjectSelectionDialogTest, CandidatesSortByNameKeepingTheLibraryOrderOfEqualOnes) {
    EXPECT_EQ(chosenBy({userAction(K::closeOK)}), "armchair") << "the first row is chosen when it opens";
    EXPECT_EQ(chooser->rows,
              (std::vector<std::string>{"armchair", "Chair A", "chair b", "CHAIR B", "Chair b"}));
    EXPECT_TRUE(chooser->okEnabled);
}

TEST_F(ObjectSelectionDialogTest, ChoosingAndCancelling) {
    struct Case {
        const char* what;
        sim::DialogScript script;
        std::string chosen;
        bool okEnabled;
    };
    const std::vector<Case> cases{
        {"another row", {userAction(K::clickRow, 4, 3), userAction(K::closeOK)}, "CHAIR B", true},
        {"no row: the first stays",
         {userAction(K::clickRow, 4, 0, 0, "command"), userAction(K::closeOK)},
         "armchair",
         false},
        {"cancelled", {userAction(K::clickRow, 4, 2), userAction(K::closeCancel)}, "-", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(chosenBy(c.script), c.chosen);
        EXPECT_EQ(chooser->okEnabled, c.okEnabled);
    }
}

TEST_F(ObjectSelectionDialogTest, ResizingMovesInWholeRowsAndKeepsTheWidth) {
    // Heights of 171 plus whole rows of 17, from 307 (the first above the minimum of 299) up.
    struct Case {
        short grow;
        short height;
    } cases[] = {{5, 307}, {8, 307}, {17, 307}, {24, 307}, {25, 324}, {35, 324}, {42, 341}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.grow);
        K resize = userAction(K::resize);
        resize.h = 60;
        resize.v = c.grow;
        chosenBy({resize, userAction(K::closeOK)});
        EXPECT_EQ(chooser->size.getX(), 300);
        EXPECT_EQ(chooser->size.getY(), c.height);
        EXPECT_EQ(chooser->listSize.getX(), 260);
        EXPECT_EQ(chooser->listSize.getY(), c.height - 171);
    }
}

TEST(CompareNoCase, OrdersTheLowerCasedTexts) {
    EXPECT_TRUE(CompareNoCase()(String("alpha"), String("Beta")));
    EXPECT_FALSE(CompareNoCase()(String("Beta"), String("alpha")));
    EXPECT_FALSE(CompareNoCase()(String("ALPHA"), String("alpha")));
    EXPECT_FALSE(CompareNoCase()(String("alpha"), String("ALPHA")));
}

TEST_F(ObjectSelectionDialogTest, UniqueSourceRefusesTheLabelOfAnotherRow) {
    SourceMenuDialog dialog;
    dialog.show(false);
    ASSERT_TRUE(dialog.isStarted());
    struct Case {
        const char* name;
        Int16 row; // the row being renamed, or none
        bool accepted;
    } cases[] = {
        {"North", UniqueSource::none, true},
        {"Old", UniqueSource::none, false},
        {"Site", 5, true},
        {"Site", 4, false},
        {"site", 5, false},
        {"SITE", 5, true},
        {"New source...", UniqueSource::none, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UniqueSource filter(*dialog.menu, c.row);
        String message("unchanged");
        EXPECT_EQ(filter.validate(String(c.name), message), c.accepted);
        EXPECT_EQ(message, c.accepted ? "unchanged" : "A source of this name exists already.");
    }
}

TEST_F(ObjectSelectionDialogTest, SourceNamesAskedWithTheRightPrompt) {
    SourceMenuDialog dialog;
    dialog.show(false);
    sim::queueDialogScript(32600, {userAction(K::setText, 4, 0, 0, "North"), userAction(K::closeOK)});
    EXPECT_EQ(getSourceName(*dialog.menu, UniqueSource::none), "North");
    EXPECT_EQ(sim::dialogs().back().texts.at(3), "Name of the new source:");
    EXPECT_EQ(sim::dialogs().back().title, "Source name");

    sim::queueDialogScript(32600, {userAction(K::setText, 4, 0, 0, "Far"), userAction(K::closeCancel)});
    EXPECT_EQ(getSourceName(*dialog.menu, 5), "") << "cancelled";
    EXPECT_EQ(sim::dialogs().back().texts.at(3), "New name of the source:");
}
