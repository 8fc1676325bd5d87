#include "Attribute/CadColour.h"
#include "Attribute/City.h"
#include "Attribute/Pen.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

using namespace zelvane;

TEST(ColourTest, ChannelConversions) {
    struct Case {
        double value;
        UInt8 rounded;
        UInt16 wide;
    };
    const Case cases[] = {{0.0, 0, 0},       {1.0, 255, 65535},           {0.5, 128, 32768},   {-0.2, 0, 0},
                          {1.7, 255, 65535}, {127.5 / 255.0, 128, 32768}, {std::nan(""), 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        CadColour colour(c.value, c.value, c.value, c.value);
        EXPECT_EQ(colour.red8(), c.rounded);
        EXPECT_EQ(colour.alpha8(), c.rounded);
        UInt16 r = 0, g = 0, b = 0;
        colour.rgb(r, g, b);
        EXPECT_EQ(r, c.wide);
    }
    EXPECT_EQ(CadColour(1.0, 0.5, 0.0).getRGB(), 0xFF7F00u); // truncated
    API_RGBColor host = CadColour::fromRGB(0xFF8000);
    EXPECT_EQ(CadColour(host), CadColour(1.0, 128 / 255.0, 0.0));
    API_RGBColor back = CadColour(0.1, 0.2, 0.3);
    EXPECT_DOUBLE_EQ(back.f_green, 0.2);
    EXPECT_EQ(CadColour(0.5, 0.5, 0.5), CadColour(0.500009, 0.5, 0.5));
    EXPECT_NE(CadColour(0.5, 0.5, 0.5), CadColour(0.50002, 0.5, 0.5));
}

TEST(ColourTest, PenColours) {
    Pen pen;
    pen.setRGBColour(0xFF8000);
    EXPECT_EQ(pen.getColour(), CadColour(1.0, 128 / 255.0, 0.0, 1.0));
    EXPECT_EQ(pen.getRGBColour(), 0xFF8000u);
    pen.setColour(CadColour(0.0, 0.0, 1.0, 0.3));
    EXPECT_EQ(pen.getColour().getAlpha(), 1.0);
    EXPECT_EQ(pen.getRGBColour(), 0x0000FFu);

    Pen::Use use = Pen::Use::last;
    EXPECT_EQ(++use, Pen::Use::first);
    EXPECT_EQ(use--, Pen::Use::first);
    EXPECT_EQ(use, Pen::Use::last);
}

TEST(ColourTest, CityDegrees) {
    API_Attribute record;
    record.header.typeID = API_CityID;
    record.city.latitude = 89;
    record.city.longitude = -150;
    City city(record, AttributeLink());
    EXPECT_EQ(city.getLatitude(), 1.0);
    EXPECT_EQ(city.getLongitude(), -2.0);
    struct Case {
        double degrees;
        bool latitude;
        bool accepted;
    };
    const Case cases[] = {{45.5, true, true},
                          {-90.0, true, true},
                          {90.5, true, false},
                          {179.9, false, true},
                          {-181.0, false, false},
                          {std::nan(""), true, false},
                          {std::numeric_limits<double>::infinity(), false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.degrees);
        City one(record, AttributeLink());
        bool accepted = c.latitude ? one.setLatitude(c.degrees) : one.setLongitude(c.degrees);
        EXPECT_EQ(accepted, c.accepted);
        double read = c.latitude ? one.getLatitude() : one.getLongitude();
        EXPECT_EQ(read, c.accepted ? c.degrees : (c.latitude ? 1.0 : -2.0));
        std::unique_ptr<API_Attribute> data(one.getData());
        Int16 minutes = c.latitude ? data->city.latitude : data->city.longitude;
        EXPECT_EQ(minutes, c.accepted ? Int16(c.degrees * 60) : (c.latitude ? 89 : -150));
    }
}
