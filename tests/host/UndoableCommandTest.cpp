#include "ACAPI/Output.hpp"
#include "sim/Output.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

TEST(UndoableCommandTest, StepsKeepTheirWholeNameAndAnswer) {
    const std::string longName = std::string(300, 'x') + " \xC3\xBC\xE2\x82\xAC";
    struct Case {
        std::string name;
        GSErrCode answer;
    };
    for (const Case& c :
         {Case{"Remap", NoError}, Case{longName, NoError}, Case{"Refused by the add-on", APIERR_CANCEL}}) {
        sim::reset();
        int runs = 0;
        EXPECT_EQ(ACAPI_CallUndoableCommand(GS::UniString(c.name.c_str()),
                                            [&] {
                                                ++runs;
                                                EXPECT_TRUE(sim::isUndoableCommandRunning());
                                                return c.answer;
                                            }),
                  c.answer);
        EXPECT_EQ(runs, 1);
        EXPECT_FALSE(sim::isUndoableCommandRunning());
        ASSERT_EQ(sim::undoSteps().size(), 1u);
        EXPECT_EQ(sim::undoSteps()[0].name, c.name);
        EXPECT_EQ(sim::undoSteps()[0].result, c.answer);
        EXPECT_FALSE(sim::undoSteps()[0].unwound);
    }
}

TEST(UndoableCommandTest, ACallWhileOneRunsIsRefused) {
    int innerRuns = 0;
    GSErrCode inner = NoError;
    EXPECT_EQ(ACAPI_CallUndoableCommand("Outer",
                                        [&] {
                                            inner = ACAPI_CallUndoableCommand("Inner", [&] {
                                                ++innerRuns;
                                                return NoError;
                                            });
                                            return NoError;
                                        }),
              NoError);
    EXPECT_EQ(inner, APIERR_REFUSEDCMD);
    EXPECT_EQ(innerRuns, 0);
    ASSERT_EQ(sim::undoSteps().size(), 2u);
    EXPECT_EQ(sim::undoSteps()[0].name, "Inner");
    EXPECT_EQ(sim::undoSteps()[0].result, APIERR_REFUSEDCMD);
    EXPECT_EQ(sim::undoSteps()[1].name, "Outer");
    EXPECT_EQ(sim::undoSteps()[1].result, NoError);
}

TEST(UndoableCommandTest, AnExceptionThroughTheHostIsRecordedAndEndsTheCommand) {
    EXPECT_THROW(ACAPI_CallUndoableCommand("Thrown", []() -> GSErrCode { throw std::runtime_error("run"); }),
                 std::runtime_error);
    EXPECT_FALSE(sim::isUndoableCommandRunning());
    ASSERT_EQ(sim::undoSteps().size(), 1u);
    EXPECT_TRUE(sim::undoSteps()[0].unwound);
    // The host takes the next command again.
    EXPECT_EQ(ACAPI_CallUndoableCommand("Next", [] { return NoError; }), NoError);

    EXPECT_EQ(ACAPI_CallUndoableCommand("Nothing", std::function<GSErrCode()>()), APIERR_BADPARS);
    sim::failCall("ACAPI_CallUndoableCommand", APIERR_MEMFULL);
    int runs = 0;
    EXPECT_EQ(ACAPI_CallUndoableCommand("Injected",
                                        [&] {
                                            ++runs;
                                            return NoError;
                                        }),
              APIERR_MEMFULL);
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(sim::undoSteps().back().result, APIERR_MEMFULL);
}
