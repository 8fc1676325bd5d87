#include "ACAPI/ModuleData.hpp"
#include "GSRoot/BM.hpp"
#include "sim/AddOns.h"
#include "sim/Memory.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

GSErrCode store(const std::string& bytes, Int32 version, UInt16 sign, const char* name = "") {
    API_ModulData info;
    info.dataVersion = version;
    info.platformSign = sign;
    info.dataHdl = BMAllocateHandle(GSSize(bytes.size()), 0, 0);
    std::memcpy(*info.dataHdl, bytes.data(), bytes.size());
    GSErrCode err = ACAPI_ModulData_Store(&info, name);
    BMKillHandle(&info.dataHdl);
    return err;
}

} // namespace

TEST(ModuleDataTest, StoredBytesComeBackExactlyPerAddOnAndName) {
    std::string bytes("<a>1</a>\0<b/>", 13);
    ASSERT_EQ(store(bytes, 1, 19789), NoError);
    ASSERT_EQ(store("other", 2, 17261, "second"), NoError);

    API_ModulData info;
    ASSERT_EQ(ACAPI_ModulData_GetInfo(&info, ""), NoError);
    EXPECT_EQ(info.dataVersion, 1);
    EXPECT_EQ(info.platformSign, 19789);
    EXPECT_EQ(info.dataHdl, nullptr);

    ASSERT_EQ(ACAPI_ModulData_Get(&info, ""), NoError);
    ASSERT_NE(info.dataHdl, nullptr);
    EXPECT_EQ(std::string(*info.dataHdl, BMGetHandleSize(info.dataHdl)), bytes);
    BMKillHandle(&info.dataHdl);

    ASSERT_EQ(ACAPI_ModulData_Get(&info, "second"), NoError);
    EXPECT_EQ(info.platformSign, 17261);
    EXPECT_EQ(std::string(*info.dataHdl, BMGetHandleSize(info.dataHdl)), "other");
    BMKillHandle(&info.dataHdl);

    // Another add-on sees none of it.
    sim::setCurrentAddOn(sim::AddOnID{2, 2});
    EXPECT_EQ(ACAPI_ModulData_GetInfo(&info, ""), APIERR_NOMODULEDATA);
    sim::setCurrentAddOn(sim::defaultAddOn);

    ASSERT_EQ(ACAPI_ModulData_Delete("second"), NoError);
    EXPECT_EQ(ACAPI_ModulData_Delete("second"), APIERR_NOMODULEDATA);
    EXPECT_EQ(ACAPI_ModulData_Get(&info, "second"), APIERR_NOMODULEDATA);
}

TEST(ModuleDataTest, InjectedFaultsLoseNothing) {
    ASSERT_EQ(store("kept", 1, 19789), NoError);

    sim::failCall("ACAPI_ModulData_Store", APIERR_GENERAL);
    EXPECT_EQ(store("lost", 3, 19789), APIERR_GENERAL);

    API_ModulData info;
    sim::failCall("ACAPI_ModulData_GetInfo", APIERR_GENERAL);
    EXPECT_EQ(ACAPI_ModulData_GetInfo(&info, ""), APIERR_GENERAL);
    sim::failCall("ACAPI_ModulData_Get", APIERR_GENERAL);
    EXPECT_EQ(ACAPI_ModulData_Get(&info, ""), APIERR_GENERAL);
    sim::failNextAllocations(1);
    EXPECT_EQ(ACAPI_ModulData_Get(&info, ""), APIERR_MEMFULL);

    ASSERT_EQ(ACAPI_ModulData_Get(&info, ""), NoError);
    EXPECT_EQ(info.dataVersion, 1);
    EXPECT_EQ(std::string(*info.dataHdl, BMGetHandleSize(info.dataHdl)), "kept");
    BMKillHandle(&info.dataHdl);

    EXPECT_EQ(ACAPI_ModulData_Store(nullptr, ""), APIERR_BADPARS);
    API_ModulData empty;
    EXPECT_EQ(ACAPI_ModulData_Store(&empty, ""), APIERR_BADPARS);
}
