#include "ACAPI/Resources.hpp"
#include "DG/DGItems.hpp"
#include "DG/DGUserItem.hpp"
#include "Display/NativeContext.hpp"
#include "sim/Dialogs.h"
#include "sim/Resources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

// Dialog 520: user items 3 (120 by 60), 5 (disabled) and 6 (hidden), a button 4 and a tab page 521
// with user item 1.
const char* const templates = R"({
  "dialogs": {
    "520": {
      "title": "Preview", "size": [300, 200],
      "items": [
        {"number": 1, "kind": "button", "rect": [200, 160, 280, 180], "text": "OK"},
        {"number": 3, "kind": "userItem", "rect": [10, 20, 130, 80]},
        {"number": 4, "kind": "button", "rect": [10, 160, 90, 180], "text": "More"},
        {"number": 5, "kind": "userItem", "rect": [140, 20, 160, 30], "enabled": false},
        {"number": 6, "kind": "userItem", "rect": [170, 20, 190, 30], "visible": false},
        {"number": 7, "kind": "tabControl", "rect": [10, 90, 290, 150], "pages": [521]}
      ]
    },
    "521": { "size": [280, 60], "items": [ {"number": 1, "kind": "userItem", "rect": [0, 0, 40, 30]} ] }
  }
})";

// Draws a diagonal of the dirty rectangle into each update's context and logs the update; asks
// to be drawn again when redrawing is set.
class Painter : public DG::UserItemObserver {
public:
    explicit Painter(std::vector<std::string>& log) : m_log(log) {}
    bool redrawing = false;
    void UserItemUpdate(const DG::UserItemUpdateEvent& event) override {
        if (redrawing) {
            DGRedrawItem(event.GetPanelId(), event.GetItemId());
        }
        NewDisplay::NativeContext context(event.GetDrawContext());
        NewDisplay::Rect dirty = context.GetDirtyRect();
        context.MoveTo(dirty.left, dirty.top);
        context.LineTo(dirty.right, dirty.bottom);
        const DGUserUpdateData& update = event.GetUpdateData();
        m_log.push_back(std::to_string(update.itemID) + " at " + std::to_string(update.left) + "," +
                        std::to_string(update.top) + " size " + std::to_string(int(dirty.right)) + "x" +
                        std::to_string(int(dirty.bottom)));
    }

private:
    std::vector<std::string>& m_log;
};

// Logs a button's clicks and runs the program's reaction.
class Clicker : public DG::ButtonItemObserver {
public:
    Clicker(std::vector<std::string>& log, std::function<void(short)> reaction)
        : m_log(log), m_reaction(std::move(reaction)) {}
    void ButtonClicked(const DG::ItemEvent& event) override {
        m_log.push_back("clicked");
        m_reaction(event.GetPanelId());
    }

private:
    std::vector<std::string>& m_log;
    std::function<void(short)> m_reaction;
};

class UserItemUpdateTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sim::loadResourcesText(sim::defaultAddOn, templates)); }
    GSResModule module() const { return ACAPI_GetOwnResModule(); }
};

TEST_F(UserItemUpdateTest, UpdatesOnOpenAndOnRedraw) {
    struct Case {
        const char* name;
        sim::DialogScript script;
        std::vector<std::string> log;
        std::vector<std::string> failures;
    };
    const std::string item3 = "3 at 10,20 size 120x60";
    const std::string item5 = "5 at 140,20 size 20x10";
    const Case cases[] = {
        {"opening", {}, {item3, item5}, {}},
        {"redraw", {sim::userAction(sim::DialogAction::redraw, 3)}, {item3, item5, item3}, {}},
        {"redraw disabled", {sim::userAction(sim::DialogAction::redraw, 5)}, {item3, item5, item5}, {}},
        {"not a user item",
         {sim::userAction(sim::DialogAction::redraw, 4)},
         {item3, item5},
         {"redraw 4: not a user item"}},
        {"hidden",
         {sim::userAction(sim::DialogAction::redraw, 6)},
         {item3, item5},
         {"redraw 6: the item is hidden"}},
        {"no item",
         {sim::userAction(sim::DialogAction::redraw, 9)},
         {item3, item5},
         {"redraw 9: no such item"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> log;
        Painter painter(log);
        DG::ModalDialog dialog(module(), 520);
        for (short number : {3, 5, 6}) {
            DG::UserItem(dialog, number).Attach(painter);
        }
        sim::DialogScript script = c.script;
        script.push_back(sim::userAction(sim::DialogAction::closeOK));
        sim::queueDialogScript(520, script);
        EXPECT_TRUE(dialog.Invoke()) << c.name;
        EXPECT_EQ(log, c.log) << c.name;
        const sim::DialogRecord& record = sim::dialogs().back();
        EXPECT_EQ(record.failures, c.failures) << c.name;
        // Every update drew its diagonal into the item's recording, kept as the dialog closed.
        std::size_t drawn3 = 2 * std::size_t(std::count(c.log.begin(), c.log.end(), item3));
        ASSERT_EQ(record.drawings.count(3), 1u) << c.name;
        EXPECT_EQ(record.drawings.at(3).size(), drawn3) << c.name;
        EXPECT_EQ(record.drawings.at(3).back().arguments, (std::vector<double>{120, 60})) << c.name;
        EXPECT_EQ(record.drawings.count(6), 0u) << c.name; // hidden: never drawn
        EXPECT_EQ(record.drawings.count(4), 0u) << c.name;
    }
}

// The program's redraw requests reach the items once the action that made them was handled; an
// item asking again while it draws is drawn after the next action, not at once.
TEST_F(UserItemUpdateTest, ProgramRedrawsFollowTheAction) {
    struct Case {
        const char* name;
        std::function<void(short panel)> onClick; // what the program does when button 4 is clicked
        bool redrawWhileDrawing;
        std::vector<std::string> log;
    };
    const std::string item3 = "3 at 10,20 size 120x60";
    const std::string item5 = "5 at 140,20 size 20x10";
    const std::string click = "clicked";
    const Case cases[] = {
        {"nothing asked", [](short) {}, false, {item3, item5, click, click}},
        {"one item",
         [](short panel) { DGRedrawItem(panel, 3); },
         false,
         {item3, item5, click, item3, click, item3}},
        {"twice, one update",
         [](short panel) {
             DGRedrawItem(panel, 3);
             DGRedrawItem(panel, 3);
         },
         false,
         {item3, item5, click, item3, click, item3}},
        {"not a user item", [](short panel) { DGRedrawItem(panel, 4); }, false, {item3, item5, click, click}},
        {"the whole dialog",
         [](short panel) { DGRedrawDialog(panel); },
         false,
         {item3, item5, click, item3, item5, click, item3, item5}},
        {"asking while drawing",
         [](short) {},
         true,
         {item3, item5, click, item3, item5, click, item3, item5}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> log;
        Painter painter(log);
        Clicker clicker(log, c.onClick);
        DG::ModalDialog dialog(module(), 520);
        for (short number : {3, 5}) {
            DG::UserItem(dialog, number).Attach(painter);
        }
        DG::Button(dialog, 4).Attach(clicker);
        painter.redrawing = c.redrawWhileDrawing;
        sim::queueDialogScript(520, {sim::userAction(sim::DialogAction::click, 4),
                                     sim::userAction(sim::DialogAction::click, 4),
                                     sim::userAction(sim::DialogAction::closeOK)});
        EXPECT_TRUE(dialog.Invoke()) << c.name;
        EXPECT_EQ(log, c.log) << c.name;
    }
}

TEST_F(UserItemUpdateTest, TabPagesAndPalettesAndScenarios) {
    std::vector<std::string> log;
    Painter painter(log);
    DG::Palette palette(module(), 520);
    DG::TabPage page(DG::TabControl(palette, 7), 1, module(), 521);
    DG::UserItem(page, 1).Attach(painter);
    DG::UserItem(palette, 3).Attach(painter);
    palette.BeginEventProcessing();
    palette.Show();
    EXPECT_EQ(log, (std::vector<std::string>{"3 at 10,20 size 120x60", "1 at 0,0 size 40x30"}));
    sim::DialogAction onPage = sim::userAction(sim::DialogAction::redraw, 1);
    onPage.page = 521;
    EXPECT_TRUE(sim::actOnPalette(520, {onPage}));
    EXPECT_EQ(log.back(), "1 at 0,0 size 40x30");
    EXPECT_EQ(sim::findPanel(page.GetId())->findItem(1)->updates, 2);
    palette.EndEventProcessing();

    // A scenario names the action "redraw".
    std::string error;
    ASSERT_TRUE(sim::queueScriptedAnswers(R"({"dialogs": {"520": [[{"do": "redraw", "item": 3}]]}})", &error))
        << error;
    log.clear();
    DG::ModalDialog dialog(module(), 520);
    DG::UserItem(dialog, 3).Attach(painter);
    dialog.Invoke();
    EXPECT_EQ(log, (std::vector<std::string>{"3 at 10,20 size 120x60", "3 at 10,20 size 120x60"}));
}

} // namespace
