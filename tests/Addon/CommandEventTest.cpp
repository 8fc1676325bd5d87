#include "Addon/CommandSubscriber.h"
#include "Addon/Publisher.h"
#include "Library/LongParameter.h"
#include "Library/StringParameter.h"
#include "sim/AddOns.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

using namespace zelvane;

namespace {

constexpr UInt32 gsup = MakeGSType("GSUP");

class Answer : public CommandSubscriber {
public:
    using CommandSubscriber::CommandSubscriber;
    bool handleEvent(CommandEvent& event) override {
        *reinterpret_cast<Int32*>(event.getResult()) = Int32(event.getVersion());
        return true;
    }
};

GSHandle packed(const ParameterList& list, UInt32 command, Int32 version) {
    GSHandle handle = nullptr;
    EXPECT_TRUE(list.packParameter(handle, true, command, version));
    return handle;
}

} // namespace

TEST(CommandEventTest, CommandAndVersionComeFromTheParametersWhenZero) {
    ParameterList list;
    list.addParameter(new StringParameter("label", "", String("x")));
    GSHandle handle = packed(list, MakeGSType("ABCD"), 4);
    Int32 result = 0;

    CommandEvent fromParameters(0, 0, handle, reinterpret_cast<GSPtr>(&result), true);
    EXPECT_EQ(fromParameters.getSpec(), EventSpec(HostEvent::ID, CommandEvent::ID));
    EXPECT_EQ(fromParameters.getID(), 0);
    EXPECT_EQ(fromParameters.getCommand(), MakeGSType("ABCD"));
    EXPECT_EQ(fromParameters.getVersion(), 4u);
    EXPECT_TRUE(fromParameters.isSilent());
    EXPECT_EQ(fromParameters.size(), 3u);
    EXPECT_NE(fromParameters.getParameter(String("label")), nullptr);

    CommandEvent given(gsup, 2, handle, nullptr, false);
    EXPECT_EQ(given.getCommand(), gsup);
    EXPECT_EQ(given.getVersion(), 2u);
    ACAPI_Goodies(APIAny_FreeMDCLParameterListID, &handle);

    CommandEvent bare(0, 0, nullptr, nullptr, false);
    EXPECT_EQ(bare.getCommand(), Event::ID);
    EXPECT_EQ(bare.getVersion(), 1u);
    EXPECT_EQ(bare.size(), 0u);

    // A "command_id" that is not an integer is not taken.
    ParameterList textual;
    textual.addParameter(new StringParameter("command_id", "", String("GSUP")));
    handle = packed(textual, 0, 0);
    CommandEvent wrongKind(0, 0, handle, nullptr, false);
    EXPECT_EQ(wrongKind.getCommand(), Event::ID);
    ACAPI_Goodies(APIAny_FreeMDCLParameterListID, &handle);
}

TEST(CommandEventTest, SubscriberMatchesTheCommandNotTheVersion) {
    Answer answer(gsup, 1);
    Publisher publisher;
    publisher.addSubscriber(&answer);
    Int32 result = 0;
    CommandEvent otherVersion(gsup, 2, nullptr, reinterpret_cast<GSPtr>(&result), false);
    EXPECT_TRUE(publisher.publishEvent(otherVersion));
    EXPECT_EQ(result, 2);
    CommandEvent otherCommand(MakeGSType("XXXX"), 1, nullptr, reinterpret_cast<GSPtr>(&result), false);
    EXPECT_FALSE(publisher.publishEvent(otherCommand));
}

TEST(CommandEventTest, SubscriberRegistersAndInstallsTheHostCommand) {
    Answer answer(gsup, 1);
    Publisher publisher;
    publisher.addSubscriber(&answer);
    ASSERT_TRUE(publisher.registerInterface());
    ASSERT_TRUE(publisher.initialise());
    const sim::AddOn& table = sim::currentAddOn();
    ASSERT_EQ(table.services.size(), 1u);
    EXPECT_EQ(table.services[0].command, gsup);
    EXPECT_EQ(table.services[0].version, 1);
    EXPECT_EQ(table.services[0].handler, &CommandSubscriber::commandCallback);

    // Called through the host: answered 0; without the add-on object nothing is dispatched.
    Int32 result = -1;
    EXPECT_EQ(
        sim::callAddOnCommand(sim::defaultAddOn, gsup, 1, nullptr, reinterpret_cast<GSPtr>(&result), false),
        NoError);
    EXPECT_EQ(result, -1);

    Answer refused(MakeGSType("NOPE"), 1);
    sim::failCall("ACAPI_Register_SupportedService", APIERR_GENERAL);
    EXPECT_FALSE(refused.registerInterface());
    EXPECT_FALSE(refused.initialise()); // never registered
}
