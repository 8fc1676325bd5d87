#include "ACAPI/Resources.hpp"
#include "DG/DGListBox.hpp"
#include "DG/DGPanel.hpp"
#include "DG/DGPopUp.hpp"
#include "UC/UCPopupMenu.hpp"
#include "sim/Dialogs.h"
#include "sim/Lists.h"
#include "sim/Resources.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

const char* const templates = R"({
  "dialogs": {
    "520": {
      "title": "Rows", "size": [300, 240],
      "items": [
        {"number": 3, "kind": "listBox", "rect": [10, 10, 210, 170], "columns": 2, "rows": ["a\tA", "b", "c\tC\textra"]},
        {"number": 4, "kind": "popup", "rect": [220, 10, 290, 30], "rows": ["x", "y"]},
        {"number": 5, "kind": "userControl", "rect": [220, 40, 290, 60]},
        {"number": 6, "kind": "textEdit", "rect": [220, 70, 290, 90]},
        {"number": 7, "kind": "listBox", "rect": [10, 180, 210, 230]},
        {"number": 8, "kind": "leftText", "rect": [220, 100, 290, 120]}
      ]
    }
  }
})";

class Log : public DG::ListBoxObserver,
            public DG::PopUpObserver,
            public DG::UserControlObserver,
            public DG::TextEditBaseObserver {
public:
    void ListBoxSelectionChanged(const DG::ListBoxSelectionEvent&) override { note("selection"); }
    void ListBoxClicked(const DG::ListBoxClickEvent& e) override {
        note("click " + std::to_string(e.GetListItem()) + (e.IsShiftPressed() ? " shift" : "") +
             (e.IsCommandPressed() ? " command" : ""));
    }
    void ListBoxTabFieldUpdate(const DG::ListBoxTabFieldUpdateEvent& e) override {
        note("cell " + std::to_string(e.GetListItem()) + "," + std::to_string(e.GetTabIndex()));
    }
    void ListBoxHeaderItemDragged(const DG::ListBoxHeaderItemDragEvent& e) override {
        note("header " + std::to_string(e.GetOldPos()) + ">" + std::to_string(e.GetNewPos()));
    }
    void ListBoxHeaderItemResized(const DG::ListBoxHeaderItemResizeEvent& e) override {
        note("resized " + std::to_string(e.GetSizeChange()));
    }
    void PopUpChanged(const DG::ItemEvent& e) override { note("popup " + std::to_string(e.GetItemId())); }
    void UserControlChanged(const DG::ItemEvent& e) override {
        note("user " + std::to_string(e.GetItemId()));
    }
    void TextEditChanged(const DG::ItemEvent& e) override { note("edit " + std::to_string(e.GetItemId())); }
    void note(const std::string& text) { log.push_back(text); }
    std::vector<std::string> log;
};

class ListBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim::loadResourcesText(sim::defaultAddOn, templates));
        palette = std::make_unique<DG::Palette>(ACAPI_GetOwnResModule(), 520);
        palette->BeginEventProcessing();
        list = std::make_unique<DG::MultiSelListBox>(*palette, 3);
        list->Attach(log);
    }
    std::vector<std::string> failures() { return sim::dialogs().back().failures; }
    std::string cell(short row, short column) { return list->GetTabItemText(row, column).ToUTF8(); }

    std::unique_ptr<DG::Palette> palette;
    std::unique_ptr<DG::MultiSelListBox> list;
    Log log;
};

TEST_F(ListBoxTest, RowsFromTheTemplateAndByTheProgram) {
    EXPECT_TRUE(list->IsValid());
    EXPECT_FALSE(DG::ListBox(*palette, 4).IsValid()); // a pop-up is no list box
    EXPECT_EQ(list->GetItemCount(), 3);
    EXPECT_EQ(list->GetTabFieldCount(), 2);
    EXPECT_EQ(cell(1, 2), "A");
    EXPECT_EQ(cell(2, 2), "");
    EXPECT_EQ(cell(3, 2), "C"); // tab fields beyond the list's are dropped
    EXPECT_EQ(cell(4, 1), "");

    list->SelectItem(2);
    list->InsertItem(1);
    EXPECT_TRUE(list->IsItemSelected(3)); // the selected row moved down
    list->SetItemValue(3, -5);
    list->DeleteItem(1);
    EXPECT_EQ(list->GetItemValue(2), -5);
    EXPECT_EQ(list->GetSelectedItem(), 2);
    list->DeleteItem(9); // no such row
    EXPECT_EQ(list->GetItemCount(), 3);

    // Redraws are not counted while drawing is off.
    list->DisableDraw();
    list->Redraw();
    list->RedrawItem(1);
    list->EnableDraw();
    list->Redraw();
    EXPECT_EQ(sim::findRows(palette->GetId(), 3)->redraws, 1);
    EXPECT_EQ(sim::findRows(palette->GetId(), 3)->rowRedraws.size(), 0u);

    list->SetScrollPosition(40);
    EXPECT_EQ(list->GetScrollPosition(), 2);
    list->SetHeaderItemCount(1);
    list->SetHeaderItemMinSize(1, 30);
    list->SetHeaderItemSize(1, 10);
    EXPECT_EQ(list->GetHeaderItemSize(1), 30);
    EXPECT_EQ(list->GetHeaderHeight(), sim::RowModel::fullHeaderHeight);

    list->DeleteItem(DG_ALL_ITEMS);
    EXPECT_EQ(list->GetItemCount(), 0);
    EXPECT_EQ(DGPopUpGetItemCount(palette->GetId(), 3), 0);
    EXPECT_EQ(DGPopUpGetItemCount(palette->GetId(), 4), 2);
}

TEST_F(ListBoxTest, ClicksSelectAsTheModifierKeysSay) {
    using K = sim::DialogAction;
    ASSERT_TRUE(sim::actOnPalette(520, {sim::userAction(K::clickRow, 3, 0),
                                        sim::userAction(K::clickRow, 3, 2, 1, "shift"),
                                        sim::userAction(K::clickRow, 3, 1, 0, "command"),
                                        sim::userAction(K::clickRow, 3, 1, 0, "command")}));
    EXPECT_TRUE(failures().empty());
    EXPECT_EQ(log.log,
              (std::vector<std::string>{"selection", "click 1", "selection", "click 3 shift", "selection",
                                        "click 2 command", "selection", "click 2 command"}));
    EXPECT_TRUE(list->IsItemSelected(1));
    EXPECT_TRUE(list->IsItemSelected(2));
    EXPECT_TRUE(list->IsItemSelected(3));

    // Without multiple selection a click selects one row whatever the keys.
    DG::SingleSelListBox single(*palette, 7);
    single.AppendItem();
    single.AppendItem();
    ASSERT_TRUE(sim::actOnPalette(
        520, {sim::userAction(K::clickRow, 7, 0), sim::userAction(K::clickRow, 7, 1, 0, "command")}));
    EXPECT_FALSE(single.IsItemSelected(1));
    EXPECT_TRUE(single.IsItemSelected(2));
    single.SelectItem(1);
    EXPECT_EQ(single.GetSelectedCount(), 1);
}

TEST_F(ListBoxTest, ActionsThatCannotBeDone) {
    using K = sim::DialogAction;
    list->SetHeaderItemCount(2);
    ASSERT_TRUE(sim::actOnPalette(520, {
                                           sim::userAction(K::clickRow, 3, 5),
                                           sim::userAction(K::clickRow, 3, 0, 2),
                                           sim::userAction(K::clickRow, 3, 0, 0, "control"),
                                           sim::userAction(K::clickRow, 4, 0),
                                           sim::userAction(K::selectRow, 3, -1),
                                           sim::userAction(K::dragHeader, 3, 0, 1),
                                           sim::userAction(K::clickHeader, 3, 2),
                                           sim::userAction(K::dragRows, 3, 7),
                                           sim::userAction(K::editCell, 3, 0, 2, "x"),
                                           sim::userAction(K::clickRow, 3, 0, 0, "shift+\x85\n"),
                                       }));
    EXPECT_EQ(failures(), (std::vector<std::string>{
                              "clickRow 3: no row 5",
                              "clickRow 3: no tab field 2",
                              "clickRow 3: unknown modifier keys \"control\"",
                              "clickRow 4: a popup is no list box",
                              "selectRow 3: no row -1",
                              "dragHeader 3: the header items cannot be dragged",
                              "clickHeader 3: no header item 2",
                              "dragRows 3: no row is selected",
                              "editCell 3: no cell (0, 2)",
                              "clickRow 3: unknown modifier keys \"shift+\\x85\\n\"",
                          }));
    EXPECT_TRUE(log.log.empty());
}

TEST_F(ListBoxTest, CellsAreEditedInPlaceOrThroughTheirItem) {
    using K = sim::DialogAction;
    DG::TextEdit edit(*palette, 6);
    edit.Attach(log);
    list->SetOnTabItem(2, edit);
    ASSERT_TRUE(sim::actOnPalette(520, {sim::userAction(K::editCell, 3, 0, 0, "one"),
                                        sim::userAction(K::selectRow, 3, 1),
                                        sim::userAction(K::editCell, 3, 0, 1, "wrong row"),
                                        sim::userAction(K::editCell, 3, 1, 1, "typed")}));
    list->SetOnTabItem(1, DG::Item(*palette, 8));
    ASSERT_TRUE(sim::actOnPalette(520, {sim::userAction(K::editCell, 3, 1, 0, "label")}));
    EXPECT_EQ(failures(), (std::vector<std::string>{"editCell 3: the editor of tab field 1 is not on row 0",
                                                    "editCell 3: the editor of tab field 0 is a leftText"}));
    EXPECT_EQ(log.log, (std::vector<std::string>{"cell 1,1", "selection", "edit 6"}));
    EXPECT_EQ(cell(1, 1), "one");
    EXPECT_EQ(sim::findPanel(palette->GetId())->findItem(6)->text, "typed");
    EXPECT_EQ(cell(2, 2), ""); // the item holds the text, not the cell
    list->RemoveOnTabItem(2);
    EXPECT_EQ(list->GetOnTabItem(2), 0);
    EXPECT_EQ(list->GetOnTabItem(1), 8);
}

TEST_F(ListBoxTest, HeaderDragAndResize) {
    using K = sim::DialogAction;
    list->SetHeaderItemCount(2);
    list->SetHeaderItemText(1, GS::UniString("first"));
    list->SetHeaderItemSize(2, 40);
    list->SetHeaderItemMinSize(2, 30);
    list->SetHeaderFlags(false, true, true);
    ASSERT_TRUE(sim::actOnPalette(
        520, {sim::userAction(K::dragHeader, 3, 0, 1), sim::userAction(K::resizeHeader, 3, 0, -25)}));
    EXPECT_EQ(list->GetHeaderItemText(2).ToUTF8(), "first");
    EXPECT_EQ(list->GetHeaderItemSize(1), 30); // not below its minimum
    EXPECT_EQ(log.log, (std::vector<std::string>{"header 1>2", "resized -10"}));
}

TEST_F(ListBoxTest, PopUpRows) {
    using K = sim::DialogAction;
    DG::PopUp popup(*palette, 4);
    popup.Attach(log);
    UC::PopupMenu user(*palette, 5);
    user.Attach(log);
    EXPECT_TRUE(user.IsValid());
    EXPECT_FALSE(UC::PopupMenu(*palette, 4).IsValid());
    popup.SelectItem(2);
    popup.InsertSeparator(1);
    popup.InsertItem(1);
    EXPECT_EQ(popup.GetSelectedItem(), 4); // the chosen row moved down
    EXPECT_EQ(sim::findPanel(palette->GetId())->findItem(4)->value, 4);
    popup.SelectItem(2); // a separator cannot be chosen
    EXPECT_EQ(popup.GetSelectedItem(), 4);
    popup.DeleteItem(4);
    EXPECT_EQ(popup.GetSelectedItem(), 0);
    popup.SetItemIcon(1, DG::Icon(7));
    EXPECT_EQ(popup.GetItemIcon(1).GetResourceId(), 7);
    popup.SetItemIcon(1, DG::Icon());
    EXPECT_EQ(popup.GetItemIcon(1).GetResourceId(), -1);

    user.AppendItem();
    user.AppendItem();
    user.SetItemText(2, GS::UniString("second"));
    user.SetItemStatus(1, UC::PopupMenu::Disabled);
    ASSERT_TRUE(
        sim::actOnPalette(520, {sim::userAction(K::selectRow, 5, 0), sim::userAction(K::selectRow, 5, 1),
                                sim::userAction(K::selectRow, 4, 1)}));
    EXPECT_EQ(failures(), (std::vector<std::string>{"selectRow 5: row 0 is disabled",
                                                    "selectRow 4: row 1 is a separator"}));
    EXPECT_EQ(user.GetValue(), 2);
    EXPECT_EQ(user.GetButtonText().ToUTF8(), ""); // the program puts the choice on the button
    EXPECT_EQ(log.log, (std::vector<std::string>{"user 5"}));
}

} // namespace

namespace {

TEST(ListBoxScenarioTest, ScenarioActionsReachTheList) {
    ASSERT_TRUE(sim::loadResourcesText(sim::defaultAddOn, templates));
    std::string error;
    ASSERT_TRUE(sim::queueScriptedAnswers(R"({"dialogs": {"520": [[
        {"do": "clickRow", "item": 3, "value": 2, "h": 1},
        {"do": "clickRow", "item": 3, "value": 0, "text": "command"},
        {"do": "editCell", "item": 3, "value": 1, "h": 1, "text": "B"},
        {"do": "closeOK"}]]}})",
                                          &error))
        << error;
    DG::ModalDialog dialog(ACAPI_GetOwnResModule(), 520);
    DG::MultiSelListBox list(dialog, 3);
    Log log;
    list.Attach(log);
    EXPECT_TRUE(dialog.Invoke());
    EXPECT_TRUE(sim::dialogs().back().failures.empty());
    EXPECT_EQ(log.log,
              (std::vector<std::string>{"selection", "click 3", "selection", "click 1 command", "cell 2,2"}));
    EXPECT_EQ(list.GetTabItemText(2, 2).ToUTF8(), "B");
    EXPECT_EQ(list.GetSelectedCount(), 2);

    // Names in a message stay on its line.
    for (const auto& [script, message] : std::vector<std::pair<std::string, std::string>>{
             {R"({"dialogs": {"5\n20": []}})", "dialogs.\"5\\n20\": not a 16-bit resource ID"},
             {R"({"dialogs": {"520": [[{"do": "click\r"}]]}})",
              "dialogs.520[0][0]: unknown action \"click\\x0d\""},
             {R"({"dialogs": {"520": [[{"do": "click", "it\u2028em": 1}]]}})",
              "dialogs.520[0][0]: unknown member \"it\\u2028em\""},
             {R"({"alerts": [], "\u0085": 1})", "unknown member \"\\u0085\""},
         }) {
        EXPECT_FALSE(sim::queueScriptedAnswers(script, &error)) << script;
        EXPECT_EQ(error, message);
    }
}

} // namespace
