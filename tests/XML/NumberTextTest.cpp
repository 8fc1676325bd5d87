#include "XML/NumberText.h"

#include "Environment/ToString.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <locale>
#include <sstream>

using namespace zelvane;

// The number text of the bindings is that of the text conversions, for every form.
TEST(NumberTextTest, WritesAsTheConversions) {
    double const reals[] = {0.0,
                            -0.0,
                            0.1,
                            1.0 / 3.0,
                            1234567.0,
                            1e-7,
                            -2.5e300,
                            123456.5,
                            1e21,
                            999999.5,
                            1e-320,
                            65536.25,
                            -1.0,
                            1e100,
                            std::numeric_limits<double>::max(),
                            std::numeric_limits<double>::infinity(),
                            -std::numeric_limits<double>::infinity()};
    for (double value : reals) {
        String text;
        writeNumber(text, value);
        EXPECT_EQ(text, ToString(value, 0.0)) << value;
        for (unsigned int precision : {0u, 1u, 2u, 4u, 6u, 17u}) {
            std::ostringstream out;
            out.imbue(std::locale::classic());
            out.setf(std::ios::fixed, std::ios::floatfield);
            out.precision(precision);
            out << value;
            writeFixed(text, value, precision);
            EXPECT_EQ(text, out.str().c_str()) << value << " " << precision;
        }
    }
    long long const integers[] = {0,
                                  -1,
                                  7,
                                  std::numeric_limits<int>::min(),
                                  std::numeric_limits<long long>::max(),
                                  std::numeric_limits<long long>::min()};
    for (long long value : integers) {
        String text;
        writeNumber(text, value);
        EXPECT_EQ(text, ToString(value)) << value;
    }
    String text;
    writeNumber(text, std::numeric_limits<unsigned long long>::max());
    EXPECT_EQ(text, ToString(std::numeric_limits<unsigned long long>::max()));
}

TEST(NumberTextTest, ReadsAsTheConversions) {
    char const* texts[] = {"0",
                           "12",
                           "-12",
                           "123456789",
                           "1234567890",
                           "2147483647",
                           "2147483648",
                           "-2147483649",
                           "4294967295",
                           "4294967296",
                           "99999999999999999999",
                           "18446744073709551615",
                           "-0",
                           "007",
                           " 12",
                           "+5",
                           "12abc",
                           "abc",
                           "",
                           "-",
                           "1.5",
                           "-1.25e3",
                           "1.",
                           ".5",
                           "1e999",
                           "1e-400",
                           "0.1",
                           "3.14159265358979323846",
                           "-0.0",
                           "1.0e",
                           "0x10",
                           "inf",
                           "\t-7"};
    for (char const* source : texts) {
        String text(source);
        EXPECT_EQ(readInt32(text), ToInt32(text).getValue()) << source;
        EXPECT_EQ(readUInt32(text), ToUInt32(text).getValue()) << source;
        EXPECT_EQ(readUInt64(text), ToUInt64(text).getValue()) << source;
        double fast = readDouble(text);
        double slow = ToDouble(text).getValue();
        EXPECT_TRUE(fast == slow && std::signbit(fast) == std::signbit(slow)) << source;
    }
}
