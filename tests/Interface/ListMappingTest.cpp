// A dialog shaped like the remapping add-on's mapping dialog: a source pop-up, and a two-column
// list of source names and mapped names whose in-place editors are a static text (column 0) and
// an edit text (column 1), run by a script as the user would.
#include "Addon/ActionEvent.h"
#include "Addon/ActionSubscriber.h"
#include "Addon/ItemEvent.h"
#include "Addon/ItemSubscriber.h"
#include "Environment/StringSetting.h"
#include "Interface/Button.h"
#include "Interface/Dialog.h"
#include "Interface/EditText.h"
#include "Interface/InterfacePanel.h"
#include "Interface/ListControl.h"
#include "Interface/PopupMenu.h"
#include "Interface/StaticText.h"
#include "sim/Dialogs.h"
#include "sim/Resources.h"

#include "Interface/PanelFixture.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

using namespace zelvane;

namespace {

const char* resources() {
    return R"({
      "dialogs": {
        "750": {
          "title": "Mapping", "size": [439, 347],
          "items": [
            {"number": 1, "kind": "button", "rect": [350, 307, 430, 327], "text": "OK"},
            {"number": 2, "kind": "button", "rect": [260, 307, 340, 327], "text": "Cancel"},
            {"number": 4, "kind": "popup", "rect": [10, 10, 200, 30]},
            {"number": 6, "kind": "leftText", "rect": [10, 40, 180, 56]},
            {"number": 8, "kind": "textEdit", "rect": [190, 40, 390, 56]},
            {"number": 9, "kind": "listBox", "rect": [10, 60, 409, 236], "columns": 2},
            {"number": 12, "kind": "button", "rect": [10, 307, 90, 327], "text": "Clear"}
          ]
        }
      }
    })";
}

using Mapping = std::map<std::string, std::string>; // source name to mapped name

class MappingDialog;

// Hands the dialog's controls' events to the dialog.
class Changed : public ItemSubscriber {
public:
    explicit Changed(MappingDialog& dialog) : m_dialog(dialog) {}
    bool handleEvent(ItemEvent& event) override;

private:
    MappingDialog& m_dialog;
};

class Clicked : public ActionSubscriber {
public:
    explicit Clicked(MappingDialog& dialog) : m_dialog(dialog) {}
    bool handleEvent(ActionEvent& event) override;

private:
    MappingDialog& m_dialog;
};

class MappingDialog : public Dialog {
public:
    MappingDialog() : Dialog(750, true, false, false) {}

    void handleInitialise() override {
        menu = new PopupMenu(ControlLink(4, this));
        name = new StaticText(ControlLink(6, this));
        mapped = new EditText(ControlLink(8, this));
        list = new ListControl(ControlLink(9, this), 0, 2);
        clear = new Button(ControlLink(12, this));
        list->setColumnStyle(ListColumnStyle(180, 0), 0);
        list->setColumnStyle(ListColumnStyle(200, 0), 1);
        list->setColumnGap(4);
        list->addProxy(name, 0);
        list->addProxy(mapped, 1);
        name->setFont(4);
        mapped->setFont(4);
        name->setEnabled(false);
        mapped->addSubscriber(&m_changed);
        clear->addSubscriber(&m_clicked);
        menu->addSubscriber(&m_changed);
        rebuild();
    }

    // The menu of sources, then one row per key with its name and the mapped name of the source.
    void rebuild() {
        String chosen = menu->getRows() > 0 ? menu->getSelectedLabel() : String("Furniture");
        menu->setTableSize(0, 1);
        for (const char* row : {"New", "Rename", "Delete"}) {
            menu->addRow(String(row));
        }
        menu->insertSeparator(-1);
        for (const auto& [source, mapping] : sources) {
            menu->addRow(String(source.c_str()));
        }
        menu->setSelected(chosen, 4);
        list->setTableSize(0, 2);
        list->setTableSize(Int16(keys.size()), 2);
        Mapping& mapping = current();
        for (Int16 row = 0; row < Int16(keys.size()); ++row) {
            list->setSetting(StringSetting(String(keys[std::size_t(row)].c_str())), row, 0);
            auto found = mapping.find(keys[std::size_t(row)]);
            String value(found != mapping.end() ? found->second.c_str() : "");
            list->setSetting(StringSetting(value), row, 1);
            list->setUserData(row + 100, row);
        }
    }

    Mapping& current() { return sources[menu->getSelectedLabel().data()]; }

    // The mapped name typed: kept for the row's key, read from the column 0 editor.
    bool changed(ItemEvent& event) {
        if (event.getItem() == 8) {
            current()[name->getText().data()] = mapped->getText().data();
        } else if (event.getItem() == 4) {
            rebuild();
        }
        return false;
    }

    // Clear: the selected rows go, their keys with them.
    bool clicked(ActionEvent& event) {
        if (event.getItem() != 12) {
            return false;
        }
        for (auto it = list->last(selectedRows); it != list->end(); it = list->last(selectedRows)) {
            Int16 row = it->getRow();
            keys.erase(keys.begin() + row);
            list->deleteRow(row, 1);
        }
        return true;
    }

    void handleAccept(ActionEvent&) override {
        for (Int16 row = 0; row < list->getRows(); ++row) {
            std::unique_ptr<Setting> key(list->getSetting(row, 0));
            std::unique_ptr<Setting> value(list->getSetting(row, 1));
            String keyText, valueText;
            key->getValue(keyText);
            value->getValue(valueText);
            shown.push_back({keyText.data(), valueText.data()});
            cells.push_back({list->getText(row, 0).data(), list->getText(row, 1).data()});
        }
        chosen = menu->getSelectedLabel().data();
    }

    std::vector<std::string> keys{"Armchair", "Bed", "Chair", "Desk", "Sofa"};
    std::map<std::string, Mapping> sources{{"Doors", {{"Bed", "Door 1"}}},
                                           {"Furniture", {{"Chair", "Chair 01"}, {"Sofa", "Sofa 3"}}}};
    std::vector<std::pair<std::string, std::string>> shown; // through the settings at OK
    std::vector<std::pair<std::string, std::string>> cells; // the host cells at OK
    std::string chosen;

    PopupMenu* menu = nullptr;
    StaticText* name = nullptr;
    EditText* mapped = nullptr;
    ListControl* list = nullptr;
    Button* clear = nullptr;

private:
    Changed m_changed{*this};
    Clicked m_clicked{*this};
};

bool Changed::handleEvent(ItemEvent& event) {
    return m_dialog.changed(event);
}

bool Clicked::handleEvent(ActionEvent& event) {
    return m_dialog.clicked(event);
}

class ListMappingTest : public panel_testing::DialogResourcesTest {
protected:
    ListMappingTest() : DialogResourcesTest(resources()) {}
};

TEST_F(ListMappingTest, EveryCellKeepsItsTextInItsOwnRow) {
    using K = sim::DialogAction;
    MappingDialog dialog;
    sim::queueDialogScript(
        750, {
                 sim::userAction(K::clickRow, 9, 1),                    // Bed
                 sim::userAction(K::editCell, 9, 1, 1, "Bed 2"),        //
                 sim::userAction(K::clickRow, 9, 3),                    // Desk
                 sim::userAction(K::editCell, 9, 3, 1, "Desk A"),       //
                 sim::userAction(K::clickRow, 9, 0, 1, "command"),      // Armchair too
                 sim::userAction(K::editCell, 9, 0, 1, "Chair 9"),      // the first selected row
                 sim::userAction(K::clickRow, 9, 2),                    // Chair
                 sim::userAction(K::clickRow, 9, 1, 0, "shift"),        // Bed and Chair
                 sim::userAction(K::click, 12),                         // clear both
                 sim::userAction(K::clickRow, 9, 2),                    // Sofa
                 sim::userAction(K::editCell, 9, 2, 1, "Sofa 4"),       //
                 sim::userAction(K::clickRow, 9, 0),                    // Armchair
                 sim::userAction(K::editCell, 9, 0, 0, "not editable"), // a static text: refused
                 sim::userAction(K::closeOK, 0),
             });
    EXPECT_EQ(dialog.show(), 1);
    const sim::DialogRecord& record = sim::dialogs().back();
    ASSERT_EQ(record.failures.size(), 1u);
    EXPECT_EQ(record.failures[0], "editCell 9: the editor of tab field 0 cannot be used");

    const std::vector<std::pair<std::string, std::string>> expected{
        {"Armchair", "Chair 9"}, {"Desk", "Desk A"}, {"Sofa", "Sofa 4"}};
    EXPECT_EQ(dialog.cells, expected);
    EXPECT_EQ(dialog.shown, expected);
    EXPECT_EQ(dialog.sources["Furniture"], (Mapping{{"Armchair", "Chair 9"},
                                                    {"Bed", "Bed 2"},
                                                    {"Chair", "Chair 01"},
                                                    {"Desk", "Desk A"},
                                                    {"Sofa", "Sofa 4"}}));
    EXPECT_EQ(dialog.chosen, "Furniture");
}

TEST_F(ListMappingTest, ChoosingAnotherSourceRefillsTheRows) {
    using K = sim::DialogAction;
    MappingDialog dialog;
    sim::queueDialogScript(750, {
                                    sim::userAction(K::clickRow, 9, 4),              // Sofa
                                    sim::userAction(K::editCell, 9, 4, 1, "Sofa 5"), //
                                    sim::userAction(K::selectRow, 4, 4),             // Doors
                                    sim::userAction(K::clickRow, 9, 1),              // Bed
                                    sim::userAction(K::editCell, 9, 1, 1, "Door 2"), //
                                    sim::userAction(K::clickRow, 9, 4),              // Sofa
                                    sim::userAction(K::selectRow, 4, 3),             // the separator: refused
                                    sim::userAction(K::closeOK, 0),
                                });
    EXPECT_EQ(dialog.show(), 1);
    EXPECT_EQ(sim::dialogs().back().failures, std::vector<std::string>{"selectRow 4: row 3 is a separator"});
    EXPECT_EQ(dialog.chosen, "Doors");
    EXPECT_EQ(dialog.sources["Doors"], (Mapping{{"Bed", "Door 2"}}));
    EXPECT_EQ(dialog.sources["Furniture"]["Sofa"], "Sofa 5");
    ASSERT_EQ(dialog.cells.size(), 5u);
    EXPECT_EQ(dialog.cells[1], (std::pair<std::string, std::string>{"Bed", "Door 2"}));
    EXPECT_EQ(dialog.cells[4], (std::pair<std::string, std::string>{"Sofa", ""}));
    EXPECT_EQ(dialog.cells[2], (std::pair<std::string, std::string>{"Chair", ""}));
}

} // namespace
