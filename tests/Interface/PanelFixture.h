// Shared by the panel and control tests: the panel class started, and test dialogs loaded as
// the add-on's resources.
#pragma once

#include "Addon/Subscriber.h"
#include "Interface/InterfacePanel.h"
#include "sim/Resources.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace panel_testing {

using namespace zelvane;

// Dialog 700: buttons 1 and 2, a text, an edit text, a spare button and a tab control with page
// 701; dialog 702 has no buttons at all.
inline const char* testResources() {
    return R"({
      "dialogs": {
        "700": {
          "title": "Panel", "size": [300, 200], "minimumSize": [240, 160], "grow": 3,
          "items": [
            {"number": 1, "kind": "button", "rect": [200, 160, 280, 180], "text": "OK"},
            {"number": 2, "kind": "button", "rect": [100, 160, 180, 180], "text": "Cancel"},
            {"number": 3, "kind": "centerText", "rect": [10, 10, 290, 30], "text": "Label"},
            {"number": 4, "kind": "textEdit", "rect": [10, 40, 290, 60], "text": ""},
            {"number": 5, "kind": "button", "rect": [10, 70, 90, 90], "text": "More", "image": 12},
            {"number": 6, "kind": "tabControl", "rect": [100, 70, 290, 150], "pages": [701]}
          ]
        },
        "701": { "size": [180, 70], "items": [ {"number": 1, "kind": "textEdit", "rect": [0, 0, 100, 20]} ] },
        "702": { "size": [100, 50], "items": [ {"number": 3, "kind": "leftText", "rect": [0, 0, 100, 20]} ] }
      }
    })";
}

inline std::filesystem::path frameworkResources() {
    return std::filesystem::path(ZELVANE_RESOURCE_DIR) / "zelvane.json";
}

// The panel class started, and the dialogs of a resource text loaded as the add-on's resources.
class DialogResourcesTest : public ::testing::Test {
protected:
    explicit DialogResourcesTest(const char* resources) : m_resources(resources) {}
    void SetUp() override {
        InterfacePanel::startup();
        std::string error;
        ASSERT_TRUE(sim::loadResourcesText(sim::defaultAddOn, m_resources, &error)) << error;
    }
    void TearDown() override { InterfacePanel::shutdown(); }

private:
    const char* m_resources;
};

class PanelTest : public DialogResourcesTest {
protected:
    PanelTest() : DialogResourcesTest(testResources()) {}
};

class FrameworkResourcesTest : public ::testing::Test {
protected:
    void SetUp() override {
        InterfacePanel::startup();
        std::string error;
        ASSERT_TRUE(sim::loadResources(frameworkResources(), &error)) << error;
    }
    void TearDown() override { InterfacePanel::shutdown(); }
};

// Takes the events of one event key and runs a function on each.
class Listener : public Subscriber {
public:
    Listener(EventSpec spec, std::function<bool(Event&)> action)
        : m_spec(spec), m_action(std::move(action)) {}
    void getSpec(std::vector<EventSpec>& specs) const override { specs.push_back(m_spec); }
    bool takeEvent(Event& event) override { return m_action(event); }

private:
    EventSpec m_spec;
    std::function<bool(Event&)> m_action;
};

} // namespace panel_testing
