#include "Interface/ListControl.h"
#include "Addon/ActionEvent.h"
#include "Addon/DialogEvent.h"
#include "Addon/DropEvent.h"
#include "Addon/ItemEvent.h"
#include "Addon/ListHeaderClickEvent.h"
#include "Addon/ListHeaderDragEvent.h"
#include "Addon/ListHeaderResizeEvent.h"
#include "Addon/Subscriber.h"
#include "Addon/TestAddon.h"
#include "Attribute/TextStyle.h"
#include "DG/DGMessages.hpp"
#include "Environment/StringSetting.h"
#include "Interface/Dialog.h"
#include "Interface/EditText.h"
#include "Interface/InterfacePanel.h"
#include "Interface/StaticText.h"
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
        "740": {
          "title": "Lists", "size": [440, 340],
          "items": [
            {"number": 1, "kind": "button", "rect": [350, 300, 430, 320], "text": "OK"},
            {"number": 2, "kind": "button", "rect": [260, 300, 340, 320], "text": "Cancel"},
            {"number": 6, "kind": "leftText", "rect": [10, 10, 100, 30]},
            {"number": 8, "kind": "textEdit", "rect": [110, 10, 200, 30]},
            {"number": 9, "kind": "listBox", "rect": [10, 60, 410, 260], "columns": 2},
            {"number": 10, "kind": "listBox", "rect": [10, 270, 200, 290]},
            {"number": 11, "kind": "textEdit", "rect": [300, 250, 420, 270]},
            {"number": 12, "kind": "button", "rect": [10, 300, 90, 320], "text": "Clear"},
            {"number": 13, "kind": "textEdit", "rect": [110, 60, 410, 78]}
          ]
        },
        "741": { "size": [100, 50], "items": [ {"number": 3, "kind": "textEdit", "rect": [0, 0, 100, 20]} ] }
      }
    })";
}

class Lists : public Dialog {
public:
    Lists() : Dialog(740, false, false, false) {}
    void handleInitialise() override {
        list = new ListControl(ControlLink(9, this), 5, 2, ListColumnStyle(100, 0));
        label = new StaticText(ControlLink(6, this));
        edit = new EditText(ControlLink(8, this));
        target = new ListControl(ControlLink(10, this), 2, 1);
        button = new EditText(ControlLink(12, this));
    }
    ListControl* list = nullptr;
    ListControl* target = nullptr;
    StaticText* label = nullptr;
    EditText* edit = nullptr;
    EditText* button = nullptr;
};

// Runs a function on every event of one event key.
class Recorder : public Subscriber {
public:
    Recorder(UInt32 kind, std::function<void(Event&)> action) : m_kind(kind), m_action(std::move(action)) {}
    void getSpec(std::vector<EventSpec>& specs) const override {
        specs.push_back(EventSpec(InterfaceEvent::ID, m_kind));
    }
    bool takeEvent(Event& event) override {
        m_action(event);
        return true;
    }

private:
    UInt32 m_kind;
    std::function<void(Event&)> m_action;
};

class ListControlTest : public panel_testing::DialogResourcesTest {
protected:
    ListControlTest() : DialogResourcesTest(resources()) {}
    void SetUp() override {
        DialogResourcesTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        addon = &m_addon;
        m_dialog = std::make_unique<Lists>();
        m_dialog->show(false);
        ASSERT_TRUE(m_dialog->isStarted());
        list = m_dialog->list;
        for (Int16 row = 0; row < 5; ++row) {
            list->setText(String(("key" + std::to_string(row)).c_str()), row, 0);
            list->setText(String(("part" + std::to_string(row)).c_str()), row, 1);
        }
    }
    void TearDown() override {
        m_dialog.reset();
        addon = nullptr;
        DialogResourcesTest::TearDown();
    }
    sim::RowModel& host(short item = 9) { return *sim::findRows(m_dialog->getDialogID(), item); }
    std::string cell(Int16 row, Int16 column) {
        return sim::internal::cellText(host(), Int16(row + 1), Int16(column + 1));
    }
    bool act(const std::vector<sim::DialogAction>& actions) { return sim::actOnPalette(740, actions); }
    std::vector<std::string> failures() { return sim::dialogs().back().failures; }

    testing_addon::TestAddon m_addon;
    std::unique_ptr<Lists> m_dialog;
    ListControl* list = nullptr;
};

TEST_F(ListControlTest, TableShapeAndColumnLayout) {
    EXPECT_EQ(list->getRows(), 5);
    EXPECT_EQ(list->getColumns(), 2);
    EXPECT_EQ(host().rowCount(), 5);
    // Columns of the same style are laid side by side.
    EXPECT_EQ(host().tabFields[1].begin, 100);

    list->setColumnStyle(ListColumnStyle(180, 0), 0);
    list->setColumnStyle(ListColumnStyle(200, 0), 1);
    list->setColumnGap(4);
    EXPECT_EQ(list->getColumnStyle(1).getStart(), 184);
    EXPECT_EQ(list->getColumnStyle(1).getEnd(), 384);
    EXPECT_EQ(host().tabFields[0].end, 180);
    EXPECT_EQ(host().tabFields[1].begin, 184);
    EXPECT_EQ(host().tabFields[1].truncation, 4096);
    EXPECT_THROW(list->getColumnStyle(2), std::out_of_range);
    EXPECT_THROW(list->setColumnStyle(ListColumnStyle(1, 0), -1), std::out_of_range);

    // Columns by horizontal position, locally or from the dialog (the list starts at 10, 60).
    EXPECT_EQ(list->getColumnIndex(ScreenPoint(182, 0), true), ListControl::npos);
    EXPECT_EQ(list->getColumnIndex(ScreenPoint(184, 0), true), 1);
    EXPECT_EQ(list->getColumnIndex(ScreenPoint(194, 0), false), 1);
    // Rows below the header; a point on the boundary belongs to the upper row.
    list->setHeaderColumnCount(2);
    Int16 top = list->getHeaderHeight();
    Int16 height = list->getRowHeight();
    EXPECT_EQ(list->getRowIndex(ScreenPoint(0, Int16(top + height)), true), 0);
    EXPECT_EQ(list->getRowIndex(ScreenPoint(0, Int16(top + height + 1)), true), 1);
    EXPECT_EQ(list->getRowIndex(ScreenPoint(0, Int16(top - 1)), true), ListControl::npos);
    EXPECT_EQ(list->getRowIndex(ScreenPoint(0, Int16(60 + top + 1)), false), 0);

    // Columns inserted at the front take their style; deleting clips to the columns there are.
    EXPECT_TRUE(list->insertColumn(0, ListColumnStyle(50, 0)));
    EXPECT_EQ(list->getColumns(), 3);
    EXPECT_EQ(host().columns, 3);
    EXPECT_EQ(list->getColumnStyle(0).getWidth(), 50);
    EXPECT_TRUE(list->deleteColumn(1, 9));
    EXPECT_EQ(list->getColumns(), 1);

    // Table size: rows and columns grow and shrink together.
    EXPECT_TRUE(list->setTableSize(2, 3));
    EXPECT_EQ(host().rowCount(), 2);
    EXPECT_EQ(list->getColumnStyle(2).getWidth(), 40);
}

TEST_F(ListControlTest, ColumnsAreLaidOutFromThePositionBeforeThem) {
    // Each row: the style asked for each of three columns with a gap of 4, and where each lies.
    struct Case {
        const char* name;
        Int16 widths[3];
        Int16 starts[3];
        Int16 laidStarts[3];
    };
    const Case cases[] = {
        {"side by side", {100, 50, 80}, {0, 0, 0}, {0, 104, 158}},
        // A column beyond the position stays there; the next one follows the position, not it.
        {"the middle one far right", {100, 50, 80}, {0, 300, 0}, {0, 300, 158}},
        {"the last one far right", {100, 50, 80}, {0, 0, 500}, {0, 104, 500}},
        {"the first one far right", {100, 50, 80}, {40, 0, 0}, {40, 104, 158}},
        {"one beyond, the next overlapping the position", {100, 50, 80}, {0, 300, 120}, {0, 300, 158}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(list->setTableSize(5, 3));
        list->setColumnGap(0);
        for (Int16 column = 0; column < 3; ++column) {
            list->setColumnStyle(ListColumnStyle(c.widths[column], c.starts[column]), column);
        }
        list->setColumnGap(4);
        for (Int16 column = 0; column < 3; ++column) {
            EXPECT_EQ(list->getColumnStyle(column).getStart(), c.laidStarts[column])
                << c.name << " " << column;
            EXPECT_EQ(list->getColumnStyle(column).getWidth(), c.widths[column]) << c.name << " " << column;
            EXPECT_EQ(host().tabFields[std::size_t(column)].begin, c.laidStarts[column])
                << c.name << " " << column;
            EXPECT_EQ(host().tabFields[std::size_t(column)].end, c.laidStarts[column] + c.widths[column])
                << c.name << " " << column;
        }
    }
}

TEST_F(ListControlTest, CellsAndRows) {
    EXPECT_EQ(list->getText(1, 1), String("part1"));
    std::unique_ptr<Setting> value(list->getSetting(1, 1));
    ASSERT_NE(dynamic_cast<StringSetting*>(value.get()), nullptr);
    EXPECT_EQ(dynamic_cast<StringSetting*>(value.get())->getValue(), String("part1"));
    EXPECT_EQ(list->getSetting(5, 0), nullptr);
    EXPECT_EQ(list->getSetting(0, 2), nullptr);

    list->setSetting(StringSetting(String("chair")), 2, 1);
    EXPECT_EQ(cell(2, 1), "chair");
    list->setText(String("lost"), 9, 0); // invalid cells change nothing
    EXPECT_EQ(host().rowCount(), 5);

    list->setColour(CadColour(UInt16(65535), UInt16(34952), UInt16(0), UInt16(65535)), 3, 0);
    EXPECT_EQ(host().rows[3].colour[1], 34952);
    EXPECT_TRUE(list->getColour(3, 1) == CadColour(UInt16(65535), UInt16(34952), UInt16(0), UInt16(65535)));
    EXPECT_TRUE(list->getColour(8, 0) == CadColour());
    list->setBackgroundColour(CadColour(UInt16(1), UInt16(2), UInt16(3), UInt16(65535)), 3);
    EXPECT_EQ(host().rows[3].background[2], 3);

    list->setUserData(1LL << 40, 4);
    EXPECT_EQ(list->getUserData(4), 1LL << 40);
    EXPECT_EQ(list->getUserData(-1), 0);
    list->setStatus(2, 1);
    EXPECT_EQ(list->getStatus(1, 0), 2);

    const std::pair<TextStyle::Face, short> faces[] = {{0, 0x10}, {1, 0x20}, {2, 0}, {3, 0x30}, {4, 0}};
    for (auto [face, style] : faces) {
        TextStyle text(face);
        text.setColour(CadColour(UInt16(0), UInt16(65535), UInt16(0), UInt16(65535)));
        list->setStyle(text, 2, 0);
        EXPECT_EQ(host().rows[2].style, style) << face;
        EXPECT_EQ(host().rows[2].colour[1], 65535);
    }

    list->setImage(Image(Int16(5)), 1, 0);
    EXPECT_EQ(host().rows[1].icons[0], 5);
    EXPECT_EQ(list->getImage(1, 0).getResourceId(), 5);
    list->setImage(Image(), 1, 0); // an empty image is not set
    EXPECT_EQ(host().rows[1].icons[0], 5);

    list->redraw(1);
    list->redraw(ListControl::npos);
    EXPECT_EQ(host().rowRedraws[2], 1);
    list->setAutoRedraw(false);
    EXPECT_TRUE(host().drawingOff);
    list->setAutoRedraw(true);

    list->setScrollVertical(2);
    EXPECT_EQ(list->getScrollVertical(), 2);
    list->setScrollHorizontal(30);
    EXPECT_EQ(list->getScrollHorizontal(), 30);
}

// Until its panel references it (a list filled as the panel opens) the list finds the host list
// itself, and keeps finding it after the panel lets go.
TEST_F(ListControlTest, AListNotReferencedStillReachesItsHostList) {
    for (int round = 0; round < 2; ++round) {
        list->removeReference();
        ASSERT_TRUE(list->insertRow(1, 2)) << round;
        list->setSetting(StringSetting(String("row1")), 1, 0);
        list->setText(String("row2"), 2, 1);
        list->setUserData(40 + round, 2);
        list->setColour(CadColour(UInt16(0), UInt16(65535), UInt16(0), UInt16(65535)), 1, 0);
        EXPECT_EQ(host().rowCount(), 7 + 2 * round) << round;
        EXPECT_EQ(cell(1, 0), "row1") << round;
        EXPECT_EQ(cell(2, 1), "row2") << round;
        EXPECT_EQ(cell(3, 0), round == 0 ? "key1" : "row1") << round;
        EXPECT_EQ(list->getUserData(2), 40 + round) << round;
        EXPECT_EQ(host().rows[1].colour[1], 65535) << round;
        EXPECT_EQ(list->getText(2, 1), String("row2")) << round;
    }
}

TEST_F(ListControlTest, InsertingAndDeletingRows) {
    EXPECT_FALSE(list->insertRow(0, -1));
    EXPECT_TRUE(list->insertRow(0, 0));
    EXPECT_FALSE(list->insertRow(0, 32767));
    EXPECT_EQ(list->getRows(), 5);
    EXPECT_TRUE(list->insertRow(-4, 1)); // outside: appended
    EXPECT_EQ(host().rowCount(), 6);
    EXPECT_EQ(cell(0, 0), "key0");
    EXPECT_TRUE(list->insertRow(1, 2));
    EXPECT_EQ(cell(3, 0), "key1");
    EXPECT_EQ(host().redraws > 0, true);
    EXPECT_FALSE(host().drawingOff);
    ASSERT_TRUE(list->deleteRow(1, 2));
    list->deleteRow(5, 1);

    EXPECT_FALSE(list->deleteRow(5, 1));
    EXPECT_FALSE(list->deleteRow(-1, 1));
    EXPECT_FALSE(list->deleteRow(0, -2));
    EXPECT_TRUE(list->deleteRow(9, 0));
    EXPECT_EQ(list->getRows(), 5);

    // Deleting rows 1 and 2 of five with rows 0, 3 and 4 selected leaves rows 0, 1 and 2 selected.
    list->setSelected(true, 0);
    list->setSelected(true, 3);
    list->setSelected(true, 4);
    EXPECT_TRUE(list->deleteRow(1, 2));
    EXPECT_EQ(list->getRows(), 3);
    std::vector<Int16> selected;
    for (auto it = list->begin(selectedRows); it != list->end(); ++it) {
        selected.push_back(it->getRow());
    }
    EXPECT_EQ(selected, (std::vector<Int16>{0, 1, 2}));
    EXPECT_EQ(cell(1, 0), "key3");

    EXPECT_TRUE(list->deleteRow(0, 9));
    EXPECT_EQ(host().rowCount(), 0);
    EXPECT_TRUE(list->last() == list->end());
    EXPECT_TRUE(list->begin() == list->end());
}

TEST_F(ListControlTest, SelectionAndIterators) {
    EXPECT_TRUE(list->begin(selectedRows) == list->end());
    list->setSelected(true, 1);
    list->setSelected(true, 3);
    EXPECT_EQ(list->getSelectedRow(0), 1);
    EXPECT_EQ(list->getSelectedRow(2), 3);
    EXPECT_EQ(list->getSelectedRow(4), ListControl::npos);
    EXPECT_EQ(list->last(selectedRows)->getRow(), 3);
    auto it = list->last(selectedRows);
    --it;
    EXPECT_EQ(it->getRow(), 1);
    EXPECT_EQ(it->getLabel(), String()); // no editor
    it->setUserData(9);
    EXPECT_EQ(list->getUserData(1), 9);

    // A live iterator orders before an ended one.
    EXPECT_TRUE(list->begin() < list->end());
    EXPECT_FALSE(list->end() < list->begin());
    EXPECT_FALSE(list->end() < list->end());
    EXPECT_TRUE(list->end() == list->end());
    EXPECT_THROW(*list->end(), std::out_of_range);
    ListControl::iterator none;
    EXPECT_THROW(none.isValid(false), std::out_of_range);

    list->setSelected(false, 1);
    EXPECT_FALSE(list->isSelected(1));
    list->selectAll();
    EXPECT_EQ(list->getSelectedRow(0), 0);
    list->deselectAll();
    EXPECT_EQ(list->getSelectedRow(0), ListControl::npos);
}

TEST_F(ListControlTest, Header) {
    list->setHeaderColumnCount(2);
    list->setHeaderLabel(String("Source"), 0);
    list->setHeaderLabel(String("Ignored"), 2);
    list->setHeaderColumnMinSize(50, 1);
    list->setHeaderColumnSize(30, 1);
    list->setHeaderArrowType(ListControl::downArrow, 0);
    list->setHeaderColumnFlags(6, true, 1);
    list->setHeaderColumnFlags(2, false, 1);
    list->setHeaderFlags(true, false, true);
    EXPECT_EQ(list->getHeaderColumnCount(), 2);
    EXPECT_EQ(list->getHeaderLabel(0), String("Source"));
    EXPECT_EQ(list->getHeaderLabel(2), String());
    EXPECT_EQ(list->getHeaderColumnSize(1), 50);
    EXPECT_EQ(list->getHeaderArrowType(0), ListControl::downArrow);
    EXPECT_EQ(host().header[1].flags, 4);
    bool a = false, b = true, c = false;
    list->getHeaderFlags(a, b, c);
    EXPECT_TRUE(a && !b && c);

    const std::pair<double, short> sizes[] = {{9, 8}, {10, 4}, {11, 4}, {12, 0}};
    for (auto [points, flag] : sizes) {
        list->setHeaderStyle(TextStyle(1, points * TextStyle::millimetresPerPoint), 0);
        EXPECT_EQ(host().header[0].style, 0x20 | flag) << points;
    }
}

TEST_F(ListControlTest, EditorsNumberedAfterTheListLieWithinIt) {
    struct Case {
        Int16 item;
        bool accepted;
    };
    // The list, item 9, spans (10, 60)-(410, 260).
    const Case cases[] = {
        {8, true},   // before the list, outside it
        {12, false}, // after it, outside it
        {11, false}, // after it, across its edge
        {13, true},  // after it, within it: its in-place editor
    };
    for (const Case& c : cases) {
        DialogControl* editor = m_dialog->getControl(c.item);
        if (editor == nullptr) {
            editor = new EditText(ControlLink(c.item, m_dialog.get()));
        }
        EXPECT_EQ(list->addProxy(editor, 1), c.accepted) << c.item;
    }
    list->setSelected(true, 2);
    EXPECT_EQ(host().onTab[2], 13);
    m_dialog->getControl(13)->setSetting(StringSetting(String("typed")));
    list->setSelected(true, 3);
    EXPECT_EQ(cell(2, 1), "typed");
}

TEST_F(ListControlTest, EditorsFollowTheRow) {
    Lists& dialog = *m_dialog;
    EXPECT_FALSE(list->addProxy(dialog.button, 1)); // item 12 lies after the list
    EXPECT_FALSE(list->addProxy(dialog.edit, 2));
    Dialog other(741, false, false, false);
    auto* stray = new EditText(ControlLink(3, &other)); // the other dialog owns it
    EXPECT_FALSE(list->addProxy(stray, 1));
    ASSERT_TRUE(list->addProxy(dialog.label, 0));
    ASSERT_TRUE(list->addProxy(dialog.edit, 1));
    EXPECT_EQ(list->getProxyControl(1), dialog.edit);

    list->setSelected(true, 2);
    EXPECT_EQ(list->getProxyRow(), 2);
    EXPECT_EQ(host().onTab[2], 8);
    dialog.edit->setText(String("typed"));
    list->setSelected(false, 2);
    list->setSelected(true, 3);
    EXPECT_EQ(cell(2, 1), "typed");
    std::unique_ptr<Setting> stored(list->getSetting(2, 1));
    EXPECT_EQ(dynamic_cast<StringSetting*>(stored.get())->getValue(), String("typed"));
    // Row 3 has no value of its own yet: the editor shows its cell.
    EXPECT_EQ(dialog.edit->getText(), String("part3"));

    dialog.edit->setText(String("row three"));
    list->setSelected(false, 3);
    list->setSelected(true, 2);
    EXPECT_EQ(dialog.edit->getText(), String("typed"));
    EXPECT_EQ(cell(3, 1), "row three");

    // Reading another row's value leaves the editor alone, and so the row being edited.
    std::unique_ptr<Setting> other0(list->getSetting(0, 1));
    EXPECT_EQ(dynamic_cast<StringSetting*>(other0.get())->getValue(), String("part0"));
    EXPECT_EQ(dialog.edit->getText(), String("typed"));
    list->setSelected(false, 2);
    list->setSelected(true, 4);
    EXPECT_EQ(cell(0, 1), "part0");
    EXPECT_EQ(cell(2, 1), "typed");

    // Setting another row's value does not reach the editor.
    EXPECT_EQ(dialog.edit->getText(), String("part4"));
    list->setSetting(StringSetting(String("set")), 1, 1);
    EXPECT_EQ(dialog.edit->getText(), String("part4"));
    list->setSetting(StringSetting(String("here")), 4, 1);
    EXPECT_EQ(dialog.edit->getText(), String("here"));

    // Deleting rows before the edited row keeps the editor on it.
    dialog.edit->setText(String("four"));
    ASSERT_TRUE(list->deleteRow(0, 2));
    EXPECT_EQ(list->getProxyRow(), 2);
    EXPECT_EQ(dialog.edit->getText(), String("four"));
    list->setSelected(true, 0);
    EXPECT_EQ(cell(2, 1), "four");
    EXPECT_EQ(cell(0, 1), "typed");

    // Inserting rows before it moves it down with its row.
    ASSERT_EQ(list->getProxyRow(), 0);
    dialog.edit->setText(String("moved"));
    ASSERT_TRUE(list->insertRow(0, 1));
    list->setProxyRow(ListControl::npos);
    EXPECT_EQ(cell(1, 1), "moved");
    EXPECT_EQ(cell(0, 1), "");
}

TEST_F(ListControlTest, NotificationsBecomeEvents) {
    std::vector<std::string> log;
    std::vector<Int16> modifiers;
    Recorder actions(ActionEvent::ID, [&](Event& event) {
        auto& action = dynamic_cast<ActionEvent&>(event);
        log.push_back("action " + std::to_string(action.getID()));
        modifiers.push_back(action.getDataWord().getRecord<DGListMsgData>()->modifiers);
    });
    Recorder items(ItemEvent::ID, [&](Event&) { log.push_back("item"); });
    Recorder clicks(ListHeaderClickEvent::ID, [&](Event& event) {
        log.push_back("header " + std::to_string(dynamic_cast<ListHeaderClickEvent&>(event).getCellIndex()));
    });
    Recorder drags(ListHeaderDragEvent::ID, [&](Event& event) {
        auto& drag = dynamic_cast<ListHeaderDragEvent&>(event);
        log.push_back("drag " + std::to_string(drag.getCellIndex()) + ">" +
                      std::to_string(drag.getNewCellIndex()));
    });
    Recorder resizes(ListHeaderResizeEvent::ID, [&](Event& event) {
        auto& resize = dynamic_cast<ListHeaderResizeEvent&>(event);
        log.push_back("resize " + std::to_string(resize.getStatus()) + " " +
                      std::to_string(resize.getDelta().getX()));
    });
    for (Subscriber* s : std::initializer_list<Subscriber*>{&actions, &items, &clicks, &drags, &resizes}) {
        list->addSubscriber(s);
    }
    list->setHeaderColumnCount(2);
    list->setHeaderColumnSize(100, 0);
    list->setHeaderFlags(false, true, true);

    using K = sim::DialogAction;
    ASSERT_TRUE(act({sim::userAction(K::clickRow, 9, 1, 1, "command+shift"),
                     sim::userAction(K::clickRow, 9, 3, 0, "option+shift"),
                     sim::userAction(K::doubleClickRow, 9, 2, 0, "shift"),
                     sim::userAction(K::editCell, 9, 0, 0, "cell"), sim::userAction(K::clickHeader, 9, 1),
                     sim::userAction(K::dragHeader, 9, 0, 1), sim::userAction(K::resizeHeader, 9, 1, 12)}));
    EXPECT_TRUE(failures().empty()) << failures().front();
    EXPECT_EQ(log, (std::vector<std::string>{"item", "action 4", "item", "action 4", "item", "action 4",
                                             "action 5", "item", "header 1", "drag 0>1", "resize 2 0",
                                             "resize 1 12", "resize 2 12"}));
    EXPECT_EQ(modifiers, (std::vector<Int16>{1, 2, 4, 4}));
    EXPECT_EQ(cell(0, 0), "cell");
    // The mouse position of the last click: the middle of column 0 in row 2.
    EXPECT_EQ(list->getMousePosition().getX(), 50);
    EXPECT_EQ(list->getRowIndex(list->getMousePosition(), true), 2);

    // A handler that fails is reported, and the list goes on.
    Recorder failing(ListHeaderClickEvent::ID, [](Event&) { throw std::runtime_error("header"); });
    list->removeSubscriber(&clicks);
    list->addSubscriber(&failing);
    log.clear();
    ASSERT_TRUE(act({sim::userAction(K::clickHeader, 9, 1), sim::userAction(K::editCell, 9, 0, 0, "again")}));
    EXPECT_EQ(m_addon.failures, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"item"}));
}

TEST_F(ListControlTest, DragAndDropBetweenLists) {
    ListControl& target = *m_dialog->target;
    std::vector<std::string> source;
    Recorder sourceDrops(DropEvent::ID, [&](Event& event) {
        auto* record = dynamic_cast<DropEvent&>(event).getDragData();
        source.push_back(std::to_string(record->subMessage) + ":" + std::to_string(record->effect) + ":" +
                         std::to_string(record->insertPos));
    });
    bool accept = false;
    std::vector<std::string> dropped;
    Recorder targetDrops(DropEvent::ID, [&](Event& event) {
        auto& drop = dynamic_cast<DropEvent&>(event);
        auto* record = drop.getDragData();
        dropped.push_back(std::to_string(record->subMessage) + ":" + std::to_string(record->insertPos) + ":" +
                          std::to_string(record->relativePos) + ":" +
                          std::to_string(drop.getMousePosition().getY()));
        if (record->subMessage == 4 && accept) {
            drop.tellPublisher(std::make_shared<ItemMessage>(1));
        }
        if (record->subMessage == 7) {
            drop.setEffect(2);
        }
    });
    list->addSubscriber(&sourceDrops);
    target.addSubscriber(&targetDrops);
    list->setSelected(true, 1);

    // No one takes the drag: the target does not accept it.
    ASSERT_TRUE(act({sim::userAction(sim::DialogAction::dragRows, 9, 10, 1)}));
    EXPECT_EQ(failures().back(), "dragRows 9: the drop was refused");
    EXPECT_EQ(source, (std::vector<std::string>{"0:0:0", "1:7:0", "2:0:0"}));
    EXPECT_EQ(dropped, (std::vector<std::string>{"4:2:-1:18", "6:2:-1:18"}));

    source.clear();
    dropped.clear();
    accept = true;
    ASSERT_TRUE(act({sim::userAction(sim::DialogAction::dragRows, 9, 10, 2)}));
    EXPECT_EQ(source, (std::vector<std::string>{"0:0:0", "1:7:0", "2:2:0"}));
    EXPECT_EQ(dropped, (std::vector<std::string>{"4:3:0:34", "5:3:0:34", "7:3:0:34"}));

    // A source that refuses the drag stops it before it starts.
    Recorder refuse(DropEvent::ID, [&](Event& event) {
        if (dynamic_cast<DropEvent&>(event).getDragData()->subMessage == 0) {
            event.tellPublisher(std::make_shared<ItemMessage>(0));
        }
    });
    list->removeSubscriber(&sourceDrops);
    list->addSubscriber(&refuse);
    ASSERT_TRUE(act({sim::userAction(sim::DialogAction::dragRows, 9, 10, 0)}));
    EXPECT_EQ(failures().back(), "dragRows 9: the drag was refused");
}

} // namespace

namespace {

TEST_F(ListControlTest, CopiesShareTheHostAndKeepTheirOwnValues) {
    ASSERT_TRUE(list->addProxy(m_dialog->edit, 1));
    list->setSetting(StringSetting(String("kept")), 3, 1);
    list->setColumnGap(6);
    std::unique_ptr<ListControl> copy(list->clone());
    EXPECT_EQ(copy->getRows(), 5);
    EXPECT_EQ(copy->getColumnGap(), 6);
    EXPECT_EQ(copy->getColumnStyle(1).getStart(), 106);
    EXPECT_EQ(copy->getProxyControl(1), m_dialog->edit);
    // The copy's stored values are its own.
    list->setSetting(StringSetting(String("changed")), 3, 1);
    std::unique_ptr<Setting> value(copy->getSetting(3, 1));
    EXPECT_EQ(dynamic_cast<StringSetting*>(value.get())->getValue(), String("kept"));
    // Both write to the one host list.
    copy->setText(String("shared"), 0, 0);
    EXPECT_EQ(list->getText(0, 0), String("shared"));

    const ListControl& constant = *copy;
    int rows = 0;
    for (auto it = constant.begin(); it != constant.end(); ++it) {
        rows += it->isSelected() ? 0 : 1;
    }
    EXPECT_EQ(rows, 5);
}

TEST_F(ListControlTest, OpeningThePanelHidesTheEditors) {
    ASSERT_TRUE(list->addProxy(m_dialog->label, 0));
    ASSERT_TRUE(list->addProxy(m_dialog->edit, 1));
    list->setSelected(true, 1);
    ASSERT_EQ(list->getProxyRow(), 1);
    DialogEvent opened(1, ControlLink(0, m_dialog.get()), InterfaceEvent::Data());
    list->publishEvent(opened);
    EXPECT_EQ(list->getProxyRow(), ListControl::npos);
    EXPECT_FALSE(m_dialog->edit->isVisible());
    EXPECT_FALSE(m_dialog->label->isVisible());
    EXPECT_TRUE(host().onTab.empty());
    // The next selection shows them on its row again.
    ASSERT_TRUE(act({sim::userAction(sim::DialogAction::clickRow, 9, 3)}));
    EXPECT_EQ(list->getProxyRow(), 3);
    EXPECT_TRUE(m_dialog->edit->isVisible());
    EXPECT_EQ(m_dialog->label->getText(), String("key3"));
    EXPECT_EQ(m_dialog->edit->getText(), String("part3"));
}

} // namespace

namespace {

TEST_F(ListControlTest, HiddenColumnEditorsStayOffTheRow) {
    ASSERT_TRUE(list->addProxy(m_dialog->label, 0));
    ASSERT_TRUE(list->addProxy(m_dialog->edit, 1));
    list->setProxyVisible(false, 1);
    EXPECT_FALSE(list->isProxyVisible(1));
    EXPECT_TRUE(list->isProxyVisible(0));
    list->setSelected(true, 2);
    EXPECT_EQ(host().onTab.count(2), 0u);
    EXPECT_EQ(host().onTab[1], 6);
    // The hidden editor still follows the row's value.
    EXPECT_EQ(m_dialog->edit->getText(), String("part2"));
    list->setProxyVisible(true, ListControl::npos);
    EXPECT_EQ(host().onTab[2], 8);

    // A null editor takes the column's editor away.
    ASSERT_TRUE(list->addProxy(nullptr, 1));
    EXPECT_EQ(list->getProxyControl(1), nullptr);
    list->setSelected(true, 3);
    EXPECT_EQ(host().onTab.count(2), 0u);
}

} // namespace
