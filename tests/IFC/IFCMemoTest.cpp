#include "Database/Plan.h"
#include "Database/Project.h"
#include "Element/Door.h"
#include "Element/Object.h"
#include "Element/Wall.h"
#include "Element/Window.h"
#include "Environment/Host.h"
#include "Environment/StringSetting.h"
#include "IFC/IFCAttribute.h"
#include "IFC/IFCSingleValue.h"
#include "Library/Library.h"
#include "sim/ElementTable.h"
#include "sim/IFC.h"
#include "sim/Project.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <memory>

using namespace zelvane;

namespace {

API_IFCProperty single(const char* name, const char* setName, const char* text) {
    API_IFCProperty record;
    record.head.propertyType = API_IFCPropertySingleValueType;
    record.head.propertyName = GS::UniString(name);
    record.head.propertySetName = GS::UniString(setName);
    record.singleValue.valueType = GS::UniString("IfcLabel");
    record.singleValue.primitiveType = 4;
    record.singleValue.stringValue = GS::UniString(text);
    return record;
}

API_IFCAttribute attribute(const char* name, const char* type, const char* text) {
    API_IFCAttribute record;
    record.attributeName = GS::UniString(name);
    record.attributeType = GS::UniString(type);
    record.attributeValue = GS::UniString(text);
    return record;
}

std::string textOf(const IFCProperty* property) {
    String out;
    if (const auto* item = dynamic_cast<const IFCSingleValue*>(property);
        item != nullptr && item->getSetting()) {
        item->getSetting()->getValue(out);
    }
    return out.data();
}

class IFCMemoTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::openProject();
        host.reset();
        Library::startup();
        Drawing::startup();
        plan = host.getProject()->getFloorPlan();
        API_Element record;
        record.header.typeID = API_ObjectID;
        guid = sim::addElement(record);
        sim::IFCItems stored;
        stored.properties = {single("Name", "AC_Pset_Name", "Chair 01"), single("Maker", "Pset_Make", "Acme"),
                             single("Model", "Pset_Make", "X1")};
        stored.attributes = {attribute("GlobalId", "IfcGloballyUniqueId", "3RcxjBc263JORjjTQxwJPj")};
        sim::setStoredIFC(guid, stored);
        sim::IFCItems derived;
        derived.properties = {single("Volume", "Qto_Base", "2")};
        sim::setDerivedIFC(guid, derived);
    }
    void TearDown() override {
        Drawing::shutdown();
        Library::shutdown();
        host.reset();
    }
    std::unique_ptr<Object> load() {
        return std::unique_ptr<Object>(dynamic_cast<Object*>(plan->load(ElementLink(Guid(guid), plan))));
    }

    Plan* plan = nullptr;
    GS::Guid guid;
};

} // namespace

TEST_F(IFCMemoTest, ReadsOnceInTheChosenScope) {
    std::unique_ptr<Object> object = load();
    EXPECT_EQ(textOf(object->getProperty("Name", "AC_Pset_Name")), "Chair 01");
    EXPECT_EQ(object->getIFCGuid(), "3RcxjBc263JORjjTQxwJPj");
    EXPECT_EQ(object->getProperty("Volume", ""), nullptr); // derived: not read
    EXPECT_EQ(sim::callCount("ACAPI_Element_GetIFCProperties"), 1u);

    object->setAllIFCDataLoaded(true);
    EXPECT_NE(object->getProperty("Volume", ""), nullptr);
    EXPECT_EQ(sim::callCount("ACAPI_Element_GetIFCProperties"), 2u);
    object->setAllIFCDataLoaded(false); // narrowing keeps the list
    EXPECT_NE(object->getProperty("Volume", ""), nullptr);
    EXPECT_EQ(sim::callCount("ACAPI_Element_GetIFCProperties"), 2u);

    std::unique_ptr<Object> copy(static_cast<Object*>(object->clone()));
    EXPECT_EQ(copy->getProperty("Name", ""), nullptr); // a copy holds no items and reads nothing
    EXPECT_EQ(sim::callCount("ACAPI_Element_GetIFCProperties"), 2u);
}

TEST_F(IFCMemoTest, NewElementsAndRefusedReads) {
    Object fresh(ElementLink(element_id(6), 0), ComponentLink());
    sim::clearCalls();
    EXPECT_EQ(fresh.getProperty("Name", ""), nullptr);
    EXPECT_EQ(fresh.getIFCGuid(), "");
    EXPECT_EQ(sim::calls().size(), 0u);

    sim::failCall("ACAPI_Element_GetIFCAttributes", APIERR_GENERAL);
    std::unique_ptr<Object> object = load();
    EXPECT_EQ(object->getIFCGuid(), ""); // the attributes were refused
    EXPECT_NE(object->getProperty("Maker", "Pset_Make"), nullptr);
}

TEST_F(IFCMemoTest, WritesPropertiesAndAttributesToTheHost) {
    std::unique_ptr<Object> object = load();
    StringSetting name;
    name.setValue(String("Chair 02"));
    EXPECT_TRUE(object->setProperty(new IFCSingleValue(name, "Name", "AC_Pset_Name", "IfcLabel", "")));
    EXPECT_EQ(textOf(object->getProperty("Name", "AC_Pset_Name")), "Chair 02");
    sim::IFCItems stored = sim::storedIFC(guid);
    ASSERT_EQ(stored.properties.size(), 3u);
    EXPECT_EQ(stored.properties[0].singleValue.stringValue, GS::UniString("Chair 02"));

    // An item changed in place and given back stays valid.
    auto* held = static_cast<IFCSingleValue*>(object->getProperty("Name", "AC_Pset_Name"));
    name.setValue(String("Chair 03"));
    held->setSetting(name);
    EXPECT_TRUE(object->setProperty(held));
    EXPECT_EQ(textOf(object->getProperty("Name", "AC_Pset_Name")), "Chair 03");
    EXPECT_EQ(sim::storedIFC(guid).properties[0].singleValue.stringValue, GS::UniString("Chair 03"));

    // Unpackable: refused, the caller keeps it.
    std::unique_ptr<IFCSingleValue> nameless(new IFCSingleValue(name, "", "Pset", "IfcLabel", ""));
    EXPECT_FALSE(object->setProperty(nameless.get()));

    StringSetting label;
    label.setValue(String("Seat"));
    EXPECT_TRUE(object->setAttribute(new IFCAttribute(label, "Name", "IfcLabel", true)));
    EXPECT_EQ(sim::storedIFC(guid).attributes.size(), 2u);

    object->deletePropertySet("Pset_Make");
    EXPECT_EQ(object->getProperty("Maker", ""), nullptr);
    EXPECT_EQ(sim::storedIFC(guid).properties.size(), 1u);
    object->deletePropertySet("Pset_None");
    EXPECT_EQ(object->getPropertyNameMap().size(), 1u);
}

// Walls, doors and windows carry IFC data like objects do: read from the host, written back, and
// not read again by a copy.
TEST_F(IFCMemoTest, WallsDoorsAndWindowsCarryIFCData) {
    Drawing::addAdapter(element_id(API_WallID), Wall::create, false);
    Drawing::addAdapter(element_id(API_DoorID), Door::create, false);
    Drawing::addAdapter(element_id(API_WindowID), Window::create, false);
    const struct {
        API_ElemTypeID type;
        const char* name;
        const char* ifcGuid;
    } table[] = {{API_WallID, "Wall 01", "0h4m8KsRj8Ef8LbFt0mbtI"},
                 {API_DoorID, "Door 01", "1Xn2l$dqb9XQpVyv6EO4nO"},
                 {API_WindowID, "Window 01", "2uTkEoNFT4Q8hS0YZ8Ex1h"}};
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        API_Element record;
        record.header.typeID = row.type;
        GS::Guid id = sim::addElement(record);
        sim::IFCItems stored;
        stored.properties = {single("Name", "AC_Pset_Name", row.name)};
        stored.attributes = {attribute("GlobalId", "IfcGloballyUniqueId", row.ifcGuid)};
        sim::setStoredIFC(id, stored);

        std::unique_ptr<Element> element(plan->load(ElementLink(Guid(id), plan)));
        ASSERT_NE(element, nullptr);
        EXPECT_EQ(element->getType(), row.type);
        auto* memo = dynamic_cast<IFCMemo*>(element.get());
        ASSERT_NE(memo, nullptr);
        EXPECT_EQ(textOf(memo->getProperty("Name", "AC_Pset_Name")), row.name);
        EXPECT_EQ(memo->getIFCGuid(), row.ifcGuid);

        StringSetting name;
        name.setValue(String("Renamed"));
        EXPECT_TRUE(memo->setProperty(new IFCSingleValue(name, "Name", "AC_Pset_Name", "IfcLabel", "")));
        sim::IFCItems written = sim::storedIFC(id);
        ASSERT_EQ(written.properties.size(), 1u);
        EXPECT_EQ(written.properties[0].singleValue.stringValue, GS::UniString("Renamed"));
        EXPECT_EQ(sim::storedIFC(guid).properties.size(), 3u); // the object's data is untouched

        std::size_t reads = sim::callCount("ACAPI_Element_GetIFCProperties");
        std::unique_ptr<Element> copy(element->clone());
        EXPECT_EQ(dynamic_cast<IFCMemo*>(copy.get())->getProperty("Name", "AC_Pset_Name"), nullptr);
        EXPECT_EQ(sim::callCount("ACAPI_Element_GetIFCProperties"), reads);
    }
}
