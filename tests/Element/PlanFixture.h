// Shared by the element tests that load elements from the simulated floor plan: a fresh project
// with the drawing class started, the loading of one element as its own class, and a wall record.
#pragma once

#include "ACAPI/ElementTable.hpp"
#include "Database/Plan.h"
#include "Element/Element.h"
#include "Environment/Host.h"
#include "sim/Project.h"

#include <gtest/gtest.h>

#include <memory>

namespace plan_testing {

using namespace zelvane;

// A wall 3 high from begin to end, its arc turning through sweep.
inline API_Element wallRecord(API_Coord begin, API_Coord end, double sweep = 0.0, double thickness = 0.3) {
    API_Element record;
    record.header.typeID = API_WallID;
    record.wall.begC = begin;
    record.wall.endC = end;
    record.wall.angle = sweep;
    record.wall.thickness = thickness;
    record.wall.height = 3.0;
    return record;
}

class PlanFixture : public ::testing::Test {
protected:
    void SetUp() override {
        sim::openProject();
        host.reset();
        Drawing::startup();
    }
    void TearDown() override {
        Drawing::shutdown();
        Element::m_isMinData = true;
        host.reset();
    }

    // The element of the front plan as a T; null when it loads as another class or not at all.
    template <typename T>
    std::unique_ptr<T> load(const GS::Guid& guid) {
        Plan* plan = host.getFrontPlan();
        std::unique_ptr<Element> element(plan->load(ElementLink(Guid(guid), plan)));
        auto* typed = dynamic_cast<T*>(element.get());
        if (typed != nullptr) {
            element.release();
        }
        return std::unique_ptr<T>(typed);
    }
};

} // namespace plan_testing
