#include "Library/AngleParameter.h"
#include "Library/BooleanParameter.h"
#include "Library/IntegerParameter.h"
#include "Library/LongParameter.h"
#include "Library/MakeParameter.h"
#include "Library/RealParameter.h"
#include "Library/StringParameter.h"
#include "Library/TitleParameter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <stdexcept>

using namespace zelvane;

TEST(ParameterFormTest, ScalarsAndArraysChangeShapeAsAllowed) {
    LongParameter scalar("a", "", 5);
    EXPECT_FALSE(scalar.isArray());
    EXPECT_EQ(scalar.getRowCount(), 1u);
    EXPECT_EQ(scalar.getColumnCount(), 1u);
    EXPECT_FALSE(scalar.addRow(1));
    EXPECT_FALSE(scalar.setRowCount(3));
    EXPECT_TRUE(scalar.setRowCount(0)); // counts as 1
    EXPECT_THROW(scalar.getValue(1, 0), std::out_of_range);
    EXPECT_TRUE(scalar.setColumnCount(2));
    EXPECT_TRUE(scalar.isArray());
    EXPECT_EQ(scalar.getRowCount(), 1u);
    EXPECT_EQ(scalar.getValue(0, 0), 5);
    EXPECT_EQ(scalar.getValue(0, 1), 0);

    LongParameter table("t", "", 0, 0, 2, 3);
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 3; ++c) {
            table.setValue(r * 10 + c, r, c);
        }
    }
    ASSERT_TRUE(table.setColumnCount(4));
    EXPECT_EQ(table.getValue(1, 2), 12);
    EXPECT_EQ(table.getValue(1, 3), 0);
    EXPECT_EQ(table.getValue(0, 1), 1);
    ASSERT_TRUE(table.setColumnCount(2));
    EXPECT_EQ(table.getValue(1, 1), 11);
    EXPECT_THROW(table.getValue(0, 2), std::out_of_range);

    // Writing below the last row of an array grows it; reading a constant one does not.
    table.setValue(99, 5, 0);
    EXPECT_EQ(table.getRowCount(), 6u);
    EXPECT_EQ(table.getValue(5, 0), 99);
    const LongParameter& constant = table;
    EXPECT_THROW(constant.getValue(6, 0), std::out_of_range);
    EXPECT_EQ(table.getRowCount(), 6u);
    ASSERT_TRUE(table.setRowCount(2));
    EXPECT_EQ(table.getRowCount(), 2u);
    EXPECT_EQ(table.getValue(1, 0), 10);

    table.clear();
    EXPECT_EQ(table.getValue(1, 1), 0);
    EXPECT_EQ(table.getRowCount(), 2u);
}

TEST(ParameterFormTest, RealsStoreOnlyFiniteValuesAndCompareExactly) {
    RealParameter real("r", "", 1.5);
    real.setValue(std::numeric_limits<double>::quiet_NaN());
    real.setValue(std::numeric_limits<double>::infinity());
    EXPECT_EQ(real.getValue(), 1.5);
    // The constant by-value form stores any value, within the cells it holds.
    const RealParameter& constant = real;
    constant.setValue(std::numeric_limits<double>::infinity());
    EXPECT_EQ(real.getValue(), std::numeric_limits<double>::infinity());
    const AngleParameter angle("a", "", 0.5);
    angle.setValue(std::numeric_limits<double>::quiet_NaN());
    EXPECT_TRUE(std::isnan(angle.getValue()));
    EXPECT_THROW(angle.setValue(1.0, 1, 0), std::out_of_range);
    EXPECT_THROW(angle.setValue(1.0, 0, 1), std::out_of_range);
    real.setValue(1.5);

    RealParameter same("r", "", 1.5);
    EXPECT_TRUE(real == same);
    same.setValue(1.5000001);
    EXPECT_TRUE(real != same);
    LongParameter other("r", "", 1);
    EXPECT_FALSE(real == other);
}

TEST(ParameterFormTest, CopyFromNeedsTheSameKindAndAllowedShape) {
    LongParameter target("x", "", 1);
    LongParameter wide("x", "", 7, 0, 1, 3);
    EXPECT_FALSE(target.copyFrom(wide, true, false));
    EXPECT_TRUE(target.copyFrom(wide, false, true));
    EXPECT_EQ(target.getColumnCount(), 3u);
    EXPECT_EQ(target.getValue(0, 2), 7);
    RealParameter real("x", "", 2.0);
    EXPECT_FALSE(target.copyFrom(real, true, true));
    IntegerParameter shortInt("x", "", 3);
    EXPECT_FALSE(target.copyFrom(shortInt, true, true)); // same type ID, other cell type

    std::unique_ptr<Parameter> copy(wide.clone());
    EXPECT_TRUE(*copy == wide);
    EXPECT_NE(dynamic_cast<LongParameter*>(copy.get()), nullptr);
    // A copy's name is its own: renaming either leaves the other's.
    EXPECT_EQ(copy->getName(), String("x"));
    copy->setName(String("renamed"));
    EXPECT_EQ(wide.getName(), String("x"));
    wide.setName(String());
    EXPECT_EQ(copy->getName(), String("renamed"));
    EXPECT_TRUE(wide.getName().empty());
    std::unique_ptr<Parameter> unnamed(wide.clone());
    EXPECT_TRUE(unnamed->getName().empty());
    TitleParameter title;
    title.setName(String("Look"));
    std::unique_ptr<Parameter> heading(title.clone());
    title.clear(); // empties the title's name only
    EXPECT_TRUE(title.getName().empty());
    EXPECT_EQ(heading->getName(), String("Look"));
}

TEST(ParameterFormTest, CommandRecordsConvertBetweenKinds) {
    struct Case {
        const char* what;
        Int32 type;
        Int32 intPar;
        double floatPar;
        Int32 expectLong;
        double expectReal;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {"integer", MDCLPar_int, -7, 0.0, -7, -7.0},
        {"real cut toward zero", MDCLPar_float, 0, -2.9, -2, -2.9},
        {"real too large", MDCLPar_float, 0, 1e12, std::numeric_limits<Int32>::max(), 1e12},
        {"real too small", MDCLPar_float, 0, -1e12, std::numeric_limits<Int32>::min(), -1e12},
    };
    for (const Case& c : cases) {
        API_MDCLParameter record;
        record.name = "p";
        record.type = c.type;
        record.int_par = c.intPar;
        record.float_par = c.floatPar;
        EXPECT_EQ(LongParameter(record).getValue(), c.expectLong) << c.what;
        EXPECT_EQ(RealParameter(record).getValue(), c.expectReal) << c.what;
    }
    API_MDCLParameter notANumber;
    notANumber.type = MDCLPar_float;
    notANumber.float_par = nan;
    EXPECT_EQ(LongParameter(notANumber).getValue(), 0);

    // A boolean read from a real record: any value but 0.0 is true.
    const struct {
        double value;
        bool expected;
    } flags[] = {{0.5, true}, {-0.25, true}, {0.0, false}, {-0.0, false}, {2.0, true}, {nan, true}};
    for (const auto& flag : flags) {
        API_MDCLParameter record;
        record.type = MDCLPar_float;
        record.float_par = flag.value;
        EXPECT_EQ(BooleanParameter(record).getValue(), flag.expected) << flag.value;
    }
    API_MDCLParameter integer;
    integer.type = MDCLPar_int;
    integer.int_par = 2;
    EXPECT_TRUE(BooleanParameter(integer).getValue());

    API_MDCLParameter text;
    text.name = "Label";
    text.type = MDCLPar_string;
    text.string_par = "door \xC3\xA9";
    text.index = 4;
    text.modified = 1;
    std::unique_ptr<Parameter> made(MakeParameter()(text));
    auto* label = dynamic_cast<StringParameter*>(made.get());
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->getValue(), String("door \xC3\xA9"));
    EXPECT_EQ(label->getName(), String("Label"));
    EXPECT_EQ(label->getIndex(), 4);
    EXPECT_EQ(label->getFlags(), 1);
    EXPECT_FALSE(label->isArray());

    API_MDCLParameter pointer;
    pointer.type = MDCLPar_pointer;
    EXPECT_EQ(MakeParameter()(pointer), nullptr);

    // Packing: the record gets new copies of the texts, freed by the caller.
    API_MDCLParameter packed;
    ASSERT_TRUE(label->getParameterData(packed));
    EXPECT_EQ(packed.type, MDCLPar_string);
    EXPECT_STREQ(packed.name, "Label");
    EXPECT_STREQ(packed.string_par, "door \xC3\xA9");
    EXPECT_EQ(packed.modified, 1);
    Parameter::disposeParameterData(packed);
    EXPECT_EQ(packed.name, nullptr);

    RealParameter real("r", "", -3.75);
    API_MDCLParameter asInt;
    asInt.type = MDCLPar_int;
    ASSERT_TRUE(real.pack(asInt));
    EXPECT_EQ(asInt.int_par, -3);
    API_MDCLParameter asText;
    asText.type = MDCLPar_string;
    EXPECT_FALSE(real.pack(asText));
    EXPECT_FALSE(LongParameter("n", "", 1).unpack(asText));
}
