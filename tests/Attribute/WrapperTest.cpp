#include "Attribute/City.h"
#include "Attribute/ComplexProfile.h"
#include "Attribute/Composite.h"
#include "Attribute/Fill.h"
#include "Attribute/Finish.h"
#include "Attribute/Font.h"
#include "Attribute/LayerCombination.h"
#include "Attribute/LayerMap.h"
#include "Attribute/LineStyle.h"
#include "Attribute/Material.h"
#include "Attribute/ZoneCategory.h"
#include "Database/Specification.h"
#include "Environment/Host.h"
#include "Environment/Memory.h"
#include "GX/GSPixMap.hpp"
#include "Interface/Image.h"
#include "sim/Attributes.h"
#include "sim/Memory.h"
#include "sim/Project.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

using namespace zelvane;

namespace {

class WrapperTest : public ::testing::Test {
protected:
    void SetUp() override {
        Specification::startup();
        sim::openProject();
        spec = host.getFrontSpec();
        ASSERT_NE(spec, nullptr);
    }
    void TearDown() override { Specification::shutdown(); }

    static API_AttributeIndex addLayer(const std::string& name, GSFlags flags = 0) {
        return sim::addAttribute(sim::makeAttribute(API_LayerID, name, flags));
    }

    // Stores the wrapper, then loads it back as a new wrapper of its class.
    template <typename T>
    std::unique_ptr<T> roundTrip(T& wrapper) {
        EXPECT_TRUE(spec->put(wrapper));
        std::unique_ptr<Attribute> loaded((*spec)[AttributeLink(wrapper.getLink().getIndex(), T::ID, spec)]);
        auto* typed = dynamic_cast<T*>(loaded.get());
        EXPECT_NE(typed, nullptr);
        if (typed != nullptr) {
            (void)loaded.release();
        }
        return std::unique_ptr<T>(typed);
    }

    Specification* spec = nullptr;
};

} // namespace

TEST_F(WrapperTest, EveryWrapperStoresAndLoadsItsFields) {
    LineStyle line;
    line.setName("dashed");
    EXPECT_EQ(roundTrip(line)->getName(), "dashed");

    Fill fill;
    fill.setName("brick");
    auto fillBack = roundTrip(fill);
    const Pattern& pattern = *fillBack;
    EXPECT_EQ(pattern.getName(), "brick");
    EXPECT_TRUE(pattern.exists());
    EXPECT_EQ(pattern.getIndex(), 1);

    Font font;
    font.setName("Arial");
    EXPECT_EQ(roundTrip(font)->getName(), "Arial");

    ComplexProfile profile;
    profile.setName("I-beam");
    profile.setForBeams(true);
    auto profileBack = roundTrip(profile);
    EXPECT_TRUE(profileBack->isForBeams());
    EXPECT_FALSE(profileBack->isForWalls());

    Material material;
    material.setName("concrete");
    material.setCutFill(*fillBack);
    material.setDensity(2400);
    auto materialBack = roundTrip(material);
    EXPECT_EQ(materialBack->getDensity(), 2400);
    EXPECT_EQ(materialBack->getCutFill().getName(), "brick"); // through the front attribute set

    Pen pen;
    pen.setName("thick red");
    pen.setRGBColour(0xFF0000);
    pen.setThickness(0.5);
    auto penBack = roundTrip(pen);
    EXPECT_EQ(penBack->getRGBColour(), 0xFF0000u);
    EXPECT_EQ(penBack->getThickness(), 0.5);

    City city;
    city.setName("Lisbon");
    ASSERT_TRUE(city.setLatitude(38.7));
    ASSERT_TRUE(city.setLongitude(-9.1));
    city.setTimeZone(0);
    auto cityBack = roundTrip(city);
    EXPECT_EQ(cityBack->getLatitude(), 38.0); // whole degrees from the host's minutes
    EXPECT_EQ(cityBack->getLongitude(), -9.0);

    ZoneCategory category;
    category.setName("office");
    category.setCode(String("A-CODE-LONGER-THAN-SIXTEEN"));
    category.setStampName(String("Zone Stamp"));
    category.setColour(0x336699);
    auto categoryBack = roundTrip(category);
    EXPECT_EQ(categoryBack->getCode(), "A-CODE-LONGER-T"); // 15 units and the terminator
    EXPECT_EQ(categoryBack->getStampName(), "Zone Stamp");
    EXPECT_EQ(categoryBack->getColour(), 0x336699u);
}

TEST_F(WrapperTest, FinishReadsTheHostMaterial) {
    API_Attribute record = sim::makeAttribute(API_MaterialID, "glass");
    record.material.transpPc = 80;
    record.material.shine = 5000;
    record.material.transpAtt = 200;
    record.material.surfaceRGB = API_RGBColor{0.2, 0.4, 0.6};
    sim::addAttribute(record);
    record = sim::makeAttribute(API_MaterialID, "wood");
    record.material.texture.status = 0x10 | 0x08;
    record.material.texture.xSize = 2.5;
    record.material.texture.rotAng = 0.5;
    sim::addAttribute(record);

    Finish glass(AttributeLink(1, Finish::ID, spec));
    EXPECT_DOUBLE_EQ(glass.getTransparency(), 0.8);
    EXPECT_DOUBLE_EQ(glass.getShininess(), 0.5);
    EXPECT_DOUBLE_EQ(glass.getTransparencyAttenuation(), 0.5);
    EXPECT_EQ(glass.getSurfaceColour(), CadColour(0.2, 0.4, 0.6));
    EXPECT_FALSE(glass.hasTexture());
    EXPECT_TRUE(glass.isTextureMissing());
    EXPECT_EQ(glass.getTextureScaleX(), 1.0);
    EXPECT_EQ(glass.getTextureFile(), nullptr);

    Finish wood(AttributeLink(2, Finish::ID, spec));
    EXPECT_TRUE(wood.hasTexture());
    EXPECT_FALSE(wood.isTextureMirroredX());
    EXPECT_TRUE(wood.isTextureMirroredY());
    EXPECT_FALSE(wood.isTextureMissing());
    EXPECT_EQ(wood.getTextureScaleX(), 2.5);
    EXPECT_EQ(wood.getTextureRotation(), 0.5);

    // A 3D material answers before the host record.
    auto material = std::make_shared<ModelerAPI::Material>();
    material->name = "render glass";
    material->transparency = 0.6;
    material->shining = 40;
    material->textureIndex = 1;
    material->textureRotation = 0.25;
    material->specularColor = ModelerAPI::Color{0.1, 0.2, 0.3};
    auto texture = std::make_shared<ModelerAPI::Texture>();
    texture->name = "glass.png";
    texture->mirrorX = true;
    texture->xSize = 3.0;
    texture->available = false;
    Finish rendered(material, texture);
    EXPECT_EQ(rendered.getName(), "render glass");
    EXPECT_DOUBLE_EQ(rendered.getTransparency(), 0.6);
    EXPECT_DOUBLE_EQ(rendered.getShininess(), 0.4);
    EXPECT_EQ(rendered.getSpecularColour(), CadColour(0.1, 0.2, 0.3));
    EXPECT_TRUE(rendered.hasTexture());
    EXPECT_TRUE(rendered.isTextureMirroredX());
    EXPECT_TRUE(rendered.isTextureMissing());
    EXPECT_EQ(rendered.getTextureScaleX(), 3.0);
    EXPECT_EQ(rendered.getTextureRotation(), 0.25);
    EXPECT_EQ(rendered.getTextureName(), "glass.png");
    EXPECT_EQ(rendered.getTextureFile(), nullptr);
    ModelerAPI::Color back = CadColour(0.5, 0.25, 1.0);
    EXPECT_EQ(back.green, 0.25);

    Finish::Use use = Finish::Use::first;
    EXPECT_EQ(--use, Finish::Use::last);
    LineStyle::Use lineUse = LineStyle::Use::last;
    EXPECT_EQ(++lineUse, LineStyle::Use::first);
}

TEST_F(WrapperTest, LayerMapsAnswerHiddenForLayersTheyDoNotName) {
    addLayer("a", APILay_Locked);
    addLayer("b", APILay_ForceToWire);
    addLayer("c");
    sim::deleteAttribute(API_LayerID, 3);
    Layer a(AttributeLink(1, Layer::ID, spec));
    Layer b(AttributeLink(2, Layer::ID, spec));

    LayerMap empty;
    EXPECT_EQ(empty.size(), 0u);
    EXPECT_EQ(empty.getStatusFor(a), Layer::Status(Layer::hidden, 0));
    empty.setWire(b, true);
    EXPECT_EQ(empty.size(), 1u);
    EXPECT_EQ(empty.getStatusFor(b), Layer::Status(Layer::wire, 0));
    empty.setConnectionID(b, 4);
    EXPECT_EQ(empty.getStatusFor(b).getConnectionID(), 4);

    LayerMap project(true);
    EXPECT_EQ(project.size(), 2u);
    EXPECT_EQ(project.getStatusFor(a), Layer::Status(Layer::locked, 0));
    EXPECT_EQ(project.getStatusFor(b), Layer::Status(Layer::wire, 0));

    char** none = allocateHandle(0);
    LayerMap fromEmpty(reinterpret_cast<API_LayerStat**>(none));
    EXPECT_EQ(fromEmpty.size(), 0u);
    disposeHandle(&none);
    char** odd = allocateHandle(12); // one whole entry and some
    clearMemory(*odd, 12);
    reinterpret_cast<API_LayerStat*>(*odd)->lInd = 2;
    reinterpret_cast<API_LayerStat*>(*odd)->lFlags = Layer::locked;
    LayerMap fromOdd(reinterpret_cast<API_LayerStat**>(odd));
    EXPECT_EQ(fromOdd.size(), 1u);
    EXPECT_EQ(fromOdd.getStatusFor(b), Layer::Status(Layer::locked, 0));
    disposeHandle(&odd);
}

TEST_F(WrapperTest, LayerCombinationsPackAStateForEveryLayer) {
    addLayer("a");
    addLayer("b");
    addLayer("c");
    Layer b(AttributeLink(2, Layer::ID, spec));

    LayerCombination unsaved;
    unsaved.setName("no map");
    EXPECT_EQ(unsaved.getLayerMap(), nullptr); // not stored: nothing to read
    EXPECT_EQ(unsaved.getMemo(), nullptr);     // and nothing to pack

    LayerCombination combination;
    combination.setName("plan");
    auto* map = new LayerMap;
    map->setLocked(b, true);
    combination.setLayerMap(map);
    ASSERT_TRUE(spec->put(combination));
    const sim::AttributeExtra* extra = sim::attributeExtra(API_LayerCombID, 1);
    ASSERT_NE(extra, nullptr);
    ASSERT_EQ(extra->layerStats.size(), 3u);
    EXPECT_EQ(sim::attribute(API_LayerCombID, 1)->layerComb.lNumb, 3);
    EXPECT_EQ(extra->layerStats[0].lFlags, Layer::hidden);
    EXPECT_EQ(extra->layerStats[1].lFlags, Layer::locked);
    EXPECT_EQ(extra->layerStats[1].lInd, 2);
    EXPECT_EQ(extra->layerStats[2].lFlags, Layer::hidden);

    // Memory running out while the table is packed stores nothing and leaks nothing.
    LayerCombination second;
    second.setName("second");
    second.setLayerMap(new LayerMap(true));
    sim::failNextAllocations(1, ErrMemoryFull, 1);
    bool stored2 = true;
    try {
        stored2 = spec->put(second);
    } catch (const std::bad_alloc&) {
        stored2 = false;
    }
    sim::failNextAllocations(0);
    EXPECT_FALSE(stored2);
    EXPECT_EQ(sim::liveAttributes(API_LayerCombID), 1u);

    LayerCombination stored(AttributeLink(1, LayerCombination::ID, spec));
    sim::clearCalls();
    ASSERT_NE(stored.getLayerMap(), nullptr);
    EXPECT_EQ(stored.getLayerMap()->size(), 3u);
    EXPECT_EQ(sim::callCount("ACAPI_Attribute_GetDefExt"), 1u);
    EXPECT_EQ(stored.getLayerMap()->getStatusFor(b), Layer::Status(Layer::locked, 0));

    // A failed read leaves the map unloaded and records the host's answer.
    LayerCombination failing(AttributeLink(1, LayerCombination::ID, spec));
    sim::failCall("ACAPI_Attribute_GetDefExt", APIERR_MEMFULL);
    EXPECT_EQ(failing.getLayerMap(), nullptr);
    EXPECT_EQ(spec->getLastError(), APIERR_MEMFULL);
    EXPECT_FALSE(failing.isLoaded());
}

TEST_F(WrapperTest, CompositesCarryTheirSkinsThroughTheAttributeSet) {
    sim::AttributeExtra extra;
    extra.skins.resize(2);
    extra.skins[0].buildingMaterial = 3;
    extra.skins[1].buildingMaterial = 4;
    extra.skinLines.resize(3);
    extra.skinLines[2].linePen = 7;
    sim::addAttribute(sim::makeAttribute(API_CompWallID, "first"));
    sim::addAttribute(sim::makeAttribute(API_CompWallID, "wall"), extra);

    std::unique_ptr<Attribute> loaded((*spec)[AttributeLink(-2, Composite::ID, spec)]);
    auto* wall = dynamic_cast<Composite*>(loaded.get());
    ASSERT_NE(wall, nullptr);
    EXPECT_EQ(wall->getName(), "wall");
    EXPECT_EQ(wall->getIndex(), 2); // the link's -2 negated
    EXPECT_EQ(wall->getCoreCount(), 2);
    EXPECT_EQ(wall->getEdge(2)->getRecord().linePen, 7);

    wall->getCore(0)->getRecord().buildingMaterial = 9;
    wall->setName("wall 2");
    ASSERT_TRUE(spec->put(*wall));
    const sim::AttributeExtra* stored = sim::attributeExtra(API_CompWallID, 2);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->skins[0].buildingMaterial, 9);
    EXPECT_EQ(stored->skinLines.size(), 3u);
    EXPECT_STREQ(sim::attribute(API_CompWallID, 2)->header.name, "wall 2");

    // Allocation failures while packing store nothing and leak nothing.
    for (int skip = 0; skip < 4; ++skip) {
        SCOPED_TRACE(skip);
        wall->getCore(1)->getRecord().buildingMaterial = API_AttributeIndex(20 + skip);
        sim::failNextAllocations(1, ErrMemoryFull, skip);
        bool stored2 = false;
        try {
            stored2 = spec->put(*wall);
        } catch (const std::bad_alloc&) {
        }
        sim::failNextAllocations(0);
        if (!stored2) {
            EXPECT_NE(sim::attributeExtra(API_CompWallID, 2)->skins[1].buildingMaterial, 20 + skip);
        }
    }
}

TEST_F(WrapperTest, FinishTextureImagesComeOnlyFromWholeModelTextures) {
    auto material = std::make_shared<ModelerAPI::Material>();
    material->textureIndex = 1;
    auto texture = [](Int32 width, Int32 height, std::size_t pixels) {
        auto made = std::make_shared<ModelerAPI::Texture>();
        made->width = width;
        made->height = height;
        for (std::size_t i = 0; i < pixels; ++i) {
            made->pixels.push_back(0x11223300u + UInt32(i));
        }
        return made;
    };
    struct Case {
        const char* name;
        std::shared_ptr<ModelerAPI::Texture> texture;
        bool made;
    };
    const Case cases[] = {
        {"whole", texture(3, 2, 6), true},           {"no texture", nullptr, false},
        {"too few pixels", texture(3, 2, 5), false}, {"too many pixels", texture(1, 1, 2), false},
        {"no width", texture(0, 2, 0), false},       {"negative height", texture(2, -1, 0), false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        Finish finish(material, test.texture);
        std::unique_ptr<Image> image(finish.getTextureImage());
        ASSERT_EQ(image != nullptr, test.made);
        if (!test.made) {
            continue;
        }
        EXPECT_EQ(image->getBounds().getEnd().getX(), test.texture->width);
        EXPECT_EQ(image->getBounds().getEnd().getY(), test.texture->height);
        EXPECT_EQ(image->getHorizontalResolution(), 72.0);
        GSPixMapHandle pixels = image->getPixelMap();
        ASSERT_NE(pixels, nullptr);
        EXPECT_EQ(std::memcmp(GXGetGSPixMapPixels(pixels), test.texture->pixels.data(),
                              test.texture->pixels.size() * 4),
                  0);
    }

    // The project's own materials have texture files, not images.
    sim::addAttribute(sim::makeAttribute(API_MaterialID, "wood"));
    EXPECT_EQ(Finish(AttributeLink(1, Finish::ID, spec)).getTextureImage(), nullptr);
    // No memory for the pixel map: no image, nothing left behind.
    sim::failNextAllocations(1);
    EXPECT_EQ(Finish(material, texture(2, 2, 4)).getTextureImage(), nullptr);
}
