#include "Interface/PopupMenu.h"
#include "Addon/ItemEvent.h"
#include "Addon/Subscriber.h"
#include "Addon/TestAddon.h"
#include "Attribute/TextStyle.h"
#include "Environment/Int32Setting.h"
#include "Environment/MenuSetting.h"
#include "Environment/StringSetting.h"
#include "Interface/Dialog.h"
#include "Interface/InterfacePanel.h"
#include "sim/Dialogs.h"
#include "sim/Lists.h"
#include "sim/Resources.h"

#include "Interface/PanelFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>

using namespace zelvane;

namespace {

const char* resources() {
    return R"({
      "dialogs": {
        "730": {
          "title": "Pop-ups", "size": [300, 200],
          "items": [
            {"number": 1, "kind": "button", "rect": [200, 160, 280, 180], "text": "OK"},
            {"number": 2, "kind": "button", "rect": [100, 160, 180, 180], "text": "Cancel"},
            {"number": 3, "kind": "popup", "rect": [10, 10, 150, 30], "rows": ["one", "two"]},
            {"number": 4, "kind": "userControl", "rect": [10, 40, 150, 60]}
          ]
        }
      }
    })";
}

sim::DialogAction selectRow(short item, Int32 row) {
    sim::DialogAction action;
    action.kind = sim::DialogAction::selectRow;
    action.item = item;
    action.value = row;
    return action;
}

class Menus : public Dialog {
public:
    Menus() : Dialog(730, false, false, false) {}
    void handleInitialise() override {
        standard = new PopupMenu(ControlLink(3, this));
        user = new PopupMenu(ControlLink(4, this), 0, PopupMenu::textAndIcon);
    }
    PopupMenu* standard = nullptr;
    PopupMenu* user = nullptr;
};

class PopupMenuTest : public panel_testing::DialogResourcesTest {
protected:
    PopupMenuTest() : DialogResourcesTest(resources()) {}
    void SetUp() override {
        DialogResourcesTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        addon = &m_addon;
        m_menus = std::make_unique<Menus>();
        m_menus->show(false);
        ASSERT_TRUE(m_menus->isStarted());
    }
    void TearDown() override {
        m_menus.reset();
        addon = nullptr;
        DialogResourcesTest::TearDown();
    }
    sim::RowModel& host(short item) { return *sim::findRows(m_menus->getDialogID(), item); }

    testing_addon::TestAddon m_addon;
    std::unique_ptr<Menus> m_menus;
};

// Counts the item events a control publishes.
class Changes : public Subscriber {
public:
    void getSpec(std::vector<EventSpec>& specs) const override {
        specs.push_back(EventSpec(InterfaceEvent::ID, ItemEvent::ID));
    }
    bool takeEvent(Event&) override {
        ++count;
        return true;
    }
    int count = 0;
};

TEST_F(PopupMenuTest, TakesTheHostRowsAndAddsRows) {
    PopupMenu& menu = *m_menus->standard;
    EXPECT_EQ(menu.getRows(), 2); // from the template
    EXPECT_EQ(menu.getType(), PopupMenu::standardType);
    EXPECT_EQ(m_menus->user->getType(), PopupMenu::userControlType);
    EXPECT_EQ(menu.getLabel(1, 0), String("two"));
    EXPECT_TRUE(menu.addRow(String("three"), 0, 42));
    EXPECT_EQ(menu.getRows(), 3);
    EXPECT_EQ(host(3).rowCount(), 3);
    EXPECT_EQ(menu.getUserData(2), 42);
    EXPECT_EQ(menu.getUserData(7), 0);
    EXPECT_EQ(menu.getLabel(5, 0), String());

    // Equal labels: the later row is found.
    menu.addRow(String("two"));
    EXPECT_EQ(menu.findLabel(String("two")), 3);
    EXPECT_EQ(menu.findLabel(String("none")), -1);

    // Rows shrink from the end; the count is cut at the last row.
    ASSERT_TRUE(menu.setTableSize(4, 1));
    EXPECT_TRUE(menu.deleteRow(2, 5));
    EXPECT_EQ(menu.getRows(), 2);
    EXPECT_EQ(host(3).rowCount(), 2);
    EXPECT_EQ(menu.getLabel(1, 0), String("two"));
}

TEST_F(PopupMenuTest, RefusesRowsOutsideAndBadCounts) {
    PopupMenu& menu = *m_menus->standard;
    struct Case {
        const char* what;
        std::function<bool()> call;
        bool result;
        Int16 rows;
    };
    const Case cases[] = {
        {"delete before the first row", [&] { return menu.deleteRow(-1, 2); }, false, 2},
        {"delete after the last row", [&] { return menu.deleteRow(2, 1); }, false, 2},
        {"delete a negative count", [&] { return menu.deleteRow(0, -1); }, false, 2},
        {"delete nothing", [&] { return menu.deleteRow(0, 0); }, true, 2},
        {"delete nothing past the end", [&] { return menu.deleteRow(7, 0); }, true, 2},
        {"insert a negative count", [&] { return menu.insertRow(0, -3); }, false, 2},
        {"insert nothing", [&] { return menu.insertRow(0, 0); }, true, 2},
        {"insert past the end", [&] { return menu.insertRow(5, 1); }, false, 2},
        {"append", [&] { return menu.insertRow(-1, 2); }, true, 4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.call(), c.result) << c.what;
        EXPECT_EQ(menu.getRows(), c.rows) << c.what;
        EXPECT_EQ(host(3).rowCount(), c.rows) << c.what;
        EXPECT_EQ(menu.getLabel(0, 0), String("one")) << c.what;
    }
}

TEST_F(PopupMenuTest, SelectionByRowLabelAndSetting) {
    PopupMenu& menu = *m_menus->standard;
    menu.addRow(String("three"));
    menu.setSelected(true, 1, 0);
    EXPECT_EQ(host(3).selected, 2);
    EXPECT_TRUE(menu.isSelected(1, 0));
    EXPECT_EQ(menu.getSelectedRow(0), 1);
    EXPECT_EQ(menu.getSelectedRow(2), -1); // the choice lies before `from`
    EXPECT_EQ(menu.getSelectedLabel(), String("two"));

    // An absent label with a fallback beyond the rows chooses the last row.
    EXPECT_EQ(menu.setSelected(String("none"), 9), String("three"));
    EXPECT_EQ(menu.getSelectedRow(0), 2);
    EXPECT_EQ(menu.setSelected(String("none"), 0), String("one"));
    EXPECT_EQ(menu.setSelected(String("two"), 0), String("two"));

    // A setting read and written back chooses the same row.
    std::unique_ptr<Setting> setting(menu.getSetting());
    ASSERT_NE(dynamic_cast<MenuSetting*>(setting.get()), nullptr);
    menu.setSelected(true, 0, 0);
    menu.setSetting(*setting);
    EXPECT_EQ(menu.getSelectedRow(0), 1);
    menu.setSetting(Int32Setting(2));
    EXPECT_EQ(menu.getSelectedRow(0), 2);
    menu.setSetting(StringSetting(String("one")));
    EXPECT_EQ(menu.getSelectedRow(0), 0);
    menu.setSetting(Int32Setting(7)); // no such row: nothing changes
    EXPECT_EQ(menu.getSelectedRow(0), 0);
}

TEST_F(PopupMenuTest, UserControlShowsTheChoiceOnItsButton) {
    PopupMenu& menu = *m_menus->user;
    EXPECT_EQ(host(4).controlKind, PopupMenu::textAndIcon);
    menu.addRow(String("first"));
    menu.addRow(String("second"), 0, 7);
    menu.setSelected(true, 1, 0);
    EXPECT_EQ(host(4).buttonText, "second");
    EXPECT_EQ(host(4).selected, 2);
    EXPECT_EQ(menu.getImage(1, 0).getResourceId(), -1); // no icon: an empty image

    // The user's choice reaches the subscribers and then the button.
    Changes changes;
    menu.addSubscriber(&changes);
    ASSERT_TRUE(sim::actOnPalette(730, {selectRow(4, 0)}));
    EXPECT_EQ(changes.count, 1);
    EXPECT_EQ(menu.getSelectedRow(0), 0);
    EXPECT_EQ(host(4).buttonText, "first");
    menu.removeSubscriber(&changes);

    // Disabled rows: status 1 on a user control, 2 on a standard pop-up.
    menu.setEnabled(false, 1);
    m_menus->standard->setEnabled(false, 1);
    EXPECT_EQ(host(4).rows[1].status, 1);
    EXPECT_EQ(host(3).rows[1].status, 2);
    m_menus->standard->setEnabled(true, 1);
    EXPECT_EQ(host(3).rows[1].status, 0);
}

TEST_F(PopupMenuTest, StylesSeparatorsAndImages) {
    PopupMenu& menu = *m_menus->standard;
    const std::pair<TextStyle::Face, short> faces[] = {{1, 0x10}, {2, 0x20}, {3, 0},
                                                       {4, 0x30}, {0, 0},    {7, 0}};
    for (auto [face, style] : faces) {
        menu.setStyle(TextStyle(face), 1, 0);
        EXPECT_EQ(host(3).rows[1].style, style) << face;
    }
    // Row -1: the font of the whole control.
    menu.setStyle(TextStyle(0, 10 * TextStyle::millimetresPerPoint), -1, 0);
    EXPECT_EQ(sim::findPanel(m_menus->getDialogID())->findItem(3)->font, DialogControl::smallFont);

    EXPECT_TRUE(menu.insertSeparator(1));
    EXPECT_EQ(menu.getRows(), 3);
    EXPECT_TRUE(host(3).rows[1].separator);
    EXPECT_TRUE(menu.insertSeparator(-1));
    EXPECT_TRUE(host(3).rows[3].separator);

    menu.setImage(Image(Int16(12)), 0, 0);
    EXPECT_EQ(host(3).rows[0].icons[0], 12);
    EXPECT_EQ(menu.getImage(0, 0).getResourceId(), 12);
}

TEST_F(PopupMenuTest, IteratesRowsAndTheChoice) {
    PopupMenu& menu = *m_menus->standard;
    menu.addRow(String("three"));
    std::vector<String> labels;
    for (auto it = menu.begin(); it != menu.end(); ++it) {
        labels.push_back(it->getLabel());
    }
    EXPECT_EQ(labels, (std::vector<String>{String("one"), String("two"), String("three")}));

    menu.setSelected(true, 1, 0);
    auto chosen = menu.begin(selectedRows);
    EXPECT_EQ(chosen->getRow(), 1);
    ++chosen;
    EXPECT_TRUE(chosen == menu.end());
    EXPECT_EQ(menu.last(selectedRows)->getRow(), 1);
    EXPECT_EQ(menu.last()->getRow(), 2);
    EXPECT_TRUE(menu.begin(9) == menu.end()); // an unknown scope visits nothing

    // An ended iterator orders before one on a row.
    EXPECT_TRUE(menu.end() < menu.begin());
    EXPECT_FALSE(menu.begin() < menu.end());
    EXPECT_TRUE(menu.begin() < menu.last());
    EXPECT_THROW(*menu.end(), std::out_of_range);
    auto ended = menu.end();
    EXPECT_THROW(++ended, std::out_of_range);
    PopupMenu::Node node(&menu, 5);
    EXPECT_TRUE(node.isEnded());
    EXPECT_EQ(node.getLabel(), String());
    EXPECT_THROW(node.moveForward(allRows), std::out_of_range);
}

} // namespace
