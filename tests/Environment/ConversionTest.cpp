#include "Environment/Guid.h"
#include "Environment/ToString.h"

#include "ACAPI/Preferences.hpp"
#include "sim/Sim.h"
#include "sim/Units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <locale>
#include <random>

using namespace zelvane;

namespace {

void setLengthUnit(Int32 unit) {
    sim::UnitPreferences units;
    units.length = unit;
    sim::setUnitPreferences(units);
}

// A stream facet that groups thousands with "," and writes "," for the decimal point.
struct GroupingPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

} // namespace

TEST(ConversionTest, DoublesToText) {
    struct Case {
        double value;
        double step;
        const char* expected;
    } cases[] = {
        {0.1, 0, "0.1"},
        {100, 0, "100"},
        {1234567.0, 0, "1.23457e+06"},
        {1.0 / 3.0, 0, "0.333333"},
        {1.26, 0.05, "1.25"},
        {2.5, 1, "3"},
        {-2.5, 1, "-2"},
        {-0.4, 1, "0"},
        {9.0, 0, "9"},
        {1e-7, 0, "1e-07"},
        {std::numeric_limits<double>::infinity(), 0, "inf"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ToString(c.value, c.step), c.expected) << c.value << " step " << c.step;
    }
}

TEST(ConversionTest, IntegersBooleansIndexesAndGuids) {
    EXPECT_EQ(ToString(true), "1");
    EXPECT_EQ(ToString(false), "0");
    EXPECT_EQ(ToString(short(-32768)), "-32768");
    EXPECT_EQ(ToString(static_cast<unsigned short>(65535)), "65535");
    EXPECT_EQ(ToString(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(ToString(4294967295u), "4294967295");
    EXPECT_EQ(ToString(-9223372036854775807LL - 1), "-9223372036854775808");
    EXPECT_EQ(ToString(18446744073709551615ULL), "18446744073709551615");
    EXPECT_EQ(ToString(Int64(-5)), "-5");
    EXPECT_EQ(ToString(UInt64(1234567)), "1234567") << "no grouping";

    EXPECT_EQ(ToString(attribute_index(-12, 200)), "-12") << "the extension byte is not written";
    EXPECT_EQ(ToString(attribute_index(32767)), "32767");

    Guid guid(String("0123abcd-4567-89ef-fedc-ba9876543210"));
    EXPECT_EQ(ToString(guid), "0123ABCD-4567-89EF-FEDC-BA9876543210");
    EXPECT_EQ(ToString(Guid()), "00000000-0000-0000-0000-000000000000");
}

TEST(ConversionTest, NumbersFromText) {
    struct Case {
        const char* text;
        long long value;
        bool valid;
    } integers[] = {
        {"  42", 42, true}, {"", 0, false},  {"x1", 0, false},     {"12abc", 12, true},
        {"-7", -7, true},   {"+8", 8, true}, {"\t\n 9 ", 9, true}, {"1.9", 1, true},
        {" ", 0, false},    {"-", 0, false}, {"0x1F", 0, true},
    };
    for (const Case& c : integers) {
        ToInt32 i32{String(c.text)};
        EXPECT_EQ(i32.getValue(), c.value) << c.text;
        EXPECT_EQ(i32.isValid(), c.valid) << c.text;
        ToInt64 i64{String(c.text)};
        EXPECT_EQ(i64.getValue(), c.value) << c.text;
        EXPECT_EQ(i64.isValid(), c.valid) << c.text;
    }

    ToInt32 reused{String("5")};
    EXPECT_EQ(int(reused.setValue(String("bad"))), 0) << "a failed read leaves 0";
    EXPECT_FALSE(reused.isValid());
    EXPECT_EQ(int(reused.setValue(String("6"))), 6);
    EXPECT_TRUE(reused.isValid());

    ToInt32 overflow{String("2147483648")};
    EXPECT_FALSE(overflow.isValid());
    EXPECT_EQ(overflow.getValue(), std::numeric_limits<int>::max());
    EXPECT_TRUE(ToInt32(String("-2147483648")).isValid());
    EXPECT_TRUE(ToInt64(String("9223372036854775807")).isValid());
    EXPECT_FALSE(ToInt64(String("9223372036854775808")).isValid());

    EXPECT_EQ(ToUInt32(String("4294967295")).getValue(), 4294967295u);
    EXPECT_FALSE(ToUInt32(String("4294967296")).isValid());
    EXPECT_EQ(ToUInt64(String("18446744073709551615")).getValue(), 18446744073709551615ULL);
    EXPECT_FALSE(ToUInt64(String("18446744073709551616")).isValid());
    for (const char* negative : {"-1", " -5", "-18446744073709551615"}) {
        ToUInt32 u32{String(negative)};
        EXPECT_FALSE(u32.isValid()) << negative;
        EXPECT_EQ(u32.getValue(), 0u) << negative;
        ToUInt64 u64{String(negative)};
        EXPECT_FALSE(u64.isValid()) << negative;
        EXPECT_EQ(u64.getValue(), 0u) << negative;
    }
    EXPECT_TRUE(ToUInt32(String("-0")).isValid());

    struct Real {
        const char* text;
        double value;
        bool valid;
    } reals[] = {
        {"3.5m", 3.5, true}, {"  -1e3", -1000, true}, {".25", 0.25, true}, {"", 0, false},
        {"abc", 0, false},   {"1e999", 0, false},     {"nan", 0, false},   {"7,5", 7, true},
    };
    for (const Real& r : reals) {
        ToDouble d{String(r.text)};
        EXPECT_EQ(d.isValid(), r.valid) << r.text;
        if (r.valid) {
            EXPECT_EQ(d.getValue(), r.value) << r.text;
        }
    }
    EXPECT_EQ(double(ToDouble(String("0.1"))), 0.1);
}

TEST(ConversionTest, ClassicLocaleWhateverTheGlobalOne) {
    GroupingPunct* punct = new GroupingPunct; // owned by the locale
    std::locale previous = std::locale::global(std::locale(std::locale::classic(), punct));
    EXPECT_EQ(ToString(1234567), "1234567");
    EXPECT_EQ(ToString(2.5), "2.5");
    EXPECT_EQ(ToDouble(String("2.5")).getValue(), 2.5);
    EXPECT_EQ(ToInt32(String("1.234")).getValue(), 1);
    EXPECT_EQ(ToString(0.5, ToString::DoubleMeasure::length), "0.5 m");
    EXPECT_EQ(ToDouble(String("0.5 m"), ToString::DoubleMeasure::length).getValue(), 0.5);
    std::locale::global(previous);
}

TEST(ConversionTest, HexadecimalText) {
    struct Case {
        const char* text;
        unsigned long long value;
        bool valid;
    } cases[] = {
        {"1F", 31, true},
        {"1f", 1, false},
        {"", 0, false},
        {"0", 0, true},
        {"FFFFFFFFFFFFFFFF", 0xFFFFFFFFFFFFFFFFULL, true},
        {"0000FFFFFFFFFFFFFFFF", 0xFFFFFFFFFFFFFFFFULL, true},
        {"10000000000000000", 0x1000000000000000ULL, false}, // 65 bits: stops before the digit
        {"AB CD", 0xAB, false},
        {"-1", 0, false},
    };
    for (const Case& c : cases) {
        FromHex hex{String(c.text)};
        EXPECT_EQ(hex.getValue(), c.value) << c.text;
        EXPECT_EQ(hex.isValid(), c.valid) << c.text;
    }
}

TEST(ConversionTest, FourCharacterCodes) {
    struct Case {
        unsigned int code;
        const char* text;
        bool valid;
    } cases[] = {
        {0x524D5050, "RMPP", true}, {0x41444E50, "ADNP", true}, {0x41614E50, "A", false},
        {0x31414141, "", false},    {0x4142435A, "ABCZ", true}, {0x41424300, "ABC", false},
        {0x40414243, "", false},    {0x5B000000, "", false},
    };
    for (const Case& c : cases) {
        FromOSType type(c.code);
        EXPECT_EQ(type, c.text) << std::hex << c.code;
        EXPECT_EQ(type.isValid(), c.valid) << std::hex << c.code;
    }
}

TEST(ConversionTest, VersionStrings) {
    struct Case {
        double version;
        const char* text;
    } cases[] = {
        {21.5, "21.50"}, {21, "21.00"},  {1.05, "1.05"},  {9.999, "10.00"},    {99.996, "100.00"},
        {0.5, "0.50"},   {0.05, "0.05"}, {-1.5, "-1.50"}, {123.456, "123.46"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(getVersionString(c.version), c.text) << c.version;
    }
    EXPECT_EQ(getVersionString(std::nan("")), "nan");
}

TEST(ConversionTest, MeasuresThroughTheHost) {
    setLengthUnit(API_Millimeter);
    ToString length(1.5, ToString::DoubleMeasure::length);
    EXPECT_EQ(length, "1500 mm");
    ToDouble back(length, ToString::DoubleMeasure::length);
    EXPECT_TRUE(back.isValid());
    EXPECT_EQ(back.getValue(), 1.5);
    EXPECT_EQ(ToString(7, ToString::IntegerMeasure::integer), "7");

    ToDouble refused(String("12 parsecs"), ToString::DoubleMeasure::length);
    EXPECT_FALSE(refused.isValid());
    EXPECT_EQ(refused.getValue(), 0);
    EXPECT_FALSE(ToDouble(String(""), ToString::DoubleMeasure::real).isValid());

    // Whatever is written reads back to the same value.
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> values(-1e4, 1e4);
    for (Int32 unit : {API_Meter, API_Centimeter, API_FootDecInch, API_DecInch}) {
        setLengthUnit(unit);
        for (int i = 0; i < 100; ++i) {
            double value = values(random);
            for (auto measure : {ToString::DoubleMeasure::real, ToString::DoubleMeasure::angle,
                                 ToString::DoubleMeasure::length}) {
                ToDouble read(ToString(value, measure), measure);
                ASSERT_TRUE(read.isValid()) << value;
                ASSERT_EQ(read.getValue(), value);
            }
        }
    }

    // A host that cannot format writes nothing rather than a number in the wrong unit.
    sim::failCall("DGDoubleToStringUnit", Error);
    EXPECT_TRUE(ToString(1.5, ToString::DoubleMeasure::length).empty());
    sim::failCall("DGIntToStringUnit", Error);
    EXPECT_TRUE(ToString(3, ToString::IntegerMeasure::integer).empty());
    sim::failCall("DGStringToDoubleUnit", Error);
    ToDouble failed(String("1"), ToString::DoubleMeasure::real);
    EXPECT_FALSE(failed.isValid());
    EXPECT_EQ(failed.getValue(), 0);
}

TEST(ConversionTest, AreasAndVolumes) {
    using M = ToString::NonLinearMeasure;
    EXPECT_EQ(ToString(2.0, M::area), "2");
    EXPECT_EQ(ToString(1.26, M::volume, 0.05), "1.25");

    setLengthUnit(API_FootFracInch);
    EXPECT_EQ(ToString(2.0, M::area), "2") << "no project open: metric";
    sim::setProjectOpen(true);
    EXPECT_EQ(ToString(1.0, M::area), "10.7639");
    EXPECT_EQ(ToString(1.0, M::volume), "35.3147");
    EXPECT_EQ(ToString(1.0, M(7)), "35.3147") << "any value but 0 is a volume";
    // Rounded in metric units first, then converted.
    EXPECT_EQ(ToString(1.26, M::area, 0.5), ToString(1.5 * 10.763910416709724));
    EXPECT_EQ(ToString(1.0, M::area, std::nan("")), "nan");

    setLengthUnit(API_Centimeter);
    EXPECT_EQ(ToString(1.0, M::area), "1") << "a metric project";

    setLengthUnit(API_DecInch);
    sim::failCall("ACAPI_Environment:PROJ", Error);
    EXPECT_EQ(ToString(1.0, M::area), "1") << "no answer from the host: metric";
}
