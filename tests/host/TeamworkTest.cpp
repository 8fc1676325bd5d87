#include "ACAPI/Teamwork.hpp"
#include "ACAPI/ProjectInfo.hpp"
#include "sim/Project.h"
#include "sim/Sim.h"
#include "sim/Teamwork.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

GS::Guid guidOf(unsigned char) {
    GS::Guid guid;
    guid.Generate();
    return guid;
}

} // namespace

TEST(TeamworkTest, ReservationsGoToTheCurrentMemberUnlessAnotherHoldsThem) {
    sim::openProject();
    sim::setTeamwork(true, 3, {sim::TeamMember{"me", "Me", 3}, sim::TeamMember{"you", "You", 4}});
    const GS::Guid free = guidOf(1), mine = guidOf(2), theirs = guidOf(3);
    sim::setElementOwner(free, 0);
    sim::setElementOwner(mine, 3);
    sim::setElementOwner(theirs, 4);
    EXPECT_TRUE(ACAPI_TeamworkControl_IsOnline());

    std::vector<API_ReservationConflict> conflicts{API_ReservationConflict{free, 9}};
    EXPECT_EQ(ACAPI_TeamworkControl_ReserveElements({free, mine, theirs}, &conflicts), NoError);
    ASSERT_EQ(conflicts.size(), 1u) << "the old content is dropped";
    EXPECT_TRUE(conflicts[0].guid == theirs);
    EXPECT_EQ(conflicts[0].ownerId, 4);
    EXPECT_EQ(sim::elementOwner(free), 3);
    EXPECT_EQ(sim::elementOwner(mine), 3);
    EXPECT_EQ(sim::elementOwner(theirs), 4);

    EXPECT_EQ(ACAPI_TeamworkControl_ReleaseElements({free, theirs}), NoError);
    EXPECT_EQ(sim::elementOwner(free), 0);
    EXPECT_EQ(sim::elementOwner(mine), 3) << "not in the list";
    EXPECT_EQ(sim::elementOwner(theirs), 4) << "another's reservation is not released";

    // An element the project does not hold makes the whole reservation fail.
    GS::Guid unknown = guidOf(4);
    EXPECT_EQ(ACAPI_TeamworkControl_ReserveElements({free, unknown}, nullptr), APIERR_BADID);
    EXPECT_EQ(sim::elementOwner(free), 0);
}

// Each read follows one of the same GUID, which the host answers from the owner it found last.
TEST(TeamworkTest, AnOwnerReadAgainIsWhatBecameOfIt) {
    sim::openProject();
    sim::setTeamwork(true, 3, {sim::TeamMember{"me", "Me", 3}});
    const GS::Guid guid = guidOf(1);
    EXPECT_EQ(sim::elementOwner(guid), 0);
    EXPECT_FALSE(sim::isKnownToTeamwork(guid)) << "asked for, not made";
    sim::setElementOwner(guid, 0);
    EXPECT_TRUE(sim::isKnownToTeamwork(guid));
    EXPECT_EQ(ACAPI_TeamworkControl_ReserveElements({guid}, nullptr), NoError);
    EXPECT_EQ(sim::elementOwner(guid), 3) << "reserved";
    EXPECT_EQ(ACAPI_TeamworkControl_ReleaseElements({guid}), NoError);
    EXPECT_EQ(sim::elementOwner(guid), 0) << "released";
    sim::setElementOwner(guid, 3);
    ASSERT_EQ(sim::elementOwner(guid), 3);
    for (int i = 0; i < 2000; ++i) {
        sim::setElementOwner(guidOf(2), 4); // the table grows
    }
    EXPECT_EQ(sim::elementOwner(guid), 3) << "after the table grew";

    sim::clearProject();
    EXPECT_FALSE(sim::isKnownToTeamwork(guid)) << "after the project closed";
    EXPECT_EQ(sim::elementOwner(guid), 0);
}

TEST(TeamworkTest, ReservationsNeedAnOnlineSharedProject) {
    const GS::Guid element = guidOf(1);
    struct Case {
        const char* name;
        bool open;
        bool shared;
        bool online;
        const char* injected; // a failing host call, or null
        GSErrCode expected;
    };
    for (const Case& c :
         {Case{"no project", false, false, true, nullptr, APIERR_NOPLAN},
          Case{"not shared", true, false, true, nullptr, APIERR_GENERAL},
          Case{"offline", true, true, false, nullptr, APIERR_GENERAL},
          Case{"injected", true, true, true, "ACAPI_TeamworkControl_ReserveElements", APIERR_MEMFULL},
          Case{"online", true, true, true, nullptr, NoError}}) {
        sim::reset();
        if (c.open) {
            sim::openProject();
        }
        sim::setTeamwork(c.shared, 5);
        sim::setServerOnline(c.online);
        sim::setElementOwner(element, 0);
        if (c.injected != nullptr) {
            sim::failCall(c.injected, APIERR_MEMFULL);
        }
        EXPECT_EQ(ACAPI_TeamworkControl_IsOnline(), c.open && c.shared && c.online) << c.name;
        EXPECT_EQ(ACAPI_TeamworkControl_ReserveElements({element}, nullptr), c.expected) << c.name;
        EXPECT_EQ(sim::elementOwner(element), c.expected == NoError ? 5 : 0) << c.name;
        EXPECT_EQ(ACAPI_TeamworkControl_ReleaseElements({element}),
                  c.expected == APIERR_MEMFULL ? NoError : c.expected)
            << c.name;
        EXPECT_EQ(sim::elementOwner(element), 0) << c.name;
    }
}
