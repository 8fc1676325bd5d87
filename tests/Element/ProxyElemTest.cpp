#include "Element/ProxyElem.h"
#include "ACAPI/ElementTable.hpp"
#include "Database/Plan.h"
#include "Database/Project.h"
#include "Database/Section.h"
#include "Environment/Host.h"
#include "sim/Databases.h"
#include "sim/ElementTable.h"
#include "sim/Project.h"
#include "sim/Sim.h"
#include "support/RecordElement.h"

#include <gtest/gtest.h>

#include <memory>

using namespace zelvane;

namespace {

class ProxyElemTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::openProject();
        host.reset();
        Drawing::startup();
        Drawing::addAdapter(element_id(API_ObjectID), RecordElement::create,
                            true); // before the start-up's objects
    }
    void TearDown() override {
        Drawing::shutdown();
        host.reset();
    }

    static API_Element proxyRecord(const GS::Guid& real) {
        API_Element record;
        record.header.typeID = API_SectElemID;
        record.sectElem.parentID = API_ObjectID;
        record.sectElem.parentGuid = real;
        return record;
    }
};

} // namespace

TEST_F(ProxyElemTest, OnlyProxyRecordsMakeProxies) {
    struct Case {
        API_ElemTypeID type;
        bool made;
    };
    for (const Case& c : {Case{API_SectElemID, true}, Case{API_ObjectID, false}, Case{API_WallID, false}}) {
        API_Element record;
        record.header.typeID = c.type;
        std::unique_ptr<Element> element(ProxyElem::create(record, ElementLink()));
        EXPECT_EQ(element != nullptr, c.made) << c.type;
        EXPECT_EQ(dynamic_cast<ProxyElem*>(element.get()) != nullptr, c.made) << c.type;
    }
}

TEST_F(ProxyElemTest, TheRealElementComesFromTheFloorPlan) {
    API_Element object;
    object.header.typeID = API_ObjectID;
    const GS::Guid real = sim::addElement(object);
    sim::DatabaseRecord sectionRecord;
    sectionRecord.type = APIWind_SectionID;
    const GS::Guid sectionID = sim::addDatabase(sectionRecord);
    const GS::Guid proxyID = sim::addElement(proxyRecord(real), sectionID);
    GS::Guid missing;
    missing.Generate();
    const GS::Guid orphanID = sim::addElement(proxyRecord(missing), sectionID);

    Section* section = host.getProject()->getSection(DatabaseGuid(sectionID));
    ASSERT_NE(section, nullptr);
    struct Case {
        const char* name;
        GS::Guid proxy;
        bool found;
    };
    for (const Case& c :
         {Case{"real element on the plan", proxyID, true}, Case{"real element gone", orphanID, false}}) {
        std::unique_ptr<Element> loaded(section->load(ElementLink(Guid(c.proxy), section)));
        auto* proxy = dynamic_cast<ProxyElem*>(loaded.get());
        ASSERT_NE(proxy, nullptr) << c.name;
        std::unique_ptr<Element> realElement(proxy->getRealElement());
        EXPECT_EQ(realElement != nullptr, c.found) << c.name;
        if (realElement != nullptr) {
            EXPECT_TRUE(GS::Guid(realElement->getUniqueID()) == real) << c.name;
            EXPECT_EQ(realElement->getSource(), host.getFrontPlan()) << c.name;
        }
    }
    const API_Element proxyData = sim::element(proxyID);
    sim::closeProject();
    std::unique_ptr<Element> proxy(ProxyElem::create(proxyData, ElementLink()));
    EXPECT_EQ(static_cast<ProxyElem*>(proxy.get())->getRealElement(), nullptr) << "no project";
}

TEST_F(ProxyElemTest, NewProxiesAndTheirRecords) {
    API_Element defaults = proxyRecord(GS::Guid());
    defaults.header.hasMemo = true;
    defaults.header.layer = 7;
    sim::setDefaults(defaults);
    ProxyElem proxy;
    EXPECT_EQ(proxy.getHead().typeID, API_SectElemID);
    EXPECT_EQ(proxy.getHead().layer, 7) << "taken from the tool";
    EXPECT_FALSE(proxy.getHead().hasMemo);

    unsigned long long mask = 0xFF;
    EXPECT_EQ(proxy.getMemo(mask), nullptr);
    EXPECT_EQ(mask, 0u);
    GS::Guid real;
    real.Generate();
    GS::Guid own;
    own.Generate();
    ElementLink link(element_id(API_SectElemID), nullptr, 0);
    link.setUniqueID(Guid(own));
    ProxyElem loaded(proxyRecord(real), link);
    std::unique_ptr<API_Element> data(loaded.getData());
    EXPECT_TRUE(data->sectElem.parentGuid == real);
    EXPECT_EQ(data->header.typeID, API_SectElemID);
    EXPECT_TRUE(data->header.guid == own) << "the header is completed from the link";
    std::unique_ptr<Element> copy(loaded.clone());
    EXPECT_TRUE(GS::Guid(static_cast<ProxyElem&>(*copy).getRealID()) == real);

    // Without the tool's defaults the new proxy is still a proxy.
    sim::failCall("ACAPI_Element_GetDefaults", APIERR_GENERAL);
    ProxyElem plain;
    EXPECT_EQ(plain.getHead().typeID, API_SectElemID);
}
