#include "Library/ParameterBuilder.h"
#include "Attribute/Fill.h"
#include "Attribute/LineStyle.h"
#include "Attribute/Pen.h"
#include "Library/ParameterList.h"
#include "Library/PenParameter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zelvane;

namespace {

std::vector<std::string> names(const ParameterList& list) {
    std::vector<std::string> result;
    for (std::size_t i = 0; i < list.size(); ++i) {
        result.push_back(list.getParameter(i)->getName().data());
    }
    return result;
}

std::string cell(const Parameter* parameter, std::size_t row = 0) {
    return parameter->getValueText(row, 0).data();
}

} // namespace

TEST(ParameterBuilderTest, OneNamedParameter) {
    ParameterList list;
    ParameterBuilder builder(&list);
    builder.setLineParameter("line", "Line", -1);
    std::size_t row = 9;
    Parameter* first = builder.allocateLineValue(LineStyle(attribute_index(3)), row, false);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(row, 0u);
    EXPECT_EQ(first->getTypeID(), 8);
    EXPECT_FALSE(first->isArray());
    EXPECT_EQ(builder.allocateLineValue(LineStyle(attribute_index(5)), row, false), first);
    EXPECT_EQ(cell(first), "5");
    EXPECT_EQ(list.size(), 1u);

    // Only if changed: the same line style twice writes once.
    EXPECT_EQ(builder.allocateLineValue(LineStyle(attribute_index(5)), row, true), nullptr);
    EXPECT_NE(builder.allocateLineValue(LineStyle(attribute_index(6)), row, true), nullptr);
    EXPECT_EQ(builder.getLastAttribute(3), 6u);

    builder.setLineParameter("other", "", -2); // existing ones only
    EXPECT_EQ(builder.allocateLineValue(LineStyle(attribute_index(2)), row, false), nullptr);
    builder.setLineParameter("line", "", -4);
    EXPECT_EQ(builder.allocateLineValue(LineStyle(attribute_index(2)), row, false), nullptr);
    EXPECT_FALSE(builder.isAttributeChange(LineStyle(attribute_index(2)), 0));
}

TEST(ParameterBuilderTest, TablesOfDistinctValues) {
    ParameterList list;
    ParameterBuilder builder(&list);
    builder.setFillParameter("fills", "Fills", 0);
    std::vector<std::size_t> rows;
    Parameter* table = nullptr;
    for (short index : {3, 5, 3}) {
        std::size_t row = 0;
        table = builder.allocateFillValue(Fill(attribute_index(index)), row, false);
        ASSERT_NE(table, nullptr);
        rows.push_back(row);
    }
    EXPECT_EQ(rows, (std::vector<std::size_t>{0, 1, 0}));
    EXPECT_EQ(table->getRowCount(), 2u);
    EXPECT_EQ(cell(table, 1), "5");

    // A scalar holding another value cannot take a second row: nothing is written.
    ParameterList scalar;
    scalar.addParameter(new PenParameter("pens", "", short(7)));
    ParameterBuilder pens(&scalar);
    pens.setPenParameter(0, "PENS", "", 0);
    std::size_t row = 0;
    EXPECT_EQ(pens.allocatePenValue(Pen(attribute_index(2)), 0, row, false), nullptr);
    EXPECT_EQ(cell(scalar.getParameter(std::size_t(0))), "7");
    EXPECT_NE(pens.allocatePenValue(Pen(attribute_index(7)), 0, row, false), nullptr);
    EXPECT_EQ(pens.allocatePenValue(Pen(attribute_index(7)), 4, row, false), nullptr); // no such pen type
}

TEST(ParameterBuilderTest, NumberedSeries) {
    ParameterList list;
    list.addParameter(new PenParameter("penX1", "", short(4)));
    list.addParameter(new PenParameter("penX2", "", short(6)));
    ParameterBuilder builder(&list);
    builder.setPenParameter(1, "penX", "Pen", 2);
    std::size_t row = 5;
    Parameter* added = builder.allocatePenValue(Pen(attribute_index(9)), 1, row, false);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(names(list), (std::vector<std::string>{"penX1", "penX2", "penX3"}));
    EXPECT_EQ(cell(added), "9");
    EXPECT_EQ(builder.allocatePenValue(Pen(attribute_index(6)), 1, row, false), list.getParameter(1));
    EXPECT_TRUE(builder.isAllocatedAttribute(1, 1));
    EXPECT_FALSE(builder.isAllocatedAttribute(1, 2));

    // Pens change when the pen type changes, unless the method says otherwise.
    builder.setLastPen(2, attribute_index(6));
    EXPECT_TRUE(builder.isAttributeChange(Pen(attribute_index(6)), 1));
    EXPECT_FALSE(builder.isAttributeChange(Pen(attribute_index(6)), 2));
    EXPECT_EQ(builder.getAttributeMethod(1, 1), 2);
}
