// A walk of the floor plan's walls as an add-on writes it, with the headers of the drawing, the
// plan and the wall only: they bring in whatever the walk needs.
#include "Database/Drawing.h"
#include "Database/Plan.h"
#include "Element/Wall.h"
#include "Environment/Host.h"
#include "sim/ElementTable.h"
#include "sim/Project.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zelvane;

TEST(WallWalkTest, MeetsTheWallsThroughTheirOwnHeaders) {
    sim::openProject();
    host.reset();
    Drawing::startup();
    Drawing::addAdapter(element_id(API_WallID), Wall::create, false);
    API_Element placed;
    placed.header.typeID = API_WallID;
    placed.header.layer = 1;
    for (double thickness : {0.3, 0.2}) {
        placed.wall.thickness = thickness;
        sim::addElement(placed);
    }
    placed.header.typeID = API_ColumnID;
    sim::addElement(placed);

    Plan* plan = host.getFrontPlan();
    ASSERT_NE(plan, nullptr);
    std::vector<double> walls;
    for (auto it = plan->begin(false, Drawing::Filter(element_id(API_WallID), false)); !it.atEnd(); ++it) {
        walls.push_back(dynamic_cast<Wall&>(*it).getThickness());
    }
    // A walk of every kind meets only the kinds whose factories are registered: no column.
    std::size_t met = 0;
    for (auto it = plan->begin(false, Drawing::Filter(false)); !it.atEnd(); ++it) {
        ++met;
    }
    std::size_t counted = plan->getCount(Drawing::Filter(false));
    Drawing::shutdown();
    host.reset();
    EXPECT_EQ(walls, (std::vector<double>{0.3, 0.2}));
    EXPECT_EQ(met, 2u);
    EXPECT_EQ(counted, 3u);
}
