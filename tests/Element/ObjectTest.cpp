#include "ACAPI/ElementMemo.hpp"
#include "Attribute/Fill.h"
#include "Attribute/Storey.h"
#include "Database/Plan.h"
#include "Database/Project.h"
#include "Element/Lamp.h"
#include "Environment/Host.h"
#include "Environment/Memory.h"
#include "Library/ComponentDefaults.h"
#include "Library/LengthParameter.h"
#include "Library/Library.h"
#include "Library/ObjectSource.h"
#include "Memo/ElementMemoStore.h"
#include "sim/ElementMemos.h"
#include "sim/ElementQuantities.h"
#include "sim/ElementTable.h"
#include "sim/Library.h"
#include "sim/Memory.h"
#include "sim/ObjectSettings.h"
#include "sim/Project.h"
#include "sim/Sim.h"
#include "sim/Storeys.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace zelvane;

namespace {

constexpr double pi = 3.14159265358979323846;

Int32 addPart(const char* name, double a, double b, bool fixed = false,
              API_LibTypeID type = APILib_ObjectID) {
    sim::LibPartDef def;
    def.type = type;
    def.name = name;
    def.a = a;
    def.b = b;
    def.details.fixSize = fixed;
    def.parameters = {
        sim::scalarParameter(APIParT_Length, "A", a), sim::scalarParameter(APIParT_Length, "B", b),
        sim::scalarParameter(APIParT_Length, "ZZYZX", 0.7), sim::scalarParameter(APIParT_Integer, "legs", 4)};
    return sim::addLibPart(def);
}

// Stores parameters as an element's (or with a null GUID, a tool's default) memo.
void storeParameters(const GS::Guid& guid, const std::vector<sim::LibParameter>& parameters,
                     API_ElemTypeID type = 6) {
    ElementMemoStore store;
    ASSERT_EQ(sim::writeParameterRecords(parameters, store.params()), NoError);
    if (guid.IsNull()) {
        ASSERT_EQ(sim::storeDefaultMemo(type, 0, store.getTarget()), NoError);
    } else {
        ASSERT_EQ(sim::storeMemo(guid, store.getTarget(), APIMemoMask_AddPars), NoError);
    }
}

double lengthOf(const Object& object, const char* name) {
    auto* length = dynamic_cast<const LengthParameter*>(object.getParameter(String(name)));
    return length != nullptr ? length->getValue(0, 0) : -1.0;
}

class ObjectTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::openProject();
        host.reset();
        Library::startup();
        Drawing::startup();
        plan = host.getProject()->getFloorPlan();
        library = host.getFrontLibrary();
    }
    void TearDown() override {
        Element::m_isMinData = true;
        Drawing::shutdown();
        Library::shutdown();
        host.reset();
    }

    GS::Guid place(Int32 part, double xRatio, bool fixed, short storey = 0) {
        API_Element record;
        record.header.typeID = API_ObjectID;
        record.header.floorInd = storey;
        record.object.libInd = part;
        record.object.xRatio = xRatio;
        record.object.yRatio = xRatio;
        record.object.fixedSize = fixed;
        return sim::addElement(record);
    }
    std::unique_ptr<Object> load(const GS::Guid& guid) {
        return std::unique_ptr<Object>(dynamic_cast<Object*>(plan->load(ElementLink(Guid(guid), plan))));
    }

    Plan* plan = nullptr;
    Library* library = nullptr;
};

} // namespace

TEST_F(ObjectTest, AxialSizesFollowTheRatioOrTheFixedSize) {
    struct Case {
        bool fixed;
        double sourceWidth;
        double ratio;
        double width;    // as read
        double newRatio; // after setAxialWidth (1.0)
    } cases[] = {
        {false, 2.0, 1.5, 3.0, 0.5},
        {true, 2.0, 1.5, 1.5, 1.0},
        {false, 0.0, 1.5, 0.0, 1.5}, // a part without a size keeps the ratio
    };
    for (const Case& c : cases) {
        Int32 part = addPart("Chair", c.sourceWidth, 1.0);
        GS::Guid guid = place(part, c.ratio, c.fixed);
        storeParameters(guid, {sim::scalarParameter(APIParT_Length, "A", 9.0)});
        std::unique_ptr<Object> object = load(guid);
        ASSERT_NE(object, nullptr);
        EXPECT_DOUBLE_EQ(object->getAxialWidth(), c.width) << c.sourceWidth;
        object->setAxialWidth(1.0);
        EXPECT_DOUBLE_EQ(object->getRecord().xRatio, c.newRatio) << c.sourceWidth;
        EXPECT_TRUE(std::isfinite(object->getRecord().xRatio));
        EXPECT_DOUBLE_EQ(lengthOf(*object, "A"), 1.0);
    }
}

TEST_F(ObjectTest, MirroredRotations) {
    struct Case {
        bool mirrored;
        double set;
        double stored;
        double read;
    } cases[] = {
        {false, -pi / 2, 3 * pi / 2, 3 * pi / 2},
        {true, pi / 2, 3 * pi / 2, pi / 2},
        {true, 0.0, pi, 0.0},
        {false, 2 * pi - 1e-6, 0.0, 0.0},
    };
    for (const Case& c : cases) {
        Object object(ElementLink(element_id(6), 0), ComponentLink());
        object.setFlipped(c.mirrored);
        object.setRotation2D(c.set);
        EXPECT_NEAR(object.getRecord().angle, c.stored, 1e-9) << c.set;
        EXPECT_NEAR(object.getRotation2D(), c.read, 1e-9) << c.set;
    }
}

TEST_F(ObjectTest, LevelsAreAbsoluteOverTheStorey) {
    sim::setStoreys({{0, 1, 0.0, "Ground"}, {1, 2, 3.0, "First"}}, 6.0);
    GS::Guid guid = place(addPart("Chair", 1.0, 1.0), 1.0, false, 1);
    std::unique_ptr<Object> object = load(guid);
    object->setOrigin(CadPoint(2.0, 5.0, 3.5));
    EXPECT_DOUBLE_EQ(object->getRecord().level, 0.5);
    EXPECT_DOUBLE_EQ(object->getBaseLevel(false), 0.5);
    EXPECT_DOUBLE_EQ(object->getOrigin().z(), 3.5);
    EXPECT_DOUBLE_EQ(object->getOrigin().x(), 2.0);
    // The storey levels come from the floor plan, which reads them once an entry.
    sim::clearCalls();
    for (int i = 0; i < 3; ++i) {
        object->setOrigin(CadPoint(2.0, 5.0, 3.5 + i));
        EXPECT_DOUBLE_EQ(object->getOrigin().z(), 3.5 + i);
    }
    std::size_t reads = 0;
    for (const sim::CallRecord& call : sim::calls()) {
        reads += call.name == "ACAPI_Environment" && call.code == APIEnv_GetStorySettingsID ? 1 : 0;
    }
    EXPECT_LE(reads, 1u);

    Object loose(ElementLink(element_id(6), 0), ComponentLink()); // in no drawing: no storey
    loose.setBaseLevel(1.25, true);
    EXPECT_DOUBLE_EQ(loose.getBaseLevel(true), 1.25);
}

TEST_F(ObjectTest, AttributeUses) {
    Object object(ElementLink(element_id(6), 0), ComponentLink());
    object.setPen(Pen(attribute_index(5)), Pen::Use(0));
    EXPECT_EQ(object.getPen(Pen::Use(10)).getIndex().getIndex(), 5);
    object.setPen(Pen(attribute_index(7)), Pen::Use(6));
    EXPECT_EQ(object.getRecord().sectFillPen, 7);
    EXPECT_EQ(object.getPen(Pen::Use(6)).getIndex().getIndex(), 0);
    EXPECT_EQ(object.getPen(Pen::Use(11)).getIndex().getIndex(), 7);
    EXPECT_EQ(object.getPattern(1), nullptr);
    object.setPattern(Fill(attribute_index(0)), 0); // index below 1: nothing
    object.setPattern(Fill(attribute_index(3)), 3);
    std::unique_ptr<Pattern> fill(object.getPattern(0));
    ASSERT_NE(fill, nullptr);
    EXPECT_EQ(fill->getIndex().getIndex(), 3);
    object.setFinish(Finish(attribute_index(8)), Finish::Use(1));
    object.setFinish(Finish(attribute_index(9)), Finish::Use(2));
    EXPECT_EQ(object.getFinish(Finish::Use(0)).getIndex().getIndex(), 8);
    EXPECT_EQ(object.getFinish(Finish::Use(2)).getIndex().getIndex(), 0);
}

TEST_F(ObjectTest, FactoriesAnswerTheirOwnTypes) {
    API_Element record;
    ElementLink link(element_id(6), 0);
    for (API_ElemTypeID type : {API_DoorID, API_ObjectID, API_LampID}) {
        record.header.typeID = type;
        std::unique_ptr<Element> object(Object::create(record, link));
        std::unique_ptr<Element> lamp(Lamp::create(record, link));
        EXPECT_EQ(object != nullptr, type == API_ObjectID);
        EXPECT_EQ(lamp != nullptr, type == API_LampID);
        EXPECT_TRUE(lamp == nullptr || dynamic_cast<Lamp*>(lamp.get()) != nullptr);
    }
}

TEST_F(ObjectTest, AFullLoadReadsTheParametersAndNoOtherMemoPart) {
    Int32 chair = addPart("Chair", 1.0, 1.0);
    const std::vector<sim::LibParameter> values = {sim::scalarParameter(APIParT_Length, "A", 2.0),
                                                   sim::scalarParameter(APIParT_Integer, "legs", 6)};
    GS::Guid plain = place(chair, 1.0, false);
    storeParameters(plain, values);
    // The other one also has a polygon part, which an object does not read.
    GS::Guid outlined = place(chair, 1.0, false);
    {
        ElementMemoStore store;
        ASSERT_EQ(sim::writeParameterRecords(values, store.params()), NoError);
        *store.coords() = reinterpret_cast<API_Coord**>(allocateHandle(int(3 * sizeof(API_Coord))));
        clearMemory(**store.coords(), int(3 * sizeof(API_Coord)));
        ASSERT_EQ(sim::storeMemo(outlined, store.getTarget(), APIMemoMask_AddPars | APIMemoMask_Polygon),
                  NoError);
    }
    Element::m_isMinData = false;
    delete (*plan)[ElementLink(Guid(plain), plan)]; // what a first load reads once
    const GS::Guid guids[2] = {plain, outlined};
    std::size_t allocations[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
        const GS::Guid& guid = guids[i];
        std::size_t before = sim::memoryStats().allocations;
        std::size_t reads = sim::callCount("ACAPI_Element_GetMemo");
        std::unique_ptr<Element> element((*plan)[ElementLink(Guid(guid), plan)]);
        auto* object = dynamic_cast<Object*>(element.get());
        ASSERT_NE(object, nullptr);
        allocations[i] = sim::memoryStats().allocations - before;
        EXPECT_DOUBLE_EQ(lengthOf(*object, "A"), 2.0);
        EXPECT_EQ(object->getParameter(String("legs"))->getValueText(0, 0), "6");
        EXPECT_EQ(sim::callCount("ACAPI_Element_GetMemo"), reads + 1);
    }
    EXPECT_EQ(allocations[0], allocations[1]);

    // Memory running out at any step of the load loses nothing: the parameters read are the
    // stored ones, at the load or when first asked for.
    for (int skip = 0; skip <= int(allocations[1]); ++skip) {
        SCOPED_TRACE(skip);
        sim::failNextAllocations(1, ErrMemoryFull, skip);
        std::unique_ptr<Element> element;
        try {
            element.reset((*plan)[ElementLink(Guid(outlined), plan)]);
        } catch (const std::bad_alloc&) {
        }
        sim::failNextAllocations(0);
        if (auto* object = dynamic_cast<Object*>(element.get())) {
            EXPECT_DOUBLE_EQ(lengthOf(*object, "A"), 2.0);
        }
    }

    // The host refusing the memo at the load leaves the parameters to be read when first asked for.
    const sim::MemoryStats before = sim::memoryStats();
    sim::failCall("ACAPI_Element_GetMemo", APIERR_GENERAL, 1);
    std::unique_ptr<Element> refused((*plan)[ElementLink(Guid(outlined), plan)]);
    sim::clearFaults();
    auto* object = dynamic_cast<Object*>(refused.get());
    ASSERT_NE(object, nullptr);
    const sim::MemoryStats after = sim::memoryStats();
    EXPECT_EQ(after.liveHandles + after.livePointers, before.liveHandles + before.livePointers);
    const std::size_t reads = sim::callCount("ACAPI_Element_GetMemo");
    EXPECT_DOUBLE_EQ(lengthOf(*object, "A"), 2.0);
    EXPECT_EQ(sim::callCount("ACAPI_Element_GetMemo"), reads + 1);
}

// A put of an object and its parameters that runs out of host memory at any step fails, or throws,
// leaving no host block behind and the host holding the parameters it had; once memory lasts, the
// put gives the host the new ones.
TEST_F(ObjectTest, APutOutOfMemoryLosesNothing) {
    Int32 chair = addPart("Chair", 1.0, 1.0);
    GS::Guid guid = place(chair, 1.0, false);
    storeParameters(guid, {sim::scalarParameter(APIParT_Length, "A", 1.0),
                           sim::scalarParameter(APIParT_Integer, "legs", 6)});
    Element::m_isMinData = false;
    std::unique_ptr<Object> object = load(guid);
    ASSERT_NE(object, nullptr);
    auto storedA = [&guid] {
        for (const sim::LibParameter& parameter : sim::memoParameters(guid)) {
            if (std::string(parameter.record.name) == "A") {
                return parameter.record.value.real;
            }
        }
        return -1.0;
    };
    bool put = false;
    for (int skip = 0; skip < 40 && !put; ++skip) {
        SCOPED_TRACE(skip);
        object->ComponentParameterMemo::setAxialWidth(2.0);
        const sim::MemoryStats before = sim::memoryStats();
        sim::failNextAllocations(1, ErrMemoryFull, skip);
        try {
            put = plan->put(*object, false, true);
        } catch (const std::bad_alloc&) {
        }
        sim::failNextAllocations(0);
        const sim::MemoryStats after = sim::memoryStats();
        EXPECT_EQ(after.liveHandles + after.livePointers, before.liveHandles + before.livePointers);
        EXPECT_DOUBLE_EQ(storedA(), put ? 2.0 : 1.0);
    }
    EXPECT_TRUE(put);
}

TEST_F(ObjectTest, RepointingKeepsTheValuesOfAMinimallyLoadedObject) {
    Int32 chair = addPart("Chair", 1.0, 1.0), desk = addPart("Desk", 1.6, 0.8, true);
    GS::Guid guid = place(chair, 1.0, false);
    storeParameters(guid, {sim::scalarParameter(APIParT_Length, "A", 1.0),
                           sim::scalarParameter(APIParT_Integer, "legs", 6)});
    std::unique_ptr<Object> object = load(guid);
    ASSERT_TRUE(Element::m_isMinData);

    EXPECT_FALSE(object->acceptsSource(ComponentLink(desk, 6, library)));
    EXPECT_FALSE(object->setSourceLink(ComponentLink(desk, 6, library), true, true)); // not an object kind
    EXPECT_EQ(object->getSourceIndex(), chair);
    EXPECT_TRUE(object->acceptsSource(ComponentLink(desk, APILib_ObjectID, library)));
    EXPECT_TRUE(object->setSourceLink(ComponentLink(desk, APILib_ObjectID, library), true, true));
    EXPECT_EQ(object->getSourceIndex(), desk);
    EXPECT_TRUE(object->isFixedSize());
    EXPECT_DOUBLE_EQ(object->getAxialWidth(), 1.6);
    EXPECT_DOUBLE_EQ(lengthOf(*object, "A"), 1.6);
    const Parameter* legs = object->getParameter(String("legs"));
    ASSERT_NE(legs, nullptr);
    EXPECT_EQ(legs->getValueText(0, 0), "6");
    EXPECT_EQ(object->getSourceName(), "Desk");

    EXPECT_FALSE(object->acceptsSource(ComponentLink(999, APILib_ObjectID, library)));
    EXPECT_FALSE(object->setSourceLink(ComponentLink(999, APILib_ObjectID, library), true,
                                       true)); // not in the library
    EXPECT_EQ(object->getSourceIndex(), desk);

    // The part's defaults cannot be fetched: the object names the part, its values stay.
    sim::failCall("ACAPI_LibPart_GetParams", APIERR_GENERAL);
    EXPECT_FALSE(object->setSourceLink(ComponentLink(chair, APILib_ObjectID, library), false, true));
    EXPECT_EQ(object->getSourceIndex(), chair);
    EXPECT_EQ(object->getParameter(String("legs"))->getValueText(0, 0), "6");
}

TEST_F(ObjectTest, RepointingAtAPartLoadedOnceMatchesRepointingByLink) {
    Int32 chair = addPart("Chair", 1.0, 1.0), desk = addPart("Desk", 1.6, 0.8, true);
    EXPECT_EQ(std::unique_ptr<ObjectSource>(Object::loadSource(ComponentLink(desk, 6, library))), nullptr);
    EXPECT_EQ(std::unique_ptr<ObjectSource>(Object::loadSource(ComponentLink(999, APILib_ObjectID, library))),
              nullptr);
    const ComponentLink target(desk, APILib_ObjectID, library);
    std::unique_ptr<ObjectSource> part(Object::loadSource(target));
    ASSERT_NE(part, nullptr);
    ComponentDefaults defaults;
    ASSERT_TRUE(defaults.fetch(target));

    std::unique_ptr<Object> byLink, byPart, byDefaults;
    for (std::unique_ptr<Object>* object : {&byLink, &byPart, &byDefaults}) {
        GS::Guid guid = place(chair, 1.0, false);
        storeParameters(guid, {sim::scalarParameter(APIParT_Length, "A", 1.0),
                               sim::scalarParameter(APIParT_Integer, "legs", 6)});
        *object = load(guid);
        ASSERT_NE(*object, nullptr);
    }
    ASSERT_TRUE(byLink->setSourceLink(target, false, true));
    std::size_t loads = sim::callCount("ACAPI_LibPart_Get");
    ASSERT_TRUE(byPart->setSourceLink(target, *part, false, true));
    EXPECT_EQ(sim::callCount("ACAPI_LibPart_Get"), loads); // the part is not loaded again
    std::size_t fetches = sim::callCount("ACAPI_LibPart_GetParams");
    ASSERT_TRUE(byDefaults->setSourceLink(target, *part, defaults, false, true));
    EXPECT_EQ(sim::callCount("ACAPI_LibPart_GetParams"), fetches); // nor its defaults fetched again
    EXPECT_EQ(sim::callCount("ACAPI_LibPart_Get"), loads);
    for (const Object* object : {byLink.get(), byPart.get(), byDefaults.get()}) {
        EXPECT_EQ(object->getSourceIndex(), desk);
        EXPECT_EQ(object->getSourceLink().getLibrary(), library);
        EXPECT_TRUE(object->isFixedSize());
        EXPECT_DOUBLE_EQ(lengthOf(*object, "A"), 1.6); // sizes are the part's
        EXPECT_DOUBLE_EQ(object->getSourceWidth(), 1.6);
        EXPECT_DOUBLE_EQ(object->getSourceDepth(), 0.8);
        EXPECT_EQ(object->getParameter(String("legs"))->getValueText(0, 0), "6");
        EXPECT_EQ(object->getSourceName(), "Desk");
    }
    // The same parameters whichever way the object was re-pointed.
    const ParameterList& expected = byLink->getParameterList();
    for (const Object* object : {byPart.get(), byDefaults.get()}) {
        const ParameterList& list = object->getParameterList();
        ASSERT_EQ(list.size(), expected.size());
        for (std::size_t i = 0; i < list.size(); ++i) {
            EXPECT_TRUE(*list[i] == *expected[i]) << i;
        }
    }
    ComponentDefaults none;
    EXPECT_FALSE(byDefaults->setSourceLink(target, *part, none, false, true)); // not fetched: refused
}

TEST_F(ObjectTest, UserEditAcceptedAndCancelled) {
    Int32 chair = addPart("Chair", 1.0, 1.0);
    GS::Guid guid = place(chair, 1.0, false);
    storeParameters(guid, {sim::scalarParameter(APIParT_Length, "A", 1.0)});
    std::unique_ptr<Object> object = load(guid);
    EXPECT_FALSE(object->userEdit()); // no script: cancelled
    EXPECT_EQ(object->getRecord().angle, 0.0);

    API_ObjectType values = object->getRecord();
    values.angle = 1.0;
    sim::scriptObjectSettings(&values, {sim::scalarParameter(APIParT_Length, "A", 2.5)});
    EXPECT_TRUE(object->userEdit());
    EXPECT_DOUBLE_EQ(object->getRecord().angle, 1.0);
    EXPECT_DOUBLE_EQ(lengthOf(*object, "A"), 2.5);
    ASSERT_EQ(sim::objectSettingsShown().size(), 1u);
    EXPECT_STREQ(sim::objectSettingsShown()[0].record.name, "A");

    // An object without parameters, pointed at another part in the dialog, which hands back
    // none: it takes the new part's defaults and own size.
    Int32 desk = addPart("Desk", 1.6, 0.8);
    std::unique_ptr<Object> bare = load(place(chair, 2.0, false));
    ASSERT_EQ(bare->sizeParameters(), 0u);
    values = bare->getRecord();
    values.libInd = desk;
    sim::scriptObjectSettings(&values, {});
    EXPECT_TRUE(bare->userEdit());
    EXPECT_TRUE(sim::objectSettingsShown().empty());
    EXPECT_EQ(bare->getSourceIndex(), desk);
    ASSERT_NE(bare->getParameter(String("legs")), nullptr);
    EXPECT_DOUBLE_EQ(lengthOf(*bare, "A"), 1.6);
    EXPECT_DOUBLE_EQ(bare->getAxialDepth(), 0.8);
}

TEST_F(ObjectTest, NewObjectsAndLampsFromTheToolDefaults) {
    Int32 chair = addPart("Chair", 1.0, 2.0), light = addPart("Light", 0.3, 0.3, false, APILib_LampID);
    API_Element defaults;
    defaults.header.typeID = API_ObjectID;
    defaults.object.libInd = chair;
    defaults.object.pen = 4;
    sim::setDefaults(defaults);
    storeParameters(GS::Guid(), {sim::scalarParameter(APIParT_Length, "A", 0.4)});
    defaults.header.typeID = API_LampID;
    defaults.lamp.libInd = light;
    sim::setDefaults(defaults);

    Object withMemo(true, 0);
    EXPECT_EQ(withMemo.getRecord().pen, 4);
    EXPECT_EQ(withMemo.getSourceLink().getIndex(), chair);
    EXPECT_DOUBLE_EQ(lengthOf(withMemo, "A"), 0.4); // the default memo kept

    Lamp lamp;
    EXPECT_EQ(lamp.getType(), element_id(7));
    EXPECT_EQ(lamp.getSourceLink().getType(), APILib_LampID);
    EXPECT_DOUBLE_EQ(lamp.getAxialWidth(), 0.3);
    std::unique_ptr<API_Element> data(lamp.getData());
    EXPECT_EQ(data->header.typeID, API_LampID);
    EXPECT_EQ(data->lamp.libInd, light);

    Object named("Chair", library);
    EXPECT_EQ(named.getSourceIndex(), chair);
    EXPECT_TRUE(named.getHead().hasMemo);
    EXPECT_DOUBLE_EQ(named.getAxialDepth(), 2.0);
    EXPECT_DOUBLE_EQ(lengthOf(named, "B"), 2.0);

    sim::failCall("ACAPI_Element_GetDefaults", APIERR_GENERAL);
    Object zeroed(false, 0);
    EXPECT_EQ(zeroed.getRecord().pen, 0);
}

TEST_F(ObjectTest, DeltasCopyOnlyWhatChangedAndQuantitiesAreMeasured) {
    GS::Guid guid = place(addPart("Chair", 2.0, 1.0), 1.0, false);
    std::unique_ptr<Object> reference = load(guid);
    std::unique_ptr<Object> edited(static_cast<Object*>(reference->clone()));
    std::unique_ptr<Object> mine(static_cast<Object*>(reference->clone()));
    edited->setRotation2D(0.5);
    mine->setOffset(CadPoint(1.0, 1.0));
    mine->setPen(Pen(attribute_index(9)), Pen::Use(1));
    mine->applyDelta(*edited, *reference);
    EXPECT_DOUBLE_EQ(mine->getRecord().angle, 0.5);
    EXPECT_EQ(mine->getRecord().pen, 9);
    EXPECT_DOUBLE_EQ(mine->getOffset().x(), 1.0);

    API_ElementQuantity quantities;
    quantities.volume = 2.5;
    quantities.surface = 7.0;
    sim::setQuantities(guid, quantities);
    EXPECT_DOUBLE_EQ(mine->getVolume(), 2.5);
    EXPECT_DOUBLE_EQ(mine->getTotalSurfaceArea(), 7.0);
}

TEST_F(ObjectTest, StoreysLinksAndPhases) {
    sim::setStoreys({{0, 1, 0.0, "Ground"}, {1, 2, 3.0, "First"}}, 6.0);
    GS::Guid guid = place(addPart("Chair", 1.0, 1.0), 1.0, false, 0);
    std::unique_ptr<Object> reference = load(guid);
    std::unique_ptr<Object> edited(static_cast<Object*>(reference->clone()));
    std::unique_ptr<Object> mine(static_cast<Object*>(reference->clone()));
    mine->setShownAll(true, 0);
    EXPECT_TRUE(mine->getStoreyLink(0).isOnAllAbove());
    mine->setShownUp(false, 1); // only the main part has storeys
    EXPECT_TRUE(mine->isShownUp(0));

    Storey* first = plan->getStorey(short(1));
    ASSERT_NE(first, nullptr);
    edited->setStorey(*first, false);
    mine->applyDelta(*edited, *reference);
    EXPECT_TRUE(mine->isWithinStorey(*first, 0.0));
    EXPECT_EQ(mine->getHead().floorInd, 1);
    EXPECT_TRUE(mine->isShownAll(0) == false); // the move re-applies the link without the all switches
    EXPECT_TRUE(mine->getRecord().showOnHome);

    mine->setPhase(Phase(attribute_index(3)));
    EXPECT_EQ(mine->getHead().renovationStatus, 3);
    EXPECT_EQ(mine->getPhase().getIndex().getIndex(), 3);
}
