// The test fixture of the preset types: the types are registered before each test and the
// module's state ends after it.
#pragma once

#include "PresetFixture.h"
#include "TestPresets.h"

namespace testing_preset {

// Registers the wall (legacy name "Walls") and finish (legacy name "Finishes") types, and ends the
// module's state after each test.
class PresetTypesTest : public PresetTest {
protected:
    void SetUp() override {
        PresetTest::SetUp();
        PresetDatabase::addTemplate(new WallRecord, "Walls", "Walls", wallRule);
        PresetDatabase::addTemplate(new FinishRecord, "Finishes", "Finishes", PresetDatabase::uniqueInType);
    }
    void TearDown() override { PresetDatabase::shutdownModule(); }

    PresetDatabase::Uniqueness wallRule = PresetDatabase::uniqueInDatabase;
};

} // namespace testing_preset
