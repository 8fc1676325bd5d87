#include "Environment/AngleSetting.h"
#include "Environment/BooleanSetting.h"
#include "Environment/IDSetting.h"
#include "Environment/Int32Setting.h"
#include "Environment/Int64Setting.h"
#include "Environment/LengthSetting.h"
#include "Environment/MenuSetting.h"
#include "Environment/RealSetting.h"
#include "Environment/StringSetting.h"
#include "Environment/TimeSetting.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <memory>
#include <string>

using namespace zelvane;

namespace {

std::string text(Setting const& setting) {
    String value;
    setting.getValue(value);
    return std::string(value.data(), value.dataLength());
}

const double pi = 3.14159265358979323846;

} // namespace

TEST(SettingTest, KindsTypesAndDefaults) {
    std::unique_ptr<Setting> kinds[] = {
        std::make_unique<BooleanSetting>(true),
        std::make_unique<Int32Setting>(3),
        std::make_unique<MenuSetting>(String("item"), 2),
        std::make_unique<Int64Setting>(1LL << 40),
        std::make_unique<RealSetting>(2.5),
        std::make_unique<AngleSetting>(1.0),
        std::make_unique<LengthSetting>(0.75),
        std::make_unique<TimeSetting>(Time(2017, 3, 5, 0, 0, 0)),
        std::make_unique<StringSetting>(String("text")),
        std::make_unique<IDSetting>(Guid(String("6F9619FF-8B86-D011-B42D-00C04FC964FF"))),
    };
    const int types[] = {1, 2, 2, 3, 4, 4, 5, 6, 7, 8};
    // Kinds that share a letter compare with each other (a menu is an integer and a text; angles
    // and lengths are reals); identifiers compare with anything through text.
    const char* families[] = {"b", "i", "is", "l", "r", "r", "r", "t", "s", "g"};
    for (int i = 0; i < 10; ++i) {
        Setting& setting = *kinds[i];
        EXPECT_EQ(setting.getType(), types[i]) << i;
        EXPECT_FALSE(setting.isNull()) << i;
        std::unique_ptr<Setting> copy(setting.clone());
        EXPECT_EQ(copy->getType(), types[i]) << i;
        EXPECT_TRUE(copy->isEqualTo(setting)) << i;
        EXPECT_TRUE(setting.isEqualTo(*copy)) << i;
        EXPECT_EQ(text(*copy), text(setting)) << i;
        copy->setDefault();
        EXPECT_TRUE(copy->isNull()) << i;
        EXPECT_FALSE(copy->isEqualTo(setting)) << i;
        // Settings of different kinds never compare, whatever they hold.
        for (int j = 0; j < 10; ++j) {
            bool related = std::string(families[i]).find_first_of(families[j]) != std::string::npos;
            if (!related && types[i] != 8 && types[j] != 8) {
                EXPECT_FALSE(setting.isEqualTo(*kinds[j])) << i << " " << j;
                EXPECT_FALSE(setting.isLessThan(*kinds[j])) << i << " " << j;
            }
        }
    }
}

TEST(SettingTest, BooleanFromText) {
    struct Case {
        const char* text;
        bool expected;
    };
    const Case cases[] = {{"FALSE", false}, {"false", false}, {"true", true}, {"0.000001", false},
                          {"2", true},      {"", false},      {"abc", true},  {"0", false},
                          {"-0.5", true},   {"1", true}};
    for (const Case& c : cases) {
        BooleanSetting setting(!c.expected);
        setting.setValue(String(c.text));
        EXPECT_EQ(setting.getValue(), c.expected) << c.text;
    }
    BooleanSetting setting;
    setting.setValue("true");
    EXPECT_TRUE(setting.getValue()); // a C text is text, not a pointer taken as true
    setting.setValue(1e-6);
    EXPECT_FALSE(setting.getValue());
    setting.setValue(-0.01);
    EXPECT_TRUE(setting.getValue());
    setting.setValue(0LL);
    EXPECT_FALSE(setting.getValue());
    setting.setValue(Time(2000, 1, 1, 0, 0, 0));
    EXPECT_TRUE(setting.getValue());
    setting.setValue(Time());
    EXPECT_FALSE(setting.getValue());

    BooleanSetting yes(true);
    BooleanSetting no(false);
    EXPECT_EQ(text(yes), "1");
    EXPECT_TRUE(no.isLessThan(yes));
    EXPECT_FALSE(yes.isLessThan(no));
    double d = 0;
    long long ll = 0;
    yes.getValue(d);
    yes.getValue(ll);
    EXPECT_EQ(d, 1.0);
    EXPECT_EQ(ll, 1);
    Time today;
    yes.getValue(today);
    EXPECT_FALSE(today.isNull());
    EXPECT_EQ(today.getHour(), 0u);
    Time none(2000, 1, 1, 0, 0, 0);
    no.getValue(none);
    EXPECT_TRUE(none.isNull());
}

TEST(SettingTest, IntegersConvertAndTruncate) {
    Int32Setting value;
    const struct {
        double in;
        int out;
    } reals[] = {{-2.7, -2}, {2.7, 2}, {1e20, INT_MAX}, {-1e20, INT_MIN}, {NAN, 0}};
    for (auto const& c : reals) {
        value.setValue(c.in);
        EXPECT_EQ(value.getValue(), c.out) << c.in;
    }
    value.setValue((1LL << 32) + 5);
    EXPECT_EQ(value.getValue(), 5);
    value.setValue(-1LL);
    long long wide = 0;
    value.getValue(wide);
    EXPECT_EQ(wide, -1);
    value.setValue(String("  42"));
    EXPECT_EQ(value.getValue(), 42);
    EXPECT_EQ(text(value), "42");
    value.setValue(String("x"));
    EXPECT_EQ(value.getValue(), 0);
    value.setValue(true);
    EXPECT_EQ(value.getValue(), 1);
    bool flag = false;
    value.getValue(flag);
    EXPECT_TRUE(flag);

    Int64Setting big(0x123456789LL);
    EXPECT_EQ(text(big), "4886718345");
    int low = 0;
    big.getValue(low);
    EXPECT_EQ(low, 0x23456789);
    big.setValue(String("-9000000000"));
    EXPECT_EQ(big.getValue(), -9000000000LL);
    big.setValue(-3.9);
    EXPECT_EQ(big.getValue(), -3);
    EXPECT_TRUE(Int64Setting(1).isLessThan(Int64Setting(2)));
    EXPECT_FALSE(Int32Setting(2).isLessThan(Int32Setting(2)));

    // Numbers are seconds since 1970 when they become times.
    Int32Setting seconds(1000000);
    Time time;
    seconds.getValue(time);
    EXPECT_EQ(time.getTotalSeconds(), 1000000);
    Int64Setting back;
    back.setValue(time);
    EXPECT_EQ(back.getValue(), 1000000);
    RealSetting real;
    real.setValue(time);
    EXPECT_EQ(real.getValue(), 1000000.0);
}

TEST(SettingTest, RealsCompareWithinTolerance) {
    RealSetting one(1.0);
    EXPECT_TRUE(RealSetting(1.00005).isEqualTo(one));
    EXPECT_FALSE(RealSetting(1.0002).isEqualTo(one));
    EXPECT_FALSE(one.isLessThan(RealSetting(1.00009)));
    EXPECT_TRUE(one.isLessThan(RealSetting(1.0002)));
    EXPECT_TRUE(RealSetting(0.000009).isNull());
    EXPECT_FALSE(RealSetting(0.00002).isNull());
    int truncated = 0;
    RealSetting(-7.9).getValue(truncated);
    EXPECT_EQ(truncated, -7);

    RealSetting parsed;
    parsed.setValue(String("2.25"));
    EXPECT_EQ(parsed.getValue(), 2.25);
    parsed.setValue(String("abc"));
    EXPECT_EQ(parsed.getValue(), 0.0);
    RealSetting round;
    round.setValue(String(text(RealSetting(1234.5678)).c_str()));
    EXPECT_DOUBLE_EQ(round.getValue(), 1234.5678);
}

TEST(SettingTest, AnglesAndLengths) {
    AngleSetting angle;
    angle = RealSetting(1.25); // copied as radians
    EXPECT_EQ(angle.getValue(), 1.25);
    angle = StringSetting(String("90")); // read as degrees
    EXPECT_NEAR(angle.getValue(), pi / 2, 1e-12);
    EXPECT_EQ(angle.getAngleType(), 4);
    AngleSetting back;
    back.setValue(String(text(angle).c_str()));
    EXPECT_NEAR(back.getValue(), pi / 2, 1e-12);
    EXPECT_TRUE(back.isEqualTo(RealSetting(pi / 2))); // an angle is a real

    LengthSetting length(2.5);
    LengthSetting read;
    read.setValue(String(text(length).c_str()));
    EXPECT_DOUBLE_EQ(read.getValue(), 2.5);
    read.setValue(String("0.4"));
    EXPECT_DOUBLE_EQ(read.getValue(), 0.4);
    RealSetting plain;
    plain = length;
    EXPECT_EQ(plain.getValue(), 2.5);
    AngleSetting copy(0.5);
    angle = copy;
    EXPECT_EQ(angle.getValue(), 0.5);
}

TEST(SettingTest, TimesFromText) {
    struct Case {
        const char* text;
        bool valid;
        unsigned int year, month, day;
    };
    const Case cases[] = {
        {"5/3/2017", true, 2017, 3, 5}, {"31/12/1899", false, 0, 0, 0},
        {"1/13/2000", false, 0, 0, 0},  {"/3/2017", false, 0, 0, 0},
        {"5/3/", false, 0, 0, 0},       {"5/3", false, 0, 0, 0},
        {"", false, 0, 0, 0},           {"0/1/2000", false, 0, 0, 0},
        {"1/1/10000", false, 0, 0, 0},  {" 5/ 3/2017", true, 2017, 3, 5},
        {"a/3/2017", false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        TimeSetting setting(Time(2001, 1, 1, 0, 0, 0));
        setting.setValue(String(c.text));
        EXPECT_EQ(setting.isNull(), !c.valid) << c.text;
        if (c.valid) {
            EXPECT_EQ(setting.getValue(), Time(c.year, c.month, c.day, 0, 0, 0)) << c.text;
        }
    }
    EXPECT_EQ(text(TimeSetting(Time(2017, 3, 5, 10, 0, 0))), " 5/ 3/2017");
    EXPECT_EQ(text(TimeSetting(Time(12345, 11, 25, 0, 0, 0))), "");
    EXPECT_TRUE(TimeSetting(Time(2017, 3, 5, 0, 0, 0)).isLessThan(TimeSetting(Time(2017, 3, 6, 0, 0, 0))));

    // A text setting reads and writes times in the same form.
    StringSetting date;
    date.setValue(Time(2017, 3, 5, 0, 0, 0));
    EXPECT_EQ(text(date), " 5/ 3/2017");
    Time parsed;
    date.getValue(parsed);
    EXPECT_EQ(parsed, Time(2017, 3, 5, 0, 0, 0));

    TimeSetting fromSeconds;
    fromSeconds.setValue(86400.9);
    EXPECT_EQ(fromSeconds.getValue().getTotalSeconds(), 86400);
    fromSeconds.setValue((1LL << 32) + 60);
    EXPECT_EQ(fromSeconds.getValue().getTotalSeconds(), 60);
}

TEST(SettingTest, TextsAndAssignmentThroughText) {
    StringSetting number(String("12.5abc"));
    double d = 0;
    int i = 0;
    long long ll = 0;
    number.getValue(d);
    number.getValue(i);
    number.getValue(ll);
    EXPECT_EQ(d, 12.5);
    EXPECT_EQ(i, 12);
    EXPECT_EQ(ll, 12);
    StringSetting word(String("abc"));
    word.getValue(d);
    EXPECT_EQ(d, 0.0);

    StringSetting target;
    target = RealSetting(0.1);
    EXPECT_EQ(text(target), "0.1");
    target.setValue(0.1);
    EXPECT_EQ(text(target), "0.1");
    target.setValue(-5);
    EXPECT_EQ(text(target), "-5");
    target.setValue(1LL << 40);
    EXPECT_EQ(text(target), "1099511627776");
    EXPECT_TRUE(StringSetting(String("a")).isLessThan(StringSetting(String("b"))));

    Int32Setting fromText;
    fromText = StringSetting(String("17"));
    EXPECT_EQ(fromText.getValue(), 17);
    Setting& self = fromText;
    Setting const& alias = fromText;
    self = alias;
    EXPECT_EQ(fromText.getValue(), 17);
    BooleanSetting flag;
    flag = StringSetting(String("false"));
    EXPECT_FALSE(flag.getValue());
    flag = Int32Setting(4);
    EXPECT_TRUE(flag.getValue());
}

TEST(SettingTest, Menus) {
    MenuSetting first(String("Red"), 1);
    MenuSetting second(String("Red"), 4);
    EXPECT_TRUE(first.isEqualTo(second));
    EXPECT_TRUE(first.isEqualTo(StringSetting(String("Red"))));
    EXPECT_TRUE(first.isLessThan(MenuSetting(String("Yellow"), 0)));
    EXPECT_EQ(text(first), "Red");
    int index = 0;
    second.getValue(index);
    EXPECT_EQ(index, 4);
    EXPECT_EQ(second.getIndex(), 4);

    MenuSetting menu;
    EXPECT_TRUE(menu.isNull());
    menu = second;
    EXPECT_EQ(menu.getIndex(), 4);
    EXPECT_EQ(std::string(menu.getValue().data()), "Red");
    menu = Int32Setting(7);
    EXPECT_EQ(menu.getIndex(), 7);
    EXPECT_EQ(text(menu), "7");
    menu = StringSetting(String("Blue"));
    EXPECT_EQ(menu.getIndex(), 7);
    EXPECT_EQ(text(menu), "Blue");
    menu.setValue(2.9);
    EXPECT_EQ(menu.getIndex(), 2);
    menu.setValue(String("Green"));
    EXPECT_EQ(text(menu), "Green");
    menu.setDefault();
    EXPECT_TRUE(menu.isNull());
    EXPECT_EQ(menu.getIndex(), 0);
}

TEST(SettingTest, IdentifiersSortInTheHostsOrder) {
    // Ascending in the host's order, each next one differing from the one before in one group:
    // the first group outranks the second, the second the third, and so on.
    const char* const ids[] = {
        "00000000-0000-0000-0000-000000000001", "00000000-0000-0000-0001-000000000000",
        "00000000-0000-0001-0000-000000000000", "00000000-0001-0000-0000-000000000000",
        "00000001-0000-0000-0000-000000000000", "00000001-0000-0000-0000-000000000002",
        "00000001-0000-0000-0002-000000000000", "00000001-0000-0002-0000-000000000000",
        "00000001-0002-0000-0000-000000000000", "00000002-0000-0000-0000-000000000000",
    };
    const std::size_t count = sizeof ids / sizeof ids[0];
    for (std::size_t i = 0; i < count; ++i) {
        for (std::size_t j = 0; j < count; ++j) {
            IDSetting left{String(ids[i])};
            IDSetting right{String(ids[j]), true};
            EXPECT_EQ(left.isLessThan(right), i < j) << ids[i] << " < " << ids[j];
        }
    }
}

TEST(SettingTest, Identifiers) {
    const char* wide = "6F9619FF-8B86-D011-B42D-00C04FC964FF";
    IDSetting full{String(wide)};
    EXPECT_FALSE(full.isCompressed());
    EXPECT_EQ(text(full), wide);

    IDSetting compact(full.getValue(), true);
    std::string short_ = text(compact);
    ASSERT_EQ(short_.size(), 22u);
    IDSetting fromCompact;
    fromCompact.setValue(String(short_.c_str()));
    EXPECT_TRUE(fromCompact.isCompressed());
    EXPECT_EQ(fromCompact.getValue(), full.getValue());
    EXPECT_TRUE(fromCompact.isEqualTo(full));
    EXPECT_TRUE(IDSetting(String(short_.c_str()), false).isEqualTo(full));
    EXPECT_FALSE(IDSetting(String(short_.c_str()), false).isCompressed());

    EXPECT_TRUE(full.isEqualTo(StringSetting(String(wide).toLowercase())));
    EXPECT_FALSE(full.isEqualTo(StringSetting(String("other"))));
    EXPECT_TRUE(IDSetting().isLessThan(full));
    EXPECT_FALSE(full.isLessThan(StringSetting(String("~"))));

    const char* others[] = {"", "short", "6F9619FF-8B86-D011-B42D-00C04FC964F",
                            "6F9619FF-8B86-D011-B42D-00C04FC964FG"};
    for (const char* other : others) {
        IDSetting setting(full);
        setting.setValue(String(other));
        EXPECT_TRUE(setting.isNull()) << other;
    }
    IDSetting numbers(full);
    numbers.setValue(5);
    EXPECT_TRUE(numbers.isNull());
    double d = 1;
    full.getValue(d);
    EXPECT_EQ(d, 0.0);

    // Assignment keeps the identifier and the form.
    IDSetting copy;
    copy = compact;
    EXPECT_TRUE(copy.isCompressed());
    EXPECT_EQ(copy.getValue(), full.getValue());
    IDSetting fromText;
    fromText = StringSetting(String(wide));
    EXPECT_EQ(fromText.getValue(), full.getValue());
}

TEST(SettingTest, IdentifierHostFailures) {
    const char* wide = "6F9619FF-8B86-D011-B42D-00C04FC964FF";
    IDSetting compact(Guid(String(wide)), true);
    std::string form = text(compact);
    sim::failCall("ACAPI_Goodies", -1);
    EXPECT_EQ(text(compact), ""); // the host cannot write it
    sim::failCall("ACAPI_Goodies", -1);
    IDSetting read;
    read.setValue(String(form.c_str()));
    EXPECT_TRUE(read.isNull());
    EXPECT_TRUE(read.isCompressed());
    IDSetting bad{String("!!!!!!!!!!!!!!!!!!!!!!")};
    EXPECT_TRUE(bad.isNull());
    // Copying between identifiers never needs the host.
    sim::failCall("ACAPI_Goodies", -1, -1);
    IDSetting copy;
    copy = compact;
    EXPECT_EQ(copy.getValue(), compact.getValue());
    sim::clearFaults();
}
