#include "Environment/UnitScaler.h"

#include "ACAPI/Preferences.hpp"
#include "DG/DGUnitFormat.hpp"
#include "sim/Sim.h"
#include "sim/Units.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace zelvane;

namespace {

// The number the host's formatter writes for a metric value in the working unit of a kind.
double hostNumber(double metric, Int16 kind) {
    char text[128];
    EXPECT_EQ(DGDoubleToStringUnit(metric, kind, text, sizeof text), NoError);
    return std::strtod(text, nullptr);
}

} // namespace

TEST(UnitScalerTest, DefaultsAreMetric) {
    UnitScaler scaler;
    EXPECT_EQ(scaler.getLengthFactor(), 1.0);
    EXPECT_EQ(scaler.getAreaFactor(), 1.0);
    EXPECT_EQ(scaler.getVolumeFactor(), 1.0);
    EXPECT_EQ(scaler.getLengthUnit(), UnitScaler::metre);
    EXPECT_EQ(scaler.getAreaUnit(), UnitScaler::squareMetre);
    EXPECT_EQ(scaler.getVolumeUnit(), UnitScaler::cubicMetre);
    EXPECT_EQ(sim::callCount("ACAPI_Environment"), 3u);
}

TEST(UnitScalerTest, LengthUnits) {
    struct Case {
        Int32 host;
        double factor;
        UnitScaler::Length unit;
    } cases[] = {
        {API_Meter, 1.0, UnitScaler::metre},
        {API_Centimeter, 100.0, UnitScaler::centimetre},
        {API_Millimeter, 1000.0, UnitScaler::millimetre},
        {API_FootFracInch, 3.2808398950131235, UnitScaler::foot},
        {API_FootDecInch, 3.2808398950131235, UnitScaler::foot},
        {API_DecFoot, 3.2808398950131235, UnitScaler::foot},
        {API_FracInch, 39.37007874015748, UnitScaler::inch},
        {API_DecInch, 39.37007874015748, UnitScaler::inch},
        {42, 1.0, UnitScaler::metre},
    };
    for (const Case& c : cases) {
        sim::UnitPreferences units;
        units.length = c.host;
        sim::setUnitPreferences(units);
        UnitScaler scaler;
        EXPECT_EQ(scaler.getLengthFactor(), c.factor) << c.host;
        EXPECT_EQ(scaler.getLengthUnit(), c.unit) << c.host;
        EXPECT_NEAR(hostNumber(2.0, DG_UNIT_LENGTH), 2.0 * c.factor, 1e-9)
            << "agrees with the host's formatter";
    }
}

TEST(UnitScalerTest, AreaAndVolumeUnits) {
    struct AreaCase {
        Int32 host;
        double factor;
        UnitScaler::Area unit;
    } areas[] = {
        {API_SqMeter, 1.0, UnitScaler::squareMetre},
        {API_SqCentimeter, 10000.0, UnitScaler::squareCentimetre},
        {API_SqMillimeter, 1000000.0, UnitScaler::squareMillimetre},
        {API_SqFoot, 10.763910416709724, UnitScaler::squareFoot},
        {API_SqInch, 1550.0031000062002, UnitScaler::squareInch},
        {0, 1.0, UnitScaler::squareMetre},
        {7, 1.0, UnitScaler::squareMetre},
    };
    for (const AreaCase& c : areas) {
        sim::UnitPreferences units;
        units.area = c.host;
        sim::setUnitPreferences(units);
        UnitScaler scaler;
        EXPECT_EQ(scaler.getAreaFactor(), c.factor) << c.host;
        EXPECT_EQ(scaler.getAreaUnit(), c.unit) << c.host;
        EXPECT_NEAR(hostNumber(0.5, DG_UNIT_AREA) / (0.5 * c.factor), 1.0, 1e-9) << c.host;
    }

    struct VolumeCase {
        Int32 host;
        double factor;
        UnitScaler::Volume unit;
    } volumes[] = {
        {API_CuMeter, 1.0, UnitScaler::cubicMetre},
        {API_CuCentimeter, 1e6, UnitScaler::cubicCentimetre},
        {API_CuMillimeter, 1e9, UnitScaler::cubicMillimetre},
        {API_CuYard, 1.3079506193143924, UnitScaler::cubicYard},
        {3, 35.31466672148859, UnitScaler::cubicFoot},
        {4, 35.31466672148859, UnitScaler::cubicFoot},
        {5, 35.31466672148859, UnitScaler::cubicFoot},
        {6, 61023.74409473229, UnitScaler::cubicInch},
        {7, 61023.74409473229, UnitScaler::cubicInch},
        {API_Gallon, 264.172051, UnitScaler::gallon},
        {8, 1.0, UnitScaler::cubicMetre},
    };
    for (const VolumeCase& c : volumes) {
        sim::UnitPreferences units;
        units.volume = c.host;
        sim::setUnitPreferences(units);
        UnitScaler scaler;
        EXPECT_EQ(scaler.getVolumeFactor(), c.factor) << c.host;
        EXPECT_EQ(scaler.getVolumeUnit(), c.unit) << c.host;
        EXPECT_NEAR(hostNumber(0.25, DG_UNIT_VOLUME) / (0.25 * c.factor), 1.0, 1e-8) << c.host;
    }
}

TEST(UnitScalerTest, AFailedReadKeepsThatUnitMetric) {
    sim::UnitPreferences units;
    units.length = API_DecInch;
    units.area = API_SqFoot;
    units.volume = API_Gallon;
    sim::setUnitPreferences(units);

    sim::failCall("ACAPI_Environment:GPRF", APIERR_GENERAL, 1, 1); // the area preferences only
    UnitScaler partly;
    EXPECT_EQ(partly.getLengthUnit(), UnitScaler::inch);
    EXPECT_EQ(partly.getAreaUnit(), UnitScaler::squareMetre);
    EXPECT_EQ(partly.getAreaFactor(), 1.0);
    EXPECT_EQ(partly.getVolumeUnit(), UnitScaler::gallon);

    sim::failCall("ACAPI_Environment", APIERR_GENERAL, -1);
    UnitScaler none;
    EXPECT_EQ(none.getLengthFactor(), 1.0);
    EXPECT_EQ(none.getAreaFactor(), 1.0);
    EXPECT_EQ(none.getVolumeFactor(), 1.0);
    EXPECT_EQ(none.getLengthUnit(), UnitScaler::metre);
    EXPECT_EQ(none.getVolumeUnit(), UnitScaler::cubicMetre);
}
