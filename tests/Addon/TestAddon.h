// An add-on of the tests' own: records what the framework asks of it.
#pragma once

#include "Addon/Addon.h"
#include "Addon/CommandSubscriber.h"
#include "Addon/MenuSubscriber.h"
#include "Addon/ProjectSubscriber.h"
#include "Environment/Directory.h"

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace testing_addon {

using namespace zelvane;

class TestAddon : public Addon {
public:
    TestAddon() = default;
    TestAddon(UInt32 developerID, UInt32 localID) : Addon(developerID, localID) {}

    const ProductInfo& getProductInfo() const override { return info; }
    String getProductVersion() const override { return version; }
    String getBuildNo() const override { return String("42"); }
    void reportUnexpectedFailure() override {
        ++failures;
        if (throwOnReport) {
            throw 1;
        }
    }
    void reset() override {
        ++resets;
        if (throwOnReset) {
            throw std::runtime_error("reset");
        }
        Addon::reset();
    }
    bool isVersionChecked() const override { return versionChecked; }
    Directory* getUserPrefsDirectory() const override {
        if (atUserPrefsDirectory) {
            atUserPrefsDirectory();
        }
        return userPrefsFolder.empty() ? Addon::getUserPrefsDirectory()
                                       : new Directory(userPrefsFolder, false);
    }
    void checkIntegrity() override { ++integrityChecks; }
    bool preprocessEvent(Event& event) override {
        trace.push_back("pre");
        return Addon::preprocessEvent(event) || consumeHostEvents;
    }
    bool postprocessEvent(Event& event) override {
        trace.push_back("post");
        return Addon::postprocessEvent(event);
    }

    ProductInfo info{String("Sample Tool 2")};
    String version{"1.5"};
    int failures = 0;
    int resets = 0;
    bool throwOnReset = false;
    bool throwOnReport = false;
    bool consumeHostEvents = false;
    bool versionChecked = false;
    int integrityChecks = 0;
    // The user preference folder the add-on names, where not the system's (empty).
    String userPrefsFolder;
    // Run each time the framework asks for the user preference folder: what another program does
    // meanwhile.
    std::function<void()> atUserPrefsDirectory;
    std::vector<std::string> trace;
};

// Runs a function for each event of one event key it is offered.
class Probe : public virtual Subscriber {
public:
    Probe(EventSpec spec, std::function<bool(Event&)> action) : m_spec(spec), m_action(std::move(action)) {}
    void getSpec(std::vector<EventSpec>& specs) const override { specs.push_back(m_spec); }
    bool takeEvent(Event& event) override { return m_action(event); }
    bool checkEnvironment() override { return environmentOK; }
    bool initialise() override { return initialiseOK; }

    bool environmentOK = true;
    bool initialiseOK = true;

private:
    EventSpec m_spec;
    std::function<bool(Event&)> m_action;
};

} // namespace testing_addon
