#include "Database/Specification.h"
#include "Attribute/AttributeSelection.h"
#include "Attribute/City.h"
#include "Attribute/Layer.h"
#include "Attribute/Pen.h"
#include "Attribute/Phase.h"
#include "Attribute/Storey.h"
#include "Attribute/TextRuler.h"
#include "Attribute/TextStyle.h"
#include "Environment/MemoryBlock.h"
#include "sim/Attributes.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace zelvane;

namespace {

class SpecificationTest : public ::testing::Test {
protected:
    void SetUp() override { Specification::startup(); }
    void TearDown() override { Specification::shutdown(); }

    static API_AttributeIndex addPen(const std::string& name, double red, double width) {
        API_Attribute record = sim::makeAttribute(API_PenID, name);
        record.pen.rgb = API_RGBColor{red, 0.0, 0.0};
        record.pen.width = width;
        return sim::addAttribute(record);
    }
    static API_AttributeIndex addLayer(const std::string& name, GSFlags flags = 0, Int32 group = 0) {
        API_Attribute record = sim::makeAttribute(API_LayerID, name, flags);
        record.layer.conClassId = group;
        return sim::addAttribute(record);
    }

    // The names met walking the set with the filter, forward or backward.
    std::vector<std::string> walk(const Specification::Filter& filter, bool forward) {
        std::vector<std::string> names;
        if (forward) {
            for (auto it = spec.begin(false, filter); !it.atEnd(); ++it) {
                names.push_back(std::string(it->getName().data()));
            }
        } else {
            for (auto it = spec.rbegin(filter); !it.atEnd(); ++it) {
                names.push_back(std::string(it->getName().data()));
            }
        }
        return names;
    }

    Specification spec;
};

} // namespace

TEST_F(SpecificationTest, LoadBuildsTheWrapperOfTheRecordsType) {
    addPen("pen 1", 0.5, 0.2);
    addLayer("walls", APILay_Hidden | APILay_Locked, 7);
    struct Case {
        const char* name;
        AttributeLink link;
        const Specification::Filter* filter;
        bool loads;
        std::size_t getCalls;
    };
    Specification::Filter pens(Pen::ID);
    const Case cases[] = {
        {"pen", AttributeLink(1, Pen::ID, &spec), nullptr, true, 1},
        {"layer", AttributeLink(1, Layer::ID, &spec), nullptr, true, 1},
        {"layer through a pen filter", AttributeLink(1, Layer::ID, &spec), &pens, false, 0},
        {"no type", AttributeLink(1, 0, &spec), nullptr, false, 0},
        {"index 0", AttributeLink(0, Pen::ID, &spec), nullptr, false, 0},
        {"past the table", AttributeLink(3, Pen::ID, &spec), nullptr, false, 1},
        {"type without a wrapper", AttributeLink(1, 12, &spec), nullptr, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::clearCalls();
        std::unique_ptr<Attribute> loaded(spec.load(c.link, c.filter));
        EXPECT_EQ(loaded != nullptr, c.loads);
        EXPECT_EQ(sim::callCount("ACAPI_Attribute_Get"), c.getCalls);
        if (loaded != nullptr) {
            EXPECT_EQ(loaded->getLink().getSpecification(), &spec);
            EXPECT_EQ(loaded->getType(), c.link.getType());
        }
    }
    std::unique_ptr<Attribute> layer(spec[AttributeLink(1, Layer::ID, &spec)]);
    auto* walls = dynamic_cast<Layer*>(layer.get());
    ASSERT_NE(walls, nullptr);
    EXPECT_TRUE(walls->isHidden());
    EXPECT_TRUE(walls->isLocked());
    EXPECT_FALSE(walls->isWire());
    EXPECT_EQ(walls->getConnectionID(), 7);
    EXPECT_EQ(walls->getName(), "walls");
}

TEST_F(SpecificationTest, IterationRunsOverEveryTypeAndStepsOverDeletedIndexes) {
    addPen("p1", 0, 1);
    addPen("p2", 0, 1);
    addPen("p3", 0, 1);
    addLayer("l1");
    addLayer("l2");
    API_Attribute city = sim::makeAttribute(API_CityID, "c1");
    sim::addAttribute(city);
    sim::deleteAttribute(API_PenID, 2);
    struct Case {
        const char* name;
        attribute_id type;
        bool forward;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"all forward", 0, true, {"p1", "p3", "l1", "l2", "c1"}},
        {"all backward", 0, false, {"c1", "l2", "l1", "p3", "p1"}},
        {"pens forward", Pen::ID, true, {"p1", "p3"}},
        {"pens backward", Pen::ID, false, {"p3", "p1"}},
        {"layers backward", Layer::ID, false, {"l2", "l1"}},
        {"fonts", 10, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(walk(Specification::Filter(c.type), c.forward), c.expected);
    }
    std::vector<std::string> readOnly;
    Specification::Filter pens(Pen::ID);
    for (auto it = spec.cbegin(pens); it != spec.cend(); ++it) {
        readOnly.push_back(std::string(it->getName().data()));
    }
    EXPECT_EQ(readOnly, (std::vector<std::string>{"p1", "p3"}));
    // The same filter walks again after a pen was added: counted afresh.
    addPen("p4", 0, 1);
    EXPECT_EQ(walk(pens, true), (std::vector<std::string>{"p1", "p3", "p4"}));
    readOnly.clear();
    addPen("p5", 0, 1);
    for (auto it = spec.cbegin(pens); it != spec.cend(); ++it) {
        readOnly.push_back(std::string(it->getName().data()));
    }
    EXPECT_EQ(readOnly, (std::vector<std::string>{"p1", "p3", "p4", "p5"}));
    EXPECT_EQ(spec.getCount(Pen::ID), 5);
    EXPECT_EQ(spec.getCount(0), 8);
}

TEST_F(SpecificationTest, PutCreatesOrModifiesAndLinksTheAttribute) {
    addLayer("existing");
    Specification other;
    Layer fresh;
    fresh.setName("fresh");
    fresh.setWire(true);
    ASSERT_TRUE(spec.put(fresh));
    EXPECT_EQ(fresh.getIndex(), 2);
    EXPECT_EQ(fresh.getLink().getSpecification(), &spec);
    ASSERT_NE(sim::attribute(API_LayerID, 2), nullptr);
    EXPECT_EQ(sim::attribute(API_LayerID, 2)->header.flags, APILay_ForceToWire);

    fresh.setLocked(true);
    sim::clearCalls();
    ASSERT_TRUE(spec.put(fresh));
    EXPECT_EQ(sim::callCount("ACAPI_Attribute_ModifyExt"), 1u);
    EXPECT_EQ(sim::attribute(API_LayerID, 2)->header.flags, APILay_ForceToWire | APILay_Locked);

    // Taken from another set: created here anew, under a name the host does not have yet.
    std::unique_ptr<Attribute> copy(spec[AttributeLink(1, Layer::ID, &spec)]);
    copy->setName("copied");
    sim::clearCalls();
    ASSERT_TRUE(other.put(*copy));
    EXPECT_EQ(sim::callCount("ACAPI_Attribute_CreateExt"), 1u);
    EXPECT_EQ(copy->getIndex(), 3);
    EXPECT_EQ(copy->getLink().getSpecification(), &other);

    // A refused store changes nothing.
    Layer duplicate;
    duplicate.setName("existing");
    EXPECT_FALSE(spec.put(duplicate));
    EXPECT_EQ(duplicate.getIndex(), 0);
    EXPECT_EQ(spec.getLastError(), APIERR_NAMEALREADYUSED);
    sim::failCall("ACAPI_Attribute_ModifyExt", APIERR_GENERAL);
    fresh.setHidden(true);
    EXPECT_FALSE(spec.put(fresh));
    EXPECT_EQ(sim::attribute(API_LayerID, 2)->header.flags, APILay_ForceToWire | APILay_Locked);

    // Attributes of no host table have no record to store.
    Phase existing = Phase::existing();
    Storey storey(nullptr, "Ground", attribute_index(1), 0.0, 3.0);
    TextStyle style;
    TextRuler ruler;
    Attribute* recordless[] = {&existing, &storey, &style, &ruler};
    for (Attribute* attribute : recordless) {
        sim::clearCalls();
        EXPECT_FALSE(spec.put(*attribute));
        EXPECT_TRUE(sim::calls().empty());
    }
}

TEST_F(SpecificationTest, GetDataClearsTheWholeRecord) {
    Pen pen;
    pen.setName("x");
    std::unique_ptr<API_Attribute> data(pen.getData());
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.get());
    for (std::size_t i = sizeof(API_PenType); i < sizeof(API_Attribute); ++i) {
        ASSERT_EQ(bytes[i], 0) << "byte " << i;
    }
    EXPECT_EQ(data->pen.width, 0.1);
    EXPECT_EQ(data->header.typeID, API_PenID);
}

TEST_F(SpecificationTest, EraseSelectionDeletesEveryTypeEvenWhenOneFails) {
    addLayer("a");
    addLayer("b");
    addLayer("c");
    addPen("p", 0, 1);
    struct Case {
        const char* name;
        const char* failing;
        bool expected;
        std::size_t layersLeft;
    };
    AttributeSelection<Attribute> selection;
    selection.append(spec[AttributeLink(3, Layer::ID, &spec)]);
    selection.append(spec[AttributeLink(1, Pen::ID, &spec)]);
    selection.append(spec[AttributeLink(1, Layer::ID, &spec)]);
    sim::failCall("ACAPI_Attribute_DeleteMore", APIERR_GENERAL, 1); // the first type: pens
    EXPECT_FALSE(spec.erase(selection));
    EXPECT_EQ(sim::liveAttributes(API_LayerID), 1u);
    EXPECT_EQ(sim::liveAttributes(API_PenID), 1u);
    EXPECT_EQ(sim::callCount("ACAPI_Attribute_DeleteMore"), 2u);

    AttributeSelection<Layer> empty;
    EXPECT_TRUE(spec.erase(empty));
    EXPECT_TRUE(spec.erase(AttributeLink(1, Pen::ID, &spec)));
    EXPECT_FALSE(spec.erase(AttributeLink(1, Pen::ID, &spec)));
}

TEST_F(SpecificationTest, SelectionsAcceptTheirClassOnly) {
    addLayer("a");
    addPen("p", 0, 1);
    addLayer("b");
    AttributeSelection<Layer> layers;
    Specification::Filter all;
    auto it = spec.begin(true, all);
    buildSelection(it, spec.end(), layers);
    EXPECT_TRUE(it.isAutoWrite());
    ASSERT_EQ(layers.size(), 2u);
    std::unique_ptr<AttrRefList> links(layers.getRefList());
    ASSERT_EQ(links->size(), 2u);
    EXPECT_EQ((*links)[1]->getIndex(), 2);
    EXPECT_EQ(sim::callCount("ACAPI_Attribute_ModifyExt"), 0u); // nothing written back while walking

    layers[0]->setName("renamed");
    EXPECT_TRUE(layers.put());
    EXPECT_STREQ(sim::attribute(API_LayerID, 1)->header.name, "renamed");
    Layer unlinked;
    unlinked.setName("new");
    unlinked.clearLink();
    layers.append(unlinked.clone());
    EXPECT_FALSE(layers.put()); // no set to store it through
    EXPECT_TRUE(layers.put(&spec));
}

TEST_F(SpecificationTest, FindPenPrefersColourThenTheThinnerPen) {
    EXPECT_EQ(spec.findPen(CadColour(1.0, 0.0, 0.0), 0.3), 1); // no pens
    addPen("exact", 1.0, 0.3);
    addPen("thinner", 1.0, 0.2);
    addPen("other colour", 0.0, 0.3);
    addPen("same as exact", 1.0, 0.3);
    EXPECT_EQ(spec.findPen(CadColour(1.0, 0.0, 0.0), 0.3), 2);
    EXPECT_EQ(spec.findPen(CadColour(0.1, 0.0, 0.0), 0.3), 3);
    EXPECT_EQ(spec.findPen(CadColour(1.0, 0.0, 0.0), 0.1), 2);
    sim::deleteAttribute(API_PenID, 2);
    EXPECT_EQ(spec.findPen(CadColour(1.0, 0.0, 0.0), 0.3), 1); // equal keys keep the first pen
}

TEST_F(SpecificationTest, FindCityWithinADegree) {
    API_Attribute far = sim::makeAttribute(API_CityID, "far");
    far.city.latitude = 10 * 60;
    far.city.longitude = 10 * 60;
    sim::addAttribute(far);
    API_Attribute near = sim::makeAttribute(API_CityID, "near");
    near.city.latitude = 47 * 60 + 30;
    near.city.longitude = 19 * 60;
    sim::addAttribute(near);
    EXPECT_EQ(spec.findCity(19.9, 47.5), 2);
    EXPECT_EQ(spec.findCity(21.5, 47.0), 0);
}

TEST_F(SpecificationTest, LinksByNameAndOwnerData) {
    addLayer("first");
    addLayer("second");
    struct Case {
        const char* name;
        short index;
    };
    const Case cases[] = {{"second", 2}, {"first", 1}, {"missing", 0}, {"", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AttributeLink link(String(c.name), Layer::ID, &spec);
        EXPECT_EQ(link.getIndex(), c.index);
        EXPECT_EQ(link.isValid(), c.index != 0);
    }
    std::string longName(400, 'x');
    AttributeLink overlong(String(longName.c_str()), Layer::ID, &spec); // cut to the field, ending in a 0
    EXPECT_EQ(overlong.getIndex(), 0);

    std::unique_ptr<Attribute> layer(spec[AttributeLink(2, Layer::ID, &spec)]);
    short version = -1;
    int platform = -1;
    std::unique_ptr<MemoryBlock> data(layer->getOwnerData(version, platform));
    ASSERT_NE(data, nullptr); // none yet counts as success
    EXPECT_EQ(data->size(), 0);
    sim::setAttributeUserData(API_LayerID, 2, {'a', 'b', 'c'}, 3, 0x4D4D);
    data.reset(layer->getOwnerData(version, platform));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->size(), 3);
    EXPECT_EQ(version, 3);
    EXPECT_EQ(platform, 1);
    sim::failCall("ACAPI_Attribute_GetUserData", APIERR_GENERAL);
    data.reset(layer->getOwnerData(version, platform));
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(version, 0);
    EXPECT_EQ(platform, 0);
    Layer unstored;
    EXPECT_EQ(unstored.getOwnerData(version, platform), nullptr);
}

TEST_F(SpecificationTest, LazyFetchReadsOnceAndFallsBackToDefaults) {
    addPen("p", 0.25, 0.7);
    Pen pen(AttributeLink(1, Pen::ID, &spec));
    sim::clearCalls();
    EXPECT_EQ(pen.getThickness(), 0.7);
    EXPECT_EQ(pen.getName(), "p");
    EXPECT_EQ(sim::callCount("ACAPI_Attribute_Get"), 1u);
    Pen gone(AttributeLink(9, Pen::ID, &spec));
    EXPECT_EQ(gone.getThickness(), 0.1);
    EXPECT_FALSE(gone.exists());
    // A link of another type's record gives the defaults, not a foreign record.
    addLayer("l");
    Pen wrong(AttributeLink(1, Layer::ID, &spec));
    EXPECT_EQ(wrong.getThickness(), 0.1);
}
