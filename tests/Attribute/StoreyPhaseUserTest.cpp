#include "Attribute/Phase.h"
#include "Attribute/Storey.h"
#include "Database/User.h"
#include "sim/Resources.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

using namespace zelvane;

TEST(StoreyPhaseUserTest, StoreyPositions) {
    struct Case {
        const char* name;
        double level;
        double height;
        double z;
        int expected;
    };
    const Case cases[] = {
        {"at the level", 3.0, 3.0, 3.0, Storey::atLevel},
        {"at the level of a flat storey", 3.0, 0.0, 3.0, Storey::atLevel},
        {"at the top", 3.0, 3.0, 6.0 + 1e-7, Storey::atTop},
        {"below", 3.0, 3.0, 2.9, Storey::below},
        {"above", 3.0, 3.0, 6.1, Storey::above},
        {"within", 3.0, 3.0, 4.5, Storey::within},
        {"within the tolerance under the level", 3.0, 3.0, 3.0 - 1e-7, Storey::atLevel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Storey storey(nullptr, String("S"), attribute_index(1), c.level, c.height);
        EXPECT_EQ(storey.positionOf(c.z, 1e-5), c.expected);
    }
    API_StoryType record;
    record.index = 2;
    record.level = 6.0;
    const char16_t name[] = u"Second";
    std::memcpy(record.uName, name, sizeof name);
    Storey second(record, 9.5);
    EXPECT_EQ(second.getName(), "Second");
    EXPECT_EQ(second.getHeight(), 3.5);
    EXPECT_EQ(second.getIndex(), 2);
    EXPECT_EQ(second.getData(), nullptr);
    EXPECT_TRUE(second == Storey(second.getDrawing(), String("other"), attribute_index(2), 0, 0));
}

TEST(StoreyPhaseUserTest, PhasesAreNamedFromTheirOwnList) {
    ASSERT_TRUE(sim::loadResources(std::filesystem::path(ZELVANE_RESOURCE_DIR) / "zelvane.json"));
    EXPECT_EQ(Phase::existing().getName(), "Existing");
    EXPECT_EQ(Phase::demolition().getName(), "Demolished");
    EXPECT_TRUE(Phase(attribute_index(0)).getName().empty());
    EXPECT_TRUE(Phase(attribute_index(26)).getName().empty());
    EXPECT_TRUE(Phase::proposed() == Phase(attribute_index(2)));
    EXPECT_TRUE(Phase::proposed() != Phase::existing());
}

TEST(StoreyPhaseUserTest, UsersFromTheHostRecord) {
    API_UserInfo record;
    record.guid.Generate();
    std::memset(record.loginName, 'a', sizeof record.loginName); // no terminator
    std::strcpy(record.fullName, "Ann Able");
    record.userId = 7;
    record.connected = true;
    User user(record);
    EXPECT_EQ(user.getName().size(), sizeof record.loginName);
    EXPECT_EQ(user.getText(), "Ann Able");
    EXPECT_EQ(user.getID(), 7);
    EXPECT_TRUE(user.isConnected());
    EXPECT_EQ(GS::Guid(user.getGuid()), record.guid);
    User plain(String("b"), 3);
    EXPECT_FALSE(plain.isConnected());
    EXPECT_FALSE(bool(plain.getGuid()));
}
