// Tests of the remapping add-on start on a host that holds the framework's resources and the
// add-on's own, merged as the host program merges them.
#pragma once

#include "Addon/Addon.h"
#include "Addon/ModuleSubscriber.h"
#include "Addon/ProjectSubscriber.h"
#include "Environment/DataBufferOut.h"
#include "Environment/Host.h"
#include "XML/Package.h"
#include "XML/XMLShipping.h"
#include "XML/XMLWriter.h"
#include "sim/Resources.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace remap_test {

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline bool loadAddonResources() {
    nlohmann::json merged = nlohmann::json::object();
    for (const char* name : {"zelvane.json", "remap.json"}) {
        std::ifstream in(std::filesystem::path(ZELVANE_RESOURCE_DIR) / name);
        merged.merge_patch(nlohmann::json::parse(in));
    }
    std::string error;
    bool loaded = sim::loadResourcesText(sim::defaultAddOn, merged.dump(), &error);
    EXPECT_TRUE(loaded) << error;
    return loaded;
}

// The first line of every file the add-on writes.
inline constexpr const char* declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n";

// The object as the add-on writes its files.
inline std::string xmlOf(zelvane::XMLShipping& object) {
    zelvane::String text;
    {
        zelvane::DataBufferOut stream(&text);
        zelvane::XMLWriter writer(&stream);
        EXPECT_TRUE(writer.exportFrom(object, true, true, true, true));
    }
    return std::string(text.data(), text.dataLength());
}

// A project package under the add-on's code that is not the add-on's preferences. The project
// outlives a test: a test that gave it the add-on's preferences leaves this in their place, so that
// no package keeps host memory.
class ForeignPrefs : public zelvane::Package {
public:
    zelvane::Package* clone() const override { return new ForeignPrefs(*this); }
    unsigned int getID() const override { return MakeGSType("RMPP"); }
    const char* getTag() const override { return "foreign"; }
    void setDefault() override {}
    std::size_t shippingSize() const override { return 0; }
    zelvane::Shipping* getShipping(std::size_t, bool) override { return nullptr; }
    zelvane::Shipping* getShipping(const zelvane::String&, const zelvane::String&) override {
        return nullptr;
    }
};

class RemapTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetHandlers();
        zelvane::host.reset();
        ASSERT_TRUE(loadAddonResources());
    }
    void TearDown() override {
        resetHandlers();
        zelvane::host.reset();
    }

    static void resetHandlers() {
        zelvane::ProjectSubscriber::isInstalled = false;
        zelvane::ModuleSubscriber::m_isRegistered = 0;
        zelvane::ModuleSubscriber::m_isInstalled = 0;
    }
};

} // namespace remap_test
