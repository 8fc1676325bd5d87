#include "Addon/Supervisor.h"
#include "Addon/CommandEvent.h"
#include "Addon/ProjectEvent.h"
#include "Addon/SupervisorLink.h"
#include "Environment/Host.h"
#include "TestAddon.h"
#include "sim/AddOns.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <memory>

using namespace zelvane;
using namespace testing_addon;

namespace {

const sim::AddOnID first{0x5A454C56, 10};
const sim::AddOnID second{0x5A454C56, 11};
const EventSpec update(MakeGSType("RMPP"), 0);

class SupervisorTest : public ::testing::Test {
protected:
    void TearDown() override {
        addon = nullptr;
        ProjectSubscriber::isInstalled = false;
        host.reset();
    }

    // Makes the add-on that answers 'GSUP' in the host under the first ID.
    void installMaker(TestAddon& maker) {
        sim::setCurrentAddOn(first);
        addon = &maker;
        ASSERT_TRUE(maker.registerInterface());
        ASSERT_TRUE(maker.initialise());
        sim::setCurrentAddOn(second);
    }
};

} // namespace

TEST_F(SupervisorTest, JoiningThroughTheSharedCommand) {
    TestAddon maker;
    installMaker(maker);
    EXPECT_TRUE(maker.ownsSupervisor());

    TestAddon joined(first.developer, first.local);
    EXPECT_FALSE(joined.ownsSupervisor());
    EXPECT_EQ(&joined.getSupervisor(), &maker.getSupervisor());
    EXPECT_EQ(maker.getSupervisor().getMembers(), (std::vector<Addon*>{&maker, &joined}));
    EXPECT_EQ(sim::callCount("ACAPI_Command_Call"), 1u);

    // An add-on that is not loaded, or loaded without anybody answering, leaves the joiner alone.
    TestAddon lonely(0x1234, 5);
    EXPECT_TRUE(lonely.ownsSupervisor());
    EXPECT_EQ(lonely.getSupervisor().getMembers(), (std::vector<Addon*>{&lonely}));
    addon = nullptr;
    TestAddon unanswered(first.developer, first.local);
    EXPECT_TRUE(unanswered.ownsSupervisor());
    EXPECT_EQ(maker.getSupervisor().getMembers().size(), 2u);
    addon = &maker;
    sim::failCall("ACAPI_Command_Call", APIERR_GENERAL);
    TestAddon failed(first.developer, first.local);
    EXPECT_TRUE(failed.ownsSupervisor());
    maker.removeAllSubscribers();
}

TEST_F(SupervisorTest, LinkAnswersOnlyItsCommandAndVersion) {
    TestAddon maker;
    addon = &maker;
    SupervisorLink link;
    Supervisor* answer = nullptr;
    CommandEvent wrongVersion(Supervisor::ID, 2, nullptr, reinterpret_cast<GSPtr>(&answer), false);
    EXPECT_FALSE(link.takeEvent(wrongVersion));
    EXPECT_EQ(answer, nullptr);
    CommandEvent noResult(Supervisor::ID, 1, nullptr, nullptr, false);
    EXPECT_FALSE(link.takeEvent(noResult));
    CommandEvent right(Supervisor::ID, 1, nullptr, reinterpret_cast<GSPtr>(&answer), false);
    EXPECT_TRUE(link.takeEvent(right));
    EXPECT_EQ(answer, &maker.getSupervisor());
    // Without parameters the command would be 'EVNT': not this one.
    CommandEvent bare(0, 0, nullptr, reinterpret_cast<GSPtr>(&answer), false);
    EXPECT_FALSE(link.takeEvent(bare));
}

TEST_F(SupervisorTest, BroadcastReachesEveryOtherMemberOnce) {
    TestAddon a, b, c;
    Supervisor& supervisor = a.getSupervisor();
    supervisor.addMember(b);
    supervisor.addMember(c);
    std::vector<char> order;
    Probe takeA(update, [&](Event&) {
        order.push_back('a');
        return false;
    });
    Probe takeB(update, [&](Event&) {
        order.push_back('b');
        return true;
    });
    Probe takeC(update, [&](Event&) {
        order.push_back('c');
        return false;
    });
    a.addSubscriber(&takeA);
    b.addSubscriber(&takeB);
    c.addSubscriber(&takeC);

    Event event(update);
    EXPECT_TRUE(a.publishEvent(event));
    EXPECT_EQ(order, (std::vector<char>{'a', 'b', 'c'})) << "the third is asked after the second took it";

    // Nobody takes it: each other member's subscribers see it once, and it never comes back.
    b.removeAllSubscribers();
    order.clear();
    EXPECT_FALSE(a.publishEvent(event));
    EXPECT_EQ(order, (std::vector<char>{'a', 'c'}));

    TestAddon alone;
    Event lost(update);
    EXPECT_FALSE(alone.getSupervisor().broadcastEvent(lost, &alone));
    a.removeAllSubscribers();
    c.removeAllSubscribers();
}

TEST_F(SupervisorTest, TwoMembersPassUpdatesWithoutEndlessRecursion) {
    TestAddon a, b;
    a.getSupervisor().addMember(b);
    int seenByA = 0, seenByB = 0;
    Probe probeA(update, [&](Event&) {
        ++seenByA;
        return false;
    });
    Probe probeB(update, [&](Event&) {
        ++seenByB;
        return false;
    });
    a.addSubscriber(&probeA);
    b.addSubscriber(&probeB);
    Event event(update);
    EXPECT_FALSE(a.publishEvent(event));
    EXPECT_EQ(seenByA, 1);
    EXPECT_EQ(seenByB, 1);
    EXPECT_FALSE(b.publishEvent(event));
    EXPECT_EQ(seenByA, 2);
    EXPECT_EQ(seenByB, 2) << "each publish reaches each member once";
    a.removeAllSubscribers();
    b.removeAllSubscribers();
}

TEST_F(SupervisorTest, MembershipEndsWithTheMemberOrTheSupervisor) {
    auto maker = std::make_unique<TestAddon>();
    auto member = std::make_unique<TestAddon>();
    Supervisor& supervisor = maker->getSupervisor();
    supervisor.addMember(*member);
    auto other = std::make_unique<TestAddon>();
    supervisor.addMember(*other);
    other.reset();
    EXPECT_EQ(supervisor.getMembers(), (std::vector<Addon*>{maker.get(), member.get()}));

    // A member keeps working after its supervisor's maker is gone, with a supervisor of its own.
    maker.reset();
    Supervisor& own = member->getSupervisor();
    EXPECT_TRUE(member->ownsSupervisor());
    EXPECT_EQ(own.getMembers(), (std::vector<Addon*>{member.get()}));
}

TEST_F(SupervisorTest, QuitReplacesTheSupervisor) {
    TestAddon maker, member;
    maker.getSupervisor().addMember(member);
    addon = &maker;
    ProjectEvent quit(64);
    maker.publishExternalEvent(quit, false);
    EXPECT_TRUE(maker.ownsSupervisor());
    EXPECT_EQ(maker.getSupervisor().getMembers(), (std::vector<Addon*>{&maker}));
    EXPECT_FALSE(member.ownsSupervisor()) << "detached";
    EXPECT_NE(&member.getSupervisor(), &maker.getSupervisor());
    EXPECT_TRUE(member.ownsSupervisor()) << "then on its own";
}
