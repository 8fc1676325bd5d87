#include "ACAPI/Preferences.hpp"
#include "DG/DGUnitFormat.hpp"
#include "sim/Sim.h"
#include "sim/Units.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

namespace {

std::string format(double value, Int16 kind) {
    char buffer[128];
    EXPECT_EQ(DGDoubleToStringUnit(value, kind, buffer, sizeof buffer), NoError) << value;
    return buffer;
}

void setUnits(Int32 length, Int32 area = API_SqMeter, Int32 volume = API_CuMeter, Int32 angle = 0) {
    sim::UnitPreferences units;
    units.length = length;
    units.area = area;
    units.volume = volume;
    units.angle = angle;
    sim::setUnitPreferences(units);
}

} // namespace

TEST(UnitFormatTest, WritesInTheWorkingUnit) {
    EXPECT_EQ(format(1.5, DG_UNIT_LENGTH), "1.5 m");
    EXPECT_EQ(format(0.1, DG_UNIT_REAL), "0.1");
    EXPECT_EQ(format(-42, DG_UNIT_INTEGER), "-42");
    EXPECT_EQ(format(1e9, DG_UNIT_INTEGER), "1000000000");
    EXPECT_EQ(format(45, DG_UNIT_ANGLE), "45\xC2\xB0");
    EXPECT_EQ(format(2, DG_UNIT_AREA), "2 m\xC2\xB2");
    setUnits(API_Millimeter, API_SqCentimeter, API_CuCentimeter, API_Grad);
    EXPECT_EQ(format(1.5, DG_UNIT_LENGTH), "1500 mm");
    EXPECT_EQ(format(0.5, DG_UNIT_AREA), "5000 cm\xC2\xB2");
    EXPECT_EQ(format(0.001, DG_UNIT_VOLUME), "1000 cm\xC2\xB3");
    EXPECT_EQ(format(90, DG_UNIT_ANGLE), "100 gr");
    setUnits(API_DecFoot, API_SqFoot, API_CuYard);
    EXPECT_EQ(format(0.3048, DG_UNIT_LENGTH), "1'");
    EXPECT_EQ(format(2, DG_UNIT_LENGTH).back(), '\'');
    EXPECT_EQ(format(1.11483648, DG_UNIT_AREA), "12 sq ft");
    setUnits(API_DecInch);
    EXPECT_EQ(format(-0.0762, DG_UNIT_LENGTH), "-3\"");

    char buffer[128];
    EXPECT_EQ(DGIntToStringUnit(12, DG_UNIT_INTEGER, buffer, sizeof buffer), NoError);
    EXPECT_STREQ(buffer, "12");
    EXPECT_EQ(DGIntToStringUnit(2, DG_UNIT_LENGTH, buffer, sizeof buffer), NoError);
    double back = 0;
    EXPECT_EQ(DGStringToDoubleUnit(buffer, DG_UNIT_LENGTH, &back), NoError);
    EXPECT_EQ(back, 2.0);
}

TEST(UnitFormatTest, ReadsEveryUnitOfAKind) {
    struct Case {
        const char* text;
        Int16 kind;
        double expected;
    } cases[] = {
        {"  2.5  ", DG_UNIT_LENGTH, 2.5},
        {"250cm", DG_UNIT_LENGTH, 2.5},
        {"2500 mm", DG_UNIT_LENGTH, 2.5},
        {"+1 ft", DG_UNIT_LENGTH, 0.3048},
        {"3'-4\"", DG_UNIT_LENGTH, 1.016},
        {"-3' 4\"", DG_UNIT_LENGTH, -1.016},
        {"10 in", DG_UNIT_LENGTH, 0.254},
        {"1e-3 m", DG_UNIT_LENGTH, 0.001},
        {"4 m2", DG_UNIT_AREA, 4},
        {"1 sq ft", DG_UNIT_AREA, 0.09290304},
        {"1 ft\xC2\xB2", DG_UNIT_AREA, 0.09290304},
        {"3 m3", DG_UNIT_VOLUME, 3},
        {"1 gal", DG_UNIT_VOLUME, 0.003785411784},
        {"1 cu yd", DG_UNIT_VOLUME, 0.764554857984},
        {"200 gr", DG_UNIT_ANGLE, 180},
        {".5", DG_UNIT_REAL, 0.5},
        {"-7", DG_UNIT_INTEGER, -7},
        {"-2147483648", DG_UNIT_INTEGER, -2147483648.0},
    };
    for (const Case& c : cases) {
        double value = -1;
        EXPECT_EQ(DGStringToDoubleUnit(c.text, c.kind, &value), NoError) << c.text;
        EXPECT_DOUBLE_EQ(value, c.expected) << c.text;
    }
}

TEST(UnitFormatTest, RejectsMalformedText) {
    struct Case {
        const char* text;
        Int16 kind;
    } cases[] = {
        {"", DG_UNIT_LENGTH},
        {"m", DG_UNIT_LENGTH},
        {"1 kg", DG_UNIT_LENGTH},
        {"1 m m", DG_UNIT_LENGTH},
        {"1 m2", DG_UNIT_LENGTH},
        {"1 inch", DG_UNIT_LENGTH},
        {"3'-4 cm", DG_UNIT_LENGTH},
        {"inf", DG_UNIT_REAL},
        {"nan", DG_UNIT_REAL},
        {"1e999", DG_UNIT_REAL},
        {"1e999 m", DG_UNIT_LENGTH},
        {"1e99999 ft", DG_UNIT_LENGTH},
        {"--1", DG_UNIT_REAL},
        {"1 m", DG_UNIT_REAL},
        {"1.5", DG_UNIT_INTEGER},
        {"2147483648", DG_UNIT_INTEGER},
        {"1", 99},
        {"0x10", DG_UNIT_REAL},
        {"1,5", DG_UNIT_REAL},
    };
    for (const Case& c : cases) {
        double value = 123;
        EXPECT_EQ(DGStringToDoubleUnit(c.text, c.kind, &value), ErrParam) << c.text;
        EXPECT_EQ(value, 123) << c.text;
    }
    char buffer[4] = "xyz";
    EXPECT_EQ(DGDoubleToStringUnit(1.5, DG_UNIT_LENGTH, buffer, sizeof buffer), ErrParam) << "too small";
    EXPECT_STREQ(buffer, "");
    char big[64];
    EXPECT_EQ(DGDoubleToStringUnit(0.0 / 0.0, DG_UNIT_REAL, big, sizeof big), ErrParam);
    EXPECT_EQ(DGDoubleToStringUnit(1, 2, big, sizeof big), ErrParam);
    EXPECT_EQ(DGDoubleToStringUnit(0.5, DG_UNIT_INTEGER, big, sizeof big), ErrParam);
}

// Whatever the working units, text the formatter writes reads back to exactly the same value.
TEST(UnitFormatTest, WrittenTextReadsBackExactly) {
    std::mt19937_64 random(2026);
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-12, 12);
    const Int32 lengths[] = {API_Meter, API_Centimeter, API_Millimeter, API_FootFracInch, API_DecInch};
    const Int32 areas[] = {API_SqMeter, API_SqCentimeter, API_SqMillimeter, API_SqInch, API_SqFoot};
    const Int32 volumes[] = {API_CuMeter, API_CuCentimeter, API_CuMillimeter, API_CuFoot,
                             API_CuInch,  API_CuYard,       API_Gallon};
    const Int16 kinds[] = {DG_UNIT_REAL, DG_UNIT_ANGLE, DG_UNIT_AREA, DG_UNIT_LENGTH, DG_UNIT_VOLUME};
    for (int round = 0; round < 7; ++round) {
        setUnits(lengths[round % 5], areas[round % 5], volumes[round], round % 3);
        for (int i = 0; i < 300; ++i) {
            double value = mantissa(random) * std::pow(10.0, exponent(random));
            for (Int16 kind : kinds) {
                std::string text = format(value, kind);
                double back = 0;
                ASSERT_EQ(DGStringToDoubleUnit(text.c_str(), kind, &back), NoError) << text;
                ASSERT_EQ(back, value) << text << " kind " << kind;
                if (kind == DG_UNIT_LENGTH && lengths[round % 5] >= API_FootFracInch) {
                    ASSERT_TRUE(text.back() == '\'' || text.back() == '"') << text << ": in the working unit";
                }
            }
        }
    }
}

TEST(UnitFormatTest, PreferencesThroughTheEnvironment) {
    setUnits(API_FootDecInch, API_SqInch, API_Gallon, API_Radian);
    API_WorkingUnitPrefs working{-1, -1};
    ASSERT_EQ(ACAPI_Environment(APIEnv_GetPreferencesID, &working,
                                reinterpret_cast<void*>(std::intptr_t(APIPrefs_WorkingUnitsID))),
              NoError);
    EXPECT_EQ(working.lengthUnit, API_FootDecInch);
    EXPECT_EQ(working.angleUnit, API_Radian);
    API_AreaUnitPrefs area{-1};
    ASSERT_EQ(ACAPI_Environment(APIEnv_GetPreferencesID, &area,
                                reinterpret_cast<void*>(std::intptr_t(APIPrefs_AreaUnitsID))),
              NoError);
    EXPECT_EQ(area.areaUnit, API_SqInch);
    API_VolumeUnitPrefs volume{-1};
    ASSERT_EQ(ACAPI_Environment(APIEnv_GetPreferencesID, &volume,
                                reinterpret_cast<void*>(std::intptr_t(APIPrefs_VolumeUnitsID))),
              NoError);
    EXPECT_EQ(volume.volumeUnit, API_Gallon);

    EXPECT_EQ(ACAPI_Environment(APIEnv_GetPreferencesID, &volume, reinterpret_cast<void*>(std::intptr_t(1))),
              APIERR_BADPARS);
    EXPECT_EQ(ACAPI_Environment(APIEnv_GetPreferencesID, nullptr, nullptr), APIERR_BADPARS);
    EXPECT_EQ(ACAPI_Environment(MakeGSType("????"), &volume), APIERR_BADID);

    sim::failCall("ACAPI_Environment:GPRF", ErrIO);
    EXPECT_EQ(ACAPI_Environment(APIEnv_GetPreferencesID, &area,
                                reinterpret_cast<void*>(std::intptr_t(APIPrefs_AreaUnitsID))),
              ErrIO);
    // A request's own fault waits for its code, through calls of other codes and past the calls
    // it skips.
    sim::failCall("ACAPI_Environment:GPRF", ErrIO, 1, 1);
    EXPECT_EQ(ACAPI_Environment(MakeGSType("????"), &volume), APIERR_BADID);
    void* areaUnits = reinterpret_cast<void*>(std::intptr_t(APIPrefs_AreaUnitsID));
    EXPECT_EQ(ACAPI_Environment(APIEnv_GetPreferencesID, &area, areaUnits), NoError);
    EXPECT_EQ(ACAPI_Environment(APIEnv_GetPreferencesID, &area, areaUnits), ErrIO);
    EXPECT_EQ(ACAPI_Environment(APIEnv_GetPreferencesID, &area, areaUnits), NoError);
    EXPECT_EQ(sim::callCount("ACAPI_Environment"), 11u);
}

TEST(UnitFormatTest, InjectedFailures) {
    char buffer[64];
    double value = 0;
    sim::failCall("DGDoubleToStringUnit", Error);
    EXPECT_EQ(DGDoubleToStringUnit(1, DG_UNIT_REAL, buffer, sizeof buffer), Error);
    sim::failCall("DGStringToDoubleUnit", Error);
    EXPECT_EQ(DGStringToDoubleUnit("1", DG_UNIT_REAL, &value), Error);
    sim::failCall("DGIntToStringUnit", Error);
    EXPECT_EQ(DGIntToStringUnit(1, DG_UNIT_INTEGER, buffer, sizeof buffer), Error);
}
