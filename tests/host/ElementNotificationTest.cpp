#include "ACAPI/Elements.hpp"
#include "GSRoot/BM.hpp"
#include "sim/Elements.h"
#include "sim/Memory.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <string>

TEST(ElementNotificationTest, ParentElementWithUserData) {
    API_Element element;
    EXPECT_EQ(ACAPI_Notify_GetParentElement(&element, nullptr, 0, nullptr), APIERR_GENERAL);

    API_Element parent;
    parent.header.typeID = API_WallID;
    parent.header.guid.Generate();
    sim::setNotifiedParent(parent, {'u', 'd'}, 3, 19789);
    API_ElementUserData userData;
    ASSERT_EQ(ACAPI_Notify_GetParentElement(&element, nullptr, 0, &userData), NoError);
    EXPECT_EQ(element.header.guid, parent.header.guid);
    ASSERT_NE(userData.dataHdl, nullptr);
    EXPECT_EQ(std::string(*userData.dataHdl, BMGetHandleSize(userData.dataHdl)), "ud");
    EXPECT_EQ(userData.dataVersion, 3);
    BMKillHandle(&userData.dataHdl);

    sim::failNextAllocations(1);
    EXPECT_EQ(ACAPI_Notify_GetParentElement(&element, nullptr, 0, &userData), APIERR_MEMFULL);
    EXPECT_EQ(ACAPI_Notify_GetParentElement(&element, nullptr, 1, nullptr), APIERR_BADPARS);
    EXPECT_EQ(ACAPI_Notify_GetParentElement(nullptr, nullptr, 0, nullptr), APIERR_BADPARS);

    sim::setNotifiedParent(parent, {}, 0, 0, true);
    EXPECT_EQ(ACAPI_Notify_GetParentElement(&element, nullptr, 0, &userData), APIERR_NOTMINE);
    EXPECT_EQ(userData.dataHdl, nullptr);
    sim::clearNotifiedParent();
    EXPECT_EQ(ACAPI_Notify_GetParentElement(&element, nullptr, 0, nullptr), APIERR_GENERAL);
}
