#include "ACAPI/CommandParameters.hpp"
#include "GSRoot/BM.hpp"
#include "sim/Memory.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

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

namespace {

// A list's bytes as the host keeps them: a header, then each record's fixed part and its texts.
struct RawRecord {
    std::string name;
    std::string text;
    bool nameEnds = true; // whether the text is written with its NUL
    bool textEnds = true;
};

GSHandle rawList(Int32 count, const std::vector<RawRecord>& records, GSSize cut = 0) {
    std::string bytes;
    auto put = [&bytes](const void* data, std::size_t size) {
        bytes.append(static_cast<const char*>(data), size);
    };
    UInt32 tag = MakeGSType("MDCL");
    put(&tag, sizeof tag);
    put(&count, sizeof count);
    for (const RawRecord& record : records) {
        Int32 fields[4] = {MDCLPar_string, 0, 0, 0};
        double real = 0;
        UInt64 pointer = 0;
        UInt32 sizes[2] = {UInt32(record.name.size() + (record.nameEnds ? 1 : 0)),
                           UInt32(record.text.size() + (record.textEnds ? 1 : 0))};
        put(fields, sizeof fields);
        put(&real, sizeof real);
        put(&pointer, sizeof pointer);
        put(sizes, sizeof sizes);
        bytes += record.name;
        if (record.nameEnds) {
            bytes += '\0';
        }
        bytes += record.text;
        if (record.textEnds) {
            bytes += '\0';
        }
    }
    bytes.resize(bytes.size() - std::size_t(cut));
    GSHandle handle = BMAllocateHandle(GSSize(bytes.size()), 0, 0);
    std::memcpy(*handle, bytes.data(), bytes.size());
    return handle;
}

} // namespace

TEST(CommandParametersTest, DamagedListsAreRefusedWithoutReadingPastThem) {
    const std::string longName(256, 'n');
    struct Case {
        const char* what;
        Int32 count;
        std::vector<RawRecord> records;
        GSSize cut;
        GSErrCode countAnswer;
        GSErrCode firstRecordAnswer;
    };
    const Case cases[] = {
        {"whole", 2, {{"a", "x"}, {"b", ""}}, 0, NoError, NoError},
        {"count beyond the bytes", 0x7FFFFFFF, {{"a", "x"}}, 0, APIERR_BADPARS, APIERR_BADPARS},
        {"count one too many", 3, {{"a", "x"}, {"b", ""}}, 0, APIERR_BADPARS, APIERR_BADPARS},
        {"negative count", -1, {}, 0, APIERR_BADPARS, APIERR_BADPARS},
        {"name without its NUL", 1, {{"name", "", false}}, 0, NoError, APIERR_BADPARS},
        {"text without its NUL", 1, {{"a", "xyz", true, false}}, 0, NoError, APIERR_BADPARS},
        {"empty name", 1, {{"", "x"}}, 0, NoError, APIERR_BADPARS},
        {"name over 255 bytes", 1, {{longName, "x"}}, 0, NoError, APIERR_BADPARS},
        {"text cut before its NUL", 1, {{"a", "xyz"}, {"b", "pad"}}, 47, NoError, APIERR_BADPARS},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GSHandle list = rawList(c.count, c.records, c.cut);
        Int32 count = -5;
        EXPECT_EQ(ACAPI_Goodies(APIAny_GetMDCLParameterNumID, list, &count), c.countAnswer);
        if (c.countAnswer == NoError) {
            EXPECT_EQ(count, c.count);
        }
        API_MDCLParameter got;
        got.index = 1;
        EXPECT_EQ(ACAPI_Goodies(APIAny_GetMDCLParameterID, list, &got), c.firstRecordAnswer);
        if (c.firstRecordAnswer == NoError) {
            EXPECT_STREQ(got.name, c.records[0].name.c_str());
            EXPECT_STREQ(got.string_par, c.records[0].text.c_str());
        }
        BMKillHandle(&list);
    }
}
