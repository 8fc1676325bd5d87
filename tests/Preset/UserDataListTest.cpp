#include "Addon/TestAddon.h"
#include "Interface/Dialog.h"
#include "Interface/EditText.h"
#include "Interface/InterfacePanel.h"
#include "NoteDatabase.h"
#include "Preset/UserDataListView.h"
#include "Preset/UserDataStatusFilter.h"
#include "Preset/UserDataStatusMenu.h"
#include "PresetFixture.h"
#include "sim/Lists.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace zelvane;
using namespace testing_preset;

namespace {

using NoteList = UserDataListView<NoteDatabase>;

// The manager's dialog with its list, status menu and name edit text, opened as a palette so that
// the test can work on it.
class ListDialog : public Dialog {
public:
    ListDialog() : Dialog(32604, false) {}
    void handleInitialise() override {
        view = std::make_unique<NoteList>(*this, 3, 0, 1);
        menu = new UserDataStatusMenu(ControlLink(9, this));
        menu->initialise(UserDataStatusMenu::current);
        name = new EditText(ControlLink(11, this));
        view->addFilter(std::make_shared<UserDataStatusFilter<NoteDatabase>>(menu));
    }
    std::unique_ptr<NoteList> view;
    UserDataStatusMenu* menu = nullptr;
    EditText* name = nullptr;
};

class UserDataListTest : public PresetTest {
protected:
    void SetUp() override {
        PresetTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        InterfacePanel::startup();
        addon = &m_addon;
        dialog = std::make_unique<ListDialog>();
        dialog->show(false);
        ASSERT_TRUE(dialog->isStarted());
        // Names out of key order; key 3 is deprecated, key 4 links a deprecated record.
        database.createRecord(Guid(), "Beta", key(1));
        database.createRecord(Guid(), "Alpha", key(2));
        database.createRecord(Guid(), "Gamma", key(3));
        database.setDeprecated(key(3), true);
        database.createRecord(Guid(), "Delta", key(4));
    }
    void TearDown() override {
        dialog.reset();
        addon = nullptr;
        InterfacePanel::shutdown();
    }
    std::vector<std::string> names() const {
        std::vector<std::string> shown;
        ListControl* list = dialog->view->getList();
        for (Int16 row = 0; row < list->getRows(); ++row) {
            shown.push_back(list->getText(row, 0).data());
        }
        return shown;
    }

    testing_addon::TestAddon m_addon;
    std::unique_ptr<ListDialog> dialog;
    NoteDatabase database;
};

TEST_F(UserDataListTest, StatusMenuOffersTheThreeChoices) {
    UserDataStatusMenu& menu = *dialog->menu;
    ASSERT_EQ(menu.getRows(), 3);
    EXPECT_EQ(menu.getLabel(0), "All");
    EXPECT_EQ(menu.getLabel(1), "Current");
    EXPECT_EQ(menu.getLabel(2), "Deprecated");
    EXPECT_EQ(menu.getChoice(), UserDataStatusMenu::current);
    struct Case {
        Int16 set;
        Int16 expected;
    };
    const Case cases[] = {{2, 2}, {0, 0}, {1, 1}, {7, 1}, {-1, 1}};
    for (const Case& c : cases) {
        menu.setChoice(c.set);
        EXPECT_EQ(menu.getChoice(), c.expected) << c.set;
    }
    menu.initialise(UserDataStatusMenu::deprecated);
    EXPECT_EQ(menu.getRows(), 3) << "initialising again replaces the rows";
    EXPECT_EQ(menu.getChoice(), UserDataStatusMenu::deprecated);
}

TEST_F(UserDataListTest, StatusFilterByChoice) {
    auto current = database.findRecord(key(1), false);
    auto deprecated = database.findRecord(key(3), false);
    struct Case {
        Int16 choice;
        bool current;
        bool deprecated;
    };
    const Case cases[] = {{0, true, true}, {1, true, false}, {2, false, true}};
    for (const Case& c : cases) {
        UserDataStatusFilter<NoteDatabase> fixed(c.choice);
        EXPECT_EQ(fixed.isAccepted({key(1), current}), c.current) << c.choice;
        EXPECT_EQ(fixed.isAccepted({key(3), deprecated}), c.deprecated) << c.choice;
        EXPECT_FALSE(fixed.isAccepted({key(9), nullptr}));
        dialog->menu->setChoice(c.choice);
        UserDataStatusFilter<NoteDatabase> byMenu(dialog->menu);
        EXPECT_EQ(byMenu.isAccepted({key(3), deprecated}), c.deprecated) << "the menu is read at each test";
    }
}

TEST_F(UserDataListTest, RefreshListsTheAcceptedRecordsInNameOrder) {
    struct Case {
        Int16 choice;
        unsigned int select;
        bool selectionFiltered;
        std::vector<std::string> shown;
        Int16 row;
    };
    const Case cases[] = {
        {1, 1, false, {"Alpha", "Beta", "Delta"}, 1},
        {0, 3, false, {"Alpha", "Beta", "Delta", "Gamma"}, 3},
        {2, 3, false, {"Gamma"}, 0},
        {1, 3, false, {"Alpha", "Beta", "Delta"}, -1},
        {1, 3, true, {"Alpha", "Beta", "Delta", "Gamma"}, 3},
        {2, 0, false, {"Gamma"}, -1},
    };
    for (const Case& c : cases) {
        dialog->menu->setChoice(c.choice);
        dialog->view->setSelectionFiltered(c.selectionFiltered);
        dialog->view->getList()->deselectAll();
        Int16 row = dialog->view->refresh(database, c.select == 0 ? Guid() : key(c.select));
        EXPECT_EQ(names(), c.shown) << c.choice << " " << c.select;
        EXPECT_EQ(row, c.row);
        EXPECT_EQ(dialog->view->getList()->getSelectedRow(), c.row);
        for (Int16 shown = 0; shown < Int16(c.shown.size()); ++shown) {
            Guid rowKey = dialog->view->getRecordIndex(shown);
            ASSERT_TRUE(bool(rowKey));
            EXPECT_EQ(std::string(database.findRecord(rowKey, false)->getName().data()), c.shown[shown]);
            EXPECT_EQ(dialog->view->findRow(rowKey), shown);
        }
    }
    EXPECT_FALSE(bool(dialog->view->getRecordIndex(-1)));
    EXPECT_FALSE(bool(dialog->view->getRecordIndex(40)));
}

TEST_F(UserDataListTest, RowsAreStyledByStatus) {
    auto current = database.findRecord(key(1), false);
    auto deprecated = database.findRecord(key(3), false);
    TextStyle plain = dialog->view->getRecordStyling(current);
    EXPECT_EQ(plain.getFace(), TextStyle::plain);
    EXPECT_DOUBLE_EQ(plain.getSize(), 4.2333333333336);
    EXPECT_EQ(dialog->view->getRecordStyling(deprecated).getFace(), TextStyle::italic);
}

TEST_F(UserDataListTest, ColumnsShareTheListWidth) {
    ListControl* list = dialog->view->getList();
    ASSERT_EQ(list->getColumns(), 1);
    EXPECT_EQ(list->getColumnStyle(0).getWidth(), list->getWidth());
    ASSERT_TRUE(list->addColumn(ListColumnStyle(list->getWidth() / 3, 0)));
    dialog->view->resize(ScreenPoint(60, 20));
    Int16 width = list->getWidth();
    EXPECT_EQ(list->getColumnStyle(0).getWidth() + list->getColumnStyle(1).getWidth() + 4, width);
    EXPECT_EQ(list->getColumnStyle(1).getStart(), list->getColumnStyle(0).getEnd() + 4);
    EXPECT_GT(list->getColumnStyle(0).getWidth(), list->getColumnStyle(1).getWidth());
}

} // namespace
