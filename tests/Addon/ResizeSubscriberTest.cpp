#include "Addon/ResizeSubscriber.h"
#include "Addon/DialogEvent.h"
#include "Addon/ItemEvent.h"
#include "DG/DGMoveGrow.hpp"
#include "DG/DGPanel.hpp"
#include "Interface/Dialog.h"
#include "Interface/EditText.h"
#include "Interface/PanelFixture.h"
#include "sim/Dialogs.h"
#include "sim/MoveGrow.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

using namespace zelvane;
using panel_testing::PanelTest;

namespace {

class Resizable : public Dialog {
public:
    Resizable() : Dialog(700, true, true, true) {}
    void handleInitialise() override { edit = new EditText(ControlLink(4, this)); }
    EditText* edit = nullptr;
};

class Layout : public ResizeSubscriber {
public:
    bool handleEvent(ResizeEvent& event) override {
        Int16 dialog = event.getLink().getDialogID();
        openDuring.push_back(sim::openMoveGrowBrackets(dialog));
        grows.push_back(event.getHGrow());
        if (throwOnce) {
            throwOnce = false;
            throw std::runtime_error("layout");
        }
        return true;
    }
    std::vector<int> openDuring;
    std::vector<int> grows;
    bool throwOnce = false;
};

sim::DialogAction action(sim::DialogAction::Kind kind) {
    sim::DialogAction act;
    act.kind = kind;
    return act;
}

} // namespace

TEST_F(PanelTest, ResizeHandlersRunInsideOneMoveGrowBracket) {
    Resizable dialog;
    Layout layout;
    dialog.addSubscriber(&layout);
    sim::DialogAction resize = action(sim::DialogAction::resize);
    resize.h = 30;
    sim::queueDialogScript(700, {resize, action(sim::DialogAction::closeCancel)});
    EXPECT_EQ(dialog.show(), 2);
    ASSERT_FALSE(layout.openDuring.empty());
    for (int open : layout.openDuring) {
        EXPECT_EQ(open, 1);
    }
    EXPECT_EQ(layout.grows.back(), 30);
}

TEST_F(PanelTest, TheBracketClosesWhenTheHandlerThrows) {
    Resizable dialog;
    Layout layout;
    layout.throwOnce = true;
    Int16 seenDialog = 0;
    panel_testing::Listener opened(EventSpec(InterfaceEvent::ID, DialogEvent::ID), [&](Event& event) {
        auto& open = static_cast<InterfaceEvent&>(event);
        if (open.getID() != 1) {
            return false;
        }
        seenDialog = open.getLink().getDialogID();
        ResizeEvent resize(ControlLink(0, &dialog), ResizeEvent::resizing, true, 4, 0);
        EXPECT_THROW(layout.takeEvent(resize), std::runtime_error);
        EXPECT_EQ(sim::openMoveGrowBrackets(seenDialog), 0);
        EXPECT_EQ(sim::moveGrowBracketsOpened(seenDialog), 1);

        // The event's control: the panel's control of the item, or none.
        EXPECT_EQ(ItemEvent(ControlLink(4, &dialog)).getControl(), dialog.edit);
        EXPECT_EQ(ItemEvent(ControlLink(3, &dialog)).getControl(), nullptr);
        EXPECT_EQ(ItemEvent(ControlLink(4)).getControl(), nullptr);

        // A link made from the host item finds the live panel.
        DG::Item item(*dialog.getPanel(), 4);
        ControlLink fromHost(item);
        EXPECT_EQ(fromHost.getItem(), 4);
        EXPECT_EQ(fromHost.getPanel(), &dialog);
        return false;
    });
    dialog.addSubscriber(&opened);
    sim::queueDialogScript(700, {action(sim::DialogAction::closeCancel)});
    EXPECT_EQ(dialog.show(), 2);
    EXPECT_NE(seenDialog, 0);
    EXPECT_EQ(ControlLink(0).getDialogID(), 0);

    // No dialog: no bracket, and closing it does nothing.
    EXPECT_EQ(DGBeginMoveGrowItems(999), 0);
    DGEndMoveGrowItems(0);
}
