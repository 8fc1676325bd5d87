// Remapping tests over the floor plan of an open project: the library and the drawing class
// started, lamps, doors and windows loaded as their own classes.
#pragma once

#include "Database/Drawing.h"
#include "Database/Plan.h"
#include "Database/Project.h"
#include "Element/Door.h"
#include "Element/Lamp.h"
#include "Element/Window.h"
#include "Library/Library.h"
#include "RemapFixture.h"
#include "sim/Project.h"

namespace remap_test {

class PlanRemapTest : public RemapTest {
protected:
    void SetUp() override {
        sim::openProject();
        RemapTest::SetUp();
        zelvane::Library::startup();
        zelvane::Drawing::startup();
        zelvane::Drawing::addAdapter(zelvane::element_id(API_LampID), zelvane::Lamp::create, false);
        zelvane::Drawing::addAdapter(zelvane::element_id(API_DoorID), zelvane::Door::create, false);
        zelvane::Drawing::addAdapter(zelvane::element_id(API_WindowID), zelvane::Window::create, false);
        plan = zelvane::host.getProject()->getFloorPlan();
    }
    // The project outlives the test: its preferences must not keep host memory.
    void TearDown() override {
        zelvane::host.getProject()->setPreference(ForeignPrefs(), false);
        zelvane::Drawing::shutdown();
        zelvane::Library::shutdown();
        RemapTest::TearDown();
    }

    zelvane::Plan* plan = nullptr;
};

} // namespace remap_test
