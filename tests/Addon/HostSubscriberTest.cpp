#include "Addon/Addon.h"
#include "Addon/MenuSubscriber.h"
#include "Addon/ProjectSubscriber.h"
#include "Addon/Publisher.h"
#include "sim/AddOns.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

using namespace zelvane;

namespace {

class Menu : public MenuSubscriber {
public:
    using MenuSubscriber::MenuSubscriber;
    bool handleEvent(MenuEvent& event) override {
        lastItem = event.getItemIndex();
        return true;
    }
    Int32 lastItem = 0;
};

class Project : public ProjectSubscriber {
public:
    bool handleEvent(ProjectEvent& event) override {
        lastNotification = event.getID();
        return false;
    }
    Int32 lastNotification = 0;
};

// A subscriber of both kinds at once: the base is shared.
class Both : public Menu, public Project {
public:
    Both() : Menu(32500) {}
    void getSpec(std::vector<EventSpec>& specs) const override {
        Menu::getSpec(specs);
        Project::getSpec(specs);
    }
    bool takeEvent(Event& event) override { return Menu::takeEvent(event) || Project::takeEvent(event); }
    bool registerInterface() override { return Menu::registerInterface(); }
    bool initialise() override { return Menu::initialise() && Project::initialise(); }
};

class HostSubscriberTest : public ::testing::Test {
protected:
    void SetUp() override { ProjectSubscriber::isInstalled = false; }
    void TearDown() override { ProjectSubscriber::isInstalled = false; }
};

} // namespace

TEST_F(HostSubscriberTest, MenuSubscriberRegistersInstallsAndTakesItsMenu) {
    Menu menu(32500, 32501, MenuCode_Extras, 4);
    Menu other(32600);
    Publisher publisher;
    publisher.addSubscriber(&menu);
    publisher.addSubscriber(&other);
    ASSERT_TRUE(publisher.registerInterface());
    ASSERT_TRUE(publisher.initialise());

    const sim::AddOn& table = sim::currentAddOn();
    ASSERT_EQ(table.menus.size(), 2u);
    EXPECT_EQ(table.menus[0].menuResID, 32500);
    EXPECT_EQ(table.menus[0].promptResID, 32501);
    EXPECT_EQ(table.menus[0].menuCode, MenuCode_Extras);
    EXPECT_EQ(table.menus[0].flags, 4u);
    EXPECT_EQ(table.menus[0].handler, &MenuSubscriber::menuCallback);

    // Without the add-on object the host is answered 0 and nothing is dispatched.
    ASSERT_EQ(addon, nullptr);
    EXPECT_EQ(sim::selectMenuItem(32500, 2), NoError);
    EXPECT_EQ(menu.lastItem, 0);

    API_MenuParams params;
    params.menuItemRef.menuResID = 32500;
    params.menuItemRef.itemIndex = 3;
    MenuEvent event(params);
    EXPECT_EQ(event.getSpec(), EventSpec(HostEvent::ID, MenuEvent::ID));
    EXPECT_EQ(event.getID(), 0);
    EXPECT_EQ(event.getMenuID(), 32500);
    EXPECT_TRUE(publisher.publishEvent(event));
    EXPECT_EQ(menu.lastItem, 3);
    EXPECT_EQ(other.lastItem, 0);
    MenuEvent unknown(32700, 1);
    EXPECT_FALSE(publisher.publishEvent(unknown));
}

TEST_F(HostSubscriberTest, HostRefusalFailsTheStepAndStopsTheFanOut) {
    Menu first(32500), second(32600);
    Publisher publisher;
    publisher.addSubscriber(&first);
    publisher.addSubscriber(&second);
    sim::failCall("ACAPI_Register_Menu", APIERR_GENERAL);
    EXPECT_FALSE(publisher.registerInterface());
    EXPECT_EQ(sim::callCount("ACAPI_Register_Menu"), 1u);
    EXPECT_TRUE(sim::currentAddOn().menus.empty());
    // The menu was never registered, so its handler cannot be installed either.
    EXPECT_FALSE(first.initialise());
}

TEST_F(HostSubscriberTest, ProjectHandlerIsInstalledOncePerBundle) {
    Project a, b;
    Publisher publisher;
    publisher.addSubscriber(&a);
    publisher.addSubscriber(&b);
    ASSERT_TRUE(publisher.initialise());
    EXPECT_EQ(sim::callCount("ACAPI_Notify_CatchProjectEvent"), 1u);
    EXPECT_EQ(sim::currentAddOn().projectMask, ProjectSubscriber::notificationMask);
    EXPECT_EQ(sim::currentAddOn().projectHandler, &ProjectSubscriber::projectCallback);
    EXPECT_TRUE(ProjectSubscriber::isInstalled);

    EXPECT_EQ(sim::notifyProject(APINotify_Open), NoError);
    EXPECT_EQ(a.lastNotification, 0); // no add-on object: nothing dispatched

    ProjectEvent open(APINotify_Open);
    EXPECT_FALSE(publisher.publishEvent(open)); // neither takes it, both see it
    EXPECT_EQ(a.lastNotification, 4);
    EXPECT_EQ(b.lastNotification, 4);
}

TEST_F(HostSubscriberTest, FailedProjectInstallationIsReported) {
    Project a;
    sim::failCall("ACAPI_Notify_CatchProjectEvent", APIERR_GENERAL);
    EXPECT_FALSE(a.initialise());
    EXPECT_FALSE(ProjectSubscriber::isInstalled);
    EXPECT_TRUE(a.initialise()) << "a refused handler is installed the next time";
    EXPECT_EQ(sim::callCount("ACAPI_Notify_CatchProjectEvent"), 2u);
}

TEST_F(HostSubscriberTest, OneObjectCanBeSeveralKindsOfSubscriber) {
    Both both;
    both.setPriority(3);
    EXPECT_EQ(static_cast<Menu&>(both).getPriority(), 3);
    Publisher publisher;
    publisher.addSubscriber(&both);
    ASSERT_TRUE(publisher.registerInterface());
    ASSERT_TRUE(publisher.initialise());
    EXPECT_EQ(sim::callCount("ACAPI_Register_Menu"), 1u); // once, though under two event keys
    MenuEvent menu(32500, 5);
    ProjectEvent close(APINotify_Close);
    EXPECT_TRUE(publisher.publishEvent(menu));
    EXPECT_FALSE(publisher.publishEvent(close));
    EXPECT_EQ(both.lastItem, 5);
    EXPECT_EQ(both.lastNotification, 32);
}
