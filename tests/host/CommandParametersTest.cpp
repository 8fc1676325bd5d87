#include "ACAPI/CommandParameters.hpp"
#include "GSRoot/BM.hpp"
#include "sim/Memory.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(CommandParametersTest, RecordsKeepTheirOrderTypesAndTexts) {
    GSHandle list = nullptr;
    ASSERT_EQ(ACAPI_Goodies(APIAny_InitMDCLParameterListID, &list), NoError);
    ASSERT_NE(list, nullptr);

    API_MDCLParameter par;
    par.name = "command_id";
    par.type = MDCLPar_int;
    par.int_par = 42;
    ASSERT_EQ(ACAPI_Goodies(APIAny_AddMDCLParameterID, list, &par), NoError);
    par = API_MDCLParameter();
    par.name = "label";
    par.type = MDCLPar_string;
    par.string_par = "wall \xC3\xA9";
    par.modified = 1;
    ASSERT_EQ(ACAPI_Goodies(APIAny_AddMDCLParameterID, list, &par), NoError);
    par = API_MDCLParameter();
    par.name = "size";
    par.type = MDCLPar_float;
    par.float_par = -2.5;
    ASSERT_EQ(ACAPI_Goodies(APIAny_AddMDCLParameterID, list, &par), NoError);

    Int32 count = 0;
    ASSERT_EQ(ACAPI_Goodies(APIAny_GetMDCLParameterNumID, list, &count), NoError);
    EXPECT_EQ(count, 3);

    API_MDCLParameter got;
    got.index = 2;
    ASSERT_EQ(ACAPI_Goodies(APIAny_GetMDCLParameterID, list, &got), NoError);
    EXPECT_STREQ(got.name, "label");
    EXPECT_EQ(got.type, MDCLPar_string);
    EXPECT_STREQ(got.string_par, "wall \xC3\xA9");
    EXPECT_EQ(got.modified, 1);
    got = API_MDCLParameter();
    got.index = 3;
    ASSERT_EQ(ACAPI_Goodies(APIAny_GetMDCLParameterID, list, &got), NoError);
    EXPECT_EQ(got.float_par, -2.5);
    got.index = 1;
    ASSERT_EQ(ACAPI_Goodies(APIAny_GetMDCLParameterID, list, &got), NoError);
    EXPECT_EQ(got.int_par, 42);
    got.index = 4;
    EXPECT_EQ(ACAPI_Goodies(APIAny_GetMDCLParameterID, list, &got), APIERR_BADINDEX);
    got.index = 0;
    EXPECT_EQ(ACAPI_Goodies(APIAny_GetMDCLParameterID, list, &got), APIERR_BADINDEX);

    ASSERT_EQ(ACAPI_Goodies(APIAny_FreeMDCLParameterListID, &list), NoError);
    EXPECT_EQ(list, nullptr);
}

TEST(CommandParametersTest, BadListsAndFailuresAreRefused) {
    EXPECT_EQ(ACAPI_Goodies(MakeGSType("????")), APIERR_BADID);

    // A handle that is not a parameter list.
    GSHandle junk = BMAllocateHandle(3, ALLOCATE_CLEAR, 0);
    Int32 count = 0;
    EXPECT_EQ(ACAPI_Goodies(APIAny_GetMDCLParameterNumID, junk, &count), APIERR_BADPARS);
    BMKillHandle(&junk);

    GSHandle list = nullptr;
    sim::failNextAllocations(1);
    EXPECT_EQ(ACAPI_Goodies(APIAny_InitMDCLParameterListID, &list), APIERR_MEMFULL);
    EXPECT_EQ(list, nullptr);
    ASSERT_EQ(ACAPI_Goodies(APIAny_InitMDCLParameterListID, &list), NoError);

    API_MDCLParameter par;
    par.type = MDCLPar_int;
    EXPECT_EQ(ACAPI_Goodies(APIAny_AddMDCLParameterID, list, &par), APIERR_BADNAME);
    par.name = "n";
    sim::failNextAllocations(1);
    EXPECT_EQ(ACAPI_Goodies(APIAny_AddMDCLParameterID, list, &par), APIERR_MEMFULL);
    ASSERT_EQ(ACAPI_Goodies(APIAny_GetMDCLParameterNumID, list, &count), NoError);
    EXPECT_EQ(count, 0);

    // A list cut short after its header claims a record.
    ASSERT_EQ(ACAPI_Goodies(APIAny_AddMDCLParameterID, list, &par), NoError);
    ASSERT_NE(BMReallocHandle(list, BMGetHandleSize(list) - 2, 0, 0), nullptr);
    API_MDCLParameter got;
    got.index = 1;
    EXPECT_EQ(ACAPI_Goodies(APIAny_GetMDCLParameterID, list, &got), APIERR_BADPARS);

    sim::failCall("ACAPI_Goodies", APIERR_GENERAL);
    EXPECT_EQ(ACAPI_Goodies(APIAny_GetMDCLParameterNumID, list, &count), APIERR_GENERAL);
    ASSERT_EQ(ACAPI_Goodies(APIAny_FreeMDCLParameterListID, &list), NoError);
}
