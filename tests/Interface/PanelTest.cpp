#include "Addon/ActionEvent.h"
#include "Addon/ChangeEvent.h"
#include "Addon/DialogEvent.h"
#include "Addon/DropEvent.h"
#include "Addon/FocusEvent.h"
#include "Addon/ItemEvent.h"
#include "Addon/KeyEvent.h"
#include "Addon/ListHeaderClickEvent.h"
#include "Addon/ListHeaderDragEvent.h"
#include "Addon/ListHeaderResizeEvent.h"
#include "Addon/MoveEvent.h"
#include "Addon/PaintEvent.h"
#include "Addon/ProjectEvent.h"
#include "Addon/ResizeEvent.h"
#include "Addon/SplitterDragEvent.h"
#include "Addon/TestAddon.h"
#include "Interface/Dialog.h"
#include "Interface/StaticText.h"
#include "PanelFixture.h"
#include "sim/Dialogs.h"

#include <memory>
#include <typeinfo>

using namespace panel_testing;

namespace {

// A static text that records what it is offered and answers as told.
class Recording : public StaticText {
public:
    Recording(InterfacePanel& panel, Int16 item, std::vector<std::string>& log, bool takes)
        : StaticText(ControlLink(item, &panel)), m_log(log), m_takes(takes) {}
    bool publishEvent(Event&) override {
        m_log.push_back("control " + std::to_string(getIndex()));
        return m_takes;
    }

private:
    std::vector<std::string>& m_log;
    bool m_takes;
};

class EditCounting : public Dialog {
public:
    EditCounting() : Dialog(700, false) {}
    void handleEdit(const InterfaceEvent&) override { ++edits; }
    int edits = 0;
};

} // namespace

TEST_F(PanelTest, IndexesAndLookups) {
    auto first = std::make_unique<Dialog>(700, true);
    Dialog second(700, false);
    EXPECT_EQ(second.getIndex(), first->getIndex() + 1);
    EXPECT_EQ(InterfacePanel::findPanelByIndex(first->getIndex()), first.get());
    Int32 gone = first->getIndex();
    first.reset();
    EXPECT_EQ(InterfacePanel::findPanelByIndex(gone), nullptr);
    Dialog third(700, false);
    EXPECT_EQ(third.getIndex(), second.getIndex() + 1); // never reused

    EXPECT_EQ(InterfacePanel::findPanelByID(1), nullptr); // nothing open
    EXPECT_EQ(InterfacePanel::findPanelByID(0), nullptr); // not the panels that are not open
    third.show();
    ASSERT_TRUE(third.isStarted());
    EXPECT_EQ(InterfacePanel::findPanelByID(third.getDialogID()), &third);
    EXPECT_EQ(third.getTitle(), "Panel");
    third.setTitle("Renamed");
    EXPECT_EQ(third.getTitle(), "Renamed");
    EXPECT_EQ(second.getTitle(), ""); // not open

    InterfacePanel::shutdown();
    EXPECT_EQ(InterfacePanel::findPanelByIndex(third.getIndex()), nullptr);
    InterfacePanel::startup();
}

TEST_F(PanelTest, MessageTable) {
    struct Case {
        Int32 message;
        const std::type_info* type; // null: no event
    };
    const Case cases[] = {
        {1, &typeid(DialogEvent)},
        {2, nullptr},
        {3, &typeid(DialogEvent)},
        {4, &typeid(ActionEvent)},
        {5, &typeid(ActionEvent)},
        {6, &typeid(ItemEvent)},
        {7, &typeid(ChangeEvent)},
        {8, &typeid(MoveEvent)},
        {9, &typeid(FocusEvent)},
        {10, &typeid(KeyEvent)},
        {11, &typeid(DialogEvent)},
        {12, nullptr},
        {13, &typeid(ResizeEvent)},
        {14, &typeid(DialogEvent)},
        {15, nullptr},
        {16, &typeid(PaintEvent)},
        {17, &typeid(DropEvent)},
        {23, &typeid(ListHeaderClickEvent)},
        {24, &typeid(ListHeaderDragEvent)},
        {25, &typeid(ListHeaderResizeEvent)},
        {26, nullptr},
        {27, &typeid(SplitterDragEvent)},
    };
    Dialog panel(700, true);
    ControlLink link(3, &panel);
    for (const Case& c : cases) {
        std::unique_ptr<InterfaceEvent> event(
            InterfacePanel::createEvent(c.message, link, InterfaceEvent::Data(7)));
        if (c.type == nullptr) {
            EXPECT_EQ(event, nullptr) << c.message;
            continue;
        }
        ASSERT_NE(event, nullptr) << c.message;
        EXPECT_EQ(typeid(*event), *c.type) << c.message;
        EXPECT_EQ(event->getID(), UInt32(c.message));
        EXPECT_EQ(event->getLink(), link);
    }

    // Adapters are asked first; one that makes nothing leaves the standard factory its turn.
    InterfacePanel::addAdapter(
        4, [](Int32, const ControlLink&, const InterfaceEvent::Data&) -> InterfaceEvent* { return nullptr; });
    InterfacePanel::addAdapter(
        4, [](Int32 message, const ControlLink& l, const InterfaceEvent::Data& d) -> InterfaceEvent* {
            return new ItemEvent(UInt32(message), l, d);
        });
    InterfacePanel::addAdapter(
        2, [](Int32, const ControlLink&, const InterfaceEvent::Data&) -> InterfaceEvent* { return nullptr; });
    std::unique_ptr<InterfaceEvent> adapted(InterfacePanel::createEvent(4, link, InterfaceEvent::Data()));
    ASSERT_NE(adapted, nullptr);
    EXPECT_EQ(typeid(*adapted), typeid(ItemEvent));
    std::unique_ptr<InterfaceEvent> standard(InterfacePanel::createEvent(5, link, InterfaceEvent::Data()));
    EXPECT_EQ(typeid(*standard), typeid(ActionEvent));
    EXPECT_EQ(InterfacePanel::createEvent(2, link, InterfaceEvent::Data()), nullptr);
}

TEST_F(PanelTest, Broadcasts) {
    std::vector<std::string> log;
    EditCounting panel;
    new Recording(panel, 3, log, true);
    new Recording(panel, 4, log, false);
    new Recording(panel, 5, log, true);
    bool panelTakes = false;
    auto note = [&](const char* what) {
        return [&log, &panelTakes, what](Event&) {
            log.push_back(what);
            return panelTakes;
        };
    };
    Listener actions(EventSpec(InterfaceEvent::ID, ActionEvent::ID), note("panel action"));
    Listener dialogs(EventSpec(InterfaceEvent::ID, DialogEvent::ID), note("panel dialog"));
    Listener items(EventSpec(InterfaceEvent::ID, ItemEvent::ID), note("panel item"));
    panel.addSubscriber(&actions);
    panel.addSubscriber(&dialogs);
    panel.addSubscriber(&items);

    // An item's event: its control, then the panel's subscribers whatever the control did.
    ActionEvent click(ControlLink(4, &panel));
    EXPECT_FALSE(panel.broadcastEvent(click));
    ActionEvent taken(ControlLink(5, &panel));
    EXPECT_FALSE(panel.broadcastEvent(taken));
    // No control for the item: the subscribers still hear it.
    ItemEvent orphan(ControlLink(9, &panel));
    EXPECT_FALSE(panel.broadcastEvent(orphan));
    EXPECT_EQ(log, (std::vector<std::string>{"control 4", "panel action", "control 5", "panel action",
                                             "panel item"}));
    EXPECT_EQ(panel.edits, 3);

    // Message 1 reaches every control even after one took it, and then not the panel.
    log.clear();
    DialogEvent opened(1, ControlLink(0, &panel), InterfaceEvent::Data());
    EXPECT_TRUE(panel.broadcastEvent(opened));
    EXPECT_EQ(log, (std::vector<std::string>{"control 3", "control 4", "control 5"}));
    // Another panel-level message never reaches the controls.
    log.clear();
    DialogEvent activated(14, ControlLink(0, &panel), InterfaceEvent::Data());
    EXPECT_FALSE(panel.broadcastEvent(activated));
    EXPECT_EQ(log, (std::vector<std::string>{"panel dialog"}));
    // Message 1 that no control takes goes to the panel.
    log.clear();
    panel.removeControl(3);
    panel.removeControl(5);
    EXPECT_FALSE(panel.broadcastEvent(opened));
    EXPECT_EQ(log, (std::vector<std::string>{"control 4", "panel dialog"}));
    EXPECT_EQ(panel.edits, 3);

    // An event that is no interface event goes to the panel's subscribers only.
    Listener projects(EventSpec(HostEvent::ID, ProjectEvent::ID), note("panel project"));
    panel.addSubscriber(&projects);
    log.clear();
    ProjectEvent project(4);
    EXPECT_FALSE(panel.broadcastEvent(project));
    EXPECT_EQ(log, (std::vector<std::string>{"panel project"}));
}

TEST_F(PanelTest, HandlerDeletingItsPanelDuringABroadcast) {
    std::vector<std::string> log;
    auto* panel = new EditCounting;
    auto* first = new StaticText(ControlLink(3, panel));
    new Recording(*panel, 4, log, false);
    Listener deleter(EventSpec(InterfaceEvent::ID, ActionEvent::ID), [&](Event&) {
        delete panel;
        return false;
    });
    Listener opened(EventSpec(InterfaceEvent::ID, DialogEvent::ID), [&](Event&) {
        delete panel;
        return true;
    });
    Listener panelListener(EventSpec(InterfaceEvent::ID, ActionEvent::ID), [&](Event&) {
        log.push_back("panel");
        return false;
    });
    first->addSubscriber(&deleter);
    first->addSubscriber(&opened);
    panel->addSubscriber(&panelListener);
    Int32 index = panel->getIndex();
    // The control's handler deletes the panel: the panel's subscribers are not offered the event.
    ActionEvent click(ControlLink(3, panel));
    EXPECT_FALSE(panel->broadcastEvent(click));
    EXPECT_EQ(InterfacePanel::findPanelByIndex(index), nullptr);
    EXPECT_TRUE(log.empty());

    // Message 1: the controls after the one whose handler deleted the panel are not offered it.
    panel = new EditCounting;
    first = new StaticText(ControlLink(3, panel));
    new Recording(*panel, 4, log, false);
    first->addSubscriber(&opened);
    DialogEvent open(1, ControlLink(0, panel), InterfaceEvent::Data());
    EXPECT_TRUE(panel->broadcastEvent(open));
    EXPECT_TRUE(log.empty());
}

TEST_F(PanelTest, ProjectorClosesEveryLivePanel) {
    Dialog first(700, false);
    Dialog second(702, false);
    Dialog never(700, false);
    first.show();
    second.show();
    ASSERT_TRUE(first.isStarted());
    ASSERT_TRUE(second.isStarted());
    Subscriber& projector = InterfacePanel::getProjector();
    ProjectEvent save(16);
    EXPECT_FALSE(projector.takeEvent(save));
    EXPECT_TRUE(first.isStarted());
    ProjectEvent close(32);
    EXPECT_FALSE(projector.takeEvent(close));
    EXPECT_FALSE(first.isStarted());
    EXPECT_FALSE(second.isStarted());
    first.show();
    ProjectEvent quit(64);
    EXPECT_FALSE(projector.takeEvent(quit));
    EXPECT_FALSE(first.isStarted());
}

TEST_F(PanelTest, ProjectorRegistersWithTheAddon) {
    {
        Dialog without(700, false); // no add-on: nothing to register with
    }
    testing_addon::TestAddon theAddon;
    addon = &theAddon;
    Dialog panel(700, false);
    panel.show();
    ProjectEvent close(32);
    theAddon.publishExternalEvent(close, true);
    EXPECT_FALSE(panel.isStarted());
    addon = nullptr;
}

namespace {

// A palette that deletes another panel while it closes.
class DeletingOnClose : public Dialog {
public:
    DeletingOnClose(Int16 resourceID, std::vector<std::string>& log)
        : Dialog(resourceID, false), m_log(log) {}
    void handleClose() override {
        m_log.push_back("close " + std::to_string(getResourceID()));
        delete victim;
        victim = nullptr;
    }
    Dialog* victim = nullptr;

private:
    std::vector<std::string>& m_log;
};

} // namespace

TEST_F(PanelTest, ProjectorClosesPanelsThatDeleteOthers) {
    struct Case {
        const char* what;
        bool victimOpensFirst;
    };
    for (const Case& c : {Case{"the victim comes later in the table", false},
                          Case{"the victim comes earlier in the table", true}}) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> log;
        auto* victim = c.victimOpensFirst ? new Dialog(702, false) : nullptr;
        DeletingOnClose closer(700, log);
        if (victim == nullptr) {
            victim = new Dialog(702, false);
        }
        closer.victim = victim;
        Dialog bystander(700, false);
        closer.show();
        victim->show();
        bystander.show();
        Int32 victimIndex = victim->getIndex();
        ASSERT_EQ(InterfacePanel::findPanelByIndex(victimIndex), victim);

        ProjectEvent close(32);
        EXPECT_FALSE(InterfacePanel::getProjector().takeEvent(close));
        EXPECT_FALSE(closer.isStarted());
        EXPECT_FALSE(bystander.isStarted());
        EXPECT_EQ(closer.victim, nullptr);
        EXPECT_EQ(InterfacePanel::findPanelByIndex(victimIndex), nullptr);
        EXPECT_EQ(log, (std::vector<std::string>{"close 700"}));
        EXPECT_TRUE(sim::panelsOf(700).empty());
        EXPECT_TRUE(sim::panelsOf(702).empty()) << "the deleted panel's host dialog is gone too";
    }
}
