#include "Library/ParameterList.h"
#include "Library/LongParameter.h"
#include "Library/RealParameter.h"
#include "Library/StringParameter.h"
#include "sim/Memory.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>

using namespace zelvane;

namespace {

ParameterList threeParameters() {
    ParameterList list;
    list.addParameter(new LongParameter("count", "", 12));
    list.addParameter(new RealParameter("width", "", 0.9));
    list.addParameter(new StringParameter("ZZYZX", "", String("tall")));
    return list;
}

std::string nameAt(const ParameterList& list, std::size_t i) {
    return list.getParameter(i)->getName().data();
}

} // namespace

TEST(ParameterListTest, LookupPositionsAndOwnership) {
    ParameterList list = threeParameters();
    EXPECT_EQ(list.size(), 3u);
    EXPECT_EQ(list.getParameterIndex("zzyzx"), 2u);
    EXPECT_EQ(list.getParameterIndex("depth"), ParameterList::npos);
    EXPECT_EQ(ParameterList().getParameterIndex("a"), ParameterList::npos);
    EXPECT_EQ(list.getParameter(String("WIDTH")), list.getParameter(1));
    EXPECT_EQ(list.getParameterIndex("widt"), ParameterList::npos);
    EXPECT_EQ(list.getParameterIndex("widths"), ParameterList::npos);
    list.addParameter(new RealParameter("H\xc3\xb6he", "", 2.1)); // not ASCII: "Hoehe" with an umlaut
    EXPECT_EQ(list.getParameterIndex("H\xc3\x96HE"), 3u);
    EXPECT_EQ(list.getParameterIndex("hohe"), ParameterList::npos);
    list.deleteParameter(3);
    EXPECT_EQ(list.getParameter(3), nullptr);
    EXPECT_THROW(list[3], std::out_of_range);

    list.insertParameter(new LongParameter("first", "", 1), 0);
    list.setParameter(new LongParameter("second", "", 2), 1);
    list.insertParameter(new LongParameter("last", "", 3), 99);
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(nameAt(list, 0), "first");
    EXPECT_EQ(nameAt(list, 1), "second");
    EXPECT_EQ(nameAt(list, 4), "last");
    list.deleteParameter(0);
    list.deleteParameter(40);
    EXPECT_EQ(nameAt(list, 0), "second");

    ParameterList copy(list);
    ASSERT_EQ(copy.size(), list.size());
    EXPECT_NE(copy.getParameter(0), list.getParameter(0));
    EXPECT_TRUE(*copy.getParameter(0) == *list.getParameter(0));

    list.setDefault();
    EXPECT_EQ(static_cast<LongParameter*>(list.getParameter(0))->getValue(), 0);
    EXPECT_EQ(list.size(), 4u);
    list.deleteAllParameters();
    EXPECT_EQ(list.size(), 0u);
    EXPECT_EQ(copy.size(), 4u);
}

TEST(ParameterListTest, CommandHandleRoundTripAddsCommandAndVersion) {
    ParameterList list = threeParameters();
    GSHandle handle = nullptr;
    ASSERT_TRUE(list.packParameter(handle, true, 42, 3));
    Int32 count = 0;
    ASSERT_EQ(ACAPI_Goodies(APIAny_GetMDCLParameterNumID, handle, &count), NoError);
    EXPECT_EQ(count, 5);
    API_MDCLParameter record;
    record.index = 4;
    ASSERT_EQ(ACAPI_Goodies(APIAny_GetMDCLParameterID, handle, &record), NoError);
    EXPECT_STREQ(record.name, "command_id");
    EXPECT_EQ(record.int_par, 42);
    record.index = 5;
    ASSERT_EQ(ACAPI_Goodies(APIAny_GetMDCLParameterID, handle, &record), NoError);
    EXPECT_STREQ(record.name, "command_version");
    EXPECT_EQ(record.int_par, 3);

    // Unpacking gives the records in reverse index order.
    ParameterList back;
    ASSERT_TRUE(back.unpackParameter(handle));
    ASSERT_EQ(back.size(), 5u);
    EXPECT_EQ(nameAt(back, 0), "command_version");
    EXPECT_EQ(nameAt(back, 4), "count");
    EXPECT_TRUE(*back.getParameter(4) == *list.getParameter(0));
    EXPECT_TRUE(*back.getParameter(3) == *list.getParameter(1));
    EXPECT_TRUE(*back.getParameter(2) == *list.getParameter(2));
    ACAPI_Goodies(APIAny_FreeMDCLParameterListID, &handle);

    ASSERT_TRUE(list.packParameter(handle, true, 0, 3));
    ASSERT_EQ(ACAPI_Goodies(APIAny_GetMDCLParameterNumID, handle, &count), NoError);
    EXPECT_EQ(count, 3);
    ACAPI_Goodies(APIAny_FreeMDCLParameterListID, &handle);

    EXPECT_TRUE(back.unpackParameter(GSHandle(nullptr)));
    EXPECT_EQ(back.size(), 0u);
}

TEST(ParameterListTest, HostFailuresLeaveNothingBehind) {
    ParameterList list = threeParameters();
    GSHandle handle = nullptr;
    sim::failCall("ACAPI_Goodies", APIERR_GENERAL, 1, 2); // the init and the first add pass
    EXPECT_FALSE(list.packParameter(handle, true, 7, 1));
    EXPECT_EQ(handle, nullptr);

    sim::failNextAllocations(1); // the list itself
    EXPECT_FALSE(list.packParameter(handle, true, 0, 0));
    EXPECT_EQ(handle, nullptr);
    sim::failNextAllocations(1, ErrMemoryFull);
    ASSERT_EQ(ACAPI_Goodies(APIAny_InitMDCLParameterListID, &handle), APIERR_MEMFULL);
    ASSERT_EQ(ACAPI_Goodies(APIAny_InitMDCLParameterListID, &handle), NoError);
    sim::failNextAllocations(1); // the copy of the first name
    EXPECT_THROW(list.packParameter(handle, false, 0, 0), std::bad_alloc);
    EXPECT_EQ(handle, nullptr);

    ASSERT_TRUE(list.packParameter(handle, true, 0, 0));
    ParameterList back;
    back.addParameter(new LongParameter("stale", "", 1));
    sim::failCall("ACAPI_Goodies", APIERR_GENERAL); // the count
    EXPECT_FALSE(back.unpackParameter(handle));
    EXPECT_EQ(back.size(), 0u);
    sim::failCall("ACAPI_Goodies", APIERR_GENERAL, 1, 1); // one record cannot be read: skipped
    EXPECT_TRUE(back.unpackParameter(handle));
    EXPECT_EQ(back.size(), 2u);

    // A record of a kind no parameter holds empties the list.
    API_MDCLParameter pointer;
    pointer.name = "where";
    pointer.type = MDCLPar_pointer;
    ASSERT_EQ(ACAPI_Goodies(APIAny_AddMDCLParameterID, handle, &pointer), NoError);
    EXPECT_FALSE(back.unpackParameter(handle));
    EXPECT_EQ(back.size(), 0u);
    ACAPI_Goodies(APIAny_FreeMDCLParameterListID, &handle);
}

TEST(ParameterListTest, HandleClaimingMoreRecordsThanItHoldsFailsAtOnce) {
    GSHandle handle = nullptr;
    ASSERT_TRUE(threeParameters().packParameter(handle, true, 0, 0));
    // The host keeps the record count right after the list's tag.
    Int32 claimed = 0x7FFFFFFF;
    std::memcpy(*handle + sizeof(UInt32), &claimed, sizeof claimed);
    ParameterList back;
    back.addParameter(new LongParameter("stale", "", 1));
    sim::clearCalls();
    EXPECT_FALSE(back.unpackParameter(handle));
    EXPECT_EQ(back.size(), 0u);
    EXPECT_LE(sim::callCount("ACAPI_Goodies"), 1u);
    ACAPI_Goodies(APIAny_FreeMDCLParameterListID, &handle);
}

TEST(ParameterListTest, CopyFromTakesValuesByExactNameTheFirstOfTwinsWinning) {
    ParameterList source;
    source.addParameter(new RealParameter("width", "", 0.5));
    source.addParameter(new LongParameter("Count", "", 40)); // another name: letter case counts
    source.addParameter(new RealParameter("width", "", 0.7));
    source.addParameter(new StringParameter("ZZYZX", "", String("low")));
    source.addParameter(new LongParameter("absent", "", 1));

    ParameterList list = threeParameters();
    list.copyFrom(source, true, true, true); // sizes skipped
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list.getParameter(0)->getValueText(), "12");
    EXPECT_EQ(list.getParameter(1)->getValueText(), RealParameter("", "", 0.5).getValueText());
    EXPECT_EQ(list.getParameter(2)->getValueText(), "tall");

    list.copyFrom(source, false, true, true);
    EXPECT_EQ(list.getParameter(2)->getValueText(), "low");
    list.copyFrom(ParameterList(), false, true, true);
    EXPECT_EQ(list.getParameter(2)->getValueText(), "low");
}
