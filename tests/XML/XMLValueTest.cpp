#include "XML/XMLCurrency.h"
#include "XML/XMLDateTime.h"
#include "XML/XMLDecimal.h"
#include "XML/XMLLength.h"

#include <gtest/gtest.h>

using namespace zelvane;

namespace {

String written(XMLUnit& binding) {
    String text;
    EXPECT_TRUE(binding.write(text));
    return text;
}

Time withOffset(Time time, short minutes) {
    time.setUTCOffset(minutes);
    return time;
}

} // namespace

TEST(XMLDateTimeTest, WritesEachContent) {
    Time time(2017, 3, 5, 9, 4, 0);
    XMLDateTime binding(time, "t");
    struct Case {
        XMLDateTime::Content content;
        short offset;
        char const* text;
    };
    Case const cases[] = {
        {XMLDateTime::dateTime, 0, "2017-03-05T09:04:00"},
        {XMLDateTime::date, 0, "2017-03-05"},
        {XMLDateTime::time, 0, "09:04:00"},
        {XMLDateTime::dateTimeZone, -300, "2017-03-05T09:04:00-05:00"},
        {XMLDateTime::dateTimeZone, -30, "2017-03-05T09:04:00-00:30"},
        {XMLDateTime::dateTimeZone, 0, "2017-03-05T09:04:00Z"},
        {XMLDateTime::timeZone, 90, "09:04:00+01:30"},
        {XMLDateTime::dateTimeZone, -5999, "2017-03-05T09:04:00-99:59"},
    };
    for (auto const& c : cases) {
        time = withOffset(Time(2017, 3, 5, 9, 4, 0), c.offset);
        binding.setContent(c.content);
        EXPECT_EQ(written(binding), c.text);
    }
    Time early(5, 1, 2, 0, 0, 0);
    XMLDateTime earlyBinding(early, "e");
    earlyBinding.setContent(XMLDateTime::date);
    EXPECT_EQ(written(earlyBinding), "0005-01-02");
}

TEST(XMLDateTimeTest, ReadsZones) {
    struct Case {
        char const* text;
        int offset;
    };
    Case const cases[] = {
        {"2017-03-05T09:04:00Z", 0},          {"2017-03-05T09:04:00z", 0},
        {"2017-03-05T09:04:00+01:00", 60},    {"2017-03-05T09:04:00.5Z", 0},
        {"2017-03-05T09:04:00", 0},           {"2017-03-05T09:04:00-05:30", -330},
        {"2017-03-05T09:04:00.1+02:00", 120}, {"2017-03-05T09:04:00+03", 180},
        {"2017-03-05T09:04:00-99:59", -5999},
    };
    for (auto const& c : cases) {
        Time time(false);
        XMLDateTime binding(time, "t");
        binding.setContent(XMLDateTime::dateTimeZone);
        EXPECT_TRUE(binding.read(String(c.text))) << c.text;
        EXPECT_TRUE(binding.validate());
        EXPECT_TRUE(binding.isRead());
        EXPECT_EQ(time.getUTCOffset(), c.offset) << c.text;
        EXPECT_EQ(time.getYear(), 2017u);
        EXPECT_EQ(time.getMonth(), 3u);
        EXPECT_EQ(time.getDay(), 5u);
        EXPECT_EQ(time.getHour(), 9u);
        EXPECT_EQ(time.getMinute(), 4u);
        EXPECT_EQ(time.getSecond(), 0u);
    }
}

TEST(XMLDateTimeTest, RefusesBadTextAndKeepsTheTime) {
    struct Case {
        XMLDateTime::Content content;
        char const* text;
    };
    Case const cases[] = {
        {XMLDateTime::date, "2017-00-05"},
        {XMLDateTime::date, "2017-13-05"},
        {XMLDateTime::date, "2017-03-00"},
        {XMLDateTime::date, "2017-03-32"},
        {XMLDateTime::date, "2017-03-5"},
        {XMLDateTime::date, "2017/03/05"},
        {XMLDateTime::date, "20x7-03-05"},
        {XMLDateTime::dateTime, "2017-03-05 09:04:00"},
        {XMLDateTime::dateTime, "2017-03-05T24:00:00"},
        {XMLDateTime::dateTime, "2017-03-05T09:60:00"},
        {XMLDateTime::time, "09:04:60"},
        {XMLDateTime::time, "09-04-00"},
        {XMLDateTime::time, "9:04:00"},
        {XMLDateTime::timeZone, "09:04:00+x1:00"},
        {XMLDateTime::timeZone, "09:04:00+"},
        {XMLDateTime::dateTimeZone, "2017-03-05T09:04:00+01:x0"},
        {XMLDateTime::dateTimeZone, "2017-03-05T09:04:00+99:99"},
        {XMLDateTime::timeZone, "09:04:00-00:60"},
    };
    for (auto const& c : cases) {
        Time original(2001, 2, 3, 4, 5, 6);
        Time time = original;
        XMLDateTime binding(time, "t");
        binding.setContent(c.content);
        EXPECT_FALSE(binding.read(String(c.text))) << c.text;
        EXPECT_FALSE(binding.validate()) << c.text;
        EXPECT_TRUE(time == original) << c.text;
    }
}

TEST(XMLDateTimeTest, ReadsDatesAndTimesAlone) {
    Time time(false);
    XMLDateTime binding(time, "t");
    binding.setContent(XMLDateTime::date);
    EXPECT_TRUE(binding.read(String("1999-12-31")));
    EXPECT_TRUE(time == Time(1999, 12, 31, 0, 0, 0));
    binding.setContent(XMLDateTime::time);
    EXPECT_TRUE(binding.read(String("23:59:58")));
    EXPECT_EQ(time.getYear(), 0u);
    EXPECT_EQ(time.getHour(), 23u);
    EXPECT_EQ(time.getSecond(), 58u);
    EXPECT_EQ(time.getUTCOffset(), Time::getLocalUTCOffset());
}

TEST(XMLDateTimeTest, DefaultsAndOwnTime) {
    Time time(2001, 2, 3, 4, 5, 6);
    XMLDateTime binding(time, "t");
    EXPECT_FALSE(binding.isRead());
    EXPECT_FALSE(binding.read(String("bad")));
    binding.setDefault();
    EXPECT_FALSE(binding.isRead());
    EXPECT_TRUE(binding.validate());
    EXPECT_TRUE(Time(true).differenceInSeconds(time) < 5.0);

    binding.setContent(XMLDateTime::date);
    binding.setDefault();
    EXPECT_EQ(time.getHour(), 0u);
    EXPECT_EQ(time.getMinute(), 0u);
    EXPECT_NE(time.getYear(), 0u);

    XMLDateTime own("own", true);
    EXPECT_TRUE(own.isAttribute());
    EXPECT_NE(own.getTime(), nullptr);
    EXPECT_TRUE(Time(true).differenceInSeconds(*own.getTime()) < 5.0);
    XMLDateTime copy(own);
    EXPECT_NE(copy.getTime(), own.getTime());
    EXPECT_TRUE(*copy.getTime() == *own.getTime());
}

TEST(XMLNumberTest, FixedPointPrecision) {
    double value = 1.49;
    XMLLength millimetres(value, UnitScaler::Length(2), "l");
    EXPECT_EQ(millimetres.getPrecision(), 1);
    EXPECT_EQ(written(millimetres), "1.5");
    EXPECT_EQ(value, 1.49);

    struct Case {
        int unit;
        double reference;
        unsigned short precision;
    };
    Case const cases[] = {{0, 0.0001, 4}, {1, 0.0001, 2}, {2, 0.0001, 1}, {3, 0.0001, 3}, {4, 0.0001, 2},
                          {9, 0.0001, 4}, {0, 0.01, 2},   {2, 0.01, 0},   {2, 1.0, 0},    {0, -0.01, 2}};
    for (auto const& c : cases) {
        XMLLength binding(value, UnitScaler::Length(c.unit), c.reference, "l");
        EXPECT_EQ(binding.getPrecision(), c.precision) << c.unit << " " << c.reference;
    }
    XMLLength none(value, UnitScaler::Length(2), 1.0, "l");
    value = 2.5;
    EXPECT_EQ(written(none), "2");
    value = -0.25;
    XMLLength metres(value, UnitScaler::Length(0), "l");
    EXPECT_EQ(written(metres), "-0.2500");
    EXPECT_TRUE(metres.read(String("3.14159")));
    EXPECT_EQ(value, 3.14159);

    value = 0.5;
    XMLDecimal decimal(value, "d");
    EXPECT_EQ(written(decimal), "0.500000");
    value = 1e6;
    EXPECT_EQ(written(decimal), "1000000.000000");
}

TEST(XMLNumberTest, CurrencyRoundsToHundredths) {
    struct Case {
        char const* text;
        double value;
        char const* written;
    };
    Case const cases[] = {{"12.345", 12.35, "12.35"}, {"12.344", 12.34, "12.34"}, {"1.005", 1.00, "1.00"},
                          {"-2.5", -2.5, "-2.50"},    {"abc", 0.0, "0.00"},       {"7", 7.0, "7.00"}};
    for (auto const& c : cases) {
        double value = -1;
        XMLCurrency binding(value, "c");
        EXPECT_TRUE(binding.read(String(c.text)));
        EXPECT_NEAR(value, c.value, 1e-9) << c.text;
        EXPECT_EQ(written(binding), c.written) << c.text;
    }
    // Amounts too large to scale are kept rather than made infinite.
    double huge = 0;
    XMLCurrency binding(huge, "c");
    EXPECT_TRUE(binding.read(String("1e308")));
    EXPECT_EQ(huge, 1e308);
}
