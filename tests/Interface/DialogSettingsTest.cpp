#include "Addon/DialogEvent.h"
#include "Addon/Message.h"
#include "DG/DGPanel.hpp"
#include "Interface/Dialog.h"
#include "Interface/TabPanel.h"
#include "PanelFixture.h"
#include "sim/Dialogs.h"

#include <gtest/gtest.h>

#include <memory>

using namespace panel_testing;

namespace {

sim::DialogAction hotKey(Int32 id) {
    sim::DialogAction action;
    action.kind = sim::DialogAction::hotKey;
    action.value = id;
    return action;
}

// Palette 700 holding tab page 701 once it opens.
class PagedPalette : public Dialog {
public:
    PagedPalette() : Dialog(700, false, true, true) {}
    void handleInitialise() override {
        m_tab = std::make_unique<DG::TabControl>(*getPanel(), 6);
        page = std::make_unique<TabPanel>(701);
        page->initialise(*m_tab, 1);
    }
    std::unique_ptr<TabPanel> page;

private:
    std::unique_ptr<DG::TabControl> m_tab;
};

// Presses a hot key as the host does and answers whether the host is told it was handled.
bool pressHotKey(Int16 panelID, Int16 keyID) {
    bool processed = false;
    DG::PanelHotKeyEvent event(panelID, keyID);
    std::vector<DG::EventObserver*> observers = sim::findPanel(panelID)->observers;
    for (DG::EventObserver* observer : observers) {
        if (auto* panelObserver = dynamic_cast<DG::PanelObserver*>(observer)) {
            panelObserver->PanelHotkeyPressed(event, &processed);
        }
    }
    return processed;
}

} // namespace

TEST_F(PanelTest, HotKeysSwitchedOffAndTheirHandling) {
    Dialog palette(700, false);
    EXPECT_EQ(palette.registerHotkey('K'), 0) << "no host dialog yet";
    palette.setHotkeyEnabled(false); // nothing to switch: no effect, no crash
    palette.show();
    Int16 key = palette.registerHotkey('K');
    ASSERT_NE(key, 0);

    std::vector<Int32> pressed;
    bool take = false;
    Listener hotKeys(EventSpec(InterfaceEvent::ID, DialogEvent::ID), [&](Event& event) {
        auto& dialogEvent = static_cast<DialogEvent&>(event);
        if (dialogEvent.getID() == 11) {
            pressed.push_back(Int32(dialogEvent.getData()));
            if (take) {
                dialogEvent.tellPublisher(std::make_shared<ItemMessage>(1));
            }
        }
        return false;
    });
    palette.addSubscriber(&hotKeys);

    palette.setHotkeyEnabled(false);
    EXPECT_FALSE(sim::findPanel(palette.getDialogID())->hotKeysEnabled);
    EXPECT_TRUE(sim::actOnPalette(700, {hotKey(key)}));
    EXPECT_TRUE(pressed.empty());
    ASSERT_FALSE(sim::dialogs().back().failures.empty());

    palette.setHotkeyEnabled(true);
    EXPECT_TRUE(sim::actOnPalette(700, {hotKey(key)}));
    EXPECT_EQ(pressed, (std::vector<Int32>{key}));

    // The host learns that the key was handled only when a handler set the receiver.
    EXPECT_FALSE(pressHotKey(palette.getDialogID(), key));
    take = true;
    EXPECT_TRUE(pressHotKey(palette.getDialogID(), key));
    EXPECT_EQ(pressed.size(), 3u);
    palette.close();
}

TEST_F(PanelTest, ResizeTypeGoesToTheHostDialog) {
    Dialog palette(700, false);
    palette.setResizeType(1); // not open: nothing to set
    palette.show();
    sim::PanelState* state = sim::findPanel(palette.getDialogID());
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(state->grow, 3) << "from the template";
    for (Int16 grow : {0, 2, 1}) {
        palette.setResizeType(grow);
        EXPECT_EQ(state->grow, grow);
    }
    palette.close();
}

TEST_F(PanelTest, TabPageSizeAndAnchor) {
    PagedPalette palette;
    TabPanel unopened(701);
    EXPECT_EQ(unopened.getSize(0).getX(), 0);
    EXPECT_EQ(unopened.getAnchorPoint(), 0u);
    unopened.setSize(ScreenPoint(50, 50, 0), 4); // no page: nothing happens
    EXPECT_EQ(unopened.getAnchorPoint(), 0u);
    EXPECT_EQ(unopened.getParent(), nullptr);

    palette.show();
    ASSERT_NE(palette.page, nullptr);
    TabPanel& page = *palette.page;
    EXPECT_EQ(page.getParent(), &palette);
    ScreenPoint size = page.getSize(2);
    EXPECT_EQ(size.getX(), 180);
    EXPECT_EQ(size.getY(), 70);
    EXPECT_EQ(size.getType(), 2u);

    page.setSize(ScreenPoint(150, 60, 0), 4);
    EXPECT_EQ(page.getAnchorPoint(), 4u);
    EXPECT_EQ(page.getSize(0).getX(), 150);
    EXPECT_EQ(page.getSize(0).getY(), 60);
    page.setAnchorPoint(7);
    EXPECT_EQ(page.getAnchorPoint(), 7u);
    EXPECT_EQ(sim::findPanel(page.getDialogID())->fixPoint, 7);
    palette.close();
}

TEST_F(PanelTest, CloseRequestedByTheProgram) {
    struct Case {
        bool accept;
        Int16 result;
    };
    for (const Case& c : {Case{true, 1}, Case{false, 2}}) {
        Dialog modal(700, true);
        modal.requestClose(c.accept); // not open: nothing to close
        Listener opened(EventSpec(InterfaceEvent::ID, DialogEvent::ID), [&](Event& event) {
            if (static_cast<DialogEvent&>(event).getID() == 1) {
                modal.requestClose(c.accept);
            }
            return false;
        });
        modal.addSubscriber(&opened);
        sim::queueDialogScript(700, {});
        EXPECT_EQ(modal.show(), c.result) << c.accept;
        EXPECT_FALSE(modal.isStarted());
        EXPECT_FALSE(sim::dialogs().back().forcedCancel) << c.accept;
    }

    Dialog palette(700, false);
    palette.show();
    Int16 id = palette.getDialogID();
    palette.requestClose(false);
    EXPECT_FALSE(palette.isStarted());
    EXPECT_EQ(sim::findPanel(id), nullptr);
}
