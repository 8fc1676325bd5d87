#include "Remap/RemappingMenu.h"
#include "Addon/ProjectEvent.h"
#include "Addon/Subscriber.h"
#include "Remap/ObjectMapTransaction.h"
#include "Remap/RemappingAddon.h"
#include "RemapFixture.h"
#include "sim/Dialogs.h"
#include "sim/Output.h"

#include <functional>
#include <vector>

using namespace zelvane;
using namespace zelvane::remap;
using remap_test::RemapTest;

namespace {

// Records the commands the menu hands to the host, which still runs them.
class RecordingMenu : public RemappingMenu {
public:
    RecordingMenu() : RemappingMenu(menuID, 1, menuCode, 0) {}

    struct Command {
        ObjectMap::Type kind;
        std::string name;
        bool answer;
    };
    std::vector<Command> commands;

protected:
    bool runTransaction(ObjectMapTransaction& transaction) override {
        bool answer = RemappingMenu::runTransaction(transaction);
        commands.push_back({transaction.getSourceKind(), transaction.getName().data(), answer});
        return answer;
    }
};

// Runs an action when a project notification is published.
class NotificationProbe : public Subscriber {
public:
    explicit NotificationProbe(std::function<void()> action) : m_action(std::move(action)) {}
    void getSpec(std::vector<EventSpec>& specs) const override {
        specs.push_back(EventSpec(HostEvent::ID, ProjectEvent::ID));
    }
    bool takeEvent(Event&) override {
        m_action();
        return true;
    }

private:
    std::function<void()> m_action;
};

class RemappingMenuTest : public RemapTest {
protected:
    void TearDown() override {
        addon = nullptr;
        RemapTest::TearDown();
    }
};

} // namespace

TEST(RemappingMenuKindTest, ItemsGiveTheirKinds) {
    struct Case {
        Int32 item;
        ObjectMap::Type kind;
    };
    for (const Case& c : {Case{1, ObjectMap::IFC}, Case{2, ObjectMap::DWG}, Case{3, ObjectMap::GSM},
                          Case{4, ObjectMap::missing}, Case{5, ObjectMap::legacy}, Case{0, ObjectMap::none},
                          Case{6, ObjectMap::none}, Case{-1, ObjectMap::none}}) {
        EXPECT_EQ(RemappingMenu::kindOf(c.item), c.kind) << c.item;
    }
}

TEST_F(RemappingMenuTest, EachItemHandsTheHostACommandOfItsKind) {
    RecordingMenu menu;
    for (Int32 item = 1; item <= 5; ++item) {
        MenuEvent event(RemappingMenu::menuID, item);
        EXPECT_TRUE(menu.handleEvent(event)) << "the host's answer for a command that ended early";
    }
    ASSERT_EQ(menu.commands.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(menu.commands[i].kind, static_cast<ObjectMap::Type>(i));
        EXPECT_EQ(menu.commands[i].name, "Remap Library Parts");
    }
    EXPECT_TRUE(sim::alerts().empty());
    EXPECT_TRUE(sim::undoSteps().empty()) << "nothing was collected, so nothing ran";
}

TEST_F(RemappingMenuTest, OtherItemsWarnOnce) {
    RecordingMenu menu;
    for (Int32 item : {6, 0}) {
        std::size_t alerts = sim::alerts().size();
        MenuEvent event(RemappingMenu::menuID, item);
        menu.handleEvent(event);
        ASSERT_EQ(sim::alerts().size(), alerts + 1) << item;
        EXPECT_EQ(sim::alerts().back().type, -2) << "a warning";
        EXPECT_EQ(sim::alerts().back().largeText, "This functionality is coming in a future release");
        EXPECT_EQ(menu.commands.back().kind, ObjectMap::none);
    }
    MenuEvent foreign(32501, 1);
    menu.handleEvent(foreign);
    EXPECT_EQ(sim::alerts().size(), 2u) << "another menu's item is no item of this one";
    EXPECT_EQ(menu.commands.back().kind, ObjectMap::none);
    EXPECT_TRUE(sim::undoSteps().empty());
}

TEST_F(RemappingMenuTest, NothingRunsDuringAProjectNotification) {
    RemappingAddon remapping;
    addon = &remapping;
    RecordingMenu menu;
    NotificationProbe probe([&menu] {
        MenuEvent event(RemappingMenu::menuID, 3);
        menu.handleEvent(event);
    });
    remapping.addSubscriber(&probe);
    ProjectEvent notification(APINotify_Open);
    remapping.publishExternalEvent(notification, true);
    remapping.removeSubscriber(&probe);
    ASSERT_EQ(menu.commands.size(), 1u);
    EXPECT_FALSE(menu.commands[0].answer) << "refused by the host facade";
    EXPECT_NE(sim::consoleText().find("wrong time"), std::string::npos) << sim::consoleText();
}
