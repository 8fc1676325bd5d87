#include "Database/ComponentLink.h"
#include "Database/Drawing.h"
#include "Database/ElementLink.h"
#include "Element/Door.h"
#include "Element/Lamp.h"
#include "Element/Object.h"
#include "Element/Opening.h"
#include "Element/Window.h"
#include "Environment/Host.h"
#include "Library/IntegerParameter.h"
#include "Library/LengthParameter.h"
#include "Library/Library.h"
#include "Library/ParameterList.h"
#include "Remap/ObjectSpecification.h"
#include "Remap/RemappingAddon.h"
#include "RemapFixture.h"
#include "sim/Library.h"
#include "sim/Project.h"

#include <memory>

using namespace zelvane;
using namespace zelvane::remap;
using remap_test::RemapTest;

namespace {

const char* const doorID = "{00000000-0000-0000-0000-000000000003}-{00000000-0000-0000-0000-000000000004}";

Int32 addPart(const char* name, API_LibTypeID type, double a, double b, const char* id = "",
              bool missing = false) {
    sim::LibPartDef def;
    def.type = type;
    def.name = name;
    def.ownID = id;
    def.missing = missing;
    def.a = a;
    def.b = b;
    def.parameters = {
        sim::scalarParameter(APIParT_Length, "A", a), sim::scalarParameter(APIParT_Length, "B", b),
        sim::scalarParameter(APIParT_Length, "ZZYZX", 0.7), sim::scalarParameter(APIParT_Integer, "legs", 4)};
    return sim::addLibPart(def);
}

template <typename P>
const P* parameterOf(const ComponentElem& element, const char* name) {
    return dynamic_cast<const P*>(element.getParameter(String(name)));
}

class RuleTargetTest : public RemapTest {
protected:
    void SetUp() override {
        RemapTest::SetUp();
        Library::startup();
        Drawing::startup();
        chair = addPart("Chair", APILib_ObjectID, 1.0, 2.0);
        door = addPart("Door 21", APILib_DoorID, 0.9, 0.2, doorID);
        broken = addPart("Broken", APILib_ObjectID, 1.0, 1.0, "", true);
        light = addPart("Light", APILib_LampID, 0.3, 0.3);
    }
    void TearDown() override {
        Element::m_isMinData = true;
        Drawing::shutdown();
        Library::shutdown();
        sim::closeProject();
        RemapTest::TearDown();
    }
    void open() {
        sim::openProject();
        host.reset();
    }

    Int32 chair = 0, door = 0, broken = 0, light = 0;
};

} // namespace

TEST_F(RuleTargetTest, TargetSetOnlyToAPartThatExists) {
    ObjectSpecification rule;
    rule.setMappedName(String("typed"));
    EXPECT_FALSE(rule.setMappedLink(ComponentLink(door, APILib_DoorID, nullptr))) << "no library";
    EXPECT_EQ(rule.getMappedName(), "typed");

    open();
    for (const ComponentLink& link : {ComponentLink(99, APILib_ObjectID, nullptr),
                                      ComponentLink(broken, APILib_ObjectID, nullptr), ComponentLink()}) {
        EXPECT_FALSE(rule.setMappedLink(link)) << link.getIndex();
        EXPECT_EQ(rule.getMappedName(), "typed");
        EXPECT_EQ(rule.getMappedObjectGuid(), "");
    }
    EXPECT_EQ(rule.getMappedLink(), nullptr) << "the typed name names no part";

    ObjectSpecification target;
    target.setMappedName(String("typed"));
    ASSERT_TRUE(target.setMappedLink(ComponentLink(door, APILib_DoorID, nullptr)));
    EXPECT_EQ(target.getMappedName(), "Door 21");
    EXPECT_EQ(target.getMappedObjectGuid(), doorID);
    EXPECT_EQ(target.getMappedType(), APILib_ObjectID) << "the key's type stays";
    ComponentLink* link = target.getMappedLink();
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->getIndex(), door);
    EXPECT_EQ(link->getLibrary(), host.getFrontLibrary());

    Library own(nullptr, 0);
    ASSERT_TRUE(target.setMappedLink(ComponentLink(chair, APILib_ObjectID, &own)))
        << "the link's own library";
    EXPECT_EQ(target.getMappedName(), "Chair");
    EXPECT_EQ(target.getMappedLink()->getLibrary(), &own);
}

TEST_F(RuleTargetTest, ValuesAppliedToObjectsAndLamps) {
    open();
    Library* library = host.getFrontLibrary();
    ObjectSpecification rule;
    Object untouched("Chair", library);
    rule.applyParametersTo(untouched);
    rule.setCustomParameters(std::make_shared<ParameterList>());
    rule.applyParametersTo(untouched);
    EXPECT_DOUBLE_EQ(untouched.getAxialWidth(), 1.0) << "no values, nothing applied";

    auto values = std::make_shared<ParameterList>();
    values->addParameter(new LengthParameter(String("A"), String(), 2.5));
    values->addParameter(new IntegerParameter(String("B"), String(), 3));
    values->addParameter(new LengthParameter(String("ZZYZX"), String(), 1.2));
    values->addParameter(new IntegerParameter(String("legs"), String(), 3));
    rule.setCustomParameters(values);

    Object chairObject("Chair", library);
    rule.applyParametersTo(chairObject);
    EXPECT_DOUBLE_EQ(chairObject.getAxialWidth(), 2.5);
    EXPECT_DOUBLE_EQ(chairObject.getAxialDepth(), 2.0) << "a \"B\" of another kind sets no size";
    EXPECT_DOUBLE_EQ(chairObject.getAxialHeight(), 1.2);
    auto* legs = parameterOf<IntegerParameter>(chairObject, "legs");
    ASSERT_NE(legs, nullptr);
    EXPECT_EQ(legs->getValue(0, 0), 3);

    Lamp lamp("Light", library);
    rule.applyParametersTo(lamp);
    EXPECT_DOUBLE_EQ(lamp.getAxialWidth(), 2.5);
    EXPECT_DOUBLE_EQ(lamp.getAxialDepth(), 0.3);
}

TEST_F(RuleTargetTest, ValuesAppliedToDoorsAndWindows) {
    open();
    auto values = std::make_shared<ParameterList>();
    values->addParameter(new LengthParameter(String("A"), String(), 1.1));
    values->addParameter(new LengthParameter(String("B"), String(), 0.3));
    values->addParameter(new IntegerParameter(String("ZZYZX"), String(), 3));
    ObjectSpecification rule;
    rule.setCustomParameters(values);
    for (API_ElemTypeID type : {API_DoorID, API_WindowID}) {
        API_Element record;
        record.header.typeID = type;
        API_WindowType& part = type == API_DoorID ? record.door : record.window;
        part.openingBase.width = 0.9;
        part.openingBase.height = 2.1;
        std::unique_ptr<Opening> opening(type == API_DoorID
                                             ? static_cast<Opening*>(new Door(record, ElementLink()))
                                             : new Window(record, ElementLink()));
        rule.applyParametersTo(*opening);
        EXPECT_DOUBLE_EQ(opening->getOpenWidth(), 1.1) << type;
        EXPECT_DOUBLE_EQ(opening->getOpenHeight(), 2.1)
            << type << ": a \"ZZYZX\" of another kind is no height";
    }
    // A length "ZZYZX" in its place is the opening's height.
    values->deleteParameter(values->getParameterIndex(String("ZZYZX")));
    values->addParameter(new LengthParameter(String("ZZYZX"), String(), 2.4));
    API_Element record;
    record.header.typeID = API_DoorID;
    Door door(record, ElementLink());
    rule.applyParametersTo(door);
    EXPECT_DOUBLE_EQ(door.getOpenHeight(), 2.4);
}

TEST_F(RuleTargetTest, TheAddonMakesItsFourKinds) {
    Drawing::shutdown();
    RemappingAddon remapping;
    remapping.startTools();
    struct Case {
        API_ElemTypeID type;
        Int32 part;
        bool lamp;
    };
    for (const Case& c : {Case{API_ObjectID, chair, false}, Case{API_LampID, light, true}}) {
        API_Element record;
        record.header.typeID = c.type;
        ElementLink link;
        std::unique_ptr<Element> made(Drawing::createElement(record, link));
        ASSERT_NE(made, nullptr) << c.type;
        EXPECT_EQ(dynamic_cast<Lamp*>(made.get()) != nullptr, c.lamp) << c.type;
        EXPECT_NE(dynamic_cast<Object*>(made.get()), nullptr) << c.type;
    }
    for (API_ElemTypeID type : {API_DoorID, API_WindowID}) {
        API_Element record;
        record.header.typeID = type;
        ElementLink link;
        std::unique_ptr<Element> made(Drawing::createElement(record, link));
        EXPECT_NE(dynamic_cast<Opening*>(made.get()), nullptr) << type;
        EXPECT_EQ(dynamic_cast<Door*>(made.get()) != nullptr, type == API_DoorID) << type;
    }
    API_Element wall;
    wall.header.typeID = API_WallID;
    ElementLink link;
    EXPECT_EQ(std::unique_ptr<Element>(Drawing::createElement(wall, link)), nullptr)
        << "only the add-on's kinds";
}
