#include "Addon/ActionEvent.h"
#include "Addon/ActionSubscriber.h"
#include "Addon/ChangeEvent.h"
#include "Addon/DialogEvent.h"
#include "Addon/DropEvent.h"
#include "Addon/FocusEvent.h"
#include "Addon/ItemEvent.h"
#include "Addon/ItemSubscriber.h"
#include "Addon/KeyEvent.h"
#include "Addon/ListHeaderClickEvent.h"
#include "Addon/ListHeaderDragEvent.h"
#include "Addon/ListHeaderResizeEvent.h"
#include "Addon/MoveEvent.h"
#include "Addon/PaintEvent.h"
#include "Addon/Publisher.h"
#include "Addon/Receiver.h"
#include "Addon/ResizeEvent.h"
#include "Addon/SplitterDragEvent.h"
#include "DG/DGMessages.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>

using namespace zelvane;

namespace {

struct Factory {
    std::string name;
    UInt32 kind;
    std::set<UInt32> accepted;
    std::function<InterfaceEvent*(UInt32, const ControlLink&, const InterfaceEvent::Data&)> create;
};

template <class E>
Factory factory(const char* name, std::set<UInt32> accepted) {
    return Factory{name, E::ID, std::move(accepted),
                   [](UInt32 m, const ControlLink& l, const InterfaceEvent::Data& d) -> InterfaceEvent* {
                       return E::create(m, l, d);
                   }};
}

} // namespace

TEST(InterfaceEventTest, EachFactoryAcceptsExactlyItsMessages) {
    const Factory factories[] = {
        factory<ActionEvent>("action", {4, 5}),
        factory<ItemEvent>("item", {6}),
        factory<ChangeEvent>("change", {7}),
        factory<MoveEvent>("move", {8}),
        factory<FocusEvent>("focus", {9}),
        factory<KeyEvent>("key", {10}),
        factory<ResizeEvent>("resize", {12, 13}),
        factory<DialogEvent>("dialog", {1, 3, 11, 12, 13, 14}),
        factory<PaintEvent>("paint", {16}),
        factory<DropEvent>("drop", {17}),
        factory<ListHeaderClickEvent>("header click", {23}),
        factory<ListHeaderDragEvent>("header drag", {24}),
        factory<ListHeaderResizeEvent>("header resize", {25}),
        factory<SplitterDragEvent>("splitter", {27}),
    };
    ControlLink link(7);
    for (const Factory& f : factories) {
        for (UInt32 message = 0; message <= 30; ++message) {
            std::unique_ptr<InterfaceEvent> event(f.create(message, link, InterfaceEvent::Data(42)));
            bool accepted = f.accepted.count(message) != 0;
            ASSERT_EQ(event != nullptr, accepted) << f.name << " message " << message;
            if (event) {
                EXPECT_EQ(event->getSpec(), EventSpec(InterfaceEvent::ID, f.kind)) << f.name;
                EXPECT_EQ(event->getID(), message);
                EXPECT_EQ(event->getItem(), 7);
                EXPECT_EQ(event->getData(), 42);
                EXPECT_EQ(event->getReceiver(), nullptr);
            }
        }
    }
}

TEST(InterfaceEventTest, DirectConstructionUsesTheDefaultMessage) {
    ControlLink link(3);
    EXPECT_EQ(ActionEvent(link).getID(), 0u);
    EXPECT_EQ(ItemEvent(link).getID(), 6u);
    EXPECT_EQ(ResizeEvent(link).getID(), 13u);
    EXPECT_EQ(DialogEvent(link).getID(), 14u);
    EXPECT_EQ(SplitterDragEvent(link).getID(), 27u);
    EXPECT_EQ(ActionEvent(link).getData(), 0);
    EXPECT_EQ(ActionEvent(link).getSpec().getKind(), MakeGSType("ACEV"));
}

TEST(InterfaceEventTest, DataIsReadOnlyAsWhatItWasGiven) {
    DGListHeaderMsgData header;
    header.subMessage = 0;
    header.itemIndex = 3;
    header.newIndex = 5;
    header.sizeChange = -12;
    DGSplitterMsgData splitter;
    splitter.position = 140;
    splitter.dragStatus = 1;
    ControlLink link(2);
    auto headerData = InterfaceEvent::Data::record(&header);

    ListHeaderClickEvent click(23, link, headerData);
    const DGListHeaderMsgData& constHeader = header;
    EXPECT_EQ(ListHeaderClickEvent(23, link, InterfaceEvent::Data::record(&constHeader)).getCellIndex(), 2);
    EXPECT_EQ(click.getCellIndex(), 2);
    ListHeaderDragEvent drag(24, link, headerData);
    EXPECT_EQ(drag.getCellIndex(), 2);
    EXPECT_EQ(drag.getNewCellIndex(), 4);
    ListHeaderResizeEvent resize(25, link, headerData);
    EXPECT_EQ(resize.getCellIndex(), 2);
    EXPECT_EQ(resize.getDelta().getX(), -12);
    EXPECT_EQ(resize.getDelta().getY(), 0);
    EXPECT_EQ(resize.getStatus(), 2); // status 0 is reported as 2
    header.subMessage = 1;
    EXPECT_EQ(resize.getStatus(), 1);
    EXPECT_EQ(resize.getData(), Int64(reinterpret_cast<std::intptr_t>(&header)));

    SplitterDragEvent split(27, link, InterfaceEvent::Data::record(&splitter));
    EXPECT_EQ(split.getPosition(), 140);
    EXPECT_EQ(split.getDragStatus(), 1);

    // A record of another kind, or a plain value that happens to be an address, is never read
    // as a record: the defaults come back.
    SplitterDragEvent wrongRecord(27, link, headerData);
    EXPECT_EQ(wrongRecord.getPosition(), 0);
    EXPECT_EQ(wrongRecord.getDragStatus(), 2);
    ListHeaderResizeEvent plain(25, link,
                                InterfaceEvent::Data(Int64(reinterpret_cast<std::intptr_t>(&header))));
    EXPECT_EQ(plain.getCellIndex(), 0);
    EXPECT_EQ(plain.getStatus(), 2);
    EXPECT_EQ(plain.getDelta().getX(), 0);
    ListHeaderDragEvent none(link);
    EXPECT_EQ(none.getNewCellIndex(), 0);
}

TEST(InterfaceEventTest, FocusKeyResizePaintAndDropReadTheirData) {
    ControlLink link(4);
    EXPECT_TRUE(FocusEvent(9, link, 1).isGainingFocus());
    EXPECT_FALSE(FocusEvent(9, link, 0).isGainingFocus());
    DGSplitterMsgData unrelated;
    EXPECT_FALSE(FocusEvent(9, link, InterfaceEvent::Data::record(&unrelated)).isGainingFocus());

    EXPECT_EQ(KeyEvent(10, link, 0x141).getCharacter(), 0x41);
    EXPECT_EQ(KeyEvent(10, link, 0xE9).getCharacter(), -23); // a signed character
    EXPECT_EQ(KeyEvent(link, Int16(0x20AC), nullptr).getCharacter(), 0x20AC);

    DGResizeMsgData grow;
    grow.subMessage = 1;
    grow.userResize = true;
    grow.hGrow = 30;
    grow.vGrow = -4;
    ResizeEvent resized(12, link, InterfaceEvent::Data::record(&grow));
    EXPECT_EQ(resized.getState(), ResizeEvent::resizing);
    EXPECT_TRUE(resized.isUserResize());
    EXPECT_EQ(resized.getHGrow(), 30);
    EXPECT_EQ(resized.getVGrow(), -4);
    ResizeEvent zeroed(13, link, 0);
    EXPECT_EQ(zeroed.getHGrow(), 0);
    EXPECT_FALSE(zeroed.isUserResize());
    ResizeEvent panel(ControlLink(0), ResizeEvent::resizeExited, true, 5, 6);
    EXPECT_EQ(panel.getState(), ResizeEvent::resizeExited);
    EXPECT_EQ(panel.getVGrow(), 6);

    DGUserUpdateData update;
    update.itemID = 9;
    PaintEvent paint(ControlLink(0), update);
    EXPECT_EQ(paint.getItem(), 9);
    EXPECT_EQ(paint.getUpdateData(), &update);
    std::unique_ptr<PaintEvent> made(PaintEvent::create(16, link, InterfaceEvent::Data::record(&update)));
    EXPECT_EQ(made->getUpdateData(), nullptr);

    DGDragDropMsgData dragDrop;
    dragDrop.x = 120;
    dragDrop.y = -8;
    DropEvent drop(17, link, InterfaceEvent::Data::record(&dragDrop));
    EXPECT_EQ(drop.getMousePosition().getX(), 120);
    EXPECT_EQ(drop.getMousePosition().getY(), -8);
    drop.setEffect(7);
    drop.denyFeedback();
    drop.setRightDragMenu(true);
    EXPECT_EQ(dragDrop.effect, 7);
    EXPECT_EQ(dragDrop.denyFeedback, 1);
    EXPECT_TRUE(dragDrop.rightDragMenu);
    // A record handed over as constant is never written through.
    const DGDragDropMsgData& readOnly = dragDrop;
    DropEvent constant(17, link, InterfaceEvent::Data::record(&readOnly));
    constant.setEffect(1);
    EXPECT_EQ(dragDrop.effect, 7);
    EXPECT_EQ(constant.getDataWord().getRecord<const DGDragDropMsgData>(), &dragDrop);

    DropEvent bare(link);
    bare.setEffect(3); // no record: nothing to write
    EXPECT_EQ(bare.getDragData(), nullptr);
    EXPECT_EQ(bare.getMousePosition().getX(), 0);
}

TEST(InterfaceEventTest, HandlersAnswerThroughTheReceiver) {
    ItemReceiver receiver(1);
    ActionEvent accept(ControlLink(1), &receiver);
    accept.tellPublisher(std::make_shared<Message>());
    EXPECT_EQ(receiver.getItem(), 1); // not an item message
    accept.tellPublisher(std::make_shared<ItemMessage>(0));
    EXPECT_EQ(receiver.getItem(), 0);

    ActionEvent noReceiver(ControlLink(1));
    noReceiver.tellPublisher(std::make_shared<ItemMessage>(5)); // nobody to tell

    std::unique_ptr<Message> copy(ItemMessage(8).clone());
    ASSERT_NE(dynamic_cast<ItemMessage*>(copy.get()), nullptr);
    EXPECT_EQ(static_cast<ItemMessage*>(copy.get())->getItem(), 8);
}

TEST(InterfaceEventTest, ActionAndItemSubscribersTakeOnlyTheirEvents) {
    struct Clicks : ActionSubscriber {
        int taken = 0;
        bool handleEvent(ActionEvent& event) override {
            ++taken;
            event.tellPublisher(std::make_shared<ItemMessage>(0));
            return true;
        }
    } clicks;
    struct Changes : ItemSubscriber {
        int taken = 0;
        bool handleEvent(ItemEvent&) override { return ++taken, false; }
    } changes;
    Publisher control;
    control.addSubscriber(&clicks);
    control.addSubscriber(&changes);

    ItemReceiver receiver(1);
    ActionEvent click(4, ControlLink(2), 0, &receiver);
    EXPECT_TRUE(control.publishEvent(click));
    EXPECT_EQ(receiver.getItem(), 0);
    ItemEvent change(ControlLink(2));
    EXPECT_FALSE(control.publishEvent(change));
    EXPECT_EQ(clicks.taken, 1);
    EXPECT_EQ(changes.taken, 1);

    // An event of the right event key but another class is not taken.
    InterfaceEvent impostor(ActionEvent::ID, 4, ControlLink(2));
    EXPECT_FALSE(control.publishEvent(impostor));
    EXPECT_EQ(clicks.taken, 1);
}

TEST(ControlLinkTest, OrdersByItemAndComparesItemAndPanel) {
    auto* panelA = reinterpret_cast<InterfacePanel*>(0x1000);
    ControlLink a(3, panelA), b(3, nullptr), c(4, nullptr);
    EXPECT_FALSE(a == b);
    EXPECT_TRUE(a == ControlLink(3, panelA));
    EXPECT_FALSE(a < b);
    EXPECT_FALSE(b < a);
    EXPECT_TRUE(b < c);
    EXPECT_EQ(ControlLink().getItem(), -1);
    EXPECT_EQ(ControlLink().getPanel(), nullptr);
}
