#include "Attribute/Fill.h"
#include "Attribute/Finish.h"
#include "Attribute/LineStyle.h"
#include "Attribute/Pen.h"
#include "Database/Specification.h"
#include "Library/FillParameter.h"
#include "Library/LineStyleParameter.h"
#include "Library/MaterialParameter.h"
#include "Library/PenParameter.h"
#include "sim/Attributes.h"

#include <gtest/gtest.h>

#include <memory>

using namespace zelvane;

TEST(AttributeParameterTest, TheFirstCellNamesAnAttributeOfTheKind) {
    Specification::startup();
    Specification spec;
    sim::addAttribute(sim::makeAttribute(API_PenID, "pen 1"));
    sim::addAttribute(sim::makeAttribute(API_PenID, "pen 2"));
    sim::addAttribute(sim::makeAttribute(API_LinetypeID, "dashed"));
    sim::addAttribute(sim::makeAttribute(API_FilltypeID, "brick"));
    sim::addAttribute(sim::makeAttribute(API_MaterialID, "oak"));

    std::unique_ptr<Pen> pen(PenParameter("pen", "", short(2)).getAttribute(&spec));
    ASSERT_NE(pen, nullptr);
    EXPECT_EQ(pen->getName(), "pen 2");
    std::unique_ptr<LineStyle> line(LineStyleParameter("line", "", short(1)).getAttribute(&spec));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->getName(), "dashed");
    std::unique_ptr<Fill> fill(FillParameter("fill", "", short(1)).getAttribute(&spec));
    ASSERT_NE(fill, nullptr);
    std::unique_ptr<Finish> finish(MaterialParameter("mat", "", short(1)).getAttribute(&spec));
    ASSERT_NE(finish, nullptr);
    EXPECT_EQ(finish->getName(), "oak");

    EXPECT_EQ(PenParameter("pen", "", short(9)).getAttribute(&spec), nullptr);
    EXPECT_EQ(PenParameter("pen", "", short(1)).getAttribute(nullptr), nullptr);
    Specification::shutdown();
}
