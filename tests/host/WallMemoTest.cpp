#include "ACAPI/ElementMemo.hpp"
#include "ACAPI/ElementTable.hpp"
#include "GSRoot/BM.hpp"
#include "sim/ElementMemos.h"
#include "sim/ElementTable.h"
#include "sim/Project.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

GS::Guid** guidHandle(const std::vector<GS::Guid>& guids) {
    GSHandle handle = BMAllocateHandle(GSSize(guids.size() * sizeof(GS::Guid)), 0, 0);
    std::memcpy(*handle, guids.data(), guids.size() * sizeof(GS::Guid));
    return reinterpret_cast<GS::Guid**>(handle);
}

std::size_t countOf(GS::Guid** handle) {
    return handle == nullptr
               ? 0
               : std::size_t(BMGetHandleSize(reinterpret_cast<GSHandle>(handle))) / sizeof(GS::Guid);
}

} // namespace

TEST(WallMemoTest, WindowsAndDoorsTravelByTheirOwnMaskBits) {
    sim::openProject();
    API_Element record;
    record.header.typeID = API_WallID;
    const GS::Guid wall = sim::addElement(record);
    GS::Guid window, door1, door2;
    window.Generate();
    door1.Generate();
    door2.Generate();
    API_ElementMemo stored;
    stored.wallWindows = guidHandle({window});
    stored.wallDoors = guidHandle({door1, door2});
    ASSERT_EQ(sim::storeMemo(wall, &stored, APIMemoMask_WallWindows | APIMemoMask_WallDoors), NoError);
    ACAPI_DisposeElemMemoHdls(&stored);
    EXPECT_EQ(stored.wallDoors, nullptr);

    struct Case {
        API_ElemMemoMask mask;
        std::size_t windows;
        std::size_t doors;
    };
    for (const Case& c : {Case{APIMemoMask_WallWindows, 1, 0}, Case{APIMemoMask_WallDoors, 0, 2},
                          Case{APIMemoMask_Polygon, 0, 0}}) {
        API_ElementMemo memo;
        ASSERT_EQ(ACAPI_Element_GetMemo(wall, &memo, c.mask), NoError) << c.mask;
        EXPECT_EQ(countOf(memo.wallWindows), c.windows) << c.mask;
        EXPECT_EQ(countOf(memo.wallDoors), c.doors) << c.mask;
        if (c.doors == 2) {
            EXPECT_TRUE((*memo.wallDoors)[1] == door2);
        }
        ACAPI_DisposeElemMemoHdls(&memo);
    }
}
