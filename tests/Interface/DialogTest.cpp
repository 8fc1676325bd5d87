#include "Interface/Dialog.h"
#include "Addon/ActionEvent.h"
#include "Addon/ActionSubscriber.h"
#include "Addon/DialogEvent.h"
#include "Addon/DropEvent.h"
#include "Addon/FocusEvent.h"
#include "Addon/ItemEvent.h"
#include "Addon/KeyEvent.h"
#include "Addon/ResizeEvent.h"
#include "Addon/TestAddon.h"
#include "DG/DGMessages.hpp"
#include "DG/DGPanel.hpp"
#include "Interface/Button.h"
#include "Interface/EditText.h"
#include "Interface/StaticText.h"
#include "Interface/TabPanel.h"
#include "PanelFixture.h"
#include "sim/Dialogs.h"

#include <memory>
#include <new>
#include <stdexcept>

using namespace panel_testing;

namespace {

class Page : public TabPanel {
public:
    Page(std::vector<std::string>& log) : TabPanel(701), m_log(log) {}
    void handleInitialise() override {
        m_log.push_back("page initialise");
        text = new EditText(ControlLink(1, this));
        text->setText("page");
    }
    void handleOpen() override { m_log.push_back("page open"); }
    void handleAccept(ActionEvent&) override { m_log.push_back("page accept"); }
    void handleCancel(ActionEvent&) override { m_log.push_back("page cancel"); }
    void handleClose() override { m_log.push_back("page close"); }
    EditText* text = nullptr;

private:
    std::vector<std::string>& m_log;
};

// Dialog 700 with a tab page; what it is told is logged.
class Logged : public Dialog {
public:
    Logged(bool modal, std::vector<std::string>& log) : Dialog(700, modal, true, true), m_log(log) {}
    void handleInitialise() override {
        m_log.push_back("initialise");
        if (throwOnInitialise) {
            throw std::bad_alloc();
        }
        edit = new EditText(ControlLink(4, this));
        new Button(ControlLink(5, this));
        new StaticText(ControlLink(3, this));
        if (withPage) {
            m_tab = std::make_unique<DG::TabControl>(*getPanel(), 6);
            page = std::make_unique<Page>(m_log);
            page->initialise(*m_tab, 1);
        }
    }
    void handleOpen() override {
        m_log.push_back("open");
        if (throwOnOpen) {
            throw std::runtime_error("open");
        }
    }
    void handleAccept(ActionEvent& event) override {
        m_log.push_back("accept");
        if (refuse > 0) {
            --refuse;
            event.tellPublisher(std::make_shared<ItemMessage>(0));
        }
        if (throwOnAccept) {
            throw std::runtime_error("accept");
        }
    }
    void handleCancel(ActionEvent&) override { m_log.push_back("cancel"); }
    void handleClose() override { m_log.push_back("close"); }
    void handleEdit(const InterfaceEvent& event) override {
        m_log.push_back("edit " + std::to_string(event.getItem()));
    }

    EditText* edit = nullptr;
    std::unique_ptr<Page> page;
    bool withPage = false;
    int refuse = 0;
    bool throwOnAccept = false;
    bool throwOnInitialise = false;
    bool throwOnOpen = false;

private:
    std::unique_ptr<DG::TabControl> m_tab;
    std::vector<std::string>& m_log;
};

} // namespace

TEST_F(PanelTest, ModalDialogRunsItsScript) {
    std::vector<std::string> log;
    Logged dialog(true, log);
    dialog.withPage = true;
    Listener opened(EventSpec(InterfaceEvent::ID, DialogEvent::ID), [&](Event& event) {
        log.push_back("opened event " + std::to_string(static_cast<InterfaceEvent&>(event).getID()));
        return false;
    });
    dialog.addSubscriber(&opened);
    sim::DialogAction onPage = sim::userAction(sim::DialogAction::setText, 1, 0, 0, "typed on page");
    onPage.page = 701;
    sim::queueDialogScript(700, {sim::userAction(sim::DialogAction::setText, 4, 0, 0, "hello"), onPage,
                                 sim::userAction(sim::DialogAction::click, 1)});
    EXPECT_EQ(dialog.show(), 1);
    EXPECT_EQ(
        log, (std::vector<std::string>{"initialise", "page initialise", "opened event 1", "open", "page open",
                                       "edit 4", "edit 1", "page accept", "accept", "page close", "close"}));
    EXPECT_FALSE(dialog.isStarted());
    EXPECT_EQ(dialog.getControl(4), nullptr);
    ASSERT_EQ(sim::dialogs().size(), 1u);
    EXPECT_TRUE(sim::dialogs()[0].failures.empty());
    EXPECT_FALSE(sim::dialogs()[0].forcedCancel);
    ASSERT_NE(dialog.page, nullptr);
    EXPECT_EQ(dialog.page->getParent(), nullptr); // its dialog closed
}

TEST_F(PanelTest, DefaultButtonsCloseTheModalDialog) {
    struct Case {
        short item;
        Int16 result;
        const char* handler;
    };
    const Case cases[] = {{1, 1, "accept"}, {2, 2, "cancel"}};
    for (const Case& c : cases) {
        std::vector<std::string> log;
        Dialog plain(702, true); // no controls of its own, and no buttons in its resource
        sim::queueDialogScript(702, {sim::userAction(sim::DialogAction::click, c.item)});
        EXPECT_EQ(plain.show(), 2); // the resource has no items 1 and 2: the script cannot click them
        EXPECT_FALSE(sim::dialogs().back().failures.empty());

        Logged dialog(true, log);
        sim::queueDialogScript(700, {sim::userAction(sim::DialogAction::click, c.item)});
        EXPECT_EQ(dialog.show(), c.result);
        EXPECT_EQ(log[log.size() - 2], c.handler);
        EXPECT_FALSE(sim::dialogs().back().forcedCancel);
    }
}

TEST_F(PanelTest, RefusedAcceptKeepsTheDialogOpen) {
    std::vector<std::string> log;
    Logged dialog(true, log);
    dialog.refuse = 1;
    sim::queueDialogScript(700, {sim::userAction(sim::DialogAction::closeOK),
                                 sim::userAction(sim::DialogAction::setText, 4, 0, 0, "more"),
                                 sim::userAction(sim::DialogAction::closeOK)});
    EXPECT_EQ(dialog.show(), 1);
    EXPECT_EQ(sim::dialogs()[0].refusedCloses, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"initialise", "open", "accept", "edit 4", "accept", "close"}));

    // A handler that throws leaves the dialog open and is reported; nothing escapes to the host.
    testing_addon::TestAddon theAddon;
    addon = &theAddon;
    log.clear();
    dialog.throwOnAccept = true;
    sim::queueDialogScript(700, {sim::userAction(sim::DialogAction::closeOK)});
    EXPECT_EQ(dialog.show(), 2);
    EXPECT_EQ(sim::dialogs()[1].refusedCloses, 1);
    EXPECT_TRUE(sim::dialogs()[1].forcedCancel);
    EXPECT_EQ(theAddon.failures, 1);
    addon = nullptr;
}

TEST_F(PanelTest, AFailedOpeningClosesTheDialogAsCancelledAndIsReported) {
    testing_addon::TestAddon theAddon;
    addon = &theAddon;
    struct Case {
        const char* name;
        bool modal;
        bool initialise; // the initialise handler fails, else the open handler
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {"modal, initialise", true, true, {"initialise", "close"}},
        {"modal, open", true, false, {"initialise", "open", "close"}},
        {"palette, initialise", false, true, {"initialise", "close"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> log;
        Logged dialog(c.modal, log);
        (c.initialise ? dialog.throwOnInitialise : dialog.throwOnOpen) = true;
        int failures = theAddon.failures;
        sim::queueDialogScript(700, {sim::userAction(sim::DialogAction::setText, 4, 0, 0, "typed"),
                                     sim::userAction(sim::DialogAction::closeOK)});
        EXPECT_EQ(dialog.show(), c.modal ? 2 : 0) << c.name;
        EXPECT_EQ(theAddon.failures, failures + 1) << c.name;
        EXPECT_FALSE(dialog.isStarted()) << c.name;
        EXPECT_EQ(log, c.log) << c.name;
    }
    addon = nullptr;
}

TEST_F(PanelTest, AFailedNotificationIsReportedAndTheDialogGoesOn) {
    testing_addon::TestAddon theAddon;
    addon = &theAddon;
    sim::DialogAction resize = sim::userAction(sim::DialogAction::resize);
    resize.h = 20;
    struct Case {
        const char* name;
        EventSpec spec;
        sim::DialogAction action;
        int failures;
    };
    const Case cases[] = {
        {"button", EventSpec(InterfaceEvent::ID, ActionEvent::ID),
         sim::userAction(sim::DialogAction::click, 5), 1},
        {"static text", EventSpec(InterfaceEvent::ID, ActionEvent::ID),
         sim::userAction(sim::DialogAction::click, 3), 1},
        {"text", EventSpec(InterfaceEvent::ID, ItemEvent::ID),
         sim::userAction(sim::DialogAction::setText, 4, 0, 0, "typed"), 1},
        {"key", EventSpec(InterfaceEvent::ID, KeyEvent::ID),
         sim::userAction(sim::DialogAction::typeCharacter, 4, 'a'), 1},
        {"focus", EventSpec(InterfaceEvent::ID, FocusEvent::ID),
         sim::userAction(sim::DialogAction::leaveFocus, 4), 1},
        {"resize", EventSpec(InterfaceEvent::ID, ResizeEvent::ID), resize, 3},
    };
    for (const Case& c : cases) {
        std::vector<std::string> log;
        Logged dialog(true, log);
        Listener failing(c.spec, [](Event&) -> bool { throw std::runtime_error("handler"); });
        dialog.addSubscriber(&failing);
        int failures = theAddon.failures;
        sim::queueDialogScript(700, {c.action, sim::userAction(sim::DialogAction::closeOK)});
        EXPECT_EQ(dialog.show(), 1) << c.name;
        EXPECT_EQ(theAddon.failures - failures, c.failures) << c.name;
    }
    addon = nullptr;
}

TEST_F(PanelTest, KeysHotKeysAndResizes) {
    std::vector<std::string> log;
    Logged dialog(true, log);
    Listener keys(EventSpec(InterfaceEvent::ID, KeyEvent::ID), [&](Event& event) {
        auto& key = static_cast<KeyEvent&>(event);
        log.push_back("key " + std::to_string(key.getCharacter()));
        if (key.getCharacter() == 'x') {
            key.tellPublisher(std::make_shared<ItemMessage>(0)); // swallowed
        }
        return true;
    });
    Listener hotKeys(EventSpec(InterfaceEvent::ID, DialogEvent::ID), [&](Event& event) {
        auto& dialogEvent = static_cast<DialogEvent&>(event);
        if (dialogEvent.getID() == 11) {
            log.push_back("hot key " + std::to_string(dialogEvent.getData()));
        }
        return false;
    });
    Listener resizes(EventSpec(InterfaceEvent::ID, ResizeEvent::ID), [&](Event& event) {
        auto& resize = static_cast<ResizeEvent&>(event);
        log.push_back("resize " + std::to_string(resize.getState()) + " " +
                      std::to_string(resize.getHGrow()));
        return false;
    });
    dialog.addSubscriber(&keys);
    dialog.addSubscriber(&hotKeys);
    dialog.addSubscriber(&resizes);
    Int16 key = 0;
    Listener opened(EventSpec(InterfaceEvent::ID, DialogEvent::ID), [&](Event& event) {
        if (static_cast<DialogEvent&>(event).getID() == 1) {
            key = dialog.registerHotkey('K');
        }
        return false;
    });
    dialog.addSubscriber(&opened);
    sim::DialogAction resize = sim::userAction(sim::DialogAction::resize);
    resize.h = 20;
    sim::queueDialogScript(700, {sim::userAction(sim::DialogAction::typeCharacter, 4, 'a'),
                                 sim::userAction(sim::DialogAction::typeCharacter, 4, 'x'),
                                 sim::userAction(sim::DialogAction::hotKey, 0, 1), resize,
                                 sim::userAction(sim::DialogAction::closeCancel)});
    EXPECT_EQ(dialog.show(), 2);
    EXPECT_EQ(key, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"initialise", "open", "key 97", "edit 4", "key 120", "hot key 1",
                                             "resize 0 0", "resize 1 20", "resize 2 20", "cancel", "close"}));
    EXPECT_EQ(sim::findPanel(1), nullptr); // the host dialog is gone
}

TEST_F(PanelTest, PaletteCloseRequests) {
    std::vector<std::string> log;
    testing_addon::TestAddon theAddon;
    addon = &theAddon;
    Logged palette(false, log);
    EXPECT_EQ(palette.show(false), 0);
    ASSERT_TRUE(palette.isStarted());
    EXPECT_TRUE(palette.isVisible());
    Int16 id = palette.getDialogID();

    palette.refuse = 1;
    EXPECT_TRUE(sim::actOnPalette(700, {sim::userAction(sim::DialogAction::closeOK)}));
    EXPECT_TRUE(palette.isStarted()); // refused: open, with its host object
    EXPECT_NE(sim::findPanel(id), nullptr);
    EXPECT_EQ(theAddon.getEntryDepth(), 0u);

    // An exception in a palette handler is reported by the add-on and goes no further.
    palette.throwOnAccept = true;
    EXPECT_TRUE(sim::actOnPalette(700, {sim::userAction(sim::DialogAction::closeOK)}));
    EXPECT_EQ(theAddon.failures, 1);
    EXPECT_TRUE(palette.isStarted());
    EXPECT_EQ(theAddon.getEntryDepth(), 0u);

    palette.throwOnAccept = false;
    EXPECT_TRUE(sim::actOnPalette(700, {sim::userAction(sim::DialogAction::closeOK)}));
    EXPECT_FALSE(palette.isStarted());
    EXPECT_FALSE(palette.isVisible());
    EXPECT_EQ(sim::findPanel(id), nullptr); // the host object was dropped after the notification
    EXPECT_EQ(log.back(), "close");

    // A palette's button acts as an entry of the add-on.
    log.clear();
    palette.show();
    UInt32 depthSeen = 0;
    Listener clicks(EventSpec(InterfaceEvent::ID, ActionEvent::ID), [&](Event&) {
        depthSeen = theAddon.getEntryDepth();
        throw std::runtime_error("click");
        return false;
    });
    palette.addSubscriber(&clicks);
    EXPECT_TRUE(sim::actOnPalette(700, {sim::userAction(sim::DialogAction::click, 5)}));
    EXPECT_EQ(depthSeen, 1u);
    EXPECT_EQ(theAddon.getEntryDepth(), 0u);
    EXPECT_EQ(theAddon.failures, 2);
    // A click on item 1 of a palette does not close it.
    EXPECT_TRUE(sim::actOnPalette(700, {sim::userAction(sim::DialogAction::click, 1)}));
    EXPECT_TRUE(palette.isStarted());
    palette.close();
    EXPECT_FALSE(palette.isStarted());
    addon = nullptr;
}

TEST_F(PanelTest, LocationsAndSizes) {
    Dialog dialog(700, false);
    EXPECT_EQ(dialog.getLocation(0, 0).getX(), 0); // not open
    dialog.show();
    dialog.setLocation(ScreenPoint(40, 60, 0));
    ScreenPoint client = dialog.getLocation(0, 0);
    ScreenPoint frame = dialog.getLocation(1, 0);
    EXPECT_EQ(client.getX(), 40);
    EXPECT_EQ(client.getY(), 60);
    EXPECT_LE(frame.getX(), 40);
    EXPECT_LT(frame.getY(), 60);
    EXPECT_EQ(dialog.getLocation(6, 0).getX(), 0);
    dialog.setSize(ScreenPoint(320, 220, 0), 1);
    EXPECT_EQ(dialog.getSize(0).getX(), 320);
    EXPECT_EQ(dialog.getMinimumSize(0).getX(), 240);
    dialog.setMinimumSize(ScreenPoint(330, 230), 0);
    EXPECT_EQ(dialog.getSize(0).getX(), 320); // the host keeps the size until the next resize
    dialog.setSize(ScreenPoint(100, 100, 0), 1);
    EXPECT_EQ(dialog.getSize(0).getX(), 330);
    dialog.bringToFront();
    EXPECT_EQ(sim::findPanel(dialog.getDialogID())->zPosition, -32768);
    dialog.hide();
    EXPECT_FALSE(dialog.isVisible());
    dialog.show();
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(PanelTest, DialogWithoutItsResource) {
    Dialog missing(999, true);
    EXPECT_EQ(missing.show(), 0);
    EXPECT_FALSE(missing.isStarted());
    EXPECT_EQ(missing.registerHotkey('K'), 0);
    EXPECT_TRUE(sim::dialogs().empty());
}

TEST_F(PanelTest, DropsAndFocus) {
    std::vector<std::string> log;
    Logged palette(false, log);
    Int32 effect = 0;
    Listener drops(EventSpec(InterfaceEvent::ID, DropEvent::ID), [&](Event& event) {
        auto& drop = static_cast<DropEvent&>(event);
        ScreenPoint at = drop.getMousePosition();
        log.push_back("drop " + std::to_string(drop.getDragData()->subMessage) + " at " +
                      std::to_string(at.getX()) + "," + std::to_string(at.getY()));
        drop.setEffect(effect);
        return true;
    });
    Listener focus(EventSpec(InterfaceEvent::ID, FocusEvent::ID), [&](Event& event) {
        log.push_back("focus lost " + std::to_string(static_cast<FocusEvent&>(event).getItem()));
        return true;
    });
    palette.addSubscriber(&drops);
    palette.addSubscriber(&focus);
    palette.show();
    sim::DialogAction drop = sim::userAction(sim::DialogAction::drop);
    drop.h = 30;
    drop.v = 40;
    EXPECT_TRUE(sim::actOnPalette(700, {drop}));
    EXPECT_NE(sim::dialogs().back().failures.at(0).find("takes no drops"), std::string::npos);
    palette.setDragDrop();
    log.clear();
    EXPECT_TRUE(sim::actOnPalette(700, {drop})); // refused: the handler left the effect at 0
    EXPECT_EQ(log, (std::vector<std::string>{"drop 4 at 30,40", "drop 5 at 30,40"}));
    log.clear();
    effect = 2;
    EXPECT_TRUE(sim::actOnPalette(700, {drop, sim::userAction(sim::DialogAction::leaveFocus, 4)}));
    EXPECT_EQ(log, (std::vector<std::string>{"drop 4 at 30,40", "drop 5 at 30,40", "drop 7 at 30,40",
                                             "focus lost 4"}));
    EXPECT_EQ(sim::dialogs().back().failures.size(), 2u);
}
