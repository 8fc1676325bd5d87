#include "Addon/Addon.h"
#include "Attribute/Layer.h"
#include "Database/ElementLink.h"
#include "Database/Specification.h"
#include "Environment/Host.h"
#include "sim/Attributes.h"
#include "sim/Project.h"
#include "sim/Resources.h"
#include "sim/Sim.h"
#include "sim/Toolbox.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace zelvane;

TEST(HostLayerTest, LayerChooserReplacesTheLayerWithTheChosenOne) {
    Specification::startup();
    sim::openProject();
    sim::addAttribute(sim::makeAttribute(API_LayerID, "first"));
    sim::addAttribute(sim::makeAttribute(API_LayerID, "second", APILay_Locked));
    Layer layer(AttributeLink(1, Layer::ID, host.getFrontSpec()));
    ElementLink wall(element_id(API_WallID), 0);

    sim::queueLayerChoice(2);
    sim::clearCalls();
    EXPECT_TRUE(host.showLayerSelection(wall, layer));
    ASSERT_FALSE(sim::calls().empty());
    EXPECT_EQ(sim::callCount("ACAPI_Internal"), 1u);
    EXPECT_EQ(layer.getIndex(), 2);
    EXPECT_EQ(layer.getName(), "second");
    EXPECT_TRUE(layer.isLocked());

    sim::queueLayerChoice(-1);
    EXPECT_FALSE(host.showLayerSelection(wall, layer)); // cancelled: unchanged
    EXPECT_EQ(layer.getIndex(), 2);

    sim::queueLayerChoice(7); // a layer the set cannot load: linked all the same
    EXPECT_TRUE(host.showLayerSelection(wall, layer));
    EXPECT_EQ(layer.getIndex(), 7);
    Specification::shutdown();
}

TEST(HostLayerTest, StartupMakesTheAttributeRegistryAndShutdownDropsIt) {
    sim::openProject();
    sim::addAttribute(sim::makeAttribute(API_LayerID, "only"));
    Specification* spec = host.getFrontSpec();
    ASSERT_NE(spec, nullptr);
    ASSERT_EQ(Addon::startup(), NoError);
    std::unique_ptr<Attribute> loaded((*spec)[AttributeLink(1, Layer::ID, spec)]);
    EXPECT_NE(dynamic_cast<Layer*>(loaded.get()), nullptr);
    ASSERT_EQ(Addon::shutdown(), NoError);
    loaded.reset((*spec)[AttributeLink(1, Layer::ID, spec)]);
    EXPECT_EQ(loaded, nullptr); // no factories left
}

TEST(HostLayerTest, TheSpecialLayerNameLinksToIndexOne) {
    ASSERT_TRUE(sim::loadResources(std::filesystem::path(ZELVANE_RESOURCE_DIR) / "zelvane.json"));
    sim::openProject();
    sim::addAttribute(sim::makeAttribute(API_LayerID, "other"));
    String name = Layer::archicadLayerName();
    EXPECT_EQ(name, "ArchiCAD Layer");
    Layer special(name);
    EXPECT_EQ(special.getLink().getIndex(), 1);
    EXPECT_EQ(sim::callCount("ACAPI_Attribute_Search"), 0u); // known without a search
    Layer other(String("other"));
    EXPECT_EQ(other.getLink().getIndex(), 1);
    Layer fresh(String("fresh"));
    EXPECT_EQ(fresh.getLink().getIndex(), 0);
    EXPECT_EQ(fresh.getName(), "fresh");
}
