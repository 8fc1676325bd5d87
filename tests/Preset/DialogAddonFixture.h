// Shared by the preset module's dialog tests: the preset test host with a project open, the panel
// class started and a test add-on running, made and deleted within each test so that what it
// holds of the host counts as freed.
#pragma once

#include "Addon/TestAddon.h"
#include "Environment/Host.h"
#include "Interface/InterfacePanel.h"
#include "PresetFixture.h"
#include "sim/Project.h"

#include <gtest/gtest.h>

#include <memory>

namespace testing_preset {

class DialogAddonTest : public PresetTest {
protected:
    void SetUp() override {
        PresetTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        sim::openProject();
        host.reset();
        InterfacePanel::startup();
        m_addon = std::make_unique<testing_addon::TestAddon>();
        addon = m_addon.get();
    }
    void TearDown() override {
        addon = nullptr;
        m_addon.reset();
        InterfacePanel::shutdown();
    }

    std::unique_ptr<testing_addon::TestAddon> m_addon;
};

} // namespace testing_preset
